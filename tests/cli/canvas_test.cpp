// Pixel tests of QPainterCanvas on a QImage: the canvas must paint exactly the pixels that the
// classic raster rules give, whatever QPainter's own conventions are.
#include "qpainter_canvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace lapwerk {
namespace {

using Pixel = std::pair<int, int>;
using PixelSet = std::set<Pixel>;

constexpr int kSize = 24;

QImage Paint(const std::function<void(Canvas&)>& draw) {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QPainterCanvas canvas(painter);
        draw(canvas);
    }
    painter.end();
    return image;
}

PixelSet PixelsOf(const QImage& image, QRgb colour) {
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

PixelSet NonWhite(const QImage& image) {
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

std::string Describe(const PixelSet& pixels) {
    std::string text;
    for (const auto& [x, y] : pixels) {
        text += " " + std::to_string(x) + "," + std::to_string(y);
    }
    return text;
}

struct LineRow {
    const char* name;
    int width;
    int x0, y0, x1, y1;
    PixelSet expected;
};

void PrintTo(const LineRow& row, std::ostream* out) {
    *out << row.name;
}

class LineTest : public testing::TestWithParam<LineRow> {};

TEST_P(LineTest, PaintsExactlyTheExpectedPixels) {
    const LineRow& row = GetParam();
    const QImage image = Paint([&](Canvas& canvas) {
        canvas.setPen(kBlack, row.width);
        canvas.moveTo(row.x0, row.y0);
        canvas.lineTo(row.x1, row.y1);
    });
    EXPECT_EQ(Describe(NonWhite(image)), Describe(row.expected));
}

PixelSet PixelRun(int x, int y, int dx, int dy, int count) {
    PixelSet pixels;
    for (int i = 0; i < count; ++i) {
        pixels.insert({x + i * dx, y + i * dy});
    }
    return pixels;
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, LineTest,
    testing::Values(
        LineRow{"DotPaintsItsOwnPixel", 1, 5, 7, 6, 8, {{5, 7}}},
        LineRow{"ZeroLengthPaintsNothing", 1, 5, 7, 5, 7, {}},
        LineRow{"RightwardsLeavesOutEnd", 1, 2, 3, 8, 3, PixelRun(2, 3, 1, 0, 6)},
        LineRow{"LeftwardsLeavesOutEnd", 1, 8, 3, 2, 3, PixelRun(8, 3, -1, 0, 6)},
        LineRow{"DownwardsLeavesOutEnd", 1, 4, 2, 4, 9, PixelRun(4, 2, 0, 1, 7)},
        LineRow{"UpwardsLeavesOutEnd", 1, 4, 9, 4, 2, PixelRun(4, 9, 0, -1, 7)},
        LineRow{"DiagonalDownRight", 1, 10, 10, 16, 16, PixelRun(10, 10, 1, 1, 6)},
        LineRow{"DiagonalUpLeft", 1, 16, 16, 10, 10, PixelRun(16, 16, -1, -1, 6)},
        LineRow{"ShallowHalvesRoundUp",
                1,
                10,
                10,
                16,
                13,
                {{10, 10}, {11, 11}, {12, 11}, {13, 12}, {14, 12}, {15, 13}}},
        LineRow{"ShallowReversedSharesInnerPixels",
                1,
                16,
                13,
                10,
                10,
                {{16, 13}, {15, 13}, {14, 12}, {13, 12}, {12, 11}, {11, 11}}},
        LineRow{"SteepUpRight", 1, 3, 9, 5, 3, {{3, 9}, {3, 8}, {4, 7}, {4, 6}, {4, 5}, {5, 4}}},
        LineRow{"FarEndsClipToTheImage", 1, -2000000000, -2000000000, 2000000000, 2000000000,
                PixelRun(0, 0, 1, 1, kSize)},
        LineRow{"EntirelyOutsidePaintsNothing", 1, -50, -5, -10, 30, {}},
        // Width 2: QPainter's flat-cap band, the row above and the row of a horizontal line,
        // the column left of and the column of a vertical one, without the end.
        LineRow{"WideHorizontal", 2, 2, 2, 8, 2,
                [] {
                    PixelSet p = PixelRun(2, 1, 1, 0, 6);
                    p.merge(PixelRun(2, 2, 1, 0, 6));
                    return p;
                }()},
        LineRow{"WideVertical", 2, 2, 2, 2, 7,
                [] {
                    PixelSet p = PixelRun(1, 2, 0, 1, 5);
                    p.merge(PixelRun(2, 2, 0, 1, 5));
                    return p;
                }()}),
    [](const testing::TestParamInfo<LineRow>& row) { return row.param.name; });

TEST(CanvasLines, ConsecutiveLineToStartsWhereTheLastEnded) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setPen(kBlack, 1);
        canvas.moveTo(2, 2);
        canvas.lineTo(6, 2);
        canvas.lineTo(6, 5);
    });
    PixelSet expected = PixelRun(2, 2, 1, 0, 4);
    expected.merge(PixelRun(6, 2, 0, 1, 3));
    EXPECT_EQ(Describe(NonWhite(image)), Describe(expected));
}

TEST(CanvasLines, LaterFillsCoverEarlierLinesAndLaterLinesCoverFills) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setPen(kBlack, 1);
        canvas.moveTo(0, 3);
        canvas.lineTo(10, 3);
        canvas.setBrush(kRed);
        canvas.fillRect(2, 0, 4, 10);
        canvas.moveTo(3, 0);
        canvas.lineTo(3, 10);
    });
    EXPECT_EQ(image.pixel(1, 3), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 3), qRgb(255, 0, 0)) << "the fill covers the line before it";
    EXPECT_EQ(image.pixel(3, 5), qRgb(0, 0, 0)) << "the line after the fill covers it";
}

