#pragma once

#include <cstdint>
#include <optional>

namespace lapwerk {

/// An RGB colour.
struct Rgb {
    uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kDarkGreen{0, 128, 0};
inline constexpr Rgb kPaleYellow{255, 255, 200};

/// A point in output pixels.
struct PixelPoint {
    int32_t x, y;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

/// A rectangle of output pixels, all four edges included.
struct PixelBox {
    int32_t left, top, right, bottom;
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

/// The drawing surface of a pass: screen, printer page, image, recording or nothing.
/// Coordinates are output pixels. The semantics follow the classic raster model:
/// - lineTo draws from the current point to (x, y), leaving out the end pixel, and moves there;
/// - polygon, fillRect and ellipse fill with the brush; polygon and ellipse are outlined with
///   the pen; fillRect and ellipse take a bounding box whose right and bottom edges are
///   exclusive;
/// - textOut writes with the canvas font, top-left corner at (x, y), on the brush colour.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void setPen(Rgb colour, int width) = 0;
    virtual void setBrush(Rgb colour) = 0;
    virtual void moveTo(int32_t x, int32_t y) = 0;
    virtual void lineTo(int32_t x, int32_t y) = 0;
    virtual void polygon(const PixelPoint (&corners)[4]) = 0;
    virtual void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void textOut(int32_t x, int32_t y, const char* text) = 0;

    /// Makes the text of later textOut calls `scale` times its normal size (a pass at a device
    /// pixel ratio sets it to the ratio). This canvas ignores it.
    virtual void setTextScale(int32_t scale) { (void)scale; }

    /// The pixels outside which a line or polygon leaves no mark on this canvas, so that a
    /// pass may leave out what lies wholly outside them; nothing when every call matters (this
    /// canvas).
    virtual std::optional<PixelBox> visibleBox() const { return std::nullopt; }
};

/// A canvas that draws nothing, for passes whose results are all that matters.
class NullCanvas final : public Canvas {
public:
    void setPen(Rgb, int) override {}
    void setBrush(Rgb) override {}
    void moveTo(int32_t, int32_t) override {}
    void lineTo(int32_t, int32_t) override {}
    void polygon(const PixelPoint (&)[4]) override {}
    void fillRect(int32_t, int32_t, int32_t, int32_t) override {}
    void ellipse(int32_t, int32_t, int32_t, int32_t) override {}
    void textOut(int32_t, int32_t, const char*) override {}
};

} // namespace lapwerk
