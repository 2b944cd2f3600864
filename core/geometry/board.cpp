#include "board.h"

#include "number_text.h"

#include "fixed_point.h"
#include "pass_canvas.h"

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

/// The spacing as a count of whole steps that fit `half` pixels, 0 for no usable spacing.
int32_t StepsIn(int32_t half, float spacing, int32_t limit) {
    if (!(spacing > 0.0f) || !std::isfinite(spacing) || half <= 0) {
        return 0;
    }
    const int32_t n = fx::TruncToInt32(static_cast<long double>(half) / spacing);
    return n < limit ? n : limit;
}

/// trunc(centre + sign x i x spacing), in pixels.
int32_t Along(int32_t centre, int sign, int32_t i, float spacing) {
    return fx::TruncToInt32(static_cast<long double>(centre) +
                            sign * static_cast<long double>(i) * spacing);
}

/// A one-pixel dot: the line from (x, y) to the truncations of (x + 1, y + 1).
void Dot(PassCanvas& canvas, long double x, long double y) {
    canvas.line({fx::TruncToInt32(x), fx::TruncToInt32(y)},
                {fx::TruncToInt32(x + 1), fx::TruncToInt32(y + 1)});
}

/// The tick lengths of a ruler: 12 for ticks 0, 5, 10, ... and 7 for the others.
class TickCounter {
public:
    int next() {
        if (++counter_ == 5) {
            counter_ = 0;
            return 12;
        }
        return 7;
    }

private:
    int counter_ = 4;
};

} // namespace

std::string FormatBoardSize(float inches, bool metric) {
    const double value = metric ? inches * 0.0254 : static_cast<double>(inches);
    return FormatFixed(value, 2, 5);
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

float RulerSpacingPixels(int32_t zoomScale, bool metric) {
    const long double perTen = metric ? 3.937007874015748L : 10.0L;
    return static_cast<float>(static_cast<long double>(zoomScale) * (1.0L / 256.0L) * perTen);
}

void DrawRuler(PassCanvas& canvas, int32_t width, int32_t height, int32_t cx, int32_t cy,
               float spacing) {
    canvas.setBrush(kPaleYellow);
    canvas.setPenColour(kBlack);

    canvas.fillRect(0, 0, 15, height);
    TickCounter vertical;
    const int32_t rows = StepsIn(height / 2, spacing, kMaxRulerTicks);
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t length = vertical.next();
        for (int sign : {-1, 1}) {
            const int32_t y = Along(cy, sign, i, spacing);
            canvas.line({14, y}, {15 - length, y});
        }
    }

    canvas.fillRect(0, 0, width, 15);
    TickCounter horizontal;
    const int32_t columns = StepsIn(width / 2, spacing, kMaxRulerTicks);
    for (int32_t i = 0; i < columns; ++i) {
        const int32_t length = horizontal.next();
        for (int sign : {-1, 1}) {
            const int32_t x = Along(cx, sign, i, spacing);
            canvas.line({x, 14}, {x, 15 - length});
        }
    }
}

void DrawGrid(PassCanvas& canvas, int32_t width, int32_t height, int32_t cx, int32_t cy,
              float spacing) {
    canvas.setPenColour(kBlack);
    const int32_t columns = StepsIn(width / 2, spacing, kMaxGridSteps);
    const int32_t rows = StepsIn(height / 2, spacing, kMaxGridSteps);
    for (int32_t j = 0; j < columns; ++j) {
        const long double left =
            static_cast<long double>(cx) - static_cast<long double>(j) * spacing;
        const long double right =
            static_cast<long double>(cx) + static_cast<long double>(j) * spacing;
        for (int32_t i = 0; i < rows; ++i) {
            const long double up =
                static_cast<long double>(cy) - static_cast<long double>(i) * spacing;
            const long double down =
                static_cast<long double>(cy) + static_cast<long double>(i) * spacing;
            Dot(canvas, std::trunc(left), std::trunc(up));
            Dot(canvas, std::trunc(right), std::trunc(up));
            Dot(canvas, std::trunc(left), std::trunc(down));
            Dot(canvas, std::trunc(right), std::trunc(down));
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
