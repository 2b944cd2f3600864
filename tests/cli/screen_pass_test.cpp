// Pixel tests of the screen pass through QPainterCanvas: sections outside the image are left
// out without changing a pixel, a device pixel ratio draws finer, Smooth Drawing blends.
#include "fixtures.h"

#include "design_files.h"
#include "design_view.h"
#include "qpainter_canvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace lapwerk {
namespace {

/// Forwards every call to a QPainterCanvas, counting lines and polygons; with `showAll` it
/// tells the pass that every call matters, so that nothing is left out before the canvas.
class CountingCanvas final : public Canvas {
public:
    CountingCanvas(QPainterCanvas& inner, bool showAll) : inner_(inner), showAll_(showAll) {}

    int shapes = 0;

    void setPen(Rgb colour, int width) override { inner_.setPen(colour, width); }
    void setBrush(Rgb colour) override { inner_.setBrush(colour); }
    void moveTo(int32_t x, int32_t y) override { inner_.moveTo(x, y); }
    void lineTo(int32_t x, int32_t y) override {
        ++shapes;
        inner_.lineTo(x, y);
    }
    void polygon(const PixelPoint (&corners)[4]) override {
        ++shapes;
        inner_.polygon(corners);
    }
    void fillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        inner_.fillRect(left, top, right, bottom);
    }
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override {
        inner_.ellipse(left, top, right, bottom);
    }
    void textOut(int32_t x, int32_t y, const char* text) override { inner_.textOut(x, y, text); }
    void setTextScale(int32_t scale) override { inner_.setTextScale(scale); }
    std::optional<PixelBox> visibleBox() const override {
        return showAll_ ? std::nullopt : inner_.visibleBox();
    }

private:
    QPainterCanvas& inner_;
    bool showAll_;
};

struct ViewSettings {
    int32_t width = 640, height = 480, zoom = 13, panX = 0, panY = 0, pixelRatio = 1;
    Smoothing smoothing = Smoothing::kNone;
};

struct Rendered {
    QImage image;
    int shapes = 0;
};

Rendered Render(Design& design, const PartLibrary& library, const ViewSettings& settings,
                bool showAll = false) {
    Rendered rendered;
    rendered.image = QImage(settings.width * settings.pixelRatio,
                            settings.height * settings.pixelRatio, QImage::Format_RGB32);
    rendered.image.fill(Qt::white);
    QPainter painter(&rendered.image);
    {
        QPainterCanvas canvas(painter, settings.smoothing);
        CountingCanvas counting(canvas, showAll);
        DesignView view;
        view.library = &library;
        view.areaWidth = settings.width;
        view.areaHeight = settings.height;
        view.zoom = settings.zoom;
        view.panX = settings.panX;
        view.panY = settings.panY;
        view.pixelRatio = settings.pixelRatio;
        RedrawDesign(design, view, &counting);
        rendered.shapes = counting.shapes;
    }
    painter.end();
    return rendered;
}

/// The example designs with the example library, and one of many tracks of every part.
class ScreenPass : public ::testing::Test {
protected:
    void SetUp() override {
        LoadPartLibrary(*r.library, LAPWERK_EXAMPLES "/parts.def");
        ASSERT_GT(r.library->count, 10);
    }

    void Load(const char* name) {
        const std::string path = std::string(LAPWERK_EXAMPLES "/") + name;
        const auto load = std::make_unique<DesignLoad>(LoadDesignFile(path, *r.library, *r.design));
        ASSERT_TRUE(load->loaded()) << path;
        AdoptDesign(*r.design, *r.history, *load);
    }

    /// Eight winding tracks of 150 sections of every part, both ways, all toggles on.
    void MakeWindingDesign() {
        NewDesign(*r.design, *r.history);
        for (int t = 0; t < 8; ++t) {
            const int slot = t == 0 ? 0 : AllocateTrack(*r.design);
            Track& track = r.design->tracks[slot];
            track.beginX = (t % 4 - 2) * 9000;
            track.beginY = (t / 4 - 1) * 7000;
            track.angle = t * 170;
            for (int s = 0; s < 150; ++s) {
                track.partIndex[s] = static_cast<uint8_t>((s * 5 + t) % r.library->count);
                track.direction[s] = (s + t) % 3 == 0 ? 'L' : 'R';
            }
            track.sectionCount = 150;
            track.selectedSection = 70;
        }
        r.design->currentTrack = 3;
        r.design->segments = 1;
        r.design->filledIn = 1;
        r.design->ruler = 1;
        r.design->grid = 1;
    }

    test::Records r;
};

