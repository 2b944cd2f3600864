#pragma once

#include "canvas.h"

#include <cstdint>

namespace lapwerk {

/// The canvas of one drawing pass. It forwards calls to its target (none in a silent pass, so
/// such a pass makes no canvas call at all), remembers the pen and brush it has set so that a
/// drawing step can put back the colour or width it found, and leaves out changes that would
/// set what is already set. On a pass at a device pixel ratio above 1 it widens every pen and
/// dot by the ratio: the pass sets widths in view pixels and positions in device pixels.
class PassCanvas {
public:
    /// `target` nullptr: a silent pass. `pixelRatio`: device pixels per view pixel, 1 or more.
    explicit PassCanvas(Canvas* target, int32_t pixelRatio = 1)
        : target_(target), ratio_(pixelRatio > 1 ? pixelRatio : 1),
          visible_(target != nullptr ? target->visibleBox() : std::nullopt) {
        if (target_) {
            target_->setTextScale(ratio_);
        }
    }

    bool drawing() const { return target_ != nullptr; }
    Rgb penColour() const { return pen_; }
    /// The pen width in view pixels.
    int penWidth() const { return width_; }
    int32_t pixelRatio() const { return ratio_; }

    /// Whether something drawn inside the box from (left, top) to (right, bottom), device
    /// pixels with both ends included, can leave a mark: never in a silent pass, always when
    /// the target keeps every call.
    bool mayShow(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
        if (!drawing()) {
            return false;
        }
        return !visible_ || (right >= visible_->left && left <= visible_->right &&
                             bottom >= visible_->top && top <= visible_->bottom);
    }

    void setPen(Rgb colour, int width) {
        if (penKnown_ && colour == pen_ && width == width_) {
            return;
        }
        pen_ = colour;
        width_ = width;
        penKnown_ = true;
        if (target_) {
            target_->setPen(colour, width * ratio_);
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
    /// A dot of one view pixel with its top-left corner at `at`: on a ratio of 1 the line to
    /// `diagonal`, the pixel after it diagonally as the caller computes it; otherwise a square
    /// of the ratio's size filled in the pen colour.
    void dot(PixelPoint at, PixelPoint diagonal) {
        if (!target_) {
            return;
        }
        if (ratio_ == 1) {
            line(at, diagonal);
            return;
        }
        const Rgb brush = brush_;
        setBrush(pen_);
        target_->fillRect(at.x, at.y, at.x + ratio_, at.y + ratio_);
        setBrush(brush);
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
    int32_t ratio_;
    std::optional<PixelBox> visible_;
    Rgb pen_{0, 0, 0};
    int width_ = 1;
    bool penKnown_ = false;
    Rgb brush_{0, 0, 0};
    bool brushKnown_ = false;
};

} // namespace lapwerk
