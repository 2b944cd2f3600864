#include "file_steps.h"
#include "trk_import.h"

#include "fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace lapwerk {
namespace {

namespace fs = std::filesystem;

constexpr int kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int kInt32Min = std::numeric_limits<int32_t>::min();

const char* const kMessageA = "Part number C151 is unknown in PARTS.DEF.  You must use the SCX.DEF "
                              "file when you import old .trk files!";
const char* const kMessageB = "Part number C151 is unknown in PARTS.DEF . You must use the SCX.DEF "
                              "file when you import old .trk files!";

/// A directory of its own for the .trk files one test writes; removed afterwards.
class TrkFiles {
public:
    TrkFiles() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        // A random part keeps two builds running the same test apart.
        dir_ = fs::temp_directory_path() /
               ("lapwerk_trk_" + name + "_" + std::to_string(std::random_device{}()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~TrkFiles() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string Write(const std::string& bytes) const {
        const fs::path path = dir_ / "design.trk";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
        return path.string();
    }

    std::string Dir() const { return dir_.string(); }

private:
    fs::path dir_;
};

/// A library with filler Parts around the 17 import numbers, in an order unlike the code table,
/// so that a code only finds its Part through its number.
void AddImportParts(PartLibrary& library, bool withC151 = true) {
    test::AddPart(library, "X1", "filler straight", 1, 640, 2000);
    for (int i = 16; i >= 0; --i) {
        if (!withC151 && std::strcmp(TrkPartNumbers[i], "C151") == 0) {
            continue;
        }
        test::AddPart(library, TrkPartNumbers[i], "import part", 2, 640, 0, 90, 2000, 1500, 1800);
    }
}

using Sections = std::vector<std::pair<std::string, char>>;

Sections SectionsOf(const Track& track, const PartLibrary& library) {
    Sections sections;
    for (int i = 0; i < track.sectionCount; ++i) {
        sections.emplace_back(library.parts[track.partIndex[i]].number, track.direction[i]);
    }
    return sections;
}

std::string Join(const std::vector<int>& values, const char* separator = "\n") {
    std::string text;
    for (int v : values) {
        text += std::to_string(v) + separator;
    }
    return text;
}

/// Puts something in several Tracks so that a failed import has something to clear.
void FillDesign(Design& design) {
    for (int slot = 0; slot < 4; ++slot) {
        Track& track = design.tracks[slot];
        track.inUse = 1;
        track.sectionCount = 3;
        track.partIndex[1] = 5;
        track.direction[2] = 'R';
        track.group = slot < 2 ? 1 : 0;
    }
    design.currentTrack = 3;
    design.changed = 1;
}

void ExpectEmptyDesign(const Design& design, const UndoRing& history) {
    EXPECT_EQ(design.currentTrack, 0);
    EXPECT_EQ(design.changed, 0);
    const Track& first = design.tracks[0];
    EXPECT_EQ(first.inUse, 1);
    EXPECT_EQ(first.sectionCount, 0);
    EXPECT_EQ(first.selectedSection, -1);
    EXPECT_EQ(first.angle, 720);
    EXPECT_EQ(first.beginX, 0);
    EXPECT_EQ(first.group, 0);
    for (int i = 0; i < kMaxSections; ++i) {
        ASSERT_EQ(first.partIndex[i], 0) << "section " << i;
        ASSERT_EQ(first.direction[i], 'L') << "section " << i;
    }
    for (int slot = 1; slot < kMaxTracks; ++slot) {
        EXPECT_EQ(design.tracks[slot].inUse, 0) << "slot " << slot;
        EXPECT_EQ(design.tracks[slot].sectionCount, 0) << "slot " << slot;
    }
    EXPECT_FALSE(CanUndo(history));
    EXPECT_FALSE(CanRedo(history));
    EXPECT_EQ(std::memcmp(&history.slots[history.position], &design, sizeof(Design)), 0);
}

// --- Files the import reads ------------------------------------------------------------------

struct ImportCase {
    const char* name;
    std::string bytes;
    float boardX;
    float boardY;
    Sections track1;
    bool hasTrack2;
    Sections track2;
};

void PrintTo(const ImportCase& c, std::ostream* out) {
    *out << c.name;
}

class TrkImportReads : public ::testing::TestWithParam<ImportCase> {};

TEST_P(TrkImportReads, BuildsTheTracksFromTheCodes) {
    const ImportCase& c = GetParam();
    test::Records r;
    AddImportParts(*r.library);
    FillDesign(*r.design);
    TrkFiles files;

    const MaybeMessage message =
        test::ImportIntoDesign(*r.design, *r.history, *r.library, files.Write(c.bytes).c_str());

    ASSERT_FALSE(message.has_value()) << message->text;
    const Design& d = *r.design;
    EXPECT_FLOAT_EQ(d.boardX, c.boardX);
    EXPECT_FLOAT_EQ(d.boardY, c.boardY);
    EXPECT_EQ(d.currentTrack, 0);
    EXPECT_EQ(d.changed, 1);
    EXPECT_STREQ(d.fileName, "untitled.tr2");

    const Track& first = d.tracks[0];
    EXPECT_EQ(first.inUse, 1);
    EXPECT_EQ(first.beginX, 0);
    EXPECT_EQ(first.beginY, 0);
    EXPECT_EQ(first.angle, 720);
    EXPECT_EQ(first.group, 0);
    EXPECT_EQ(first.selectedSection, -1);
    EXPECT_EQ(SectionsOf(first, *r.library), c.track1);

    const Track& second = d.tracks[1];
    EXPECT_EQ(second.inUse, c.hasTrack2 ? 1 : 0);
    if (c.hasTrack2) {
        EXPECT_EQ(second.beginX, -1568);
        EXPECT_EQ(second.beginY, 0);
        EXPECT_EQ(second.angle, 720);
        EXPECT_EQ(second.group, 0);
        EXPECT_EQ(second.selectedSection, -1);
        EXPECT_EQ(SectionsOf(second, *r.library), c.track2);
    }
    for (int slot = 2; slot < kMaxTracks; ++slot) {
        EXPECT_EQ(d.tracks[slot].inUse, 0) << "slot " << slot;
    }

    // The imported design is the only state: nothing to undo, and it carries changed = 1.
    EXPECT_FALSE(CanUndo(*r.history));
    EXPECT_FALSE(CanRedo(*r.history));
    EXPECT_EQ(std::memcmp(&r.history->slots[r.history->position], &d, sizeof(Design)), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TrkImportReads,
    ::testing::Values(
        ImportCase{"worked_example",
                   Join({1, 0, 200, 150, 0, 0, 0, 3, 0, 1001, 4, 0, 0}),
                   78.74016f,
                   59.05512f,
                   {{"C151", 'L'}, {"C152", 'R'}, {"C156", 'L'}},
                   false,
                   {}},
        ImportCase{"two_tracks",
                   Join({1, 0, 200, 150, 0, 0, 0, 1, 2, 7, 2, 1005, 6}),
                   78.74016f,
                   59.05512f,
                   {{"C153", 'L'}},
                   true,
                   {{"C179", 'R'}, {"C187", 'L'}}},
        ImportCase{"empty_first_track",
                   Join({1, 0, 200, 150, 0, 0, 0, 0, 0, 2, 8, 1009}),
                   78.74016f,
                   59.05512f,
                   {},
                   true,
                   {{"C158", 'L'}, {"C159", 'R'}}},
        ImportCase{"highest_codes",
                   Join({1, 0, 200, 150, 0, 0, 0, 2, 16, 1016, 0, 0}),
                   78.74016f,
                   59.05512f,
                   {{"C277", 'L'}, {"C277", 'R'}},
                   false,
                   {}},
        ImportCase{"whole_table_left",
                   Join({1, 0, 100, 100, 0,  0,  0,  17, 0,  1,  2,  3, 4, 5,
                         6, 7, 8,   9,   10, 11, 12, 13, 14, 15, 16, 0, 0}),
                   39.370079f,
                   39.370079f,
                   {{"C151", 'L'},
                    {"C152", 'L'},
                    {"C153", 'L'},
                    {"C154", 'L'},
                    {"C156", 'L'},
                    {"C179", 'L'},
                    {"C187", 'L'},
                    {"C157", 'L'},
                    {"C158", 'L'},
                    {"C159", 'L'},
                    {"C160", 'L'},
                    {"C168", 'L'},
                    {"C174a", 'L'},
                    {"C176", 'L'},
                    {"C178", 'L'},
                    {"C182", 'L'},
                    {"C277", 'L'}},
                   false,
                   {}},
        ImportCase{"board_250_by_120",
                   Join({1, 0, 250, 120, 0, 0, 0, 0, 0, 0}),
                   98.4252f,
                   47.2441f,
                   {},
                   false,
                   {}},
        ImportCase{"negative_board",
                   Join({1, 0, -200, 0, 0, 0, 0, 0, 0, 0}),
                   -78.74016f,
                   0.0f,
                   {},
                   false,
                   {}},
        ImportCase{"signs_tabs_crlf_and_no_final_line_break",
                   "-7\t+0\r\n+200 150\r\n\r\n0 0\t\t0\n1\n1003\n-0\n1\n1000",
                   78.74016f,
                   59.05512f,
                   {{"C154", 'R'}},
                   true,
                   {{"C151", 'R'}}},
        ImportCase{"anything_after_the_last_code_is_left_unread",
                   Join({1, 0, 200, 150, 0, 0, 0, 1, 4, 0, 0}) + "not a number 1.5 \x01\x02",
                   78.74016f,
                   59.05512f,
                   {{"C156", 'L'}},
                   false,
                   {}},
        ImportCase{"unused_values_take_the_whole_32_bit_range",
                   Join({kInt32Max, kInt32Min, 200, 150, 0, 0, kInt32Min, 0, kInt32Max, 0}),
                   78.74016f,
                   59.05512f,
                   {},
                   false,
                   {}},
        ImportCase{"leading_zeros",
                   "0000000000000000000001 0 00200 0150 0 0 0 01 001004 0 0",
                   78.74016f,
                   59.05512f,
                   {{"C156", 'R'}},
                   false,
                   {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TrkImport, WorkedExampleGivesTheBoardToFloatPrecision) {
    test::Records r;
    AddImportParts(*r.library);
    TrkFiles files;
    const std::string path = files.Write(Join({1, 0, 200, 150, 0, 0, 0, 3, 0, 1001, 4, 0, 0}));
    ASSERT_FALSE(
        test::ImportIntoDesign(*r.design, *r.history, *r.library, path.c_str()).has_value());
    // 200 and 150 cm in inches, rounded once to the nearest float.
    EXPECT_EQ(r.design->boardX, 78.740158081054688f);
    EXPECT_EQ(r.design->boardY, 59.055118560791016f);
}

TEST(TrkImport, FillsBothTracksToTheirCapacity) {
    test::Records r;
    AddImportParts(*r.library);
    TrkFiles files;
    std::vector<int> values = {1, 0, 200, 150, 0, 0, 0, kMaxSections};
    for (int i = 0; i < kMaxSections; ++i) {
        values.push_back(i % 17);
    }
    values.push_back(0);
    values.push_back(kMaxSections);
    for (int i = 0; i < kMaxSections; ++i) {
        values.push_back(1000 + (i % 17));
    }
    const std::string path = files.Write(Join(values, " "));

    const MaybeMessage message =
        test::ImportIntoDesign(*r.design, *r.history, *r.library, path.c_str());

    ASSERT_FALSE(message.has_value()) << message->text;
    const Track& first = r.design->tracks[0];
    const Track& second = r.design->tracks[1];
    ASSERT_EQ(first.sectionCount, kMaxSections);
    ASSERT_EQ(second.sectionCount, kMaxSections);
    EXPECT_STREQ(r.library->parts[first.partIndex[1999]].number, TrkPartNumbers[1999 % 17]);
    EXPECT_EQ(first.direction[1999], 'L');
    EXPECT_STREQ(r.library->parts[second.partIndex[1999]].number, TrkPartNumbers[1999 % 17]);
    EXPECT_EQ(second.direction[1999], 'R');
}

TEST(TrkImport, FindsTheFixtureThroughTheTestDataPath) {
    test::Records r;
    AddImportParts(*r.library);
    const std::string path = std::string(LAPWERK_TEST_DATA) + "/two_tracks.trk";
    ASSERT_TRUE(fs::exists(path)) << path;

    ASSERT_FALSE(
        test::ImportIntoDesign(*r.design, *r.history, *r.library, path.c_str()).has_value());

    EXPECT_EQ(SectionsOf(r.design->tracks[0], *r.library),
              (Sections{{"C151", 'L'}, {"C152", 'R'}, {"C156", 'L'}}));
    EXPECT_EQ(SectionsOf(r.design->tracks[1], *r.library),
              (Sections{{"C174a", 'L'}, {"C174a", 'R'}}));
    EXPECT_EQ(r.design->tracks[1].beginX, -1568);
}

TEST(TrkImport, FileThatCannotBeOpenedLeavesTheEmptyDesignSilently) {
    test::Records r;
    AddImportParts(*r.library);
    FillDesign(*r.design);
    TrkFiles files;
    const std::string path = files.Dir() + "/missing.trk";

    EXPECT_FALSE(
        test::ImportIntoDesign(*r.design, *r.history, *r.library, path.c_str()).has_value());

    ExpectEmptyDesign(*r.design, *r.history);
}

TEST(TrkImport, DirectoryInsteadOfAFileLeavesTheEmptyDesign) {
    test::Records r;
    AddImportParts(*r.library);
    FillDesign(*r.design);
    TrkFiles files;

    // Some systems refuse to open a directory (silent), others fail on the first read.
    const MaybeMessage message =
        test::ImportIntoDesign(*r.design, *r.history, *r.library, files.Dir().c_str());

    if (message) {
        EXPECT_TRUE(message->text.ends_with(": the file could not be read.")) << message->text;
        EXPECT_EQ(message->caption, "Error");
    }
    ExpectEmptyDesign(*r.design, *r.history);
}

// --- Files the import rejects ----------------------------------------------------------------

struct RejectCase {
    const char* name;
    std::string bytes;
    bool withC151;
    std::string message;
};

void PrintTo(const RejectCase& c, std::ostream* out) {
    *out << c.name;
}

class TrkImportRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(TrkImportRejects, ShowsAnErrorAndLeavesTheEmptyDesign) {
    const RejectCase& c = GetParam();
    test::Records r;
    AddImportParts(*r.library, c.withC151);
    FillDesign(*r.design);
    TrkFiles files;

    const std::string path = files.Write(c.bytes);
    const MaybeMessage message = test::ImportIntoDesign(*r.design, *r.history, *r.library, path);

    ASSERT_TRUE(message.has_value());
    // The importer's own faults follow the file's name; the unknown parts' texts stand alone.
    const bool own = c.message.rfind("Part number", 0) != 0;
    EXPECT_EQ(message->text, own ? FileNamePart(path.c_str()) + ": " + c.message : c.message);
    EXPECT_EQ(message->caption, "Error");
    ExpectEmptyDesign(*r.design, *r.history);
}

const std::string kHead = Join({1, 0, 200, 150, 0, 0, 0});

INSTANTIATE_TEST_SUITE_P(
    UnknownParts, TrkImportRejects,
    ::testing::Values(
        RejectCase{"left_c151_in_track_1", kHead + Join({2, 4, 0, 0, 0}), false, kMessageA},
        RejectCase{"right_c151_in_track_1", kHead + Join({1, 1000, 0, 0}), false, kMessageA},
        RejectCase{"left_c151_in_track_2", kHead + Join({1, 4, 0, 2, 4, 0}), false, kMessageB},
        RejectCase{"right_c151_in_track_2", kHead + Join({0, 0, 1, 1000}), false, kMessageB}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Codes, TrkImportRejects,
    ::testing::Values(RejectCase{"code_17", kHead + Join({2, 4, 17, 0, 0}), true,
                                 "value 10 (section 2 of track 1) is 17, which is no section "
                                 "code (0 to 16 or 1000 to 1016)."},
                      RejectCase{"code_999", kHead + Join({1, 999, 0, 0}), true,
                                 "value 9 (section 1 of track 1) is 999, which is no section "
                                 "code (0 to 16 or 1000 to 1016)."},
                      RejectCase{"code_1017_in_track_2", kHead + Join({0, 0, 1, 1017}), true,
                                 "value 11 (section 1 of track 2) is 1017, which is no "
                                 "section code (0 to 16 or 1000 to 1016)."},
                      RejectCase{"negative_code", kHead + Join({1, -1, 0, 0}), true,
                                 "value 9 (section 1 of track 1) is -1, which is no section "
                                 "code (0 to 16 or 1000 to 1016)."},
                      RejectCase{"largest_code", kHead + Join({1, 2147483647, 0, 0}), true,
                                 "value 9 (section 1 of track 1) is 2147483647, which is no "
                                 "section code (0 to 16 or 1000 to 1016)."}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    SectionCounts, TrkImportRejects,
    ::testing::Values(RejectCase{"track_1_negative", kHead + Join({-1, 0, 0}), true,
                                 "value 8 (section count of track 1) is -1, but a track "
                                 "holds 0 to 2000 sections."},
                      RejectCase{"track_1_above_2000", kHead + Join({2001}), true,
                                 "value 8 (section count of track 1) is 2001, but a track "
                                 "holds 0 to 2000 sections."},
                      RejectCase{"track_2_negative", kHead + Join({1, 4, 0, -5}), true,
                                 "value 11 (section count of track 2) is -5, but a track "
                                 "holds 0 to 2000 sections."},
                      RejectCase{"track_2_lowest", kHead + Join({0, 0, kInt32Min}), true,
                                 "value 10 (section count of track 2) is -2147483648, but a "
                                 "track holds 0 to 2000 sections."}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    NotNumbers, TrkImportRejects,
    ::testing::Values(
        RejectCase{"word", "1 0 abc 150", true, "value 3 (board width) is not a whole number."},
        RejectCase{"digits_then_letters", "1 0 200 150x", true,
                   "value 4 (board height) is not a whole number."},
        RejectCase{"decimal_fraction", "1 0 200.5 150", true,
                   "value 3 (board width) is not a whole number."},
        RejectCase{"hexadecimal", "0x1 0 200 150", true, "value 1 is not a whole number."},
        RejectCase{"lone_sign", "1 - 200", true, "value 2 is not a whole number."},
        RejectCase{"double_sign", kHead + "--3", true,
                   "value 8 (section count of track 1) is not a whole number."},
        RejectCase{"space_after_sign", kHead + "1 - 4", true,
                   "value 9 (section 1 of track 1) is not a whole number."},
        RejectCase{"nul_byte", kHead + std::string("1\0 4", 4), true,
                   "value 8 (section count of track 1) is not a whole number."},
        RejectCase{"code_with_comma", kHead + "2 4,0 0 0", true,
                   "value 9 (section 1 of track 1) is not a whole number."},
        RejectCase{"last_code_followed_by_letters", kHead + "0 0 1 4k", true,
                   "value 11 (section 1 of track 2) is not a whole number."},
        RejectCase{"above_32_bits", "1 0 2147483648 150", true,
                   "value 3 (board width) is too large a number."},
        RejectCase{"below_32_bits", "1 0 200 -2147483649", true,
                   "value 4 (board height) is too large a number."},
        RejectCase{"many_digits", "1 " + std::string(5000, '9'), true,
                   "value 2 is too large a number."}),
    [](const auto& row) { return std::string(row.param.name); });

INSTANTIATE_TEST_SUITE_P(
    EarlyEnds, TrkImportRejects,
    ::testing::Values(RejectCase{"empty_file", "", true, "the file ends before value 1."},
                      RejectCase{"only_white_space", " \n\t\r\n", true,
                                 "the file ends before value 1."},
                      RejectCase{"before_the_board", "1 0\n", true,
                                 "the file ends before value 3 (board width)."},
                      RejectCase{"before_the_first_count", kHead, true,
                                 "the file ends before value 8 (section count of track 1)."},
                      RejectCase{"inside_track_1", kHead + Join({3, 0, 1001}), true,
                                 "the file ends before value 11 (section 3 of track 1)."},
                      RejectCase{"before_the_value_ahead_of_the_second_count", kHead + Join({1, 4}),
                                 true, "the file ends before value 10."},
                      RejectCase{"before_the_second_count", kHead + Join({1, 4, 0}), true,
                                 "the file ends before value 11 (section count of track 2)."},
                      RejectCase{"inside_track_2", kHead + Join({0, 0, 2, 4}), true,
                                 "the file ends before value 12 (section 2 of track 2)."}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TrkImport, RejectedFileKeepsTheBoardSizeItHadRead) {
    test::Records r;
    AddImportParts(*r.library, false);
    TrkFiles files;
    const std::string path = files.Write(kHead + Join({1, 0, 0, 0}));

    ASSERT_TRUE(
        test::ImportIntoDesign(*r.design, *r.history, *r.library, path.c_str()).has_value());

    EXPECT_FLOAT_EQ(r.design->boardX, 78.74016f);
    EXPECT_FLOAT_EQ(r.design->boardY, 59.05512f);
    EXPECT_EQ(r.history->slots[0].boardX, r.design->boardX);
}

} // namespace
} // namespace lapwerk
