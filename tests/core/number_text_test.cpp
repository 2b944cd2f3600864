#include "number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>

namespace lapwerk {
namespace {

struct IntegerCase {
    const char* name;
    const char* text;
    int32_t value;
    bool hasDigits;
    bool overflow;
};

class ScanIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ScanIntegerTest, ReadsLeadingDecimalInteger) {
    const IntegerCase& c = GetParam();
    const ScannedInteger got = ScanInteger(c.text);
    EXPECT_EQ(got.value, c.value);
    EXPECT_EQ(got.hasDigits, c.hasDigits);
    EXPECT_EQ(got.overflow, c.overflow);
}

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Texts, ScanIntegerTest,
    ::testing::Values(IntegerCase{"empty", "", 0, false, false},
                      IntegerCase{"letters", "abc", 0, false, false},
                      IntegerCase{"sign_only", "-", 0, false, false},
                      IntegerCase{"plain", "720", 720, true, false},
                      IntegerCase{"leading_blanks", " \t 7", 7, true, false},
                      IntegerCase{"negative", "-2560", -2560, true, false},
                      IntegerCase{"plus", "+5", 5, true, false},
                      IntegerCase{"stops_at_point", "3.9", 3, true, false},
                      IntegerCase{"stops_at_letter", "12abc", 12, true, false},
                      IntegerCase{"blank_after_sign", "- 5", 0, false, false},
                      IntegerCase{"largest", "2147483647", kMax, true, false},
                      IntegerCase{"smallest", "-2147483648", kMin, true, false},
                      IntegerCase{"just_over", "2147483648", kMax, true, true},
                      IntegerCase{"just_under", "-2147483649", kMin, true, true},
                      IntegerCase{"very_long", "99999999999999999999999999", kMax, true, true},
                      IntegerCase{"leading_zeros", "0000000000000000000042", 42, true, false}),
    [](const auto& row) { return std::string(row.param.name); });

struct DecimalCase {
    const char* name;
    const char* text;
    long double value;
};

class ScanDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ScanDecimalTest, ReadsOnlyTheDecimalGrammar) {
    EXPECT_EQ(ScanDecimal(GetParam().text), GetParam().value);
}

constexpr long double kInf = std::numeric_limits<long double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Texts, ScanDecimalTest,
    ::testing::Values(
        DecimalCase{"empty", "", 0.0L}, DecimalCase{"integer", "9", 9.0L},
        DecimalCase{"fraction", "63.5", 63.5L}, DecimalCase{"leading_blanks", "  2.5xyz", 2.5L},
        DecimalCase{"negative", "-1.5", -1.5L}, DecimalCase{"plus", "+3", 3.0L},
        DecimalCase{"no_integer_digits", ".5", 0.5L}, DecimalCase{"no_fraction_digits", "5.", 5.0L},
        DecimalCase{"point_only", ".", 0.0L}, DecimalCase{"exponent", "1e2", 100.0L},
        DecimalCase{"exponent_capital_signed", "25E-1", 2.5L},
        DecimalCase{"exponent_without_digits", "1e", 1.0L},
        DecimalCase{"exponent_sign_without_digits", "1e+", 1.0L},
        DecimalCase{"exponent_then_letter", "2ex", 2.0L}, DecimalCase{"nan", "nan", 0.0L},
        DecimalCase{"NAN", "NAN", 0.0L}, DecimalCase{"inf", "inf", 0.0L},
        DecimalCase{"minus_infinity", "-infinity", 0.0L}, DecimalCase{"hex", "0x10", 0.0L},
        DecimalCase{"comma", "2,5", 2.0L}, DecimalCase{"huge", "1e99999", kInf},
        DecimalCase{"huge_negative", "-1e99999", -kInf}, DecimalCase{"tiny", "1e-99999", 0.0L},
        DecimalCase{"huge_exponent_digits", "1e99999999999999999999999", kInf}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ScanDecimal, IsRoundedToExtendedPrecision) {
    // 25.4 is not exact; the nearest long double lies below it.
    EXPECT_EQ(ScanDecimal("25.4"), 25.4L);
    EXPECT_NE(ScanDecimal("25.4"), static_cast<long double>(25.4));
}

