#include "full_size_print.h"

#include "recording_canvas.h"
#include "view_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace lapwerk {
namespace {

/// A4 less 10 mm margins, in paper pixels: cells of 1800 x 2670.
constexpr PageSize kA4{1900, 2770};

// --- the grid ----------------------------------------------------------------------------------

struct GridCase {
    const char* name;
    PaperRect extent;
    SheetGrid grid;
};

class PlanSheetGridTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(PlanSheetGridTest, CoversTheExtentWithFewestCellsCentred) {
    EXPECT_EQ(PlanSheetGrid(GetParam().extent, kA4), GetParam().grid);
}

INSTANTIATE_TEST_SUITE_P(
    Extents, PlanSheetGridTest,
    ::testing::Values(
        GridCase{"smaller_than_a_cell", {0, 0, 1000, 1000}, {-400, -835, 1800, 2670, 1, 1}},
        GridCase{"exactly_one_cell", {0, 0, 1800, 2670}, {0, 0, 1800, 2670, 1, 1}},
        GridCase{"one_pixel_wider_than_a_cell", {0, 0, 1801, 2670}, {-899, 0, 1800, 2670, 2, 1}},
        // 1.2 x 2.4 m: 6.7 cells across, 8.99 down.
        GridCase{
            "board_of_the_oval", {-6000, -12000, 6000, 12000}, {-6300, -12015, 1800, 2670, 7, 9}},
        GridCase{"far_from_the_origin",
                 {-50000, 40000, -49000, 40100},
                 {-50400, 38715, 1800, 2670, 1, 1}},
        GridCase{"empty_extent_takes_one_cell", {10, 10, 10, 10}, {-889, -1324, 1800, 2670, 1, 1}}),
    [](const auto& row) { return std::string(row.param.name); });

struct LabelCase {
    SheetPage page;
    const char* label;
};

TEST(PageLabel, RowInLettersColumnFromOne) {
    for (const LabelCase& c :
         {LabelCase{{0, 0}, "A1"}, LabelCase{{1, 2}, "B3"}, LabelCase{{25, 9}, "Z10"},
          LabelCase{{26, 0}, "AA1"}, LabelCase{{27, 11}, "AB12"}, LabelCase{{701, 0}, "ZZ1"},
          LabelCase{{702, 998}, "AAA999"}}) {
        EXPECT_EQ(PageLabel(c.page), c.label) << c.page.row << "," << c.page.column;
    }
}

// --- the plan ----------------------------------------------------------------------------------

/// A 40 x 40 inch board (10160 paper pixels across) and track 0, without sections, beginning at
/// sheet pixel (-2700, -1300). The board's extent of 10163 pixels takes 6 columns and 4 rows of
/// cells from sheet pixel (-5399, -5339): columns start at -5399, -3599, -1799, 1, 1801, 3601
/// and rows at -5339, -2669, 1, 2671. The outline crosses every cell of the outer ring; the
/// begin circle lies in B2 alone.
struct FullSizeRecords : test::ViewRecords {
    test::RecordingCanvas paper;
    FullSizePlan plan;

    FullSizeRecords() {
        design->boardX = 40.0f;
        design->boardY = 40.0f;
        useSlot(0, -2721, -1310);
        redraw();
    }

    MaybeMessage planPages(PageSize page = kA4, FullSizePages which = FullSizePages::Every) {
        return PlanFullSizePrint(*design, view, page, plan, which);
    }

