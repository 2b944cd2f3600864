#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>
#include <utility>

namespace lapwerk {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

/// The part of a text that forms a decimal number, rewritten for std::from_chars (no blanks,
/// no '+'), and the decimal position of its leading digit, which tells an overflow from an
/// underflow when the conversion is out of range.
struct DecimalText {
    std::string text;
    bool found = false;
    bool negative = false;
    long magnitude = 0;
    size_t end = 0; ///< position in the input just after the number
};

DecimalText ExtractDecimal(std::string_view in) {
    DecimalText out;
    size_t i = 0;
    while (i < in.size() && IsBlank(in[i])) {
        ++i;
    }
    if (i < in.size() && (in[i] == '+' || in[i] == '-')) {
        out.negative = in[i] == '-';
        ++i;
    }
    std::string mantissa;
    long significantIntegerDigits = 0;
    long leadingFractionZeros = 0;
    bool nonZeroSeen = false;
    size_t digits = 0;
    while (i < in.size() && IsDigit(in[i])) {
        if (in[i] != '0' || nonZeroSeen) {
            nonZeroSeen = true;
            ++significantIntegerDigits;
        }
        mantissa.push_back(in[i]);
        ++digits;
        ++i;
    }
    if (i < in.size() && in[i] == '.') {
        mantissa.push_back('.');
        ++i;
        while (i < in.size() && IsDigit(in[i])) {
            if (in[i] == '0' && !nonZeroSeen) {
                ++leadingFractionZeros;
            } else {
                nonZeroSeen = true;
            }
            mantissa.push_back(in[i]);
            ++digits;
            ++i;
        }
    }
    if (digits == 0) {
        return DecimalText{};
    }
    out.found = true;
    if (out.negative) {
        mantissa.insert(mantissa.begin(), '-');
    }
    out.text = std::move(mantissa);
    out.end = i;
    long exponent = 0;
    if (i < in.size() && (in[i] == 'e' || in[i] == 'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < in.size() && (in[j] == '+' || in[j] == '-')) {
            negativeExponent = in[j] == '-';
            ++j;
        }
        if (j < in.size() && IsDigit(in[j])) {
            out.text += negativeExponent ? "e-" : "e";
            while (j < in.size() && IsDigit(in[j])) {
                out.text.push_back(in[j]);
                // Far beyond any floating-point range; stop growing to stay in range.
                if (exponent < 1000000) {
                    exponent = exponent * 10 + (in[j] - '0');
                }
                ++j;
            }
            if (negativeExponent) {
                exponent = -exponent;
            }
            out.end = j;
        }
    }
    const long position =
        significantIntegerDigits > 0 ? significantIntegerDigits : -leadingFractionZeros;
    out.magnitude = position + exponent;
    return out;
}

template <typename Real> Real ConvertDecimal(std::string_view in, Real huge) {
    const DecimalText decimal = ExtractDecimal(in);
    if (!decimal.found) {
        return Real{0};
    }
    Real value{0};
    const char* first = decimal.text.data();
    const auto result =
        std::from_chars(first, first + decimal.text.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = decimal.magnitude > 0 ? huge : Real{0};
        return decimal.negative ? -value : value;
    }
    if (result.ec != std::errc{}) {
        return Real{0};
    }
    return value;
}

} // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7f;
}

FirstToken SplitFirstToken(std::string_view text) {
    size_t begin = 0;
    while (begin < text.size() && IsBlank(text[begin])) {
        ++begin;
    }
    size_t end = begin;
    while (end < text.size() && !IsBlank(text[end])) {
        ++end;
    }
    return {text.substr(begin, end - begin), text.substr(end)};
}

bool IsBlankText(std::string_view text) {
    for (const char c : text) {
        if (!IsBlank(c)) {
            return false;
        }
    }
    return true;
}

ScannedInteger ScanInteger(std::string_view text) {
    ScannedInteger out;
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulated as a magnitude in 64 bits, which stops growing once past the int32 range.
    constexpr int64_t kLimit = int64_t{1} << 32;
    int64_t magnitude = 0;
    while (i < text.size() && IsDigit(text[i])) {
        out.hasDigits = true;
        if (magnitude < kLimit) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
        ++i;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) {
        out.value = std::numeric_limits<int32_t>::max();
        out.overflow = true;
    } else if (value < std::numeric_limits<int32_t>::min()) {
        out.value = std::numeric_limits<int32_t>::min();
        out.overflow = true;
    } else {
        out.value = static_cast<int32_t>(value);
    }
    return out;
}

bool IsDecimalText(std::string_view text) {
    const DecimalText decimal = ExtractDecimal(text);
    return decimal.found && IsBlankText(text.substr(decimal.end));
}

bool BeginsWithDecimal(std::string_view text) {
    if (ExtractDecimal(text).found) {
        return true;
    }
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::string word(text.substr(i, 3));
    for (char& c : word) {
        // In ASCII alone, so that no locale changes what counts as a number.
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return word == "inf" || word == "nan";
}

long double ScanDecimal(std::string_view text) {
    return ConvertDecimal<long double>(text, std::numeric_limits<long double>::infinity());
}

float ScanDecimalFloat(std::string_view text) {
    return ConvertDecimal<float>(text, std::numeric_limits<float>::max());
}

int32_t TruncateToInt32(long double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0L) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= -2147483649.0L) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

std::string FormatFixed(double value, int decimals, int width, FixedAlign align) {
    // Room for the largest double written out in full with its decimals.
    char buffer[400];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    const size_t minimum = width > 0 ? static_cast<size_t>(width) : 0;
    if (text.size() < minimum) {
        const size_t padding = minimum - text.size();
        if (align == FixedAlign::kLeft) {
            text.append(padding, ' ');
        } else {
            text.insert(0, padding, ' ');
        }
    }
    return text;
}

std::string FormatSigned(double value, int decimals) {
    const std::string magnitude = FormatFixed(std::fabs(value), decimals);
    const bool zero = magnitude.find_first_not_of("0.") == std::string::npos;
    return (value < 0 && !zero ? "-" : "+") + magnitude;
}

} // namespace lapwerk
