#pragma once

#include "canvas.h"

#include <cstdint>

namespace lapwerk {

/// The canvas of one drawing pass. It forwards calls to its target (none in a silent pass, so
/// such a pass makes no canvas call at all), remembers the pen and brush it has set so that a
/// drawing step can put back the colour or width it found, and leaves out changes that would
/// set what is already set.
class PassCanvas {
public:
    /// `target` nullptr: a silent pass.
    explicit PassCanvas(Canvas* target) : target_(target) {}

    bool drawing() const { return target_ != nullptr; }
    Rgb penColour() const { return pen_; }
    int penWidth() const { return width_; }

    void setPen(Rgb colour, int width) {
        if (penKnown_ && colour == pen_ && width == width_) {
            return;
        }
        pen_ = colour;
        width_ = width;
        penKnown_ = true;
        if (target_) {
            target_->setPen(colour, width);
        }
    }
    void setPenColour(Rgb colour) { setPen(colour, width_); }
    void setPenWidth(int width) { setPen(pen_, width); }

    void setBrush(Rgb colour) {
        if (brushKnown_ && colour == brush_) {
            return;
        }
        brush_ = colour;
        brushKnown_ = true;
        if (target_) {
            target_->setBrush(colour);
        }
    }

    void moveTo(PixelPoint p) {
        if (target_) {
            target_->moveTo(p.x, p.y);
        }
    }
    void lineTo(PixelPoint p) {
        if (target_) {
            target_->lineTo(p.x, p.y);
        }
    }
    /// The line from `from` to `to` (the end pixel left out, as lineTo does).
    void line(PixelPoint from, PixelPoint to) {
        moveTo(from);
        lineTo(to);
    }
    void polygon(const PixelPoint (&corners)[4]) {
        if (target_) {
            target_->polygon(corners);
        }
    }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        if (target_) {
            target_->fillRect(left, top, right, bottom);
        }
    }
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        if (target_) {
            target_->ellipse(left, top, right, bottom);
        }
    }
    void textOut(int32_t x, int32_t y, const char* text) {
        if (target_) {
            target_->textOut(x, y, text);
        }
    }

private:
    Canvas* target_;
    Rgb pen_{0, 0, 0};
    int width_ = 1;
    bool penKnown_ = false;
    Rgb brush_{0, 0, 0};
    bool brushKnown_ = false;
};

} // namespace lapwerk
