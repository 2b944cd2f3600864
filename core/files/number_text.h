#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lapwerk {

/// True for the white-space characters of the C locale (blank, tab, LF, VT, FF, CR).
bool IsBlank(char c);

/// True for a byte that plain text does not hold: a control character (0x00 to 0x1F, 0x7F)
/// other than tab, CR and LF.
bool IsControlByte(char c);

/// True when `text` holds white space only (or nothing).
bool IsBlankText(std::string_view text);

/// A text split at its first run of characters other than white space.
struct FirstToken {
    std::string_view token; ///< the run, empty when the text is all white space
    std::string_view rest;  ///< what follows the run
};

/// Splits `text` at its first run of characters other than white space.
FirstToken SplitFirstToken(std::string_view text);

/// An integer read from the start of a text.
struct ScannedInteger {
    int32_t value = 0;      ///< the value, saturated to the int32 limits
    bool hasDigits = false; ///< false when no digit was found (value 0)
    bool overflow = false;  ///< true when the written value does not fit 32 bits
};

/// Reads a decimal integer: leading white space, optional sign, digits up to the first
/// other character. No digits gives 0.
ScannedInteger ScanInteger(std::string_view text);

/// Reads a decimal number: leading white space, optional sign, digits, optional point and
/// fraction, an exponent only when digits follow it; reading stops at the first character that
/// does not fit. Text such as "nan", "inf" or hexadecimal reads as no number, which gives 0.
/// The value is the nearest long double; beyond its range it is plus or minus infinity.
long double ScanDecimal(std::string_view text);

/// The same number rounded to the nearest float, clamped to the float range.
float ScanDecimalFloat(std::string_view text);

/// True when `text` is one decimal number as ScanDecimal reads it, white space around it aside,
/// with nothing else after it.
bool IsDecimalText(std::string_view text);

/// True when `text` begins, after white space, with a number as the C library's decimal
/// conversion takes one: an optional sign, then a digit, a point and a digit, or "inf" or
/// "nan" in any letter case (which ScanDecimal reads as 0).
bool BeginsWithDecimal(std::string_view text);

/// Truncates toward zero into int32; values beyond the range (and infinities) saturate.
int32_t TruncateToInt32(long double value);

/// Where FormatFixed pads a number that is shorter than its width.
enum class FixedAlign { kRight, kLeft };

/// printf's "%W.Df" ("%-W.Df" with kLeft) with a full stop whatever the process locale is
/// (the windowing toolkit sets the C library's locale from the environment).
std::string FormatFixed(double value, int decimals, int width = 0,
                        FixedAlign align = FixedAlign::kRight);

/// FormatFixed of the magnitude with a sign before it: "+0.033", "-4.50"; a value that rounds
/// to zero reads "+0.000".
std::string FormatSigned(double value, int decimals);

} // namespace lapwerk
