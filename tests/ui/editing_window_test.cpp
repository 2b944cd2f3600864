// Editing through the window as a user does it: the part list, the toolbars and menus, clicks
// and keys, and what the panel, the boxes and the lane-length window show afterwards.

#include "window_fixture.h"

#include "cursors.h"
#include "length_form.h"
#include "list_form.h"
#include "part_panel.h"
#include "settings.h"

#include "editing.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>

#include <cstdlib>

using lapwerk::test::Rows;
using lapwerk::test::ShownBox;
using lapwerk::test::WindowFixture;

namespace {

constexpr int kStraight = 0;
constexpr int kHalfStraight = 1;
constexpr int kCurve = 2;

QString Directions(const lapwerk::Track& track) {
    return QString::fromLatin1(track.direction, track.sectionCount);
}

QList<int> Parts(const lapwerk::Track& track) {
    QList<int> parts;
    for (int i = 0; i < track.sectionCount; ++i) {
        parts << track.partIndex[i];
    }
    return parts;
}

// A click placed with the exact half of the area lands within a pixel of where it was made.
bool Near(QPoint a, QPoint b) {
    return std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1;
}

bool SameCursor(const QCursor& a, const QCursor& b) {
    if (a.shape() != b.shape()) {
        return false;
    }
    if (a.shape() != Qt::BitmapCursor) {
        return true;
    }
    return a.bitmap().toImage() == b.bitmap().toImage();
}

} // namespace

class EditingWindowTest : public QObject {
    Q_OBJECT

    /// Lays `count` sections of `part` into the current track by double clicks.
    static void Lay(WindowFixture& window, int part, int count) {
        for (int i = 0; i < count; ++i) {
            window.doubleClickPart(part);
        }
    }

    static void ExpectUndoRedo(WindowFixture& window, bool undo, bool redo) {
        QCOMPARE(window.action("UndoItem")->isEnabled(), undo);
        QCOMPARE(window.action("UndoButton")->isEnabled(), undo);
        QCOMPARE(window.action("RedoItem")->isEnabled(), redo);
        QCOMPARE(window.action("RedoButton")->isEnabled(), redo);
    }

    /// A second track, begun by Insert Track and a click at `at`, with `count` straights.
    static int SecondTrack(WindowFixture& window, QPoint at, int count) {
        window.trigger("InsertTrackButton");
        window.click(at);
        Lay(window, kStraight, count);
        return window.design().currentTrack;
    }

private Q_SLOTS:

    void doubleClickInsertsThePartUnderThePointer() {
        WindowFixture window;
        window.doubleClickPart(kCurve);
        QCOMPARE(Parts(window.current()), QList<int>{kCurve});
        QCOMPARE(window.current().selectedSection, 0);
        QCOMPARE(Rows(window.list("TellerList")), (QStringList{"0", "0", "1", "0"}));
        QCOMPARE(Rows(window.list("OverList")), (QStringList{"4", "", "1", ""}));
        QCOMPARE(window.design().changed, 1);
        ExpectUndoRedo(window, true, false);
    }

    void insKeyInsertsTheSelectedPartWithTheDirection() {
        WindowFixture window;
        window.clickPart(kCurve);
        window.find<QRadioButton>("RightRadio")->click();
        QTest::keyClick(&window.form(), Qt::Key_Insert);
        window.find<QRadioButton>("LeftRadio")->click();
        QTest::keyClick(&window.form(), Qt::Key_Insert);
        QCOMPARE(Parts(window.current()), (QList<int>{kCurve, kCurve}));
        QCOMPARE(Directions(window.current()), QString("RL"));
    }

    void overUsedPartShowsANegativeLeftOver() {
        WindowFixture window;
        Lay(window, kCurve, 3);
        QCOMPARE(Rows(window.list("OverList")).at(kCurve), QString("-1"));
        Lay(window, kHalfStraight, 1);
        QCOMPARE(Rows(window.list("OverList")).at(kHalfStraight), QString("-1"));
    }