TEST(CanvasLines, FlushPaintsWhatIsPendingBeforeThePainterEnds) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.setPen(kBlack, 1);
    canvas.moveTo(1, 1);
    canvas.lineTo(5, 1);
    canvas.flush();
    painter.end();
    EXPECT_EQ(PixelsOf(image, qRgb(0, 0, 0)).size(), 4u);
}

TEST(CanvasLines, PenColourIsUsed) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setPen(kDarkGreen, 1);
        canvas.moveTo(1, 1);
        canvas.lineTo(4, 1);
    });
    EXPECT_EQ(PixelsOf(image, qRgb(0, 128, 0)).size(), 3u);
}

TEST(CanvasFill, RectangleExcludesRightAndBottom) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setPen(kBlack, 1);
        canvas.setBrush(kPaleYellow);
        canvas.fillRect(3, 4, 7, 6);
    });
    PixelSet expected;
    for (int y = 4; y < 6; ++y) {
        for (int x = 3; x < 7; ++x) {
            expected.insert({x, y});
        }
    }
    EXPECT_EQ(Describe(PixelsOf(image, qRgb(255, 255, 200))), Describe(expected));
    EXPECT_EQ(NonWhite(image).size(), expected.size()) << "fillRect draws no outline";
}

TEST(CanvasFill, HugeRectangleCoversTheImage) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setBrush(kBlue);
        canvas.fillRect(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647);
    });
    EXPECT_EQ(PixelsOf(image, qRgb(0, 0, 255)).size(), size_t{kSize * kSize});
}

TEST(CanvasFill, PolygonIsFilledAndOutlinedOnAllEdges) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setPen(kBlack, 1);
        canvas.setBrush(kRed);
        canvas.polygon({{2, 2}, {2, 7}, {8, 7}, {8, 2}});
    });
    PixelSet outline, inside;
    for (int y = 2; y <= 7; ++y) {
        for (int x = 2; x <= 8; ++x) {
            (x == 2 || x == 8 || y == 2 || y == 7 ? outline : inside).insert({x, y});
        }
    }
    EXPECT_EQ(Describe(PixelsOf(image, qRgb(0, 0, 0))), Describe(outline));
    EXPECT_EQ(Describe(PixelsOf(image, qRgb(255, 0, 0))), Describe(inside));
}

TEST(CanvasFill, EllipseStaysInsideItsBoxAndTouchesEverySide) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setPen(kDarkGreen, 1);
        canvas.setBrush(kWhite);
        canvas.fillRect(0, 0, kSize, kSize); // white on white: only the outline shows
        canvas.setBrush(kBlue);
        canvas.ellipse(4, 5, 10, 11);
    });
    const PixelSet painted = NonWhite(image);
    ASSERT_FALSE(painted.empty());
    int left = kSize, right = -1, top = kSize, bottom = -1;
    for (const auto& [x, y] : painted) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_EQ(left, 4);
    EXPECT_EQ(right, 9);
    EXPECT_EQ(top, 5);
    EXPECT_EQ(bottom, 10);
    EXPECT_EQ(image.pixel(7, 8), qRgb(0, 0, 255)) << "filled with the brush";
    EXPECT_EQ(image.pixel(4, 8), qRgb(0, 128, 0)) << "outlined with the pen";
}

TEST(CanvasFill, EmptyEllipsePaintsNothing) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setBrush(kBlue);
        canvas.ellipse(6, 6, 6, 10);
        canvas.ellipse(9, 9, 5, 5);
    });
    EXPECT_TRUE(NonWhite(image).empty());
}

TEST(CanvasText, WritesOnAnOpaqueBrushRectangleFromTheTopLeftCorner) {
    const QImage image = Paint([](Canvas& canvas) {
        canvas.setPen(kDarkGreen, 1);
        canvas.setBrush(kPaleYellow);
        canvas.textOut(3, 4, "8");
    });
    const PixelSet background = PixelsOf(image, qRgb(255, 255, 200));
    ASSERT_FALSE(background.empty());
    EXPECT_EQ(*background.begin(), Pixel(3, 4)) << "top-left corner of the text box";
    for (const auto& [x, y] : NonWhite(image)) {
        EXPECT_GE(x, 3);
        EXPECT_GE(y, 4);
    }
    bool dark = false;
    for (const auto& pixel : NonWhite(image)) {
        const QRgb rgb = image.pixel(pixel.first, pixel.second);
        dark = dark || (qRed(rgb) < 128 && qGreen(rgb) < 128 && qBlue(rgb) < 128);
    }
    EXPECT_TRUE(dark) << "the digit is written in black";
}

TEST(CanvasTransform, DrawsWhatTheTransformBringsOntoTheDevice) {
    // Half scale: the canvas's coordinates reach twice as far as the image's pixels.
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.5, 0.5);
    {
        QPainterCanvas canvas(painter);
        canvas.setPen(kBlack, 2);
        canvas.moveTo(30, 10);
        canvas.lineTo(44, 10);
        canvas.moveTo(60, 10);
        canvas.lineTo(90, 10);
    }
    painter.end();
    const PixelSet painted = NonWhite(image);
    ASSERT_FALSE(painted.empty());
    for (const auto& [x, y] : painted) {
        EXPECT_TRUE(x >= 14 && x <= 22 && y >= 4 && y <= 5) << x << "," << y;
    }
    EXPECT_TRUE(painted.count({20, 5}) == 1)
        << "the line beyond the image's width in canvas pixels";
}

} // namespace
} // namespace lapwerk
