// What the window tells about the design while the user works: the status bar with the current
// track's lane balance and closure, moving the view (scroll bars, dragging, the wheel, the View
// menu), Smooth Drawing, and left-over counts in red.

#include "window_fixture.h"

#include "lap_form.h"
#include "part_panel.h"

#include "board.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTableWidget>
#include <QWheelEvent>

#include <functional>
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

/// Turns the wheel over pixel `at` of the drawing area by `eighths` eighths of a degree.
void WheelAt(WindowFixture& window, QPoint at, int eighths,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    lapwerk::DesignArea* area = window.area();
    const QPointF position(at);
    QWheelEvent event(position, area->mapToGlobal(position), QPoint(), QPoint(0, eighths),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &event);
}

/// Turns the wheel over the middle of the drawing area by `eighths` eighths of a degree.
void Wheel(WindowFixture& window, int eighths) {
    lapwerk::DesignArea* area = window.area();
    WheelAt(window, QPoint(area->width() / 2, area->height() / 2), eighths);
}

/// Drags with `button` from `from` to `to` in the drawing area, in two moves.
void Drag(WindowFixture& window, Qt::MouseButton button, QPoint from, QPoint to) {
    lapwerk::DesignArea* area = window.area();
    QTest::mousePress(area, button, {}, from);
    QTest::mouseMove(area, (from + to) / 2);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, button, {}, to);
}

/// The ways the user moves the view, each by about (-90, -60) pixels: the design moves right
/// and down.
const std::vector<std::pair<const char*, std::function<void(WindowFixture&)>>> kPans = {
    {"scroll bars",
     [](WindowFixture& window) {
         QScrollBar* across = window.area()->horizontalBar();
         QScrollBar* down = window.area()->verticalBar();
         across->setValue(across->value() - 90);
         down->setValue(down->value() - 60);
     }},
    {"middle button",
     [](WindowFixture& window) {
         Drag(window, Qt::MiddleButton, {100, 100}, {190, 160});
     }},
    {"space and left button",
     [](WindowFixture& window) {
         QTest::keyPress(&window.form(), Qt::Key_Space);
         Drag(window, Qt::LeftButton, {100, 100}, {190, 160});
         QTest::keyRelease(&window.form(), Qt::Key_Space);
     }},
    {"shift and wheel",
     [](WindowFixture& window) {
         // One and a half notches away from the user, 60 pixels each; the view moves left.
         WheelAt(window, {100, 100}, 180, Qt::ShiftModifier);
         window.area()->verticalBar()->setValue(window.area()->verticalBar()->value() - 60);
     }},
};

/// Whether pixel `pixel` lies in the part of the area that the scroll bars and the rulers
/// leave free.
bool InOpenView(WindowFixture& window, QPoint pixel) {
    const int ruler = window.design().ruler != 0 ? lapwerk::kRulerStripPixels : 0;
    return window.area()->openRect().adjusted(ruler, ruler, 0, 0).contains(pixel);
}

