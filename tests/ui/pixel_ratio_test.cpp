// The window on a screen of device pixel ratio 2: the drawing area draws at device pixels,
// and clicks still find what lies under the pointer.

#include "window_fixture.h"

#include <QScreen>

#include "design_export.h"

#include <QSlider>

#include <memory>

using lapwerk::test::WindowFixture;

namespace {

constexpr int kStraight = 0;
constexpr int kCurve = 2;

} // namespace

class PixelRatioTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void areaDrawsAtDevicePixels_data() {
        QTest::addColumn<bool>("smooth");
        QTest::newRow("exact") << false;
        QTest::newRow("Smooth Drawing") << true;
    }

    void areaDrawsAtDevicePixels() {
        QFETCH(bool, smooth);
        WindowFixture window;
        for (const int part : {kStraight, kCurve, kCurve, kStraight}) {
            window.doubleClickPart(part);
        }
        window.find<QSlider>("ZoomBar")->setValue(17);
        if (smooth) {
            window.trigger("SmoothDrawing");
        }
        const QImage& buffer = window.area()->buffer();
        QCOMPARE(buffer.size(), window.area()->size() * 2);
        QCOMPARE(window.records().view.pixelRatio, 2);
        QCOMPARE(window.records().view.walk.zoomScale, 2 * (64 * 17 + 128));
        // The very picture of a pass at ratio 2 (pens, ticks and text scaled with it), not
        // the picture at ratio 1 scaled up.
        lapwerk::ScreenExport settings;
        settings.zoom = 17;
        // The view followed the sections laid.
        settings.panX = window.records().view.panX;
        settings.panY = window.records().view.panY;
        settings.area = window.area()->size();
        settings.pixelRatio = 2;
        settings.smoothing = smooth ? lapwerk::Smoothing::kAntialiased : lapwerk::Smoothing::kNone;
        const auto copy = std::make_unique<lapwerk::Design>(window.design());
        const QString path = window.path("ratio2.png");
        QVERIFY(!lapwerk::ExportScreenImage(*copy, window.records().library, settings,
                                            path.toStdString()));
        QImage expected;
        QVERIFY(expected.load(path, "PNG"));
        QCOMPARE(buffer, expected.convertToFormat(QImage::Format_RGB32));
    }

    // On this screen of 400 x 300 pixels, at the first start and with a stored size too large
    // for it, the window fits the screen's free area.
    void windowFitsTheScreen() {
        WindowFixture window(WindowFixture::Show::No);
        const QRect room = window.form().screen()->availableGeometry();
        QVERIFY(room.contains(window.form().geometry()));
        window.form().setGeometry(room.x(), room.y(), 3 * room.width(), 3 * room.height());
        window.restart();
        QVERIFY(room.contains(window.form().geometry()));
    }

    void clickSelectsTheSectionUnderThePointer() {
        WindowFixture window;
        for (const int part : {kStraight, kCurve, kCurve, kStraight}) {
            window.doubleClickPart(part);
        }
        window.click(window.markerPixel(0, 1));
        QCOMPARE(window.current().selectedSection, 1);
        window.click(window.markerPixel(0, 2));
        QCOMPARE(window.current().selectedSection, 2);
    }
};

int main(int argc, char** argv) {
    // Before the application exists, as on a screen of twice the density.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    PixelRatioTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "pixel_ratio_test.moc"
