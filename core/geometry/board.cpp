#include "board.h"

#include "number_text.h"

#include "fixed_point.h"
#include "pass_canvas.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace lapwerk {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// White space as the C library's "C" locale knows it.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/// trunc(centre + sign x i x spacing), in pixels.
int32_t Along(int32_t centre, int sign, int64_t i, float spacing) {
    return fx::TruncToInt32(static_cast<long double>(centre) +
                            sign * static_cast<long double>(i) * spacing);
}

/// The steps i >= 0 of one sign whose positions Along(centre, sign, i) fall in [0, size):
/// first to last, none when first > last.
struct SignSteps {
    int64_t first, last;
    bool has(int64_t i) const { return first <= i && i <= last; }
};

/// The smallest step i >= 0 at which `holds` is true, given that it stays true from there on;
/// past the last step looked at when it never is.
template <class Predicate> int64_t FirstStepWhere(Predicate holds) {
    constexpr int64_t kLastStep = int64_t{1} << 52;
    int64_t low = 0;
    int64_t high = kLastStep + 1;
    while (low < high) {
        const int64_t middle = low + (high - low) / 2;
        if (holds(middle)) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

// The positions move monotonically with i, so each end of the run inside [0, size) is the
// first step past a threshold.
SignSteps StepsOfSign(int32_t centre, int sign, float spacing, int32_t size) {
    auto at = [&](int64_t i) { return Along(centre, sign, i, spacing); };
    if (sign > 0) {
        return {FirstStepWhere([&](int64_t i) { return at(i) >= 0; }),
                FirstStepWhere([&](int64_t i) { return at(i) >= size; }) - 1};
    }
    return {FirstStepWhere([&](int64_t i) { return at(i) < size; }),
            FirstStepWhere([&](int64_t i) { return at(i) < 0; }) - 1};
}

/// The steps of both signs along one axis of `size` pixels, and the run of i that covers them,
/// at most `limit` steps long.
struct AxisSteps {
    SignSteps minus{0, -1};
    SignSteps plus{0, -1};
    int64_t first = 0;
    int64_t last = -1;

    const SignSteps& of(int sign) const { return sign < 0 ? minus : plus; }
};

AxisSteps StepsAcross(int32_t centre, float spacing, int32_t size, int64_t limit) {
    AxisSteps steps;
    if (!(spacing > 0.0f) || !std::isfinite(spacing) || size <= 0) {
        return steps;
    }
    steps.minus = StepsOfSign(centre, -1, spacing, size);
    steps.plus = StepsOfSign(centre, 1, spacing, size);
    const bool minusEmpty = steps.minus.first > steps.minus.last;
    const bool plusEmpty = steps.plus.first > steps.plus.last;
    if (minusEmpty && plusEmpty) {
        return steps;
    }
    steps.first = minusEmpty  ? steps.plus.first
                  : plusEmpty ? steps.minus.first
                              : std::min(steps.minus.first, steps.plus.first);
    steps.last = std::max(minusEmpty ? steps.plus.last : steps.minus.last,
                          plusEmpty ? steps.minus.last : steps.plus.last);
    steps.last = std::min(steps.last, steps.first + limit - 1);
    return steps;
}

/// The length of ruler tick i, view pixels: 12 for ticks 0, 5, 10, ... and 7 for the others.
int32_t TickLength(int64_t i) {
    return i % 5 == 0 ? 12 : 7;
}

} // namespace

std::string FormatBoardSize(float inches, bool metric) {
    const double value = metric ? inches * 0.0254 : static_cast<double>(inches);
    return FormatFixed(value, 2, 5);
}

std::string PointerPositionText(float boardX, float boardY, double x, double y, bool metric) {
    // The board is centred on model point (0, 0); an inch is 256 model units.
    const auto fromEdge = [metric](double model, float side) {
        const double inches = model / 256.0 + side / 2.0;
        return FormatFixed(metric ? inches * 0.0254 : inches, 2) + (metric ? " m" : " in");
    };
    return "x " + fromEdge(x, boardX) + "  y " + fromEdge(y, boardY);
}

float ParseBoardSize(const char* text, bool metric) {
    if (text == nullptr) {
        return 0.0f;
    }
    // The leading decimal number as atof reads it, but only decimal: "nan", "inf" and hex
    // numbers are no board size.
    const char* p = text;
    while (IsSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    const char* digits = p;
    int integerDigits = 0; // from the first non-zero digit on
    int leadingZeros = 0;  // fraction zeros before the first non-zero digit
    bool nonZeroSeen = false;
    int digitCount = 0;
    while (IsDigit(*p)) {
        nonZeroSeen = nonZeroSeen || *p != '0';
        integerDigits += nonZeroSeen ? 1 : 0;
        ++digitCount;
        ++p;
    }
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) {
            if (!nonZeroSeen && *p == '0') {
                ++leadingZeros;
            }
            nonZeroSeen = nonZeroSeen || *p != '0';
            ++digitCount;
            ++p;
        }
    }
    if (digitCount == 0) {
        return 0.0f;
    }
    int64_t exponent = 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (*q == '+' || *q == '-') {
            negativeExponent = *q == '-';
            ++q;
        }
        if (IsDigit(*q)) {
            while (IsDigit(*q)) {
                if (exponent < 1000000000) {
                    exponent = exponent * 10 + (*q - '0');
                }
                ++q;
            }
            exponent = negativeExponent ? -exponent : exponent;
            p = q;
        }
    }

    double value = 0.0;
    const std::from_chars_result result =
        std::from_chars(digits, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: which of the two follows from the position of
        // the first significant digit.
        const int64_t magnitude =
            exponent + (integerDigits > 0 ? integerDigits : -int64_t{leadingZeros});
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    long double inches = negative ? -static_cast<long double>(value) : value;
    if (metric) {
        inches *= kInchesPerMetre;
    }
    constexpr long double kLargest = std::numeric_limits<float>::max();
    if (inches > kLargest) {
        return std::numeric_limits<float>::max();
    }
    if (inches < -kLargest) {
        return -std::numeric_limits<float>::max();
    }
    return static_cast<float>(inches);
}