TEST_F(ScreenPass, LeavingOutWhatCannotShowChangesNoPixel) {
    const struct {
        const char* name;
        ViewSettings settings;
    } views[] = {
        {"default", {}},
        {"zoom_24_panned", {640, 480, 24, 700, -300, 1, Smoothing::kNone}},
        {"zoom_24_far_panned", {333, 211, 24, -2500, 1800, 1, Smoothing::kNone}},
        {"zoom_1", {640, 480, 1, 0, 0, 1, Smoothing::kNone}},
        {"ratio_2_panned", {320, 240, 20, -400, 250, 2, Smoothing::kNone}},
        {"ratio_3", {211, 157, 17, 120, 80, 3, Smoothing::kNone}},
        {"smooth", {400, 300, 22, 300, 0, 1, Smoothing::kAntialiased}},
    };
    MakeWindingDesign();
    for (const auto& toggles : {std::pair{1, 1}, std::pair{0, 0}}) {
        r.design->segments = toggles.first;
        r.design->filledIn = toggles.second;
        for (const auto& view : views) {
            const Rendered culled = Render(*r.design, *r.library, view.settings);
            const Rendered whole = Render(*r.design, *r.library, view.settings, true);
            EXPECT_TRUE(culled.image == whole.image) << view.name << " " << toggles.first;
            if (view.settings.zoom > 13) {
                EXPECT_LT(culled.shapes * 2, whole.shapes) << view.name << " leaves out most";
            }
        }
    }
    for (const char* name : {"figure-eight.tr2", "oval.tr2", "grouped.tr2"}) {
        Load(name);
        for (const auto& view : views) {
            EXPECT_TRUE(Render(*r.design, *r.library, view.settings).image ==
                        Render(*r.design, *r.library, view.settings, true).image)
                << name << " " << view.name;
        }
    }
}

std::set<QRgb> ColoursOf(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours;
}

TEST_F(ScreenPass, SmoothDrawingBlendsWhereTheExactRasterKeepsTheViewColours) {
    Load("figure-eight.tr2");
    const std::set<QRgb> palette = {qRgb(255, 255, 255), qRgb(0, 0, 0),   qRgb(0, 0, 255),
                                    qRgb(255, 0, 0),     qRgb(0, 255, 0), qRgb(0, 128, 0),
                                    qRgb(255, 255, 200)};
    ViewSettings settings;
    const std::set<QRgb> exact = ColoursOf(Render(*r.design, *r.library, settings).image);
    for (const QRgb colour : exact) {
        EXPECT_EQ(palette.count(colour), 1u) << std::hex << colour;
    }
    settings.smoothing = Smoothing::kAntialiased;
    const std::set<QRgb> smooth = ColoursOf(Render(*r.design, *r.library, settings).image);
    EXPECT_GT(smooth.size(), exact.size() + 20) << "blended edges";
}

/// The box of the pixels of `colour`, or an empty box.
QRect BoxOf(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

/// The box of the pixels that are dark in every channel, as text is.
QRect DarkBoxOf(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

TEST_F(ScreenPass, AtARatioOfTwoDrawsTwiceAsManyPixelsEachWay) {
    // A grouped track with no sections at the origin (its begin circle and group number) and
    // the current track, a straight to the right of it.
    NewDesign(*r.design, *r.history);
    r.design->tracks[0].group = 3;
    r.design->segments = 1;
    r.design->ruler = 1;
    const int slot = AllocateTrack(*r.design);
    r.design->tracks[slot].beginX = 5000;
    r.design->tracks[slot].partIndex[0] = 0;
    r.design->tracks[slot].sectionCount = 1;
    r.design->currentTrack = slot;

    ViewSettings one;
    one.width = 300;
    one.height = 200;
    ViewSettings two = one;
    two.pixelRatio = 2;
    const QImage single = Render(*r.design, *r.library, one).image;
    const QImage twice = Render(*r.design, *r.library, two).image;
    ASSERT_EQ(twice.size(), QSize(600, 400));

    const QRect strip = BoxOf(single, qRgb(255, 255, 200));
    const QRect wideStrip = BoxOf(twice, qRgb(255, 255, 200));
    EXPECT_EQ(strip, QRect(0, 0, 300, 200));
    EXPECT_EQ(wideStrip, QRect(0, 0, 600, 400));
    EXPECT_EQ(twice.pixel(29, 100), qRgb(255, 255, 200)) << "a strip 30 pixels wide";
    EXPECT_NE(single.pixel(29, 100), qRgb(255, 255, 200));

    const QRect circle = BoxOf(single, qRgb(0, 128, 0) /* board and begin circles */);
    const QRect blue = BoxOf(single, qRgb(0, 0, 255));
    const QRect wideBlue = BoxOf(twice, qRgb(0, 0, 255));
    EXPECT_NEAR(wideBlue.left(), 2 * blue.left(), 2);
    EXPECT_NEAR(wideBlue.top(), 2 * blue.top(), 2);
    EXPECT_NEAR(wideBlue.width(), 2 * blue.width(), 3);
    EXPECT_NEAR(wideBlue.height(), 2 * blue.height(), 3);
    EXPECT_FALSE(circle.isEmpty());

    // The group number's dark pixels right of and below the begin point (150, 100).
    const QRect digit = DarkBoxOf(single.copy(150, 100, 40, 40));
    const QRect wideDigit = DarkBoxOf(twice.copy(300, 200, 80, 80));
    ASSERT_FALSE(digit.isEmpty());
    EXPECT_NEAR(wideDigit.height(), 2.0 * digit.height(), 0.35 * digit.height());
}

} // namespace
} // namespace lapwerk
