#pragma once

#include "canvas.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lapwerk::test {

/// A canvas that writes every drawing call as one line of text, so that drawing tests can
/// compare readable lines instead of pixels:
///   "pen 0,0,255 1"  "brush 255,255,255"  "line 10,20 30,40" (from the current point)
///   "poly 1,2 3,4 5,6 7,8"  "rect 0,0 640,480"  "ellipse 7,7 13,13"  "text 5,6 3"
/// moveTo only moves the current point; `calls` counts every call, moveTo included.
class RecordingCanvas : public Canvas {
public:
    std::vector<std::string> lines;
    int calls = 0;

    void setPen(Rgb colour, int width) override {
        add("pen " + rgb(colour) + " " + std::to_string(width));
    }
    void setBrush(Rgb colour) override { add("brush " + rgb(colour)); }
    void moveTo(int32_t x, int32_t y) override {
        ++calls;
        current_ = {x, y};
    }
    void lineTo(int32_t x, int32_t y) override {
        add("line " + pt(current_.x, current_.y) + " " + pt(x, y));
        current_ = {x, y};
    }
    void polygon(const PixelPoint (&corners)[4]) override {
        std::string s = "poly";
        for (const PixelPoint& p : corners) {
            s += " " + pt(p.x, p.y);
        }
        add(s);
    }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        add("rect " + pt(left, top) + " " + pt(right, bottom));
    }
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        add("ellipse " + pt(left, top) + " " + pt(right, bottom));
    }
    void textOut(int32_t x, int32_t y, const char* text) override {
        add("text " + pt(x, y) + " " + text);
    }

    /// Number of recorded lines that start with `prefix`.
    int count(const std::string& prefix) const {
        int n = 0;
        for (const std::string& line : lines) {
            n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }

    /// True when some recorded line equals `line` exactly.
    bool has(const std::string& line) const {
        for (const std::string& l : lines) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }

    /// Index of the first line equal to `line` at or after `from`, or -1.
    int find(const std::string& line, int from = 0) const {
        for (int i = from; i < static_cast<int>(lines.size()); ++i) {
            if (lines[i] == line) {
                return i;
            }
        }
        return -1;
    }

    /// All lines joined with newlines, for failure messages.
    std::string text() const {
        std::string s;
        for (const std::string& line : lines) {
            s += line + "\n";
        }
        return s;
    }

    void clear() {
        lines.clear();
        calls = 0;
    }

private:
    PixelPoint current_{0, 0};

    void add(std::string line) {
        ++calls;
        lines.push_back(std::move(line));
    }
    static std::string pt(int32_t x, int32_t y) {
        return std::to_string(x) + "," + std::to_string(y);
    }
    static std::string rgb(Rgb c) {
        return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
    }
};

} // namespace lapwerk::test
