#include "print_pass.h"

#include "recording_canvas.h"
#include "view_fixture.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

namespace lapwerk {
namespace {

constexpr PageSize kPortrait{4800, 6800};

struct ScaleCase {
    const char* name;
    float boardX, boardY;
    PageSize page;
    int32_t scale;
};

class PaperScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PaperScale, FitsTheBoardInNinetyFivePercentOfThePage) {
    test::Records r;
    r.design->boardX = GetParam().boardX;
    r.design->boardY = GetParam().boardY;
    EXPECT_EQ(PaperZoomScale(*r.design, GetParam().page), GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, PaperScale,
    ::testing::Values(
        // 4800 / 100 = 48 pixels per inch across, 136 down: the width limits.
        ScaleCase{"wide_board_on_portrait_page", 100.0f, 50.0f, kPortrait, 11673},
        ScaleCase{"deep_board_on_portrait_page", 50.0f, 100.0f, kPortrait, 16537},
        ScaleCase{"square_board", 78.74016f, 78.74016f, kPortrait, 14825},
        ScaleCase{"zero_board", 0.0f, 50.0f, kPortrait, 0},
        ScaleCase{"negative_board", 100.0f, -50.0f, kPortrait, 0},
        ScaleCase{"nan_board", NAN, 50.0f, kPortrait, 0},
        ScaleCase{"infinite_board", INFINITY, 50.0f, kPortrait, 0},
        ScaleCase{"empty_page", 100.0f, 50.0f, PageSize{0, 0}, 0},
        ScaleCase{"denormal_board_saturates", 1e-44f, 1e-44f, kPortrait, INT32_MAX}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PrintHeaderText, JoinsCaptionBoardAndNotice) {
    EXPECT_EQ(PrintHeaderText("untitled.tr2 - Lapwerk V2.1", {" 2.00", " 1.50"}),
              std::string("untitled.tr2 - Lapwerk V2.1        2.00 x  1.50         ") +
                  kPrintNotice);
}

TEST(PrintHeaderText, TakesACaptionWithPercentSignsLiterally) {
    EXPECT_EQ(PrintHeaderText("100%s.tr2", {"a", "b"}).substr(0, 9), "100%s.tr2");
}

/// A design with a current track of a straight and a curve (the curve selected) and another
/// track, drawn once on the screen.
struct PrintRecords : test::ViewRecords {
    test::RecordingCanvas paper;

    PrintRecords() {
        design->boardX = 100.0f;
        design->boardY = 50.0f;
        append(0, straight);
        append(0, curve, 'R');
        useSlot(1, 2000, 2000);
        append(1, straight);
        redraw();
    }

    MaybeMessage print(PageSize page = kPortrait) {
        paper.clear();
        return PrintDesignPage(*design, view, paper, page, DesignCaption(*design));
    }
};

TEST(PrintDesignPage, WritesTheHeaderAtTwentyTwentyFirst) {
    PrintRecords r;
    ASSERT_FALSE(r.print().has_value());
    ASSERT_GE(r.paper.lines.size(), 2u);
    EXPECT_EQ(r.paper.lines[1], "text 20,20 untitled.tr2 - Lapwerk V2.1       " +
                                    std::string(" 2.54 x  1.27         ") + kPrintNotice);
}

TEST(PrintDesignPage, DrawsTheBoardCentredAtNinetyFivePercentOfTheWidth) {
    PrintRecords r;
    r.print();
    // 11673 / 256 x 100 = 4559 pixels wide (95 % of 4800), 2279 deep, centred on (2400, 3400).
    const int outline = r.paper.find("pen 0,128,0 2");
    ASSERT_GE(outline, 0) << r.paper.text();
    EXPECT_EQ(r.paper.lines[outline + 1], "line 121,2261 121,4539");
    EXPECT_EQ(r.paper.lines[outline + 2], "line 121,4539 4679,4539");
}

TEST(PrintDesignPage, NeitherClearsNorDrawsRulerOrGrid) {
    PrintRecords r;
    r.design->ruler = 1;
    r.design->grid = 1;
    r.print();
    EXPECT_EQ(r.paper.count("rect"), 0) << r.paper.text();
    EXPECT_EQ(r.paper.count("brush 255,255,200"), 0);
    EXPECT_FALSE(r.paper.has("line 2400,3400 2401,3401"));
}

TEST(PrintDesignPage, DrawsEveryTrackPlainWithPenWidthTwo) {
    PrintRecords r;
    r.print();
    EXPECT_EQ(r.paper.count("pen 0,0,255"), 0) << "no current track on paper";
    EXPECT_EQ(r.paper.count("pen 255,0,0"), 0);
    EXPECT_EQ(r.paper.count("pen 0,255,0"), 0) << "no insertion marker";
    EXPECT_EQ(r.paper.count("pen 0,0,0 2"), 2) << r.paper.text();
    EXPECT_EQ(r.paper.count("ellipse"), 2);
    EXPECT_EQ(r.paper.count("pen 0,0,0 1"), 0);
}

TEST(PrintDesignPage, TracesCurvesInFinerSteps) {
    PrintRecords r;
    r.design->filledIn = 1;
    r.print();
    // The straights fill one polygon each, the 90-degree curve one per 1.25 degrees.
    EXPECT_EQ(r.paper.count("poly"), 2 + 72);
}

TEST(PrintDesignPage, PutsTheCurrentTrackAndTheScreenStateBack) {
    PrintRecords r;
    r.design->currentTrack = 0;
    const WalkState before = r.view.walk;
    const BoardTexts texts = r.view.boardTexts;
    const int32_t lane1 = r.track(0).lane1Length;
    r.print();
    EXPECT_EQ(r.design->currentTrack, 0);
    EXPECT_EQ(r.track(0).selectedSection, 1);
    EXPECT_EQ(r.track(0).lane1Length, lane1);
    EXPECT_EQ(r.view.boardTexts.x, texts.x);
    EXPECT_EQ(r.view.boardTexts.y, texts.y);
    EXPECT_EQ(r.view.walk.zoomScale, before.zoomScale) << "clicks are read at the screen scale";
    EXPECT_EQ(r.view.walk.splitMark, before.splitMark);
    EXPECT_FALSE(r.view.walk.onPaper);
    r.redraw();
    EXPECT_EQ(r.screen.count("pen 255,0,0 1"), 1) << "still current on the screen";
}

TEST(PrintDesignPage, ClickAfterPrintingIsReadAtTheScreenScale) {
    PrintRecords r;
    r.print();
    ScreenToModel(*r.design, r.view, 500, 300);
    EXPECT_EQ(r.current().beginX, 6826);
}

struct RefusalCase {
    const char* name;
    float boardX, boardY;
    PageSize page;
};

class PrintRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PrintRefusal, ShowsAnErrorAndPrintsNothing) {
    PrintRecords r;
    r.design->boardX = GetParam().boardX;
    r.design->boardY = GetParam().boardY;
    const int current = r.design->currentTrack;
    const MaybeMessage message = r.print(GetParam().page);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->caption, "Error");
    EXPECT_FALSE(message->text.empty());
    EXPECT_EQ(r.paper.calls, 0);
    EXPECT_EQ(r.design->currentTrack, current);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, PrintRefusal,
    ::testing::Values(RefusalCase{"zero_width", 0.0f, 50.0f, kPortrait},
                      RefusalCase{"zero_depth", 100.0f, 0.0f, kPortrait},
                      RefusalCase{"negative_width", -100.0f, 50.0f, kPortrait},
                      RefusalCase{"nan_depth", 100.0f, NAN, kPortrait},
                      RefusalCase{"infinite_width", INFINITY, 50.0f, kPortrait},
                      RefusalCase{"board_too_large_for_a_pixel", FLT_MAX, FLT_MAX, kPortrait},
                      RefusalCase{"board_too_small", 0.0001f, 0.0001f, kPortrait},
                      RefusalCase{"no_page", 100.0f, 50.0f, PageSize{0, 0}},
                      RefusalCase{"negative_page", 100.0f, 50.0f, PageSize{-4800, -6800}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace lapwerk