struct BeginsCase {
    const char* name;
    const char* text;
    bool number;
};

class BeginsWithDecimalTest : public ::testing::TestWithParam<BeginsCase> {};

TEST_P(BeginsWithDecimalTest, TakesWhatTheCLibraryTakesForANumber) {
    EXPECT_EQ(BeginsWithDecimal(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BeginsWithDecimalTest,
    ::testing::Values(
        BeginsCase{"digits", "78.74", true}, BeginsCase{"blanks_then_sign", " \t-3", true},
        BeginsCase{"point_then_digit", ".5", true}, BeginsCase{"digit_then_letters", "2x", true},
        BeginsCase{"hexadecimal", "0x1p3", true}, BeginsCase{"infinity", "-Infinity", true},
        BeginsCase{"nan", "NaN", true}, BeginsCase{"empty", "", false},
        BeginsCase{"word", "wide", false}, BeginsCase{"point_only", ".", false},
        BeginsCase{"sign_only", "+", false}, BeginsCase{"blank_after_sign", "- 5", false},
        BeginsCase{"in_alone", "in", false}, BeginsCase{"comma_first", ",5", false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SplitFirstToken, SplitsAtTheFirstRunOfNonBlanks) {
    const std::tuple<std::string_view, std::string_view, std::string_view> rows[] = {
        {" \tC151  L\r", "C151", "  L\r"},
        {"C151", "C151", ""},
        {" \t ", "", ""},
        {"", "", ""},
    };
    for (const auto& [text, token, rest] : rows) {
        const FirstToken split = SplitFirstToken(text);
        EXPECT_EQ(split.token, token) << text;
        EXPECT_EQ(split.rest, rest) << text;
    }
}

TEST(IsControlByte, AllowsTabCrLfAndEveryByteAboveTheControls) {
    std::string control;
    for (int byte = 0; byte < 256; ++byte) {
        if (IsControlByte(static_cast<char>(byte))) {
            control.push_back(static_cast<char>(byte));
        }
    }
    std::string expected;
    for (int byte = 0; byte < 0x20; ++byte) {
        if (byte != '\t' && byte != '\n' && byte != '\r') {
            expected.push_back(static_cast<char>(byte));
        }
    }
    expected.push_back('\x7f');
    EXPECT_EQ(control, expected);
}

struct FloatCase {
    const char* name;
    const char* text;
    float value;
};

class ScanDecimalFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ScanDecimalFloatTest, ClampsToTheFloatRange) {
    EXPECT_EQ(ScanDecimalFloat(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScanDecimalFloatTest,
    ::testing::Values(
        FloatCase{"board", "78.74", 78.74f}, FloatCase{"padded", " 9.50", 9.5f},
        FloatCase{"nan", "nan", 0.0f}, FloatCase{"over", "1e39", FLT_MAX},
        FloatCase{"under", "-1e39", -FLT_MAX},
        FloatCase{"long_digits", "1000000000000000000000000000000000000000000", FLT_MAX},
        FloatCase{"tiny", "0.00000000000000000000000000000000000000000000000001", 0.0f}),
    [](const auto& row) { return std::string(row.param.name); });

// A signed figure reads with its sign, and a value that rounds to zero as "+".
TEST(FormatSigned, SignBeforeTheRoundedMagnitude) {
    const std::pair<double, const char*> rows[] = {{0.0334, "+0.033"},
                                                   {-0.0334, "-0.033"},
                                                   {-0.0004, "+0.000"},
                                                   {0, "+0.000"},
                                                   {-2.5, "-2.500"}};
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(FormatSigned(value, 3), text) << value;
    }
}

} // namespace
} // namespace lapwerk
