#include "lane_lengths.h"
#include "part_counts.h"
#include "part_facts.h"
#include "parts_list.h"
#include "section_list.h"

#include "file_steps.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

/// Shows tabs as \t so that a differing line reads unambiguously.
std::string Visible(const std::string& line) {
    std::string text;
    for (char c : line) {
        text += c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return "\"" + text + "\"";
}

void ExpectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    const size_t common = std::min(actual.size(), expected.size());
    for (size_t i = 0; i < common; ++i) {
        EXPECT_EQ(actual[i], expected[i])
            << "line " << i + 1 << "\n  actual:   " << Visible(actual[i])
            << "\n  expected: " << Visible(expected[i]);
    }
    for (size_t i = common; i < actual.size(); ++i) {
        ADD_FAILURE() << "extra line " << i + 1 << ": " << Visible(actual[i]);
    }
    for (size_t i = common; i < expected.size(); ++i) {
        ADD_FAILURE() << "missing line " << i + 1 << ": " << Visible(expected[i]);
    }
}

void AddSection(Track& track, int partIndex, char direction) {
    track.partIndex[track.sectionCount] = static_cast<uint8_t>(partIndex);
    track.direction[track.sectionCount] = direction;
    ++track.sectionCount;
}

// --- FormatLaneLength ------------------------------------------------------------------------

struct LengthCase {
    const char* name;
    int32_t length;
    bool metric;
    const char* text;
};

class FormatLaneLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(FormatLaneLengthTest, FormatsInTheChosenUnit) {
    EXPECT_EQ(FormatLaneLength(GetParam().length, GetParam().metric), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, FormatLaneLengthTest,
    ::testing::Values(
        LengthCase{"ten_inches", 2560, false, "10.00 '"},
        LengthCase{"ten_inches_in_metres", 2560, true, "0.25 m"},
        LengthCase{"zero_inches", 0, false, "0.00 '"}, LengthCase{"zero_metres", 0, true, "0.00 m"},
        LengthCase{"one_inch", 256, false, "1.00 '"},
        LengthCase{"one_metre", 10079, true, "1.00 m"},
        LengthCase{"tie_rounds_to_even_down", 32, false, "0.12 '"},
        LengthCase{"tie_rounds_to_even_up", 96, false, "0.38 '"},
        LengthCase{"negative", -2560, false, "-10.00 '"},
        LengthCase{"tiny_negative", -1, true, "-0.00 m"},
        LengthCase{"largest_inches", std::numeric_limits<int32_t>::max(), false, "8388608.00 '"},
        LengthCase{"smallest_metres", std::numeric_limits<int32_t>::min(), true, "-213070.64 m"}),
    [](const auto& row) { return std::string(row.param.name); });

// --- RefreshLaneLengths ----------------------------------------------------------------------

TEST(RefreshLaneLengths, NumbersTracksAmongThoseInUse) {
    test::Records r;
    Design& d = *r.design;
    d.tracks[0].lane1Length = 2560;
    d.tracks[0].lane2Length = 256;
    d.tracks[5].inUse = 1;
    d.tracks[5].lane1Length = 512;
    d.tracks[5].lane2Length = 768;
    d.tracks[3].lane1Length = 9999; // a free slot's stale value is never shown

    const LaneLengthRows rows = RefreshLaneLengths(d, false);

    EXPECT_EQ(rows.trackNumbers, (std::vector<std::string>{"Track 1", "Track 2"}));
    EXPECT_EQ(rows.lane1, (std::vector<std::string>{"10.00 '", "2.00 '"}));
    EXPECT_EQ(rows.lane2, (std::vector<std::string>{"1.00 '", "3.00 '"}));
}

TEST(RefreshLaneLengths, LeavesTheListsEmptyWithoutTracks) {
    test::Records r;
    r.design->tracks[0].inUse = 0;
    const LaneLengthRows rows = RefreshLaneLengths(*r.design, true);
    EXPECT_TRUE(rows.trackNumbers.empty());
    EXPECT_TRUE(rows.lane1.empty());
    EXPECT_TRUE(rows.lane2.empty());
}

// --- RefreshPartCounts -----------------------------------------------------------------------

struct CountCase {
    const char* name;
    int32_t owned;
    int used;
    const char* usedText;
    const char* leftOverText;
    int64_t leftOver;
};

class RefreshPartCountsTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(RefreshPartCountsTest, ComparesUsedWithOwned) {
    const CountCase& c = GetParam();
    test::Records r;
    test::AddPart(*r.library, "S1", "straight", 1, 640, 2000);
    const int part = test::AddPart(*r.library, "C1", "curve", 2, 640, 0, 90, 2000);
    r.inventory->owned[part] = c.owned;
    for (int i = 0; i < c.used; ++i) {
        AddSection(r.design->tracks[0], part, i % 2 == 0 ? 'L' : 'R');
    }

