#include "file_steps.h"
#include "inventory.h"
#include "inventory_file.h"

#include "fixtures.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
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

struct SetCountsCase {
    const char* name;
    std::string before;
    std::vector<OwnedCount> counts;
    std::string after;
};

class SetOwnedCountsTest : public ::testing::TestWithParam<SetCountsCase> {};

TEST_P(SetOwnedCountsTest, KeepsTheUsersLines) {
    EXPECT_EQ(SetOwnedCountsInText(GetParam().before, GetParam().counts), GetParam().after);
}

// A number that the reader would take as another, or not at all, is never written.
TEST(SetOwnedCounts, RefusesNumbersThatWouldNotReadBack) {
    for (const char* number : {"", "A B", "#A", "0123456789abcdef", " A"}) {
        SCOPED_TRACE(number);
        EXPECT_FALSE(PartNumberReadsBack(number));
        EXPECT_EQ(SetOwnedCountsInText("A 1\n", {{"A", 2}, {number, 3}}), std::nullopt);
    }
    EXPECT_TRUE(PartNumberReadsBack("C8205-A"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SetOwnedCountsTest,
    ::testing::Values(
        SetCountsCase{
            "count_changed_in_place", "# mine\nA 4\nB 2\n", {{"A", 7}}, "# mine\nA 7\nB 2\n"},
        SetCountsCase{
            "last_line_of_a_number", "A 3\n# later\nA 5\n", {{"A", 1}}, "A 3\n# later\nA 1\n"},
        SetCountsCase{
            "blanks_and_what_follows_kept", "  A\t\t12 extra\n", {{"A", 5}}, "  A\t\t5 extra\n"},
        SetCountsCase{"new_number_appended", "# mine\nA 4\n", {{"B", 2}}, "# mine\nA 4\nB 2\n"},
        SetCountsCase{"zero_kept_on_its_line", "A 4\n", {{"A", 0}}, "A 0\n"},
        SetCountsCase{"zero_of_a_new_number_not_written", "A 4\n", {{"B", 0}}, "A 4\n"},
        SetCountsCase{
            "crlf_file_gets_crlf_lines", "A 4\r\n", {{"A", 1}, {"B", 2}}, "A 1\r\nB 2\r\n"},
        SetCountsCase{"unread_last_line_stays_last", "A 4\nB 9", {{"B", 2}}, "A 4\nB 2\nB 9"},
        SetCountsCase{"line_read_in_pieces_left_alone",
                      "A 4" + std::string(80, ' ') + "\n",
                      {{"A", 6}},
                      "A 4" + std::string(80, ' ') + "\nA 6\n"},
        SetCountsCase{"empty_file", "", {{"A", 3}}, "A 3\n"}),
    [](const auto& row) { return std::string(row.param.name); });

// Random inventory files, random counts set: the reader then finds exactly the counts set over
// the counts it found before, and every comment line is still there in its order.
TEST(SetOwnedCounts, ReadsBackAsSetAndKeepsComments) {
    test::Records r;
    const char* const numbers[] = {"A", "B", "a", "C1"};
    for (const char* number : numbers) {
        test::AddPart(*r.library, number, "part", 1, 640, 2560);
    }
    const std::string pieces[] = {
        "# note\n", "\n",    "A 3\n", "B 2\r\n",       "a -1\n",
        "C1 x\n",   "Z 4\n", "B\n",   "  A\t9 left\n", std::string(85, 'A') + " 5\n",
        "C1 7\n",   "#A 1\n"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int i = static_cast<int>(random() % 8); i > 0; --i) {
            text += pieces[random() % std::size(pieces)];
        }
        if (random() % 4 == 0) {
            text += "B 8"; // a last line without a line break
        }
        std::vector<OwnedCount> counts;
        for (int i = static_cast<int>(random() % 4); i > 0; --i) {
            counts.push_back({numbers[random() % 4], static_cast<int32_t>(random() % 3 * 5)});
        }
        Inventory expected;
        ParseInventory(text, *r.library, expected);
        for (const OwnedCount& owned : counts) {
            expected.owned[FindPartByNumber(*r.library, owned.number.c_str())] = owned.count;
        }
        const std::string written = SetOwnedCountsInText(text, counts).value();
        ParseInventory(written, *r.library, *r.inventory);
        ASSERT_EQ(std::memcmp(r.inventory->owned, expected.owned, sizeof expected.owned), 0)
            << "round " << round << ":\n"
            << text << "\n---\n"
            << written;
        size_t from = 0;
        for (size_t at = text.find("#"); at != std::string::npos; at = text.find('#', at + 1)) {
            const std::string comment = text.substr(at, text.find('\n', at) - at);
            from = written.find(comment, from);
            ASSERT_NE(from, std::string::npos) << "round " << round << " lost " << comment;
        }
    }
}

TEST(ReadOwnedCount, TakesWholeNumbersOfZeroOrMore) {
    const std::pair<const char*, std::optional<int32_t>> rows[] = {{"0", 0},
                                                                   {" 12 ", 12},
                                                                   {"2147483647", 2147483647},
                                                                   {"-1", std::nullopt},
                                                                   {"x", std::nullopt},
                                                                   {"", std::nullopt},
                                                                   {"1.5", std::nullopt},
                                                                   {"+3", std::nullopt},
                                                                   {"2147483648", std::nullopt}};
    for (const auto& [text, count] : rows) {
        EXPECT_EQ(ReadOwnedCount(text), count) << text;
    }
}

} // namespace
} // namespace lapwerk
