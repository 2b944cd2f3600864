#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lapwerk {

/// Inches per metre, used when a board size is typed in metres.
inline constexpr long double kInchesPerMetre = 39.37007874015748L;

/// The text of a board box: `inches` (x 0.0254 when metric) formatted "%5.2f".
std::string FormatBoardSize(float inches, bool metric);

/// Where model point (x, y), model units, lies on the board, measured from the board's
/// top-left corner: "x 1.25 m  y 0.40 m", or in inches "x 49.21 in  y 15.75 in".
std::string PointerPositionText(float boardX, float boardY, double x, double y, bool metric);

/// The board size typed into a box, in inches: the leading number of `text` (0 when there is
/// none), times inches per metre when metric.
float ParseBoardSize(const char* text, bool metric);

/// The board size a user typed into a box, in inches as ParseBoardSize reads it, or nothing for
/// a text that is no size: not one number (blanks around it aside), 0 or less, or beyond what
/// a float holds.
std::optional<float> BoardSizeFromText(std::string_view text, bool metric);

/// Ruler and grid spacing in pixels: 10 cm or 10 inches at `zoomScale`.
float RulerSpacingPixels(int32_t zoomScale, bool metric);

/// The grid's spacing in model units (1/256 inch), to the nearest unit.
int32_t GridStepModelUnits(bool metric);

class PassCanvas;

/// Width of each ruler strip, view pixels.
inline constexpr int32_t kRulerStripPixels = 15;

/// Most ticks of one ruler strip and most dots of one grid axis drawn, so that a tiny spacing
/// or a huge area never makes a pass run for ever.
inline constexpr int32_t kMaxRulerTicks = 10000;
inline constexpr int32_t kMaxGridSteps = 4096;

/// The pale-yellow ruler strips along the left and top edges of a `width` x `height` area with
/// ticks every `spacing` pixels counted from the view centre (cx, cy), a long one every fifth,
/// along the whole of each strip wherever the centre lies. Pixels are device pixels; strips
/// and ticks are as wide as the canvas's pixel ratio makes them.
void DrawRuler(PassCanvas& canvas, int32_t width, int32_t height, int32_t cx, int32_t cy,
               float spacing);

/// The black dots of one view pixel every `spacing` pixels around the view centre (cx, cy),
/// covering the whole `width` x `height` area wherever the centre lies.
void DrawGrid(PassCanvas& canvas, int32_t width, int32_t height, int32_t cx, int32_t cy,
              float spacing);

/// The dark-green outline of a `boardX` x `boardY` inch board centred on (cx, cy), at
/// `zoomScale`, with the pen width the pass has set.
void DrawBoardOutline(PassCanvas& canvas, float boardX, float boardY, int32_t zoomScale, int32_t cx,
                      int32_t cy);

} // namespace lapwerk
