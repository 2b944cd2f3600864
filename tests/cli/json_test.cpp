#include "json.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace lapwerk::cli {
namespace {

struct JsonRow {
    const char* name;
    std::string bytes;
    std::string expected;
};

void PrintTo(const JsonRow& row, std::ostream* out) {
    *out << row.name;
}

class JsonStringTest : public testing::TestWithParam<JsonRow> {};

TEST_P(JsonStringTest, EscapesToValidJson) {
    EXPECT_EQ(JsonString(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, JsonStringTest,
    testing::Values(JsonRow{"Plain", "C174a", "\"C174a\""}, JsonRow{"Empty", "", "\"\""},
                    JsonRow{"QuoteAndBackslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
                    JsonRow{"ControlCharacters", std::string("\t\n\r\x01\x1f", 5),
                            "\"\\t\\n\\r\\u0001\\u001f\""},
                    JsonRow{"NulByte", std::string("a\0b", 3), "\"a\\u0000b\""},
                    JsonRow{"ValidUtf8PassesThrough", "\xc3\xa9\xe2\x82\xac\xf0\x9f\x8f\x81",
                            "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x8f\x81\""},
                    JsonRow{"LoneHighByte", "x\xff", "\"x\\u00ff\""},
                    JsonRow{"CutSequence", "\xe2\x82", "\"\\u00e2\\u0082\""},
                    JsonRow{"OverlongNul", "\xc0\x80", "\"\\u00c0\\u0080\""},
                    JsonRow{"Surrogate", "\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},
                    JsonRow{"BeyondUnicode", "\xf4\x90\x80\x80",
                            "\"\\u00f4\\u0090\\u0080\\u0080\""}),
    [](const testing::TestParamInfo<JsonRow>& row) { return row.param.name; });

} // namespace
} // namespace lapwerk::cli
