// What the window tells about the design while the user works: the status bar with the current
// track's lane balance and closure, zooming with the mouse wheel, and left-over counts in red.

#include "window_fixture.h"

#include "part_panel.h"

#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QWheelEvent>

#include <vector>

using lapwerk::test::Rows;
using lapwerk::test::WindowFixture;

namespace {

constexpr int kStraight = 0;
constexpr int kCurve = 2;

// An oval of the test parts: a half circle of four 45-degree curves, a straight, the other
// half, the closing straight.
const std::vector<int> kOval = {kCurve, kCurve, kCurve, kCurve, kStraight,
                                kCurve, kCurve, kCurve, kCurve, kStraight};

// Both lanes of the oval: 2 x 9 inches of straights plus 8 curves of 10 or 12 inches.
const QString kOvalMetric =
    "Track 1 of 1 | Lane 1: 2.49 m | Lane 2: 2.90 m | Difference: +0.41 m | closed";

void Lay(WindowFixture& window, const std::vector<int>& parts) {
    for (const int part : parts) {
        window.doubleClickPart(part);
    }
}

/// Turns the wheel over the middle of the drawing area by `eighths` eighths of a degree.
void Wheel(WindowFixture& window, int eighths) {
    lapwerk::DesignArea* area = window.area();
    const QPointF at(area->width() / 2.0, area->height() / 2.0);
    QWheelEvent event(at, area->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &event);
}

/// Whether any pixel of `rect` in `image` is strongly red.
bool HasRedPixels(const QImage& image, const QRect& rect) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.red() > 160 && pixel.green() < 90 && pixel.blue() < 90) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class ViewFeedbackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:

    // Status bar.

    void statusBarTakesItsHeightFromTheDrawingArea() {
        WindowFixture window;
        QCOMPARE(window.form().size(), QSize(600, 458));
        QStatusBar* bar = window.form().statusBar();
        QCOMPARE(bar->objectName(), QString("StatusBar"));
        QVERIFY(bar->isVisible());
        const int areaBottom =
            window.area()->mapTo(&window.form(), QPoint(0, window.area()->height())).y();
        QVERIFY2(areaBottom <= bar->y(),
                 qPrintable(QString("%1 > %2").arg(areaBottom).arg(bar->y())));
        QCOMPARE(window.records().view.areaHeight, window.area()->height());
        // A long text is cut off; it never widens the window.
        QVERIFY(window.form().minimumSizeHint().width() <= 600);
    }

    void statusBarShowsTheNewDesign() {
        WindowFixture window(WindowFixture::Show::No);
        QCOMPARE(window.form().statusText(),
                 QString("Track 1 of 1 | Lane 1: 0.00 m | Lane 2: 0.00 m"
                         " | Difference: +0.00 m | open: no sections"));
        QCOMPARE(window.find<QLabel>("StatusLabel")->text(), window.form().statusText());
    }

    void statusBarFollowsEveryInsertUntilTheOvalCloses() {
        WindowFixture window;
        for (std::size_t i = 0; i < kOval.size(); ++i) {
            window.doubleClickPart(kOval[i]);
            const QString text = window.form().statusText();
            if (i + 1 < kOval.size()) {
                QVERIFY2(text.contains(" | open: gap "), qPrintable(text));
            }
        }
        QCOMPARE(window.form().statusText(), kOvalMetric);
        window.trigger("DeleteSectionButton");
        QVERIFY2(window.form().statusText().endsWith("°"), qPrintable(window.form().statusText()));
        window.trigger("UndoItem");
        QCOMPARE(window.form().statusText(), kOvalMetric);
    }

    void statusBarFollowsSelectionClicks() {
        WindowFixture window;
        window.find<QSlider>("ZoomBar")->setValue(5);
        Lay(window, kOval);
        // A second, open track of two straights right of the oval, which becomes current.
        window.trigger("InsertTrackButton");
        window.click(QPoint(window.area()->width() - 30, window.area()->height() / 2));
        Lay(window, {kStraight, kStraight});
        const QString second = window.form().statusText();
        QVERIFY2(second.startsWith("Track 2 of 2 | Lane 1: 0.46 m | Lane 2: 0.46 m | "
                                   "Difference: +0.00 m | open: gap "),
                 qPrintable(second));

        window.click(window.markerPixel(0, 2));
        QCOMPARE(window.design().currentTrack, 0);
        QCOMPARE(window.form().statusText(),
                 QString(kOvalMetric).replace("Track 1 of 1", "Track 1 of 2"));
        // A click on the empty board keeps the current track, and so the text.
        window.click(QPoint(3, 3));
        QCOMPARE(window.design().currentTrack, 0);
        QCOMPARE(window.form().statusText(),
                 QString(kOvalMetric).replace("Track 1 of 1", "Track 1 of 2"));
        window.click(window.markerPixel(1, 0));
        QCOMPARE(window.form().statusText(), second);
    }

    void statusBarFollowsTheUnit() {
        WindowFixture window;
        Lay(window, kOval);
        window.trigger("Metric");
        QCOMPARE(window.form().statusText(),
                 QString("Track 1 of 1 | Lane 1: 98.00 ' | Lane 2: 114.00 ' | "
                         "Difference: +16.00 ' | closed"));
        window.trigger("DeleteSectionButton");
        QVERIFY2(window.form().statusText().contains(" | open: gap ") &&
                     window.form().statusText().contains(" in, "),
                 qPrintable(window.form().statusText()));
        window.trigger("Metric");
        QVERIFY2(window.form().statusText().contains(" mm, "),
                 qPrintable(window.form().statusText()));
    }

    // Wheel zoom.

    void wheelMovesTheZoomBar_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("turns"); // eighths of a degree, one wheel event each
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("redraws");
        QTest::newRow("one notch up") << 13 << QList<int>{120} << 14 << 1;
        QTest::newRow("one notch down") << 13 << QList<int>{-120} << 12 << 1;
        QTest::newRow("two notches at once") << 13 << QList<int>{240} << 15 << 1;
        QTest::newRow("half notches add up") << 13 << QList<int>{60, 60} << 14 << 1;
        QTest::newRow("a part notch does nothing") << 13 << QList<int>{119} << 13 << 0;
        QTest::newRow("up and down again") << 13 << QList<int>{120, -120} << 13 << 2;
        QTest::newRow("stops at 24") << 23 << QList<int>{360} << 24 << 1;
        QTest::newRow("at 24 nothing moves") << 24 << QList<int>{120} << 24 << 0;
        QTest::newRow("stops at 1") << 2 << QList<int>{-360} << 1 << 1;
        QTest::newRow("at 1 nothing moves") << 1 << QList<int>{-120} << 1 << 0;
    }

    void wheelMovesTheZoomBar() {
        QFETCH(int, start);
        QFETCH(QList<int>, turns);
        QFETCH(int, zoom);
        QFETCH(int, redraws);
        WindowFixture window;
        Lay(window, {kStraight, kCurve});
        auto* bar = window.find<QSlider>("ZoomBar");
        bar->setValue(start);
        const int angle = window.current().angle;
        const int selected = window.current().selectedSection;
        const int rotate = window.find<QSlider>("RotateBar")->value();
        const int steps = window.records().history.undoCount;
        QSignalSpy redrawn(window.area(), &lapwerk::DesignArea::redrawn);
        for (const int eighths : turns) {
            Wheel(window, eighths);
        }
        QCOMPARE(bar->value(), zoom);
        QCOMPARE(window.records().view.zoom, zoom);
        QCOMPARE(window.records().view.walk.zoomScale, 64 * zoom + 128);
        QCOMPARE(window.design().zoom, zoom);
        QCOMPARE(redrawn.count(), redraws);
        // Only the view's scale changes.
        QCOMPARE(window.current().angle, angle);
        QCOMPARE(window.current().selectedSection, selected);
        QCOMPARE(window.find<QSlider>("RotateBar")->value(), rotate);
        QCOMPARE(window.records().history.undoCount, steps);
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Select);
    }

    void wheelKeepsAPendingMode() {
        WindowFixture window;
        window.trigger("InsertTrackButton");
        Wheel(window, 120);
        QCOMPARE(window.find<QSlider>("ZoomBar")->value(), 14);
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::InsertTrack);
        QCOMPARE(window.area()->cursor().shape(), Qt::CrossCursor);
    }

    void sidewaysWheelDoesNotZoom() {
        WindowFixture window;
        lapwerk::DesignArea* area = window.area();
        const QPointF at(10, 10);
        QWheelEvent event(at, area->mapToGlobal(at), QPoint(), QPoint(120, 0), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area, &event);
        QCOMPARE(window.find<QSlider>("ZoomBar")->value(), 13);
    }

    // Left-over counts.

    void negativeLeftOverIsRed() {
        WindowFixture window;
        QListWidget* over = window.list("OverList");
        // Two curves owned, three laid; one straight of four.
        Lay(window, {kCurve, kCurve, kCurve, kStraight});
        QCOMPARE(Rows(over), (QStringList{"3", "", "-1", ""}));
        const QList<QColor> colours = {Qt::black, Qt::black, Qt::red, Qt::black};
        for (int row = 0; row < over->count(); ++row) {
            QCOMPARE(over->item(row)->foreground().color(), colours[row]);
            QCOMPARE(over->item(row)->data(Qt::ForegroundRole).value<QBrush>().color(),
                     colours[row]);
        }
        // And it is painted so: the list as it stands, rows placed in its viewport.
        const QImage shown = over->grab().toImage();
        const QPoint viewport = over->viewport()->pos();
        QVERIFY(HasRedPixels(shown, over->visualItemRect(over->item(kCurve)).translated(viewport)));
        QVERIFY(
            !HasRedPixels(shown, over->visualItemRect(over->item(kStraight)).translated(viewport)));
    }

    void leftOverTurnsBlackWhenEnoughAreOwnedAgain() {
        WindowFixture window;
        QListWidget* over = window.list("OverList");
        Lay(window, {kCurve, kCurve, kCurve});
        QCOMPARE(over->item(kCurve)->foreground().color(), QColor(Qt::red));
        window.trigger("DeleteSectionButton");
        QCOMPARE(Rows(over).at(kCurve), QString("0"));
        QCOMPARE(over->item(kCurve)->foreground().color(), QColor(Qt::black));
        window.trigger("UndoItem");
        QCOMPARE(Rows(over).at(kCurve), QString("-1"));
        QCOMPARE(over->item(kCurve)->foreground().color(), QColor(Qt::red));
        window.trigger("RedoItem");
        QCOMPARE(Rows(over).at(kCurve), QString("0"));
        QCOMPARE(over->item(kCurve)->foreground().color(), QColor(Qt::black));
    }
};

QTEST_MAIN(ViewFeedbackTest)
#include "view_feedback_test.moc"