std::optional<float> BoardSizeFromText(std::string_view text, bool metric) {
    if (!IsDecimalText(text)) {
        return std::nullopt;
    }
    const long double inches = ScanDecimal(text) * (metric ? kInchesPerMetre : 1.0L);
    if (!(inches > 0.0L) || inches > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    const float size = ParseBoardSize(std::string(text).c_str(), metric);
    // A size too small for a float reads as 0.
    if (!(size > 0.0f)) {
        return std::nullopt;
    }
    return size;
}

namespace {

/// Inches between two lines of the ruler and grid.
long double SpacingInches(bool metric) {
    return metric ? 3.937007874015748L : 10.0L;
}

} // namespace

float RulerSpacingPixels(int32_t zoomScale, bool metric) {
    return static_cast<float>(static_cast<long double>(zoomScale) * (1.0L / 256.0L) *
                              SpacingInches(metric));
}

int32_t GridStepModelUnits(bool metric) {
    return static_cast<int32_t>(std::lround(256.0L * SpacingInches(metric)));
}

void DrawRuler(PassCanvas& canvas, int32_t width, int32_t height, int32_t cx, int32_t cy,
               float spacing) {
    canvas.setBrush(kPaleYellow);
    canvas.setPenColour(kBlack);
    const int32_t ratio = canvas.pixelRatio();
    const int32_t strip = kRulerStripPixels * ratio;

    canvas.fillRect(0, 0, strip, height);
    const AxisSteps rows = StepsAcross(cy, spacing, height, kMaxRulerTicks);
    for (int64_t i = rows.first; i <= rows.last; ++i) {
        for (int sign : {-1, 1}) {
            if (rows.of(sign).has(i)) {
                const int32_t y = Along(cy, sign, i, spacing);
                canvas.line({strip - 1, y}, {strip - TickLength(i) * ratio, y});
            }
        }
    }

    canvas.fillRect(0, 0, width, strip);
    const AxisSteps columns = StepsAcross(cx, spacing, width, kMaxRulerTicks);
    for (int64_t i = columns.first; i <= columns.last; ++i) {
        for (int sign : {-1, 1}) {
            if (columns.of(sign).has(i)) {
                const int32_t x = Along(cx, sign, i, spacing);
                canvas.line({x, strip - 1}, {x, strip - TickLength(i) * ratio});
            }
        }
    }
}

void DrawGrid(PassCanvas& canvas, int32_t width, int32_t height, int32_t cx, int32_t cy,
              float spacing) {
    canvas.setPenColour(kBlack);
    const AxisSteps columns = StepsAcross(cx, spacing, width, kMaxGridSteps);
    const AxisSteps rows = StepsAcross(cy, spacing, height, kMaxGridSteps);
    for (int64_t j = columns.first; j <= columns.last; ++j) {
        for (int64_t i = rows.first; i <= rows.last; ++i) {
            for (int ySign : {-1, 1}) {
                for (int xSign : {-1, 1}) {
                    if (columns.of(xSign).has(j) && rows.of(ySign).has(i)) {
                        const PixelPoint at{Along(cx, xSign, j, spacing),
                                            Along(cy, ySign, i, spacing)};
                        canvas.dot(at, {at.x + 1, at.y + 1});
                    }
                }
            }
        }
    }
}

void DrawBoardOutline(PassCanvas& canvas, float boardX, float boardY, int32_t zoomScale, int32_t cx,
                      int32_t cy) {
    const int32_t bw = fx::TruncToInt32(zoomScale * (1.0L / 256.0L) * boardX);
    const int32_t bh = fx::TruncToInt32(zoomScale * (1.0L / 256.0L) * boardY);
    const int32_t left = fx::Clamp32(int64_t{cx} - bw / 2);
    const int32_t right = fx::Clamp32(int64_t{cx} + bw / 2);
    const int32_t top = fx::Clamp32(int64_t{cy} - bh / 2);
    const int32_t bottom = fx::Clamp32(int64_t{cy} + bh / 2);
    canvas.setPenColour(kDarkGreen);
    canvas.moveTo({left, top});
    canvas.lineTo({left, bottom});
    canvas.lineTo({right, bottom});
    canvas.lineTo({right, top});
    canvas.lineTo({left, top});
}

} // namespace lapwerk
