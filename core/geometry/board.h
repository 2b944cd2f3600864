#pragma once

#include <cstdint>
#include <string>

namespace lapwerk {

/// Inches per metre, used when a board size is typed in metres.
inline constexpr long double kInchesPerMetre = 39.37007874015748L;

/// The text of a board box: `inches` (x 0.0254 when metric) formatted "%5.2f".
std::string FormatBoardSize(float inches, bool metric);

/// The board size typed into a box, in inches: the leading number of `text` (0 when there is
/// none), times inches per metre when metric.
float ParseBoardSize(const char* text, bool metric);

/// Ruler and grid spacing in pixels: 10 cm or 10 inches at `zoomScale`.
float RulerSpacingPixels(int32_t zoomScale, bool metric);

} // namespace lapwerk
