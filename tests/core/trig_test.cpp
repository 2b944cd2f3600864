#include "geometry/trig.h"

#include <gtest/gtest.h>

#include <string>

namespace lapwerk {
namespace {

struct EntryCase {
    const char* name;
    const int32_t* table;
    int index;
    int32_t value;
};

class TrigTableTest : public ::testing::TestWithParam<EntryCase> {
protected:
    void SetUp() override { BuildTrigTables(); }
};

TEST_P(TrigTableTest, HoldsTheTruncatedSinglePrecisionValue) {
    EXPECT_EQ(GetParam().table[GetParam().index], GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    TellingEntries, TrigTableTest,
    ::testing::Values(
        EntryCase{"cos0_is_the_only_full_entry", CosTable, 0, 32768},
        EntryCase{"cos240_falls_short_of_half", CosTable, 240, 16383},
        EntryCase{"cos360_is_zero", CosTable, 360, 0}, EntryCase{"cos480", CosTable, 480, -16384},
        EntryCase{"cos720_stops_short_of_minus_one", CosTable, 720, -32767},
        EntryCase{"cos1080", CosTable, 1080, 0}, EntryCase{"sin0", SinTable, 0, 0},
        EntryCase{"sin120", SinTable, 120, 16384}, EntryCase{"sin360", SinTable, 360, 32767},
        EntryCase{"sin720", SinTable, 720, 0}, EntryCase{"sin1080", SinTable, 1080, -32767}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BuildTrigTables, GivesTheSameTablesWhenRunAgain) {
    BuildTrigTables();
    int32_t cosBefore[1440];
    int32_t sinBefore[1440];
    for (int i = 0; i < 1440; ++i) {
        cosBefore[i] = CosTable[i];
        sinBefore[i] = SinTable[i];
    }
    BuildTrigTables();
    for (int i = 0; i < 1440; ++i) {
        ASSERT_EQ(CosTable[i], cosBefore[i]) << "entry " << i;
        ASSERT_EQ(SinTable[i], sinBefore[i]) << "entry " << i;
    }
}

} // namespace
} // namespace lapwerk
