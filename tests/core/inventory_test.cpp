#include "file_steps.h"
#include "inventory.h"

#include "fixtures.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

struct InventoryCase {
    const char* name;
    std::string text;
    std::vector<int32_t> owned; ///< counts of the library's parts A, B, a, LONG
};

class LoadInventoryTest : public ::testing::TestWithParam<InventoryCase> {};

TEST_P(LoadInventoryTest, StoresCountsByPartIndex) {
    test::Records r;
    test::AddPart(*r.library, "A", "first", 1, 640, 2560);
    test::AddPart(*r.library, "B", "second", 1, 640, 2560);
    test::AddPart(*r.library, "a", "lower case", 1, 640, 2560);
    const int longest = test::AddPart(*r.library, "L", "fifteen characters", 1, 640, 2560);
    std::strcpy(r.library->parts[longest].number, "ABCDEFGHIJKLMNO");
    test::TempDir dir;
    const std::string path = dir.File("sections.own");
    test::WriteBytes(path, GetParam().text);
    r.inventory->owned[200] = 9; // loading starts from zero

    LoadInventory(*r.inventory, *r.library, path.c_str());

    const std::vector<int32_t> got(r.inventory->owned, r.inventory->owned + 4);
    EXPECT_EQ(got, GetParam().owned);
    EXPECT_EQ(r.inventory->owned[200], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadInventoryTest,
    ::testing::Values(
        InventoryCase{"two_parts", "# owned\nA 4\nB 2\n", {4, 2, 0, 0}},
        InventoryCase{"last_line_wins", "A 3\nA 5\n", {5, 0, 0, 0}},
        InventoryCase{"comment_and_empty_line", "#A 7\n\nA 1\n", {1, 0, 0, 0}},
        InventoryCase{"case_sensitive", "a 8\nA 1\n", {1, 0, 8, 0}},
        InventoryCase{"unknown_number_skipped", "Z 3\nB 6\n", {0, 6, 0, 0}},
        InventoryCase{"no_count_skipped", "A\nB x\nA 2\nB\n", {2, 0, 0, 0}},
        InventoryCase{"negative_stored", "B -3\n", {0, -3, 0, 0}},
        InventoryCase{"blanks_and_tabs", "  A\t\t12 extra\n", {12, 0, 0, 0}},
        InventoryCase{"count_with_suffix", "A 4pcs\n", {4, 0, 0, 0}},
        InventoryCase{"fifteen_character_number", "ABCDEFGHIJKLMNO 2\n", {0, 0, 0, 2}},
        InventoryCase{"longer_number_matches_nothing", "ABCDEFGHIJKLMNOP 2\n", {0, 0, 0, 0}},
        InventoryCase{"count_saturates", "A 99999999999\n", {2147483647, 0, 0, 0}},
        InventoryCase{"crlf", "A 4\r\nB 2\r\n", {4, 2, 0, 0}},
        InventoryCase{"last_line_without_break_dropped", "A 4\nB 2", {4, 0, 0, 0}},
        InventoryCase{"empty_file", "", {0, 0, 0, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LoadInventory, MissingFileLeavesEveryCountZero) {
    test::Records r;
    test::AddPart(*r.library, "A", "first", 1, 640, 2560);
    r.inventory->owned[0] = 3;
    test::TempDir dir;
    LoadInventory(*r.inventory, *r.library, dir.File("sections.own").c_str());
    for (int32_t owned : r.inventory->owned) {
        ASSERT_EQ(owned, 0);
    }
}

} // namespace
} // namespace lapwerk