/// The colours of `image`.
QSet<QRgb> Colours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours;
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

    // The layout check follows every recorded edit and load: the figure eight crosses itself
    // once; a straight laid past its end runs into its first section; undo takes that back.
    void layoutCheckFollowsTheEdits() {
        WindowFixture window(WindowFixture::Parts::Example);
        window.open(LAPWERK_EXAMPLES "/figure-eight.tr2");
        QVERIFY2(window.form().statusText().endsWith(" | closed | 1 crossing"),
                 qPrintable(window.form().statusText()));
        QCOMPARE(window.area()->marks().size(), size_t{1}); // one bridge
        lapwerk::Track& eight = window.current();
        eight.selectedSection = eight.sectionCount - 1;
        window.doubleClickPart(0); // C151, a straight
        QVERIFY2(window.form().statusText().endsWith(" | 1 crossing | 1 collision"),
                 qPrintable(window.form().statusText()));

        window.trigger("DesignCheck1");
        QListWidget* findings = window.list("FindingList");
        QVERIFY(findings->isVisible());
        const int last = findings->count() - 1;
        QCOMPARE(findings->item(last)->text(),
                 QString("Collision: track 1 section 1 (C151) and track 1 section 19 (C151)"));
        // A row per place, as the status bar counts them, the pairs of a place under it.
        int placeRows = 0;
        for (int row = 0; row < findings->count(); ++row) {
            placeRows += findings->item(row)->text().startsWith(' ') ? 0 : 1;
        }
        QCOMPARE(placeRows, 2);
        eight.selectedSection = 5;
        const QPoint row = findings->visualItemRect(findings->item(last)).center();
        QTest::mouseClick(findings->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(findings->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(eight.selectedSection, 0);
        // The chosen section is outlined over every track until the next change.
        QVERIFY(!window.area()->overlayLines().empty());
        eight.selectedSection = 5;
        QTest::keyClick(findings, Qt::Key_Return); // Return does as the double click
        QCOMPARE(eight.selectedSection, 0);

        window.trigger("ShowProblems");
        QVERIFY(window.area()->overlayLines().empty());
        QVERIFY(window.area()->marks().empty());
        window.trigger("ShowProblems");
        QVERIFY(!window.area()->marks().empty());
        window.trigger("UndoItem");
        QVERIFY(window.form().statusText().endsWith(" | closed | 1 crossing"));
        QCOMPARE(findings->count(), static_cast<int>(window.form().layoutCheck().findings.size()));
    }

    // F10 shows a row per track; an edit that opens a track, and a slower car, change the rows;
    // a click on the plot selects the section at that distance.
    void lapTimesFollowTheEditsAndTheCar() {
        WindowFixture window(WindowFixture::Parts::Example);
        window.open(LAPWERK_EXAMPLES "/grouped.tr2");
        QTest::keyClick(&window.form(), Qt::Key_F10);
        QTableWidget* table = window.form().lapForm()->lapTable();
        QVERIFY(table->isVisible());
        QCOMPARE(table->rowCount(), 2);
        const QString lane1 = table->item(0, 1)->text();
        QVERIFY2(lane1.endsWith(" s") && table->item(1, 3)->text().startsWith("lane 2 +"),
                 qPrintable(lane1));

        window.form().lapForm()->findChild<QDoubleSpinBox*>("Grip")->setValue(1.0);
        QVERIFY(table->item(0, 1)->text() > lane1);

        lapwerk::SpeedPlot* plot = window.form().lapForm()->speedPlot();
        QTest::mouseClick(plot, Qt::LeftButton, {}, QPoint(plot->width() - 20, plot->height() / 2));
        QCOMPARE(window.current().selectedSection, window.current().sectionCount - 1);

        window.doubleClickPart(0);
        const int current =
            lapwerk::TrackNumberOfSlot(window.design(), window.design().currentTrack);
        QCOMPARE(table->item(current - 1, 1)->text(), QString("open: no lap"));
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
        // A second, open track of two straights right of the oval and off the board, which
        // becomes current.
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
                 QString(kOvalMetric).replace("Track 1 of 1", "Track 1 of 2") +
                     " | 2 sections off the board");
        // A click on the empty board keeps the current track, and so the text.
        window.click(QPoint(3, 3));
        QCOMPARE(window.design().currentTrack, 0);
        QCOMPARE(window.form().statusText(),
                 QString(kOvalMetric).replace("Track 1 of 1", "Track 1 of 2") +
                     " | 2 sections off the board");
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

    void statusBarNamesTheCurrentTrackAfterGroup() {
        WindowFixture window;
        window.find<QSlider>("ZoomBar")->setValue(5);
        Lay(window, {kStraight, kStraight});
        window.trigger("InsertTrackButton");
        window.click(QPoint(window.area()->width() - 60, window.area()->height() / 2));
        Lay(window, {kStraight});
        QVERIFY(window.form().statusText().startsWith("Track 2 of 2 | "));
        // Grouped, the track clicked follows the current one, which becomes the first.
        window.trigger("GroupTrack1");
        window.click(window.markerPixel(0, 1));
        QCOMPARE(window.design().currentTrack, 0);
        QVERIFY2(window.form().statusText().startsWith("Track 1 of 2 | Lane 1: 0.23 m"),
                 qPrintable(window.form().statusText()));
    }

    void longStatusEndsInAnEllipsis() {
        WindowFixture window;
        Lay(window, {kStraight, kCurve});
        const int narrowest = window.form().minimumSizeHint().width();
        window.form().resize(narrowest, 458);
        QTest::qWait(0);
        auto* label = window.find<QLabel>("StatusLabel");
        // The text stays whole, also as the tool tip, while the window stays as narrow.
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) > label->width());
        QCOMPARE(label->toolTip(), label->text());
        QCOMPARE(window.form().width(), narrowest);
    }

    // Moving the view.

    // The view follows the work: each insert beyond the edge pans just enough to show the new
    // section's end; an opened design comes into the middle at the zoom the user chose; the
    // status bar measures where the pointer is on the board.
    void viewFollowsTheWork() {
        WindowFixture window;
        window.find<QSlider>("ZoomBar")->setValue(20);
        const lapwerk::DesignView& view = window.records().view;
        const QPoint start(view.panX, view.panY);
        const auto selectionShows = [&] {
            const auto at = lapwerk::SelectionPosition(window.design(), window.records().library);
            const lapwerk::PlanePoint pixel = lapwerk::ViewPixelOfModel(view, *at);
            return InOpenView(window, QPointF(pixel.x, pixel.y).toPoint());
        };
        for (int i = 0; i < 12; ++i) {
            window.doubleClickPart(kStraight);
            QVERIFY2(selectionShows(), qPrintable(QString::number(i)));
        }
        QVERIFY(QPoint(view.panX, view.panY) != start);
        window.trigger("BeginButton");
        QVERIFY(selectionShows());

        window.dialogs().files = {window.path("line.tr2")};
        window.trigger("SaveAs1");
        window.trigger("New1");
        window.open(window.path("line.tr2"));
        QCOMPARE(view.zoom, 20);
        const auto tracks = lapwerk::TracksExtent(window.design(), window.records().library);
        const lapwerk::PlanePoint middle = lapwerk::ViewPixelOfModel(
            view, {(tracks->left + tracks->right) / 2.0, (tracks->top + tracks->bottom) / 2.0});
        const int strip = lapwerk::kRulerStripPixels;
        QVERIFY(qAbs(middle.x - (strip + (view.areaWidth - strip) / 2)) < 2);
        QVERIFY(qAbs(middle.y - (strip + (view.areaHeight - strip) / 2)) < 2);

        const lapwerk::PlanePoint centre = lapwerk::ViewPixelOfModel(view, {0, 0});
        QTest::mouseMove(window.area(), QPointF(centre.x, centre.y).toPoint());
        auto* pointer = window.find<QLabel>("PointerLabel");
        QTRY_VERIFY(pointer->isVisible());
        QCOMPARE(pointer->text(), QString("x 1.00 m  y 1.00 m"));
    }

    void clickAfterPanningSelectsTheSectionUnderThePointer_data() {
        QTest::addColumn<int>("pan");
        for (std::size_t i = 0; i < kPans.size(); ++i) {
            QTest::newRow(kPans[i].first) << static_cast<int>(i);
        }
    }

    void clickAfterPanningSelectsTheSectionUnderThePointer() {
        QFETCH(int, pan);
        WindowFixture window;
        // Zoomed in so far that the board reaches beyond the area and the view can move.
        window.find<QSlider>("ZoomBar")->setValue(20);
        Lay(window, kOval);
        // Laying the oval moved the view to follow it: back to the middle.
        window.area()->setPan({0, 0});
        window.area()->redraw();
        const QPoint before = window.markerPixel(0, 2);
        QSignalSpy redrawn(window.area(), &lapwerk::DesignArea::redrawn);
        kPans[pan].second(window);
        QVERIFY(redrawn.count() > 0);
        const lapwerk::DesignView& view = window.records().view;
        QVERIFY2(view.panX <= -80 && view.panY == -60,
                 qPrintable(QString("pan %1, %2").arg(view.panX).arg(view.panY)));
        QCOMPARE(window.markerPixel(0, 2), before - QPoint(view.panX, view.panY));
        // The scroll bars show where the view is.
        QCOMPARE(window.area()->horizontalBar()->value(), view.panX);
        QCOMPARE(window.area()->verticalBar()->value(), view.panY);
        // A drag is no click: the selection stayed.
        QCOMPARE(window.current().selectedSection, 9);
        QVERIFY(InOpenView(window, window.markerPixel(0, 2)));
        window.click(window.markerPixel(0, 2));
        QCOMPARE(window.current().selectedSection, 2);
        // So does the right button, which moves the track's begin point under the pointer.
        window.click(QPoint(150, 120), Qt::RightButton);
        const QPoint begin = window.beginPixel(0) - QPoint(150, 120);
        QVERIFY(qAbs(begin.x()) <= 1 && qAbs(begin.y()) <= 1);
    }

    void scrollRangesCoverTheDesign() {
        WindowFixture window;
        Lay(window, kOval);
        QScrollBar* down = window.area()->verticalBar();
        // The oval runs off the top of the area: the view can scroll up to it.
        QVERIFY(down->minimum() < 0);
        down->setValue(down->minimum());
        for (int section = 0; section < static_cast<int>(kOval.size()); ++section) {
            QVERIFY2(window.markerPixel(0, section).y() >= lapwerk::kRulerStripPixels,
                     qPrintable(QString::number(section)));
        }
        QCOMPARE(down->pageStep(), window.area()->height());
    }

    void wheelZoomKeepsThePointUnderThePointer_data() {
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("section");
        QTest::newRow("in") << 1 << 2;
        QTest::newRow("out") << -1 << 2;
        QTest::newRow("three in") << 3 << 7;
        QTest::newRow("five out") << -5 << 6;
    }

    void wheelZoomKeepsThePointUnderThePointer() {
        QFETCH(int, notches);
        QFETCH(int, section);
        WindowFixture window;
        window.find<QSlider>("ZoomBar")->setValue(10);
        Lay(window, kOval);
        const QPoint at = window.markerPixel(0, section);
        QVERIFY((at - window.originPixel()).manhattanLength() > 60);
        WheelAt(window, at, 120 * notches);
        QCOMPARE(window.records().view.zoom, 10 + notches);
        const QPoint moved = window.markerPixel(0, section) - at;
        QVERIFY2(qAbs(moved.x()) <= 1 && qAbs(moved.y()) <= 1,
                 qPrintable(QString("moved by %1, %2").arg(moved.x()).arg(moved.y())));
    }

    void zoomToFitShowsTheBoardAndEveryTrack_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("menu item") << false;
        QTest::newRow("Ctrl+0") << true;
    }

    void zoomToFitShowsTheBoardAndEveryTrack() {
        QFETCH(bool, byKey);
        WindowFixture window;
        Lay(window, kOval);
        // A second track far to the right and below, off the area.
        window.trigger("InsertTrackButton");
        window.click(QPoint(window.area()->width() - 20, window.area()->height() - 20));
        window.trigger("RotateEast");
        Lay(window, {kStraight, kStraight, kStraight, kStraight, kStraight});
        if (byKey) {
            QTest::keySequence(&window.form(), QKeySequence(Qt::CTRL | Qt::Key_0));
        } else {
            window.trigger("ZoomToFit1");
        }
        QVERIFY(window.records().view.zoom < 13);
        for (int section = 0; section < static_cast<int>(kOval.size()); ++section) {
            QVERIFY(InOpenView(window, window.markerPixel(0, section)));
        }
        for (int section = 0; section < 5; ++section) {
            QVERIFY(InOpenView(window, window.markerPixel(1, section)));
        }
        // The board's corners, 1 m either side of its middle.
        const QPoint origin = window.originPixel();
        const int half =
            (78.74016 * 128 * lapwerk::ScreenZoomScale(window.records().view.zoom)) / 65536;
        for (const QPoint corner : {QPoint(-half, -half), QPoint(half, half)}) {
            QVERIFY2(InOpenView(window, origin + corner),
                     qPrintable(QString("%1, %2").arg(corner.x()).arg(corner.y())));
        }
        QCOMPARE(window.find<QSlider>("ZoomBar")->value(), window.records().view.zoom);
    }

    void zoomCommandsKeepTheMiddle_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("pan");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("zoomedPan");
        QTest::newRow("in, no pan") << "ZoomIn1" << 0 << 21 << 0;
        QTest::newRow("out, no pan") << "ZoomOut1" << 0 << 19 << 0;
        // From zoom 20: 100 pixels at a scale of 1408 are 104.5 at 1472, 95.5 at 1344 and
        // 118.2 at 1664.
        QTest::newRow("in, panned") << "ZoomIn1" << 100 << 21 << 105;
        QTest::newRow("out, panned") << "ZoomOut1" << 100 << 19 << 95;
        QTest::newRow("the bar, panned") << "bar to 24" << 100 << 24 << 118;
    }

    void zoomCommandsKeepTheMiddle() {
        QFETCH(QString, command);
        QFETCH(int, pan);
        QFETCH(int, zoom);
        QFETCH(int, zoomedPan);
        WindowFixture window;
        window.find<QSlider>("ZoomBar")->setValue(20);
        window.area()->horizontalBar()->setValue(pan);
        window.area()->verticalBar()->setValue(pan);
        QCOMPARE(window.records().view.panX, pan);
        QCOMPARE(window.records().view.panY, pan);
        if (command == "bar to 24") {
            window.find<QSlider>("ZoomBar")->setValue(24);
        } else {
            window.trigger(command.toLatin1().constData());
        }
        QCOMPARE(window.records().view.zoom, zoom);
        QCOMPARE(window.find<QSlider>("ZoomBar")->value(), zoom);
        QCOMPARE(window.records().view.panX, zoomedPan);
        QCOMPARE(window.records().view.panY, zoomedPan);
    }

    void zoomCommandsStopAtTheEnds() {
        WindowFixture window;
        window.find<QSlider>("ZoomBar")->setValue(24);
        QSignalSpy redrawn(window.area(), &lapwerk::DesignArea::redrawn);
        window.trigger("ZoomIn1");
        window.find<QSlider>("ZoomBar")->setValue(1);
        redrawn.clear();
        window.trigger("ZoomOut1");
        QCOMPARE(redrawn.count(), 0);
        QCOMPARE(window.records().view.zoom, 1);
    }

    void zoomBarWithoutPanDrawsAsBefore() {
        // The view as it was drawn before it could pan: model point (0, 0) in the middle.
        WindowFixture window;
        Lay(window, kOval);
        for (const int zoom : {24, 1, 7, 13}) {
            window.find<QSlider>("ZoomBar")->setValue(zoom);
            QCOMPARE(window.originPixel(),
                     QPoint(window.area()->width() / 2, window.area()->height() / 2));
        }
    }

    // Smooth Drawing.

    void smoothDrawingAntialiasesTheView() {
        WindowFixture window;
        QVERIFY(window.action("SmoothDrawing")->isCheckable());
        QVERIFY(!window.action("SmoothDrawing")->isChecked());
        Lay(window, kOval);
        const QImage exact = window.area()->buffer();
        const int steps = window.records().history.undoCount;
        window.trigger("SmoothDrawing");
        const QImage smooth = window.area()->buffer();
        QCOMPARE(smooth.size(), exact.size());
        // Antialiased edges blend the colours of the view into many more.
        QVERIFY2(Colours(smooth).size() > 2 * Colours(exact).size(),
                 qPrintable(QString("%1 and %2 colours")
                                .arg(Colours(smooth).size())
                                .arg(Colours(exact).size())));
        // It is a setting of the view, no undo step; unchecked, the view is exact again.
        QCOMPARE(window.records().history.undoCount, steps);
        window.trigger("SmoothDrawing");
        QCOMPARE(window.area()->buffer(), exact);
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