    std::vector<std::string> labels(bool leftOut = false) const {
        std::vector<std::string> all;
        for (const SheetPage& page : leftOut ? plan.leftOut : plan.pages) {
            all.push_back(PageLabel(page));
        }
        return all;
    }
};

TEST(PlanFullSizePrint, KeepsThePagesThatHoldTheBoardOrATrack) {
    FullSizeRecords r;
    ASSERT_FALSE(r.planPages().has_value());
    EXPECT_EQ(r.plan.extent, (PaperRect{-5081, -5081, 5082, 5082}));
    EXPECT_EQ(r.plan.grid, (SheetGrid{-5399, -5339, 1800, 2670, 6, 4}));
    EXPECT_EQ(r.labels(),
              (std::vector<std::string>{"A1", "A2", "A3", "A4", "A5", "A6", "B1", "B2", "B6", "C1",
                                        "C6", "D1", "D2", "D3", "D4", "D5", "D6"}));
    EXPECT_EQ(r.plan.designName, "untitled.tr2");
}

// By default only pages that hold part of a section are printed; the others that hold
// something are left out, and the overview lists them. Each section is labelled at the middle
// of its band and each track gets a start line.
TEST(PlanFullSizePrint, LeavesOutThePagesWithoutASection) {
    FullSizeRecords r;
    r.track(0).angle = 1080;
    r.append(0, r.straight);
    r.append(0, r.straight);
    ASSERT_FALSE(r.planPages().has_value());
    const std::vector<std::string> every = r.labels();
    ASSERT_FALSE(r.planPages(kA4, FullSizePages::WithSections).has_value());
    std::vector<std::string> both = r.labels();
    // The band, 1524 pixels wide, reaches from row B into row A.
    EXPECT_EQ(both, (std::vector<std::string>{"A2", "A3", "A4", "A5", "A6", "B2", "B3", "B4", "B5",
                                              "B6"}));
    for (const std::string& label : r.labels(true)) {
        both.push_back(label);
    }
    std::sort(both.begin(), both.end());
    std::vector<std::string> sortedEvery = every;
    std::sort(sortedEvery.begin(), sortedEvery.end());
    EXPECT_EQ(both, sortedEvery);
    // Every page printed labels the part of each straight on it.
    std::vector<std::string> labelled;
    for (const TemplateLabel& label : r.plan.labels) {
        EXPECT_EQ(label.text, r.library->parts[r.straight].number);
        labelled.push_back(PageLabel(label.page));
    }
    for (const std::string& page : r.labels()) {
        EXPECT_NE(std::find(labelled.begin(), labelled.end(), page), labelled.end()) << page;
    }
    EXPECT_EQ(r.plan.startLines.size(), 1u);

    r.paper.clear();
    PrintFullSizeOverview(*r.design, r.view, r.paper, r.plan);
    EXPECT_TRUE(r.paper.has("text 20,100 Left out, as they hold no section: A1, B1, C1, C6, D1, "
                            "D2, D3, D4, D5, D6."))
        << r.paper.text();
}

TEST(PlanFullSizePrint, KeepsAPageThatALongStraightOnlyCrosses) {
    FullSizeRecords r;
    // Heading east from B2 across B3, B4 and B5 into B6: 2 straights of 3472.7 pixels, to
    // sheet pixel 4245.
    r.track(0).angle = 1080;
    r.append(0, r.straight);
    r.append(0, r.straight);
    ASSERT_FALSE(r.planPages().has_value());
    const std::vector<std::string> labels = r.labels();
    for (const char* label : {"B2", "B3", "B4", "B5", "B6"}) {
        EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end()) << label;
    }
    for (const char* label : {"C2", "C3", "C4", "C5"}) {
        EXPECT_EQ(std::find(labels.begin(), labels.end(), label), labels.end()) << label;
    }
}

TEST(PlanFullSizePrint, KeepsAPageInsideAFilledSection) {
    FullSizeRecords r;
    // One straight 5953 pixels wide and long, heading south from (-2700, -2700), fills B2 to C5
    // and has no edge in C3 or C4.
    const int wide = test::AddPart(*r.library, "W1", "Wide", 1, 6000, 6000);
    r.useSlot(0, -2721, -2721);
    r.track(0).angle = 0;
    r.append(0, wide);
    r.design->filledIn = 1;
    ASSERT_FALSE(r.planPages().has_value());
    EXPECT_EQ(r.plan.pages.size(), 24u) << "every cell";
}

struct RefusalCase {
    const char* name;
    PageSize page;
    float board; ///< width and depth, inches
    int32_t beginX;
    const char* messagePart;
};

class FullSizeRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FullSizeRefusal, ExplainsAndLeavesThePlan) {
    FullSizeRecords r;
    r.design->boardX = GetParam().board;
    r.design->boardY = GetParam().board;
    r.track(0).beginX = GetParam().beginX;
    r.plan.pages = {{7, 7}};
    const int current = r.design->currentTrack;
    const MaybeMessage refused = r.planPages(GetParam().page);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->caption, "Error");
    EXPECT_NE(refused->text.find(GetParam().messagePart), std::string::npos) << refused->text;
    EXPECT_EQ(r.plan.pages, (std::vector<SheetPage>{{7, 7}}));
    EXPECT_EQ(r.design->currentTrack, current);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, FullSizeRefusal,
    ::testing::Values(RefusalCase{"narrow_page", {1199, 2770}, 40.0f, 0, "120 mm"},
                      RefusalCase{"low_page", {1900, 1199}, 40.0f, 0, "120 mm"},
                      RefusalCase{"no_page", {0, 0}, 40.0f, 0, "120 mm"},
                      RefusalCase{"track_beyond_the_32_bit_walk", kA4, 40.0f, 33027, "too far"},
                      RefusalCase{"track_beyond_the_other_way", kA4, 40.0f, -33027, "too far"},
                      // 1000 inches: 142 x 96 cells.
                      RefusalCase{"thousand_pages", kA4, 1000.0f, 0, "999 pages"},
                      RefusalCase{"infinite_board", kA4, INFINITY, 0, "999 pages"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PlanFullSizePrint, TrackAtTheLimitOfTheWalkIsPlanned) {
    FullSizeRecords r;
    r.track(0).beginX = 33026;
    EXPECT_FALSE(r.planPages().has_value());
}

TEST(PlanFullSizePrint, PutsTheCurrentTrackAndTheScreenStateBack) {
    FullSizeRecords r;
    r.append(0, r.straight);
    r.redraw();
    const WalkState before = r.view.walk;
    ASSERT_FALSE(r.planPages().has_value());
    r.paper.clear();
    PrintFullSizePage(*r.design, r.view, r.paper, r.plan, r.plan.pages[0]);
    EXPECT_EQ(r.design->currentTrack, 0);
    EXPECT_EQ(r.view.walk.zoomScale, before.zoomScale);
    EXPECT_FALSE(r.view.walk.onPaper);
    EXPECT_EQ(r.paper.count("pen 0,0,255"), 0) << "no current track on paper";
}

// --- the pages ---------------------------------------------------------------------------------

/// The coordinates of a recorded "line x0,y0 x1,y1".
struct RecordedLine {
    int x0, y0, x1, y1;
};

std::vector<RecordedLine> Lines(const test::RecordingCanvas& canvas) {
    std::vector<RecordedLine> lines;
    for (const std::string& text : canvas.lines) {
        RecordedLine l{};
        if (std::sscanf(text.c_str(), "line %d,%d %d,%d", &l.x0, &l.y0, &l.x1, &l.y1) == 4) {
            lines.push_back(l);
        }
    }
    return lines;
}

TEST(PrintFullSizePage, DrawsAStraightAtTrueLength) {
    FullSizeRecords r;
    r.append(0, r.straight);
    ASSERT_FALSE(r.planPages().has_value());
    r.paper.clear();
    PrintFullSizePage(*r.design, r.view, r.paper, r.plan, {1, 1});
    // B2 shows sheet pixels from (-3649, -2719): the begin point is at page pixel (949, 1419).
    // 3500 units, 13.67 inches, are 347.27 mm: 3472.7 paper pixels north of it.
    const std::vector<RecordedLine> lines = Lines(r.paper);
    const auto reference = std::find_if(lines.begin(), lines.end(), [](const RecordedLine& l) {
        return l.x0 == 949 && l.x1 == 949 && l.y0 == 1419;
    });
    ASSERT_NE(reference, lines.end()) << r.paper.text();
    EXPECT_EQ(reference->y1, 1419 - 3473);
}

TEST(PrintFullSizePage, MarksTheCellLabelAndScaleBar) {
    FullSizeRecords r;
    ASSERT_FALSE(r.planPages().has_value());
    r.paper.clear();
    PrintFullSizePage(*r.design, r.view, r.paper, r.plan, {2, 5});
    const test::RecordingCanvas& paper = r.paper;
    // The cell runs from (50, 50) to (1850, 2720); a cross at each corner reaches 50 pixels
    // (5 mm) either way, to the page's edge.
    for (const char* cross : {"line 0,50 100,50", "line 50,0 50,100", "line 1800,50 1900,50",
                              "line 1850,2670 1850,2770", "line 0,2720 100,2720"}) {
        EXPECT_TRUE(paper.has(cross)) << cross << "\n" << paper.text();
    }
    EXPECT_TRUE(paper.has("text 120,75 C6  untitled.tr2"));
    EXPECT_TRUE(paper.has("line 120,2650 1120,2650")) << "the 100 mm bar";
    EXPECT_TRUE(paper.has("line 1120,2650 1120,2610")) << "its end tick";
    EXPECT_TRUE(paper.has("text 120,2565 100 mm"));
    // The dashes of the cut lines end clear of the crosses.
    EXPECT_TRUE(paper.has("line 110,50 140,50"));
    EXPECT_TRUE(paper.has("line 1850,110 1850,140"));
}

TEST(PrintFullSizePage, NeighboursShareTheirOverlapPixelForPixel) {
    FullSizeRecords r;
    r.track(0).angle = 1080;
    r.append(0, r.straight);
    ASSERT_FALSE(r.planPages().has_value());
    // The straight runs from B2 into B3; B3's left edge lies 1800 sheet pixels right of B2's.
    const auto linesOf = [&](SheetPage page) {
        r.paper.clear();
        PrintFullSizePage(*r.design, r.view, r.paper, r.plan, page);
        return Lines(r.paper);
    };
    const std::vector<RecordedLine> left = linesOf({1, 1});
    const std::vector<RecordedLine> right = linesOf({1, 2});
    ASSERT_EQ(left.size(), right.size());
    bool shifted = false;
    for (size_t i = 0; i < left.size(); ++i) {
        if (left[i].y0 == 1419 && left[i].x0 == 949) {
            EXPECT_EQ(right[i].x0, 949 - 1800);
            EXPECT_EQ(right[i].x1, left[i].x1 - 1800);
            EXPECT_EQ(right[i].y1, left[i].y1);
            shifted = true;
        }
    }
    EXPECT_TRUE(shifted) << r.paper.text();
}

TEST(PrintFullSizeOverview, NamesThePagesAndLabelsEachOnTheDesign) {
    FullSizeRecords r;
    ASSERT_FALSE(r.planPages().has_value());
    r.paper.clear();
    PrintFullSizeOverview(*r.design, r.view, r.paper, r.plan);
    const test::RecordingCanvas& paper = r.paper;
    ASSERT_GE(paper.lines.size(), 3u);
    EXPECT_EQ(paper.lines[1], "text 20,20 untitled.tr2 at full size: 17 pages of 190 x 277 mm, "
                              "rows A to D, columns 1 to 6");
    EXPECT_EQ(paper.lines[2].rfind("text 20,60 Pages overlap by 10 mm", 0), 0u);
    // The 10800 x 10680 grid is scaled to the page's width, 1900 / 10800, and centred in the
    // 2630 pixels below the header: at zoomScale 11439 it is 1899 x 1878 pixels, cell A1 from
    // (0, 516).
    EXPECT_TRUE(paper.has("text 10,526 A1")) << paper.text();
    EXPECT_EQ(paper.count("text"), 2 + 17);
    for (const RecordedLine& l : Lines(paper)) {
        for (const int x : {l.x0, l.x1}) {
            EXPECT_TRUE(x >= 0 && x <= kA4.width) << x;
        }
        for (const int y : {l.y0, l.y1}) {
            EXPECT_TRUE(y >= 140 && y <= kA4.height) << y;
        }
    }
}

} // namespace
} // namespace lapwerk
