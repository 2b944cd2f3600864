#include "trig.h"

#include <gtest/gtest.h>

#include <string>

namespace lapwerk {
namespace {

enum class Table { kCos, kSin };

struct EntryCase {
    const char* name;
    Table table;
    int index;
    int32_t value;
};

class TrigTableTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(TrigTableTest, HoldsTheTruncatedSinglePrecisionValue) {
    const TrigTables& trig = Trig();
    const int32_t* table = GetParam().table == Table::kCos ? trig.cos : trig.sin;
    EXPECT_EQ(table[GetParam().index], GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    TellingEntries, TrigTableTest,
    ::testing::Values(
        EntryCase{"cos0_is_the_only_full_entry", Table::kCos, 0, 32768},
        EntryCase{"cos240_falls_short_of_half", Table::kCos, 240, 16383},
        EntryCase{"cos360_is_zero", Table::kCos, 360, 0},
        EntryCase{"cos480", Table::kCos, 480, -16384},
        EntryCase{"cos720_stops_short_of_minus_one", Table::kCos, 720, -32767},
        EntryCase{"cos1080", Table::kCos, 1080, 0}, EntryCase{"sin0", Table::kSin, 0, 0},
        EntryCase{"sin120", Table::kSin, 120, 16384}, EntryCase{"sin360", Table::kSin, 360, 32767},
        EntryCase{"sin720", Table::kSin, 720, 0}, EntryCase{"sin1080", Table::kSin, 1080, -32767}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Trig, BuildsTheTablesOnceOnFirstUse) {
    const TrigTables& first = Trig();
    EXPECT_EQ(&Trig(), &first);
    EXPECT_EQ(first.cos[0], 32768);
    EXPECT_EQ(first.sin[360], 32767);
}

} // namespace
} // namespace lapwerk