    const PartCountRows rows = RefreshPartCounts(*r.design, *r.library, *r.inventory);

    ASSERT_EQ(rows.used.size(), 2u);
    ASSERT_EQ(rows.leftOver.size(), 2u);
    ASSERT_EQ(rows.leftOverCount.size(), 2u);
    EXPECT_EQ(rows.used[part], c.usedText);
    EXPECT_EQ(rows.leftOver[part], c.leftOverText);
    EXPECT_EQ(rows.leftOverCount[part], c.leftOver);
    EXPECT_EQ(rows.used[0], "0");
    EXPECT_EQ(rows.leftOver[0], "");
}

INSTANTIATE_TEST_SUITE_P(Counts, RefreshPartCountsTest,
                         ::testing::Values(CountCase{"used_but_not_owned", 0, 3, "3", "-3", -3},
                                           CountCase{"every_owned_piece_used", 4, 4, "4", "0", 0},
                                           CountCase{"neither_owned_nor_used", 0, 0, "0", "", 0},
                                           CountCase{"owned_not_used", 2, 0, "0", "2", 2},
                                           CountCase{"some_left", 5, 2, "2", "3", 3},
                                           CountCase{"negative_owned_count", -1, 0, "0", "-1", -1},
                                           CountCase{"lowest_owned_count_minus_one_used",
                                                     std::numeric_limits<int32_t>::min(), 1, "1",
                                                     "-2147483649", -2147483649LL},
                                           CountCase{"highest_owned_count",
                                                     std::numeric_limits<int32_t>::max(), 0, "0",
                                                     "2147483647", 2147483647}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(RefreshPartCounts, CountsEveryTrackInUseAndNoFreeOne) {
    test::Records r;
    const int straight = test::AddPart(*r.library, "S1", "straight", 1, 640, 2000);
    const int curve = test::AddPart(*r.library, "C1", "curve", 2, 640, 0, 90, 2000);
    Design& d = *r.design;
    AddSection(d.tracks[0], straight, 'L');
    AddSection(d.tracks[0], curve, 'R');
    d.tracks[7].inUse = 1;
    d.tracks[7].group = 2;
    AddSection(d.tracks[7], curve, 'L');
    AddSection(d.tracks[3], straight, 'L'); // slot 3 is free: not counted

    const PartCountRows rows = RefreshPartCounts(d, *r.library, *r.inventory);

    EXPECT_EQ(rows.used, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(rows.leftOver, (std::vector<std::string>{"-1", "-2"}));
}

TEST(RefreshPartCounts, CountsAFullDesign) {
    test::Records r;
    for (int i = 0; i < kMaxParts; ++i) {
        test::AddPart(*r.library, ("P" + std::to_string(i)).c_str(), "part", 1, 640, 100);
    }
    Design& d = *r.design;
    for (int slot = 0; slot < kMaxTracks; ++slot) {
        d.tracks[slot].inUse = 1;
        for (int i = 0; i < kMaxSections; ++i) {
            AddSection(d.tracks[slot], 255, 'L');
        }
    }

    const PartCountRows rows = RefreshPartCounts(d, *r.library, *r.inventory);

    ASSERT_EQ(rows.used.size(), 256u);
    EXPECT_EQ(rows.used[255], "128000");
    EXPECT_EQ(rows.leftOver[255], "-128000");
    EXPECT_EQ(rows.used[0], "0");
}

// --- BuildSectionList ------------------------------------------------------------------------

const char* const kCaption = "untitled.tr2 - Lapwerk V2.1";
const BoardTexts kTwoMetres{" 2.00", " 2.00"};

TEST(BuildSectionList, DesignWithoutTracks) {
    test::Records r;
    test::AddPart(*r.library, "S1", "straight", 1, 640, 2000);
    r.inventory->owned[0] = 2;
    r.design->tracks[0].inUse = 0;

    ExpectLines(BuildSectionList(*r.design, *r.library, *r.inventory, kCaption, kTwoMetres, true),
                {
                    "untitled.tr2 - Lapwerk V2.1      2.00    x  2.00    ",
                    "",
                    "S1         straight                         0     2   ",
                    "",
                    "",
                    "--- END ---",
                });
}

TEST(BuildSectionList, StraightAndLeftCurveOnOneTrack) {
    test::Records r;
    const int straight = test::AddPart(*r.library, "C157", "Straight", 1, 640, 8960);
    const int curve = test::AddPart(*r.library, "C152", "Standard curve", 2, 640, 0, 180, 9000);
    Track& track = r.design->tracks[0];
    AddSection(track, straight, 'L');
    AddSection(track, curve, 'L');
    track.lane1Length = 15000;
    track.lane2Length = 17000;

    ExpectLines(BuildSectionList(*r.design, *r.library, *r.inventory, kCaption, kTwoMetres, true),
                {
                    "untitled.tr2 - Lapwerk V2.1      2.00    x  2.00    ",
                    "",
                    "C157       Straight                         1     -1  ",
                    "C152       Standard curve                   1     -1  ",
                    "",
                    "Length of track 1\t\t1.49 m\t1.69 m",
                    "",
                    "\tTrack 1",
                    "",
                    "\tC157\tStraight",
                    "L\tC152\tStandard curve",
                    "",
                    "--- END ---",
                });
}

TEST(BuildSectionList, OnlyCurveKindsShowTheirDirection) {
    test::Records r;
    const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12};
    for (int kind : kinds) {
        test::AddPart(*r.library, ("K" + std::to_string(kind)).c_str(), "piece", kind, 640, 100);
    }
    Track& track = r.design->tracks[0];
    for (int i = 0; i < r.library->count; ++i) {
        AddSection(track, i, 'R');
    }

    const std::vector<std::string> lines =
        BuildSectionList(*r.design, *r.library, *r.inventory, kCaption, kTwoMetres, false);

    // Header, empty, 11 Parts, empty, one length line, empty, "\tTrack 1", empty: then these.
    ASSERT_GE(lines.size(), 18u + 11u);
    const std::vector<std::string> sections(lines.begin() + 18, lines.begin() + 29);
    ExpectLines(sections, {
                              "\tK0\tpiece",
                              "\tK1\tpiece",
                              "R\tK2\tpiece",
                              "\tK3\tpiece",
                              "\tK4\tpiece",
                              "\tK5\tpiece",
                              "R\tK6\tpiece",
                              "R\tK7\tpiece",
                              "\tK8\tpiece",
                              "\tK11\tpiece",
                              "\tK12\tpiece",
                          });
}

TEST(BuildSectionList, NumbersTracksAmongThoseInUseAndListsEmptyTracks) {
    test::Records r;
    const int straight = test::AddPart(*r.library, "S1", "straight", 1, 640, 2560);
    Design& d = *r.design;
    d.tracks[2].inUse = 1;
    AddSection(d.tracks[2], straight, 'L');
    d.tracks[2].lane1Length = 2560;
    d.tracks[2].lane2Length = 2560;
    AddSection(d.tracks[1], straight, 'L'); // a free slot

    ExpectLines(BuildSectionList(d, *r.library, *r.inventory, "oval.tr2 - Lapwerk V2.1",
                                 BoardTexts{"78.74", "59.06"}, false),
                {
                    "oval.tr2 - Lapwerk V2.1     78.74    x 59.06    ",
                    "",
                    "S1         straight                         1     -1  ",
                    "",
                    "Length of track 1\t\t0.00 '\t0.00 '",
                    "Length of track 2\t\t10.00 '\t10.00 '",
                    "",
                    "\tTrack 1",
                    "",
                    "",
                    "\tTrack 2",
                    "",
                    "\tS1\tstraight",
                    "",
                    "--- END ---",
                });
}

struct PartLineCase {
    const char* name;
    std::string number;
    std::string partName;
    int owned;
    std::string line;
};

class SectionListPartLine : public ::testing::TestWithParam<PartLineCase> {};

TEST_P(SectionListPartLine, PadsWithoutCutting) {
    const PartLineCase& c = GetParam();
    test::Records r;
    test::AddPart(*r.library, c.number.c_str(), c.partName.c_str(), 1, 640, 100);
    r.inventory->owned[0] = c.owned;

    const std::vector<std::string> lines =
        BuildSectionList(*r.design, *r.library, *r.inventory, kCaption, kTwoMetres, true);

    ASSERT_GE(lines.size(), 3u);
    ExpectLines({lines[2]}, {c.line});
}

INSTANTIATE_TEST_SUITE_P(
    Parts, SectionListPartLine,
    ::testing::Values(
        PartLineCase{"short", "A", "B", 0,
                     "A          B                                0         "},
        PartLineCase{"exact_widths", "0123456789", std::string(30, 'n'), 7,
                     "0123456789 " + std::string(30, 'n') + "   0     7   "},
        PartLineCase{"longest_number_and_name", std::string(15, '#'), std::string(39, 'x'), 12345,
                     std::string(15, '#') + " " + std::string(39, 'x') + "   0     12345"},
        PartLineCase{"empty_number_and_name", "", "", -3,
                     std::string(10, ' ') + " " + std::string(30, ' ') + "   0     -3  "}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BuildSectionList, NeverReadsPastAPartsTextFields) {
    test::Records r;
    test::AddPart(*r.library, "x", "y", 1, 640, 100);
    Part& part = r.library->parts[0];
    std::memset(part.number, 'N', sizeof part.number);
    std::memset(part.name, 'M', sizeof part.name);
    AddSection(r.design->tracks[0], 0, 'L');

    const std::vector<std::string> lines =
        BuildSectionList(*r.design, *r.library, *r.inventory, kCaption, kTwoMetres, true);

    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[2], std::string(16, 'N') + " " + std::string(40, 'M') + "   1     -1  ");
    EXPECT_EQ(lines[8], "\t" + std::string(16, 'N') + "\t" + std::string(40, 'M'));
}

TEST(BuildSectionList, LongBoardTextsAndCaptionStayWhole) {
    test::Records r;
    r.design->tracks[0].inUse = 0;
    const std::vector<std::string> lines = BuildSectionList(*r.design, *r.library, *r.inventory, "",
                                                            BoardTexts{"123456789", ""}, true);
    ExpectLines(lines, {"     123456789 x          ", "", "", "", "--- END ---"});
}

TEST(BuildSectionList, SectionOfAPartBeyondTheLibraryShowsNoText) {
    test::Records r;
    test::AddPart(*r.library, "S1", "straight", 1, 640, 100);
    AddSection(r.design->tracks[0], 200, 'R');

    const std::vector<std::string> lines =
        BuildSectionList(*r.design, *r.library, *r.inventory, kCaption, kTwoMetres, true);

    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[8], "\t\t");
}

// --- the parts list --------------------------------------------------------------------------

TEST(BuildPartsList, ListsWhatIsUsedOrOwnedWithTheShortfall) {
    test::Records r;
    const int usedOnly = test::AddPart(*r.library, "U1", "used only", 1, 640, 100);
    test::AddPart(*r.library, "N1", "neither", 1, 640, 100);
    const int ownedOnly = test::AddPart(*r.library, "O1", "owned only", 1, 640, 100);
    const int short3 = test::AddPart(*r.library, "S1", "three short", 2, 640, 0, 90, 2000);
    const int enough = test::AddPart(*r.library, "E1", "enough", 1, 640, 100);
    r.inventory->owned[ownedOnly] = 6;
    r.inventory->owned[short3] = 2;
    r.inventory->owned[enough] = 9;
    for (const auto& [part, count] :
         {std::pair{usedOnly, 1}, std::pair{short3, 5}, std::pair{enough, 9}}) {
        for (int i = 0; i < count; ++i) {
            AddSection(r.design->tracks[0], part, 'R');
        }
    }

    const std::vector<PartsListRow> rows = BuildPartsList(*r.design, *r.library, *r.inventory);

    ASSERT_EQ(rows.size(), 4u);
    const auto text = [](const PartsListRow& row) {
        return row.number + " " + row.name + " " + std::to_string(row.used) + " " +
               std::to_string(row.owned) + " " + std::to_string(row.leftOver) + " " +
               std::to_string(row.toBuy);
    };
    EXPECT_EQ(text(rows[0]), "U1 used only 1 0 -1 1");
    EXPECT_EQ(text(rows[1]), "O1 owned only 0 6 6 0");
    EXPECT_EQ(text(rows[2]), "S1 three short 5 2 -3 3");
    EXPECT_EQ(text(rows[3]), "E1 enough 9 9 0 0");
}

struct ExampleDesign {
    const char* name;
    const char* file;
};

class PartsListOfExample : public ::testing::TestWithParam<ExampleDesign> {};

// The list's rows are the part panel's rows that show a left-over count, with its counts.
TEST_P(PartsListOfExample, MatchesThePartPanel) {
    test::Records r;
    LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
    LoadInventory(*r.inventory, *r.library, LAPWERK_EXAMPLES "/sections.own");
    const std::string path = std::string(LAPWERK_EXAMPLES "/") + GetParam().file;
    if (path.ends_with(".trk")) {
        ASSERT_FALSE(test::ImportIntoDesign(*r.design, *r.history, *r.library, path));
    } else {
        ASSERT_TRUE(SetDesignFileName(*r.design, path.c_str()));
        ASSERT_FALSE(test::LoadIntoDesign(*r.design, *r.history, *r.library));
    }

    const PartCountRows panel = RefreshPartCounts(*r.design, *r.library, *r.inventory);
    const std::vector<PartsListRow> rows = BuildPartsList(*r.design, *r.library, *r.inventory);

    size_t next = 0;
    int usedParts = 0;
    for (int i = 0; i < r.library->count; ++i) {
        usedParts += panel.used[i] != "0" ? 1 : 0;
        if (panel.leftOver[i].empty()) {
            continue;
        }
        ASSERT_LT(next, rows.size());
        const PartsListRow& row = rows[next++];
        EXPECT_EQ(row.number, r.library->parts[i].number);
        EXPECT_EQ(std::to_string(row.used), panel.used[i]) << row.number;
        EXPECT_EQ(std::to_string(row.leftOver), panel.leftOver[i]) << row.number;
        EXPECT_EQ(row.owned, r.inventory->owned[i]) << row.number;
        EXPECT_EQ(row.toBuy, row.leftOver < 0 ? -row.leftOver : 0) << row.number;
    }
    EXPECT_EQ(next, rows.size());
    EXPECT_GT(usedParts, 1) << "the example uses parts";
}

INSTANTIATE_TEST_SUITE_P(Examples, PartsListOfExample,
                         ::testing::Values(ExampleDesign{"oval", "oval.tr2"},
                                           ExampleDesign{"figure_eight", "figure-eight.tr2"},
                                           ExampleDesign{"grouped", "grouped.tr2"},
                                           ExampleDesign{"imported", "example.trk"}),
                         [](const auto& row) { return std::string(row.param.name); });

PartsListRow Row(const char* number, const char* name, int64_t used, int64_t owned) {
    const int64_t leftOver = owned - used;
    return {number, name, used, owned, leftOver, leftOver < 0 ? -leftOver : 0};
}

struct CsvCase {
    const char* name;
    PartsListRow row;
    const char* record;
};

class PartsListCsvTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(PartsListCsvTest, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(PartsListCsv({GetParam().row}),
              std::string("Part,Name,Used,Owned,Left over,To buy\r\n") + GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PartsListCsvTest,
    ::testing::Values(
        CsvCase{"plain", Row("C151", "Straight 350 mm", 3, 12),
                "C151,Straight 350 mm,3,12,9,0\r\n"},
        CsvCase{"comma", Row("C154", "Curve radius 1, 45 deg", 8, 8),
                "C154,\"Curve radius 1, 45 deg\",8,8,0,0\r\n"},
        CsvCase{"double_quotes", Row("K\"0\\", "12\" straight", 2, 0),
                "\"K\"\"0\\\",\"12\"\" straight\",2,0,-2,2\r\n"},
        CsvCase{"line_breaks", Row("X", "a\rb\nc", 0, 1), "X,\"a\rb\nc\",0,1,1,0\r\n"},
        CsvCase{"blanks_kept", Row(" P ", " spaced ", 1, 1), " P , spaced ,1,1,0,0\r\n"},
        CsvCase{"utf8",
                Row("B\xc3\xbc",
                    "Br\xc3\xbc"
                    "cke",
                    1, 0),
                "B\xc3\xbc,Br\xc3\xbc"
                "cke,1,0,-1,1\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PartsListCsv, EmptyListIsTheHeaderAlone) {
    EXPECT_EQ(PartsListCsv({}), "Part,Name,Used,Owned,Left over,To buy\r\n");
}

TEST(BuildPartsList, LibraryTextsBecomeUtf8) {
    test::Records r;
    const int latin1 = test::AddPart(*r.library, "Z\xfc", "Kurve gro\xdf", 1, 640, 100);
    const int utf8 = test::AddPart(*r.library, "Y1", "Kurve gro\xc3\x9f", 1, 640, 100);
    r.inventory->owned[latin1] = 1;
    r.inventory->owned[utf8] = 1;
    const std::vector<PartsListRow> rows = BuildPartsList(*r.design, *r.library, *r.inventory);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number, "Z\xc3\xbc");
    EXPECT_EQ(rows[0].name, "Kurve gro\xc3\x9f");
    EXPECT_EQ(rows[1].name, "Kurve gro\xc3\x9f");
}

TEST(PartsListTable, AlignsColumnsByCharacters) {
    ExpectLines(PartsListTable({Row("C151", "Straight 350 mm", 12, 12),
                                Row("Z\xc3\xbc", "Kurve gro\xc3\x9f", 3, 0),
                                Row("C174a", "Start", 1, 1000)}),
                {"Part   Name             Used  Owned  Left over  To buy",
                 "C151   Straight 350 mm    12     12          0       0",
                 "Z\xc3\xbc     Kurve gro\xc3\x9f          3      0         -3       3",
                 "C174a  Start               1   1000        999       0"});
}

// --- DescribePart ----------------------------------------------------------------------------

struct PartFactsCase {
    const char* name;
    int kind;
    int arc; ///< quarter degrees
    bool metric;
    std::vector<std::string> lines; ///< the kind, then the sizes
};

class DescribePartTest : public ::testing::TestWithParam<PartFactsCase> {};

TEST_P(DescribePartTest, GivesKindAndSizes) {
    const PartFactsCase& row = GetParam();
    PartLibrary library{};
    // 6 inches wide, 9 long, radius 15, lanes of 10 and 12 inches.
    const int index =
        test::AddPart(library, "P1", "Part", row.kind, 1536, 2304, row.arc, 3840, 2560, 3072);
    const PartFacts facts = DescribePart(library.parts[index], row.metric);
    std::vector<std::string> lines{facts.kind};
    lines.insert(lines.end(), facts.sizes.begin(), facts.sizes.end());
    ExpectLines(lines, row.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DescribePartTest,
    ::testing::Values(
        PartFactsCase{"straight_in_millimetres",
                      1,
                      0,
                      true,
                      {"Kind 1: straight", "Width 152.4 mm", "Length 228.6 mm",
                       "Lane lengths 228.6 mm and 228.6 mm"}},
        PartFactsCase{"lane_change_in_inches",
                      3,
                      0,
                      false,
                      {"Kind 3: lane change", "Width 6.00 in", "Length 9.00 in",
                       "Lane lengths 9.00 in and 9.00 in"}},
        PartFactsCase{"marked_straight",
                      9,
                      0,
                      false,
                      {"Kind 9: straight with markings", "Width 6.00 in", "Length 9.00 in",
                       "Lane lengths 9.00 in and 9.00 in"}},
        PartFactsCase{"curve_whole_degrees",
                      2,
                      180,
                      true,
                      {"Kind 2: curve", "Width 152.4 mm", "Radius 381.0 mm, arc 45\xC2\xB0",
                       "Lane lengths 254.0 mm and 304.8 mm"}},
        PartFactsCase{"curve_6_half_degree",
                      6,
                      90,
                      false,
                      {"Kind 6: curve", "Width 6.00 in", "Radius 15.00 in, arc 22.5\xC2\xB0",
                       "Lane lengths 10.00 in and 12.00 in"}},
        PartFactsCase{"border_curve_quarter_degree",
                      7,
                      1,
                      false,
                      {"Kind 7: border curve", "Width 6.00 in", "Radius 15.00 in, arc 0.25\xC2\xB0",
                       "Lane lengths 10.00 in and 12.00 in"}},
        PartFactsCase{"right_turn_arc_stays_signed",
                      2,
                      -90,
                      false,
                      {"Kind 2: curve", "Width 6.00 in", "Radius 15.00 in, arc -22.5\xC2\xB0",
                       "Lane lengths 10.00 in and 12.00 in"}},
        PartFactsCase{"kind_that_draws_nothing", 12, 0, true, {"Kind 12: draws nothing"}},
        PartFactsCase{"kind_0", 0, 0, true, {"Kind 0: draws nothing"}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lapwerk
