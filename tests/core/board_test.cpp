#include "board.h"

#include "recording_canvas.h"
#include "view_fixture.h"

#include "pass_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace lapwerk {
namespace {

// ---- Board size texts ---------------------------------------------------------------------

struct FormatCase {
    const char* name;
    float inches;
    bool metric;
    const char* text;
};

class FormatBoardSizeCase : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatBoardSizeCase, WritesFiveColumnsWithTwoDecimals) {
    EXPECT_EQ(FormatBoardSize(GetParam().inches, GetParam().metric), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FormatBoardSizeCase,
    ::testing::Values(FormatCase{"two_metres", 78.74016f, true, " 2.00"},
                      FormatCase{"metre_and_a_half", 59.05512f, true, " 1.50"},
                      FormatCase{"two_metres_in_inches", 78.74016f, false, "78.74"},
                      FormatCase{"metre_and_a_half_in_inches", 59.05512f, false, "59.06"},
                      FormatCase{"three_metres_typed", 118.11024f, true, " 3.00"},
                      FormatCase{"zero", 0.0f, true, " 0.00"},
                      FormatCase{"mirrored", -78.74016f, true, "-2.00"},
                      FormatCase{"wider_than_five", 1000.0f, false, "1000.00"},
                      FormatCase{"largest_float_no_overflow", FLT_MAX, false,
                                 "340282346638528859811704183484516925440.00"}),
    [](const auto& row) { return std::string(row.param.name); });

struct ParseCase {
    const char* name;
    const char* text;
    bool metric;
    float inches;
};

class ParseBoardSizeCase : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseBoardSizeCase, ReadsTheLeadingDecimalNumber) {
    EXPECT_FLOAT_EQ(ParseBoardSize(GetParam().text, GetParam().metric), GetParam().inches);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseBoardSizeCase,
    ::testing::Values(
        ParseCase{"three_metres", "3", true, 118.11023622f},
        ParseCase{"inches", "2.5", false, 2.5f},
        ParseCase{"padded_metres", " 2.00", true, 78.740157f},
        ParseCase{"trailing_text", "  7x", false, 7.0f}, ParseCase{"empty", "", false, 0.0f},
        ParseCase{"words", "abc", true, 0.0f}, ParseCase{"nan_is_no_number", "nan", false, 0.0f},
        ParseCase{"inf_is_no_number", "inf", false, 0.0f},
        ParseCase{"hex_reads_its_zero", "0x10", false, 0.0f},
        ParseCase{"negative", "-1.5", false, -1.5f}, ParseCase{"plus_sign", "+4", false, 4.0f},
        ParseCase{"exponent", "1e3", false, 1000.0f},
        ParseCase{"bare_e_ends_the_number", "1e", false, 1.0f},
        ParseCase{"exponent_sign_without_digits", "2e+", false, 2.0f},
        ParseCase{"leading_point", ".5", false, 0.5f},
        ParseCase{"trailing_point", "5.", false, 5.0f}, ParseCase{"point_alone", ".", false, 0.0f},
        ParseCase{"comma_is_no_point", "1,5", false, 1.0f},
        ParseCase{"beyond_double", "1e999", false, FLT_MAX},
        ParseCase{"beyond_double_negative", "-1e999", false, -FLT_MAX},
        ParseCase{"below_double", "1e-999", false, 0.0f},
        ParseCase{"beyond_float", "1e39", false, FLT_MAX},
        ParseCase{"beyond_float_in_metres", "1e37", true, FLT_MAX},
        ParseCase{"zeros_before_a_huge_exponent", "0.0000001e320", false, FLT_MAX},
        ParseCase{"long_exponent", "1e99999999999999999999999", false, FLT_MAX}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ParseBoardSize, TypedMetresReadBackAsTyped) {
    const float inches = ParseBoardSize("3", true);
    EXPECT_NEAR(inches, 118.11, 0.005);
    EXPECT_EQ(FormatBoardSize(inches, true), " 3.00");
}

struct TypedCase {
    const char* name;
    const char* text;
    bool metric;
    std::optional<float> inches; ///< nothing: refused
};

class BoardSizeFromTextCase : public ::testing::TestWithParam<TypedCase> {};

TEST_P(BoardSizeFromTextCase, TakesOnlyAFiniteNumberAboveZero) {
    EXPECT_EQ(BoardSizeFromText(GetParam().text, GetParam().metric), GetParam().inches);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BoardSizeFromTextCase,
    ::testing::Values(TypedCase{"metres", "3", true, ParseBoardSize("3", true)},
                      TypedCase{"as_a_pass_writes_it", " 2.00", true, ParseBoardSize("2", true)},
                      TypedCase{"blanks_around", " 12.5\t", false, 12.5f},
                      TypedCase{"plus_and_exponent", "+1e2", false, 100.0f},
                      TypedCase{"largest_float_in_inches", "3.4e38", false, 3.4e38f},
                      TypedCase{"empty", "", true, std::nullopt},
                      TypedCase{"blanks", "  ", true, std::nullopt},
                      TypedCase{"words", "abc", true, std::nullopt},
                      TypedCase{"negative", "-1", true, std::nullopt},
                      TypedCase{"zero", "0", true, std::nullopt},
                      TypedCase{"beyond_a_float", "1e40", false, std::nullopt},
                      TypedCase{"beyond_a_float_in_metres", "1e37", true, std::nullopt},
                      TypedCase{"below_a_float", "1e-50", false, std::nullopt},
                      TypedCase{"number_and_unit", "2 m", true, std::nullopt},
                      TypedCase{"comma", "1,5", true, std::nullopt},
                      TypedCase{"infinity", "inf", false, std::nullopt},
                      TypedCase{"nan", "nan", false, std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ParseBoardSize, AcceptsNoText) {
    EXPECT_EQ(ParseBoardSize(nullptr, true), 0.0f);
}

// ---- Ruler and grid -----------------------------------------------------------------------

struct SpacingCase {
    const char* name;
    int32_t zoomScale;
    bool metric;
    float pixels;
};

class RulerSpacing : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(RulerSpacing, IsTenCentimetresOrTenInches) {
    EXPECT_FLOAT_EQ(RulerSpacingPixels(GetParam().zoomScale, GetParam().metric), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(Zooms, RulerSpacing,
                         ::testing::Values(SpacingCase{"metric_zoom13", 960, true, 14.763779f},
                                           SpacingCase{"inches_zoom13", 960, false, 37.5f},
                                           SpacingCase{"metric_zoom1", 192, true, 2.9527559f},
                                           SpacingCase{"inches_zoom24", 1664, false, 65.0f}),
                         [](const auto& row) { return std::string(row.param.name); });

struct Drawn {
    test::RecordingCanvas recording;
    PassCanvas canvas{&recording};
};

struct TickCase {
    const char* name;
    bool metric;
    const char* line;
};

class RulerTicks : public ::testing::TestWithParam<TickCase> {};

TEST_P(RulerTicks, AreCountedFromTheCentre) {
    Drawn d;
    DrawRuler(d.canvas, 800, 600, 400, 300, RulerSpacingPixels(960, GetParam().metric));
    EXPECT_TRUE(d.recording.has(GetParam().line)) << d.recording.text();
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, RulerTicks,
    ::testing::Values(TickCase{"metric_centre_long", true, "line 14,300 3,300"},
                      TickCase{"metric_first_short_above", true, "line 14,285 8,285"},
                      TickCase{"metric_first_short_below", true, "line 14,314 8,314"},
                      TickCase{"metric_fifth_long_above", true, "line 14,226 3,226"},
                      TickCase{"metric_fifth_long_below", true, "line 14,373 3,373"},
                      TickCase{"metric_top_centre_long", true, "line 400,14 400,3"},
                      TickCase{"metric_top_fifth_long", true, "line 326,14 326,3"},
                      TickCase{"inches_first_short_above", false, "line 14,262 8,262"},
                      TickCase{"inches_first_short_below", false, "line 14,337 8,337"},
                      TickCase{"inches_fifth_long_right", false, "line 587,14 587,3"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DrawRuler, FillsTwoPaleYellowStripsAndMakesEveryFifthTickLong) {
    Drawn d;
    DrawRuler(d.canvas, 800, 600, 400, 300, RulerSpacingPixels(960, true));
    EXPECT_EQ(d.recording.lines[0], "brush 255,255,200");
    EXPECT_EQ(d.recording.lines[1], "pen 0,0,0 1");
    EXPECT_EQ(d.recording.lines[2], "rect 0,0 15,600");
    EXPECT_TRUE(d.recording.has("rect 0,0 800,15"));
    // 300 / 14.76 gives 20 rows and 400 / 14.76 27 columns, each drawn above and below, and
    // the ticks run on to the edges: row 20 at 4 and 595, column 27 at 1 and 798. Rows 0, 5,
    // 10, 15, 20 and columns 0, 5, ..., 25 are long.
    int rows = 0, columns = 0, longTicks = 0;
    for (const std::string& line : d.recording.lines) {
        int x1, y1, x2, y2;
        if (std::sscanf(line.c_str(), "line %d,%d %d,%d", &x1, &y1, &x2, &y2) != 4) {
            continue;
        }
        if (x1 == 14 && y1 == y2) {
            ++rows;
            longTicks += x2 == 3 ? 1 : 0;
            EXPECT_TRUE(x2 == 3 || x2 == 8) << line;
        } else if (y1 == 14 && x1 == x2) {
            ++columns;
            longTicks += y2 == 3 ? 1 : 0;
            EXPECT_TRUE(y2 == 3 || y2 == 8) << line;
        } else {
            ADD_FAILURE() << "not a tick: " << line;
        }
    }
    EXPECT_EQ(rows, 2 * 21);
    EXPECT_EQ(columns, 2 * 28);
    EXPECT_EQ(longTicks, 2 * (5 + 6));
}

TEST(DrawGrid, DrawsFourOnePixelDotsPerStep) {
    Drawn d;
    DrawGrid(d.canvas, 800, 600, 400, 300, RulerSpacingPixels(960, true));
    EXPECT_EQ(d.recording.lines[0], "pen 0,0,0 1");
    // 27 columns and 20 rows each side of the centre, and one more of each at the edges.
    EXPECT_EQ(d.recording.count("line"), 28 * 21 * 4);
    EXPECT_TRUE(d.recording.has("line 400,300 401,301"));
    EXPECT_TRUE(d.recording.has("line 385,300 386,301"));
    EXPECT_TRUE(d.recording.has("line 414,285 415,286"));
    EXPECT_TRUE(d.recording.has("line 385,314 386,315"));
}

struct CentreCase {
    const char* name;
    int32_t cx, cy;
};

/// The positions trunc(centre + k x spacing) of every whole k that fall in [0, size), with the
/// tick length for each: 12 when k is a multiple of 5.
std::vector<std::pair<int32_t, int32_t>> TicksInside(int32_t centre, float spacing, int32_t size) {
    std::vector<std::pair<int32_t, int32_t>> ticks;
    const auto nearest = static_cast<int64_t>(-static_cast<long double>(centre) / spacing);
    for (int64_t k = nearest - 3000; k <= nearest + 3000; ++k) {
        const auto at =
            static_cast<int32_t>(std::trunc(centre + k * static_cast<long double>(spacing)));
        if (at >= 0 && at < size) {
            ticks.emplace_back(at, k % 5 == 0 ? 12 : 7);
        }
    }
    std::sort(ticks.begin(), ticks.end());
    ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
    return ticks;
}

class PannedAids : public ::testing::TestWithParam<CentreCase> {};

TEST_P(PannedAids, RulerTicksRunAlongTheWholeStrips) {
    const CentreCase& c = GetParam();
    const float spacing = RulerSpacingPixels(960, true);
    Drawn d;
    DrawRuler(d.canvas, 800, 600, c.cx, c.cy, spacing);
    std::vector<std::pair<int32_t, int32_t>> rows, columns;
    for (const std::string& line : d.recording.lines) {
        int x1, y1, x2, y2;
        if (std::sscanf(line.c_str(), "line %d,%d %d,%d", &x1, &y1, &x2, &y2) != 4) {
            continue;
        }
        if (x1 == 14 && y1 == y2) {
            rows.emplace_back(y1, 15 - x2);
        } else if (y1 == 14 && x1 == x2) {
            columns.emplace_back(x1, 15 - y2);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    EXPECT_EQ(rows, TicksInside(c.cy, spacing, 600));
    EXPECT_EQ(columns, TicksInside(c.cx, spacing, 800));
    ASSERT_FALSE(rows.empty());
    EXPECT_LE(rows.front().first, 15) << "a tick within one spacing of the top";
    EXPECT_GE(rows.back().first, 600 - 15);
}

TEST_P(PannedAids, GridDotsCoverTheWholeArea) {
    const CentreCase& c = GetParam();
    const float spacing = RulerSpacingPixels(960, true);
    Drawn d;
    DrawGrid(d.canvas, 800, 600, c.cx, c.cy, spacing);
    std::set<std::pair<int32_t, int32_t>> dots;
    for (const std::string& line : d.recording.lines) {
        int x1, y1, x2, y2;
        if (std::sscanf(line.c_str(), "line %d,%d %d,%d", &x1, &y1, &x2, &y2) == 4) {
            EXPECT_EQ(x2 - x1, 1) << line;
            EXPECT_EQ(y2 - y1, 1) << line;
            dots.emplace(x1, y1);
        }
    }
    std::set<std::pair<int32_t, int32_t>> expected;
    for (const auto& [x, length] : TicksInside(c.cx, spacing, 800)) {
        for (const auto& [y, unused] : TicksInside(c.cy, spacing, 600)) {
            expected.emplace(x, y);
        }
    }
    EXPECT_EQ(dots, expected);
}

INSTANTIATE_TEST_SUITE_P(Centres, PannedAids,
                         ::testing::Values(CentreCase{"centred", 400, 300},
                                           CentreCase{"odd_centre", 401, 299},
                                           CentreCase{"left_and_above", -170, -2000},
                                           CentreCase{"right_and_below", 1313, 955},
                                           CentreCase{"on_an_edge", 0, 599},
                                           CentreCase{"far_away", 40000000, -30000000}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(DrawRuler, AtARatioOfTwoIsTwiceAsWideWithTwiceTheTicks) {
    test::RecordingCanvas recording;
    PassCanvas canvas(&recording, 2);
    DrawRuler(canvas, 1600, 1200, 800, 600, RulerSpacingPixels(1920, true));
    EXPECT_EQ(recording.lines[1], "pen 0,0,0 2");
    EXPECT_EQ(recording.lines[2], "rect 0,0 30,1200");
    EXPECT_TRUE(recording.has("line 29,600 6,600")) << "long";
    EXPECT_TRUE(recording.has("line 29,570 16,570")) << "short";
    EXPECT_TRUE(recording.has("rect 0,0 1600,30"));
    EXPECT_TRUE(recording.has("line 800,29 800,6"));
}

struct GuardCase {
    const char* name;
    int32_t width, height;
    float spacing;
    int rulerLines;
    int gridLines;
};

class AidGuards : public ::testing::TestWithParam<GuardCase> {};

TEST_P(AidGuards, NeverRunUnbounded) {
    const GuardCase& c = GetParam();
    Drawn ruler;
    DrawRuler(ruler.canvas, c.width, c.height, c.width / 2, c.height / 2, c.spacing);
    EXPECT_EQ(ruler.recording.count("line"), c.rulerLines);
    Drawn grid;
    DrawGrid(grid.canvas, c.width, c.height, c.width / 2, c.height / 2, c.spacing);
    EXPECT_EQ(grid.recording.count("line"), c.gridLines);
}

INSTANTIATE_TEST_SUITE_P(Spacings, AidGuards,
                         ::testing::Values(GuardCase{"zero_spacing", 800, 600, 0.0f, 0, 0},
                                           GuardCase{"negative_spacing", 800, 600, -14.0f, 0, 0},
                                           GuardCase{"nan_spacing", 800, 600, NAN, 0, 0},
                                           GuardCase{"infinite_spacing", 800, 600, INFINITY, 0, 0},
                                           GuardCase{"negative_area", -800, -600, 14.0f, 0, 0},
                                           // 21 rows each side of the centre and one more
                                           // at the edges, 6 and 594.
                                           GuardCase{"huge_area", 2000000000, 600, 14.0f,
                                                     2 * (kMaxRulerTicks + 22),
                                                     4 * kMaxGridSteps * 22}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(DrawGrid, CapsTheDotsOfATinySpacing) {
    Drawn d;
    DrawGrid(d.canvas, 100000, 4, 50000, 2, 1.0f);
    // Steps 0 and 1 give four dots per column step (rows 2, and 1 and 3), step 2 two more at
    // the top edge (row 0; row 4 lies outside).
    EXPECT_EQ(d.recording.count("line"), kMaxGridSteps * (4 * 2 + 2));
}

// ---- Board outline ------------------------------------------------------------------------

struct OutlineCase {
    const char* name;
    float boardX, boardY;
    int32_t zoomScale;
    const char* first;  ///< the first side, from the top-left corner down
    const char* bottom; ///< the bottom side
};

class BoardOutline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(BoardOutline, IsTheClosedBoardRectangleAroundTheCentre) {
    const OutlineCase& c = GetParam();
    Drawn d;
    d.canvas.setPen(kWhite, 2);
    DrawBoardOutline(d.canvas, c.boardX, c.boardY, c.zoomScale, 400, 300);
    ASSERT_EQ(d.recording.lines.size(), 6u) << d.recording.text();
    EXPECT_EQ(d.recording.lines[1], "pen 0,128,0 2") << "the width of the pass";
    EXPECT_EQ(d.recording.lines[2], c.first);
    EXPECT_EQ(d.recording.lines[3], c.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, BoardOutline,
    ::testing::Values(
        OutlineCase{"two_metres_zoom13", 78.74016f, 59.05512f, 960, "line 253,190 253,410",
                    "line 253,410 547,410"},
        OutlineCase{"zero_collapses_to_centre", 0.0f, 0.0f, 960, "line 400,300 400,300",
                    "line 400,300 400,300"},
        OutlineCase{"negative_is_mirrored", -78.74016f, 59.05512f, 960, "line 547,190 547,410",
                    "line 547,410 253,410"},
        OutlineCase{"nan_collapses", NAN, NAN, 960, "line 400,300 400,300", "line 400,300 400,300"},
        OutlineCase{"huge_is_clamped", FLT_MAX, 10.0f, 960, "line -1073741423,282 -1073741423,318",
                    "line -1073741423,318 1073742223,318"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BoardOutline, IsDrawnOnTheScreenAfterRulerAndGrid) {
    test::ViewRecords r;
    r.design->ruler = 1;
    r.design->grid = 1;
    r.redraw();
    const int outline = r.screen.find("pen 0,128,0 1");
    ASSERT_GT(outline, 0);
    EXPECT_GT(outline, r.screen.find("rect 0,0 800,15"));
    EXPECT_GT(outline, r.screen.find("line 400,300 401,301")) << "after the grid";
    EXPECT_EQ(r.screen.lines[outline + 1], "line 253,153 253,447");
}

} // namespace
} // namespace lapwerk