    void clickOnAMarkerSelectsSectionAndShowsItsPartAndAngle() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        Lay(window, kHalfStraight, 1);
        window.trigger("RotateWest");
        QCOMPARE(window.find<QSlider>("RotateBar")->value(), 90);
        window.find<QSlider>("RotateBar")->blockSignals(true);
        window.find<QSlider>("RotateBar")->setValue(10);
        window.find<QSlider>("RotateBar")->blockSignals(false);
        window.click(window.markerPixel(0, 1));
        QCOMPARE(window.current().selectedSection, 1);
        QCOMPARE(window.form().partSelection(), kStraight);
        QCOMPARE(window.find<QSlider>("RotateBar")->value(), 90);
        QCOMPARE(window.current().angle, 360);
        window.click(window.markerPixel(0, 2));
        QCOMPARE(window.current().selectedSection, 2);
        QCOMPARE(window.form().partSelection(), kHalfStraight);
        // A selection click is no undo step.
        QCOMPARE(window.records().history.undoCount, 3);
    }

    void clickOnTheBeginPointSelectsNoRow() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        window.click(window.beginPixel(0));
        QCOMPARE(window.current().selectedSection, -1);
        QCOMPARE(window.form().partSelection(), -1);
        // With no part chosen the section commands do nothing.
        const int steps = window.records().history.undoCount;
        window.trigger("InsertSectionButton");
        window.trigger("ChangeSectionButton");
        QCOMPARE(window.current().sectionCount, 2);
        QCOMPARE(window.records().history.undoCount, steps);
    }

    void clickOnEmptyBoardChangesNothing() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        window.click(QPoint(5, 5));
        QCOMPARE(window.current().selectedSection, 1);
        QCOMPARE(window.form().partSelection(), kStraight);
    }

    void navigationButtons_data() {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("selected");
        QTest::newRow("begin") << QStringList{"BeginButton"} << -1;
        QTest::newRow("back") << QStringList{"BackButton"} << 1;
        QTest::newRow("back past the first") << QStringList{"BeginButton", "BackButton"} << -1;
        QTest::newRow("forward at the end") << QStringList{"ForwardButton"} << 2;
        QTest::newRow("begin then forward") << QStringList{"BeginButton", "ForwardButton"} << 0;
        QTest::newRow("end") << QStringList{"BeginButton", "EndButton"} << 2;
    }

    void navigationButtons() {
        QFETCH(QStringList, buttons);
        QFETCH(int, selected);
        WindowFixture window;
        Lay(window, kStraight, 3);
        for (const QString& button : buttons) {
            window.trigger(button.toLatin1().constData());
        }
        QCOMPARE(window.current().selectedSection, selected);
        QCOMPARE(window.records().history.undoCount, 3);
    }

    void deleteAndChangeSection() {
        WindowFixture window;
        Lay(window, kStraight, 3);
        window.trigger("BackButton");
        window.clickPart(kCurve);
        QTest::keyClick(&window.form(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(Parts(window.current()), (QList<int>{kStraight, kCurve, kStraight}));
        QTest::keyClick(&window.form(), Qt::Key_Delete);
        QCOMPARE(Parts(window.current()), (QList<int>{kStraight, kStraight}));
        QCOMPARE(window.current().selectedSection, 0);
        QCOMPARE(Rows(window.list("TellerList")), (QStringList{"2", "0", "0", "0"}));
    }

    void undoAndRedoFollowTheHistory() {
        WindowFixture window;
        Lay(window, kStraight, 3);
        ExpectUndoRedo(window, true, false);
        QTest::keyClick(&window.form(), Qt::Key_Z, Qt::ControlModifier);
        window.trigger("UndoButton");
        QCOMPARE(window.current().sectionCount, 1);
        QCOMPARE(Rows(window.list("TellerList")).at(kStraight), QString("1"));
        ExpectUndoRedo(window, true, true);
        QTest::keyClick(&window.form(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        window.trigger("RedoButton");
        QCOMPARE(window.current().sectionCount, 3);
        ExpectUndoRedo(window, true, false);
        window.trigger("UndoItem");
        window.trigger("UndoItem");
        window.trigger("UndoItem");
        QCOMPARE(window.current().sectionCount, 0);
        QCOMPARE(window.design().changed, 0);
        ExpectUndoRedo(window, false, true);
        // A disabled item's shortcut does nothing.
        QTest::keyClick(&window.form(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.current().sectionCount, 0);
    }

    void insertTrackByModeAndClick() {
        WindowFixture window;
        Lay(window, kStraight, 1);
        window.trigger("InsertTrack1");
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::InsertTrack);
        QCOMPARE(window.area()->cursor().shape(), Qt::CrossCursor);
        const QPoint at(window.area()->width() / 2 - 80, window.area()->height() / 2 + 40);
        window.click(at);
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Select);
        QCOMPARE(window.tracksInUse(), 2);
        QCOMPARE(window.design().currentTrack, 1);
        QVERIFY(Near(window.beginPixel(1), at));
        QCOMPARE(window.current().angle, 720);
        QCOMPARE(Rows(window.form().lengthForm()->trackNrList()),
                 (QStringList{"Track 1", "Track 2"}));
        ExpectUndoRedo(window, true, false);
        window.trigger("UndoItem");
        QCOMPARE(window.tracksInUse(), 1);
    }

    void rightClickMovesTheTrackAndKeepsThePendingMode() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        window.trigger("CopyTrackButton");
        const QPoint to(window.area()->width() / 2 + 60, window.area()->height() / 2 + 30);
        window.click(to, Qt::RightButton);
        QVERIFY(Near(window.beginPixel(0), to));
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Copy);
        QCOMPARE(window.area()->cursor().shape(), Qt::CrossCursor);
        QCOMPARE(window.design().changed, 1);
        QCOMPARE(window.records().history.undoCount, 3);
        window.click(QPoint(to.x() - 100, to.y()));
        QCOMPARE(window.tracksInUse(), 2);
        QCOMPARE(Parts(window.current()), (QList<int>{kStraight, kStraight}));
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Select);
    }

    void mirrorFlipsTheDirections() {
        WindowFixture window;
        window.clickPart(kCurve);
        QTest::keyClick(&window.form(), Qt::Key_Insert);
        window.find<QRadioButton>("RightRadio")->click();
        QTest::keyClick(&window.form(), Qt::Key_Insert);
        window.find<QRadioButton>("LeftRadio")->click();
        QTest::keyClick(&window.form(), Qt::Key_Insert);
        window.trigger("MirrorButton");
        window.click(QPoint(window.area()->width() / 2 - 120, window.area()->height() / 2));
        QCOMPARE(window.design().currentTrack, 1);
        QCOMPARE(Directions(window.current()), QString("RLR"));
        QCOMPARE(Directions(window.design().tracks[0]), QString("LRL"));
        QCOMPARE(Rows(window.list("TellerList")).at(kCurve), QString("6"));
    }

    void splitAtTheSelectedSection() {
        WindowFixture window;
        Lay(window, kStraight, 5);
        window.click(window.markerPixel(0, 2));
        QCOMPARE(window.current().selectedSection, 2);
        window.trigger("SplitTrackButton");
        QCOMPARE(window.tracksInUse(), 2);
        QCOMPARE(window.design().currentTrack, 1);
        QCOMPARE(window.current().sectionCount, 2);
        QCOMPARE(window.current().selectedSection, -1);
        QCOMPARE(window.design().tracks[0].sectionCount, 3);
        QCOMPARE(Rows(window.form().lengthForm()->trackLength1List()),
                 (QStringList{"0.69 m", "0.46 m"}));
        // With no selection a split does nothing and is no undo step.
        const int steps = window.records().history.undoCount;
        window.trigger("SplitTrack1");
        QCOMPARE(window.tracksInUse(), 2);
        QCOMPARE(window.records().history.undoCount, steps);
    }

    void joinAppendsThePickedTrack() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        const QPoint elsewhere(window.area()->width() / 2 - 150, window.area()->height() / 2);
        const int other = SecondTrack(window, elsewhere, 3);
        QCOMPARE(other, 1);
        window.click(window.markerPixel(0, 1));
        QCOMPARE(window.design().currentTrack, 0);
        window.trigger("JoinTrackButton");
        const int steps = window.records().history.undoCount;
        window.click(window.markerPixel(1, 0));
        QVERIFY(window.dialogs().messages.empty());
        QCOMPARE(window.tracksInUse(), 1);
        QCOMPARE(window.design().currentTrack, 0);
        QCOMPARE(window.current().sectionCount, 5);
        QCOMPARE(window.records().history.undoCount, steps + 1);
        QCOMPARE(Rows(window.form().lengthForm()->trackNrList()), QStringList{"Track 1"});
    }

    void joinMessages_data() {
        QTest::addColumn<int>("selectInCurrent");
        QTest::addColumn<int>("pickInOther"); // -2: click the current track itself
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("middle of the current track")
            << 1 << 0
            << "Select FIRST or LAST piece of track to which the other track is to be joined"
            << "FirstLast";
        QTest::newRow("the track itself") << 2 << -2 << "You cannot join track to it self"
                                          << "Same";
        QTest::newRow("middle of the other track")
            << 2 << 1 << "Select FIRST or LAST track piece of track to be joined"
            << "FirstLast";
    }

    void joinMessages() {
        QFETCH(int, selectInCurrent);
        QFETCH(int, pickInOther);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        WindowFixture window;
        Lay(window, kStraight, 3);
        SecondTrack(window, QPoint(window.area()->width() / 2 - 150, window.area()->height() / 2),
                    3);
        window.click(window.markerPixel(0, selectInCurrent));
        window.trigger("JoinTrack1");
        const int steps = window.records().history.undoCount;
        window.click(pickInOther == -2 ? window.markerPixel(0, 0)
                                       : window.markerPixel(1, pickInOther));
        QCOMPARE(window.dialogs().messages, (QList<ShownBox>{{text, caption}}));
        QCOMPARE(window.tracksInUse(), 2);
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Select);
        // The stopped join is still an undo step.
        QCOMPARE(window.records().history.undoCount, steps + 1);
    }

    void joinRefusedForSizeIsNoUndoStep() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        SecondTrack(window, QPoint(window.area()->width() / 2 - 150, window.area()->height() / 2),
                    3);
        lapwerk::Track& first = window.design().tracks[0];
        for (int i = first.sectionCount; i < 1999; ++i) {
            first.partIndex[i] = first.partIndex[0];
            first.direction[i] = 'L';
        }
        first.sectionCount = 1999;
        window.click(window.markerPixel(0, 0));
        QCOMPARE(window.design().currentTrack, 0);
        window.trigger("JoinTrack1");
        const int steps = window.records().history.undoCount;
        window.click(window.markerPixel(1, 0));
        QCOMPARE(
            window.dialogs().messages,
            (QList<ShownBox>{{"The joined track would have more than 2000 sections", "Join"}}));
        QCOMPARE(window.tracksInUse(), 2);
        QCOMPARE(window.design().currentTrack, 0);
        QCOMPARE(window.current().selectedSection, 0);
        QCOMPARE(window.records().history.undoCount, steps);
        // Undo takes back the last edit before the click: the second track's third straight.
        window.trigger("UndoItem");
        QCOMPARE(window.design().tracks[1].sectionCount, 2);
    }

    void groupWithAPickedTrack() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        SecondTrack(window, QPoint(window.area()->width() / 2 - 150, window.area()->height() / 2),
                    2);
        window.trigger("RotateEast");
        window.click(window.markerPixel(0, 0));
        QCOMPARE(window.design().currentTrack, 0);
        window.trigger("GroupTrack");
        window.click(window.markerPixel(1, 0));
        QVERIFY(window.dialogs().messages.empty());
        QCOMPARE(window.design().tracks[0].group, 1);
        QCOMPARE(window.design().tracks[1].group, 1);
        QCOMPARE(window.design().tracks[1].angle, 720);
        // Rotating the current track turns its group with it.
        window.trigger("RotateSouth");
        QCOMPARE(window.design().tracks[1].angle, 0);
        QCOMPARE(window.find<QSlider>("RotateBar")->value(), 0);
        window.find<QSlider>("RotateBar")->setValue(90);
        QCOMPARE(window.design().tracks[0].angle, 360);
        QCOMPARE(window.design().tracks[1].angle, 360);
        window.trigger("UngroupTrack1");
        QCOMPARE(window.design().tracks[0].group, 0);
        QCOMPARE(window.design().tracks[1].group, 0);
    }

    void groupOnEmptyBoardShowsAMessageAndEndsTheMode() {
        WindowFixture window;
        Lay(window, kStraight, 1);
        window.trigger("GroupTrack1");
        window.click(QPoint(4, 4));
        QCOMPARE(window.dialogs().messages,
                 (QList<ShownBox>{{"You cannot group track with it self", "Same"}}));
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Select);
        QCOMPARE(window.current().group, 0);
    }

    void deleteTrackLowersTheCounts() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        SecondTrack(window, QPoint(window.area()->width() / 2 - 150, window.area()->height() / 2),
                    1);
        QCOMPARE(Rows(window.list("TellerList")).at(kStraight), QString("3"));
        window.trigger("DeleteTrackButton");
        QCOMPARE(window.tracksInUse(), 1);
        QCOMPARE(window.design().currentTrack, 0);
        QCOMPARE(Rows(window.list("TellerList")).at(kStraight), QString("2"));
    }

    void selectButtonCancelsThePendingMode() {
        WindowFixture window;
        window.trigger("InsertTrackButton");
        window.trigger("SelecteerButton");
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Select);
        QCOMPARE(window.area()->cursor().shape(), Qt::ArrowCursor);
        window.click(QPoint(20, 20));
        QCOMPARE(window.tracksInUse(), 1);
    }

    void cursorShowsTheCurveDirection() {
        WindowFixture window;
        window.clickPart(kCurve);
        window.find<QRadioButton>("RightRadio")->click();
        QVERIFY(SameCursor(window.area()->cursor(),
                           lapwerk::CurveCursor(lapwerk::CurveCursorSide::Right)));
        QTest::keyClicks(window.list("DeelList"), "1");
        QVERIFY(window.find<QRadioButton>("LeftRadio")->isChecked());
        QVERIFY(SameCursor(window.area()->cursor(),
                           lapwerk::CurveCursor(lapwerk::CurveCursorSide::Left)));
        window.clickPart(kStraight);
        QCOMPARE(window.area()->cursor().shape(), Qt::ArrowCursor);
    }

    void directionKeyDuringAPendingModeKeepsTheCrosshair() {
        WindowFixture window;
        window.clickPart(kCurve);
        window.trigger("MirrorTrack1");
        QTest::keyClicks(window.list("DeelList"), "2");
        QVERIFY(window.find<QRadioButton>("RightRadio")->isChecked());
        QCOMPARE(window.area()->cursor().shape(), Qt::CrossCursor);
    }

    void curveCursorsBendTheirOwnWay() {
        const QImage left = lapwerk::CurveCursorPixels(lapwerk::CurveCursorSide::Left);
        const QImage right = lapwerk::CurveCursorPixels(lapwerk::CurveCursorSide::Right);
        QCOMPARE(left.size(), QSize(32, 32));
        QVERIFY(left != right);
        // The pointer's tip is the top-left pixel; the small arrow lies below-right of it.
        QVERIFY(left.pixelIndex(0, 0) != 0);
        auto inkColumns = [](const QImage& image) {
            int sum = 0, count = 0;
            for (int y = 20; y < 32; ++y) {
                for (int x = 12; x < 32; ++x) {
                    if (image.pixelIndex(x, y) == 2) {
                        sum += x;
                        ++count;
                    }
                }
            }
            return count == 0 ? 0 : sum / count;
        };
        QVERIFY(inkColumns(left) > 12);
        QVERIFY(inkColumns(right) > 12);
        QCOMPARE(lapwerk::CurveCursor(lapwerk::CurveCursorSide::Left).hotSpot(), QPoint(0, 0));
    }

    void viewTogglesCopyIntoTheDesign_data() {
        QTest::addColumn<QString>("item");
        QTest::newRow("Segments") << "Segments";
        QTest::newRow("Filled In") << "FilledIn";
        QTest::newRow("Ruler") << "Ruler";
        QTest::newRow("Grid") << "Grid";
    }

    void viewTogglesCopyIntoTheDesign() {
        QFETCH(QString, item);
        WindowFixture window;
        auto flag = [&]() -> int {
            const lapwerk::Design& d = window.design();
            return item == "Segments"   ? d.segments
                   : item == "FilledIn" ? d.filledIn
                   : item == "Ruler"    ? d.ruler
                                        : d.grid;
        };
        const QImage before = window.area()->buffer().copy();
        window.trigger(item.toLatin1().constData());
        QVERIFY(!window.action(item.toLatin1().constData())->isChecked());
        QCOMPARE(flag(), 0);
        QCOMPARE(window.design().changed, 0);
        QVERIFY(!window.action("UndoItem")->isEnabled());
        if (item == "Ruler" || item == "Grid") {
            QVERIFY(window.area()->buffer() != before);
        }
        window.trigger(item.toLatin1().constData());
        QCOMPARE(flag(), 1);
    }

    void undoRestoresAToggleButNotItsCheckMark() {
        WindowFixture window;
        Lay(window, kStraight, 1);
        window.trigger("Grid");
        Lay(window, kStraight, 1);
        window.trigger("UndoItem");
        QCOMPARE(window.design().grid, 1);
        QVERIFY(!window.action("Grid")->isChecked());
        window.trigger("Grid");
        QCOMPARE(window.design().grid, 1);
        QVERIFY(window.action("Grid")->isChecked());
    }

    void laneLengthsInBothUnits() {
        WindowFixture window;
        Lay(window, kStraight, 1);
        window.clickPart(kCurve);
        QTest::keyClick(&window.form(), Qt::Key_Insert);
        lapwerk::TLengthForm* lengths = window.form().lengthForm();
        // 9 + 10 and 9 + 12 inches.
        QCOMPARE(Rows(lengths->trackLength1List()), QStringList{"0.48 m"});
        QCOMPARE(Rows(lengths->trackLength2List()), QStringList{"0.53 m"});
        window.trigger("Metric");
        QCOMPARE(Rows(lengths->trackLength1List()), QStringList{"19.00 '"});
        QCOMPARE(Rows(lengths->trackLength2List()), QStringList{"21.00 '"});
        QCOMPARE(window.find<QLineEdit>("Xboard")->text(), QString("78.74"));
        window.trigger("Metric");
        QCOMPARE(window.find<QLineEdit>("Xboard")->text(), QString(" 2.00"));

        // Long lanes widen the lists and the window, so that every figure shows whole; short
        // ones keep the window's first size.
        QCOMPARE(lengths->size(),
                 QSize(lapwerk::TLengthForm::kClientWidth, lapwerk::TLengthForm::kClientHeight));
        lengths->showRows({{"Track 1"}, {"12733.73 m"}, {"12734.50 m"}});
        for (QListWidget* list : {lengths->trackLength1List(), lengths->trackLength2List()}) {
            QVERIFY(list->fontMetrics().horizontalAdvance(list->item(0)->text()) <
                    list->viewport()->width());
            QVERIFY(lengths->rect().contains(list->geometry()));
        }
        QVERIFY(lengths->width() > lapwerk::TLengthForm::kClientWidth);
    }

    void boardSizeTypedAndLeft_data() {
        QTest::addColumn<bool>("metric");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("inches");
        QTest::addColumn<QString>("shown");
        QTest::newRow("metres") << true << "3" << 118.11024f << " 3.00";
        QTest::newRow("inches") << false << "2" << 2.0f << " 2.00";
    }

    void boardSizeTypedAndLeft() {
        QFETCH(bool, metric);
        QFETCH(QString, typed);
        QFETCH(float, inches);
        QFETCH(QString, shown);
        WindowFixture window;
        if (!metric) {
            window.trigger("Metric");
        }
        auto* box = window.find<QLineEdit>("Xboard");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        window.find<QLineEdit>("Yboard")->setFocus();
        QCOMPARE(window.design().boardX, inches);
        QCOMPARE(box->text(), shown);
        QCOMPARE(window.design().changed, 0);
        QVERIFY(window.action("UndoItem")->isEnabled());
    }

    void directionKeysTypedIntoABoardBox() {
        WindowFixture window;
        auto* box = window.find<QLineEdit>("Yboard");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "12.5");
        QVERIFY(window.find<QRadioButton>("LeftRadio")->isChecked());
        QCOMPARE(box->text(), QString("12.5"));
        window.find<QRadioButton>("RightRadio")->click();
        QTest::keyClicks(box, "1");
        QVERIFY(window.find<QRadioButton>("RightRadio")->isChecked());
        QCOMPARE(box->text(), QString("12.51"));
        // Outside a text box the keys choose the direction.
        window.click(QPoint(5, 5));
        QTest::keyClicks(QApplication::focusWidget(), "1");
        QVERIFY(window.find<QRadioButton>("LeftRadio")->isChecked());
    }

    void typedBoardSizeIsTakenByAClickThatTakesTheFocus_data() {
        QTest::addColumn<bool>("onTheBoard"); // else in the part list
        QTest::newRow("click on the board") << true;
        QTest::newRow("click in the part list") << false;
    }

    void typedBoardSizeIsTakenByAClickThatTakesTheFocus() {
        QFETCH(bool, onTheBoard);
        WindowFixture window;
        Lay(window, kStraight, 2);
        const int steps = window.records().history.undoCount;
        auto* box = window.find<QLineEdit>("Xboard");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "3");
        if (onTheBoard) {
            window.click(window.markerPixel(0, 0));
            QCOMPARE(QApplication::focusWidget(), window.area());
            QCOMPARE(window.current().selectedSection, 0);
        } else {
            window.clickPart(kCurve);
            QCOMPARE(QApplication::focusWidget(), window.list("DeelList"));
        }
        QCOMPARE(window.design().boardX, 118.11024f);
        QCOMPARE(box->text(), QString(" 3.00"));
        QCOMPARE(window.records().history.undoCount, steps + 1);

        // The editing keys now act on the design, not on the box's text.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        QCOMPARE(window.current().sectionCount, 1);
        QCOMPARE(box->text(), QString(" 3.00"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.current().sectionCount, 2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.design().boardX, 78.74016f);
        QCOMPARE(box->text(), QString(" 2.00"));
    }

    void boardSizeTakenOnReturnOncePerChange() {
        WindowFixture window;
        auto* box = window.find<QLineEdit>("Yboard");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "1.5");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(window.design().boardY, 59.055119f);
        QCOMPARE(box->text(), QString(" 1.50"));
        QCOMPARE(window.records().history.undoCount, 1);
        // The same size again, or the box left as it shows, is no new undo step.
        box->selectAll();
        QTest::keyClicks(box, "1.50");
        QTest::keyClick(box, Qt::Key_Return);
        window.click(QPoint(5, 5));
        QCOMPARE(window.records().history.undoCount, 1);
        QCOMPARE(box->text(), QString(" 1.50"));
    }

    void boardSizeThatIsNoSizeIsRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << "";
        QTest::newRow("no number") << "abc";
        QTest::newRow("negative") << "-1";
        QTest::newRow("zero") << "0";
        QTest::newRow("beyond a float") << "1e40";
        QTest::newRow("a number and more") << "2 m";
    }

    void boardSizeThatIsNoSizeIsRefused() {
        QFETCH(QString, typed);
        WindowFixture window;
        auto* box = window.find<QLineEdit>("Xboard");
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, typed);
        window.click(QPoint(5, 5));
        QCOMPARE(window.design().boardX, 78.74016f);
        QCOMPARE(box->text(), QString(" 2.00"));
        QVERIFY(!window.action("UndoItem")->isEnabled());
        QCOMPARE(window.form().statusBar()->currentMessage(),
                 QStringLiteral("The board size \"%1\" was not taken: type a number above 0, in "
                                "metres.")
                     .arg(typed));
        QVERIFY(window.dialogs().messages.isEmpty());
        // Nothing of it reaches the settings either.
        window.quit();
        QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                        QString::fromLatin1(lapwerk::kSettingsName));
        const std::optional<double> stored = lapwerk::BoardSizeFromSetting(store.value("Xboard"));
        QVERIFY(stored.has_value());
        QCOMPARE(static_cast<float>(*stored), 78.74016f);
    }

    void refusedEditsSayWhy_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("partChosen");
        QTest::addColumn<QString>("note");
        const QString noPart =
            QStringLiteral("No part is chosen in the part list; choose the part to lay first.");
        QTest::newRow("insert with no part") << "InsertTrackSection1" << false << noPart;
        QTest::newRow("change with no part") << "ChangeTrackSection1" << false << noPart;
        QTest::newRow("split after the last section")
            << "SplitTrack1" << true
            << "Select the section after which the track is to be split; it must not be the "
               "track's last section.";
    }

    void refusedEditsSayWhy() {
        QFETCH(QString, command);
        QFETCH(bool, partChosen);
        QFETCH(QString, note);
        WindowFixture window;
        Lay(window, kStraight, 2);
        if (!partChosen) {
            window.list("DeelList")->clearSelection();
        }
        const QByteArray before = window.savedForm();
        const int steps = window.records().history.undoCount;
        window.trigger(command.toLatin1().constData());
        QCOMPARE(window.savedForm(), before);
        QCOMPARE(window.records().history.undoCount, steps);
        QCOMPARE(window.form().statusBar()->currentMessage(), note);
        QVERIFY(window.dialogs().messages.isEmpty());
        // The next edit that goes through takes the note away.
        window.clickPart(kStraight);
        window.trigger("InsertTrackSection1");
        QCOMPARE(window.form().statusBar()->currentMessage(), QString());
    }

    void fullTrackSaysWhy() {
        WindowFixture window;
        for (int i = 0; i < lapwerk::kMaxSections; ++i) {
            QVERIFY(lapwerk::InsertSection(window.design(), window.records().library, kCurve, 'L'));
        }
        window.trigger("EndButton");
        const QByteArray before = window.savedForm();
        window.doubleClickPart(kStraight);
        QCOMPARE(window.current().sectionCount, lapwerk::kMaxSections);
        QCOMPARE(window.savedForm(), before);
        QVERIFY(!window.action("UndoItem")->isEnabled());
        QCOMPARE(window.form().statusBar()->currentMessage(),
                 QStringLiteral("The track holds 2000 sections, the most a track can hold, so no "
                                "section was inserted."));
    }

    void shortcutsWorkFromTheOtherWindows() {
        WindowFixture window;
        window.trigger("TrackLength1");
        QWidget* lengths = window.form().lengthForm();
        lengths->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(lengths));
        QTest::keyClick(lengths, Qt::Key_F12);
        QWidget* list = window.form().listForm();
        QVERIFY(list->isVisible());
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list));
        QTest::keyClick(list, Qt::Key_Insert);
        QCOMPARE(window.current().sectionCount, 1);
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.current().sectionCount, 0);
    }

    void zoomBarRedrawsAtTheNewScale() {
        WindowFixture window;
        Lay(window, kStraight, 1);
        const QImage before = window.area()->buffer().copy();
        window.find<QSlider>("ZoomBar")->setValue(24);
        QCOMPARE(window.design().zoom, 24);
        QCOMPARE(window.records().view.walk.zoomScale, 64 * 24 + 128);
        QVERIFY(window.area()->buffer() != before);
        QCOMPARE(window.records().history.undoCount, 1);
    }

    // In the design view the keys step along the track, choose the track, turn and move it;
    // in a board box the same keys edit the text.
    void designViewKeys() {
        WindowFixture window;
        Lay(window, kStraight, 3);
        const int second = SecondTrack(window, QPoint(60, 60), 1);
        window.area()->setFocus();
        QVERIFY(window.area()->hasFocus());
        const auto press = [&window](QWidget* target, Qt::Key key,
                                     Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(target, key, modifiers);
            return std::pair(window.design().currentTrack, window.current().selectedSection);
        };
        QWidget* view = window.area();
        QCOMPARE(press(view, Qt::Key_PageDown), std::pair(0, 2)); // round to the first track
        QCOMPARE(press(view, Qt::Key_Home), std::pair(0, -1));
        QCOMPARE(press(view, Qt::Key_Right), std::pair(0, 0));
        QCOMPARE(press(view, Qt::Key_End), std::pair(0, 2));
        QCOMPARE(press(view, Qt::Key_Left), std::pair(0, 1));
        QCOMPARE(press(view, Qt::Key_PageUp), std::pair(second, 0));

        QCOMPARE(window.current().angle, 720);
        press(view, Qt::Key_BracketRight);
        QCOMPARE(window.current().angle, 724);
        press(view, Qt::Key_BracketLeft);
        press(view, Qt::Key_BracketLeft);
        QCOMPARE(window.current().angle, 716);

        // 10 cm, the grid's step, is 1008 units of 1/256 inch.
        const lapwerk::Track before = window.current();
        const int undoSteps = window.records().history.undoCount;
        press(view, Qt::Key_Right, Qt::ControlModifier);
        press(view, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(window.current().beginX, before.beginX + 1008);
        QCOMPARE(window.current().beginY, before.beginY - 1008);
        QCOMPARE(window.records().history.undoCount, undoSteps + 2);

        auto* box = window.find<QLineEdit>("Xboard");
        box->setFocus();
        box->setCursorPosition(2);
        QCOMPARE(press(box, Qt::Key_Home), std::pair(second, 0));
        QCOMPARE(box->cursorPosition(), 0);
        QCOMPARE(press(box, Qt::Key_PageDown), std::pair(second, 0));
    }

    // After a command the keys act on the design, not in the board box that had the focus; a
    // size typed there and not yet taken (nor written over by a redraw) stays in its box.
    void commandsLeaveTheBoardBoxesButNotATypedSize() {
        WindowFixture window;
        auto* box = window.find<QLineEdit>("Xboard");
        const float width = window.design().boardX;
        box->setFocus();
        window.trigger("ZoomIn1");
        QCOMPARE(window.form().focusWidget(), window.area());
        box->setFocus();
        QTest::keyClicks(box, "3");
        window.trigger("Tracklist1"); // a command that does not redraw the boxes
        QCOMPARE(window.form().focusWidget(), box);
        QVERIFY(box->text().endsWith("3"));
        QCOMPARE(window.design().boardX, width);
    }

    void rotationIsNoUndoStepOfItsOwn() {
        WindowFixture window;
        Lay(window, kStraight, 2);
        window.find<QSlider>("RotateBar")->setValue(45);
        QCOMPARE(window.current().angle, 180);
        QTest::keyClick(&window.form(), Qt::Key_Delete);
        window.trigger("UndoItem");
        QCOMPARE(window.current().sectionCount, 2);
        QCOMPARE(window.current().angle, 720);
    }
};

QTEST_MAIN(EditingWindowTest)
#include "editing_window_test.moc"
