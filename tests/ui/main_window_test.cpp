// The main window as it opens: menus, toolbars, panel, lane-length window and start-up state.

#include "window_fixture.h"

#include "length_form.h"
#include "part_panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

using lapwerk::test::Rows;
using lapwerk::test::WindowFixture;

class MainWindowTest : public QObject {
    Q_OBJECT

    static QStringList MenuItems(QMenu* menu) {
        QStringList items;
        for (QAction* item : menu->actions()) {
            items << (item->isSeparator() ? QString("-") : item->text());
        }
        return items;
    }

private Q_SLOTS:

    void opensAtItsDesignedSize() {
        WindowFixture window(WindowFixture::Show::No);
        QCOMPARE(window.form().size(), QSize(600, 458));
        QCOMPARE(window.form().windowTitle(), QString("untitled.tr2 - Lapwerk V2.1"));
    }

    void menuItemsInOrder_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << "&File"
                              << QStringList{"&New",
                                             "&Open...",
                                             "Import .trk...",
                                             "&Save",
                                             "Save &As...",
                                             "Recent Designs",
                                             "-",
                                             "Page S&etup...",
                                             "&Print Design",
                                             "Print &Tracklist",
                                             "Export Image...",
                                             "-",
                                             "&Exit"};
        QTest::newRow("Edit") << "&Edit"
                              << QStringList{"Undo",
                                             "Redo",
                                             "-",
                                             "I&nsert Track",
                                             "D&elete Track",
                                             "&Join Track",
                                             "&Split Track",
                                             "C&opy Track",
                                             "&Mirror Track",
                                             "-",
                                             "&Insert Track Section",
                                             "&Delete Track Section",
                                             "&Change Track Section",
                                             "-",
                                             "&Group Track",
                                             "&Ungroup Track",
                                             "-",
                                             "Close Track..."};
        QTest::newRow("Options") << "&Options"
                                 << QStringList{"&Metric", "&Segments", "&Filled In", "Ruler",
                                                "Grid"};
        QTest::newRow("Window") << "&Window" << QStringList{"&Track section list", "Track Length"};
        QTest::newRow("Help") << "&Help" << QStringList{"&Help Topics", "-", "&About"};
    }

    void menuItemsInOrder() {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        WindowFixture window(WindowFixture::Show::No);
        QMenu* found = nullptr;
        for (QAction* entry : window.form().menuBar()->actions()) {
            if (entry->text() == menu) {
                found = entry->menu();
            }
        }
        QVERIFY(found != nullptr);
        QCOMPARE(MenuItems(found), items);
    }

    void menuBarOrder() {
        WindowFixture window(WindowFixture::Show::No);
        QStringList menus;
        for (QAction* entry : window.form().menuBar()->actions()) {
            menus << entry->text();
        }
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Options", "&Window", "&Help"}));
    }

    void shortcuts_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::newRow("Undo") << "UndoItem" << QKeySequence(Qt::CTRL | Qt::Key_Z);
        QTest::newRow("Redo") << "RedoItem" << QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z);
        QTest::newRow("Insert section") << "InsertTrackSection1" << QKeySequence(Qt::Key_Insert);
        QTest::newRow("Delete section") << "DeleteTrackSection1" << QKeySequence(Qt::Key_Delete);
        QTest::newRow("Change section")
            << "ChangeTrackSection1" << QKeySequence(Qt::CTRL | Qt::Key_D);
        QTest::newRow("Section list") << "Tracklist1" << QKeySequence(Qt::Key_F12);
        QTest::newRow("Lane lengths") << "TrackLength1" << QKeySequence(Qt::Key_F11);
        QTest::newRow("Close track") << "CloseTrack1" << QKeySequence(Qt::CTRL | Qt::Key_L);
        QTest::newRow("New has none") << "New1" << QKeySequence();
    }

    void shortcuts() {
        QFETCH(QString, item);
        QFETCH(QKeySequence, shortcut);
        WindowFixture window(WindowFixture::Show::No);
        QCOMPARE(window.action(item.toLatin1().constData())->shortcut(), shortcut);
    }

    void optionsAreCheckedAtFirstStart() {
        WindowFixture window(WindowFixture::Show::No);
        for (const char* name : {"Metric", "Segments", "FilledIn", "Ruler", "Grid"}) {
            QAction* item = window.action(name);
            QVERIFY2(item->isCheckable() && item->isChecked(), name);
        }
        QCOMPARE(window.design().segments, 1);
        QCOMPARE(window.design().filledIn, 1);
        QCOMPARE(window.design().ruler, 1);
        QCOMPARE(window.design().grid, 1);
    }

    void toolbars_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("area");
        QTest::addColumn<QStringList>("items");
        const int top = Qt::TopToolBarArea;
        const int left = Qt::LeftToolBarArea;
        QTest::newRow("File") << "FileDock"
                              << "File"
                              << "File toolbar" << top
                              << QStringList{"NewButton",   "OpenButton", "SaveButton",      "-",
                                             "PrintButton", "-",          "SelecteerButton", "-",
                                             "UndoButton",  "RedoButton"};
        QTest::newRow("Navigate") << "NavigateDock"
                                  << "Navigate"
                                  << "Navigation toolbar" << top
                                  << QStringList{"BeginButton", "BackButton", "ForwardButton",
                                                 "EndButton"};
        QTest::newRow("Curve") << "CurveDock"
                               << "Curve Direction"
                               << "Curve direction" << top
                               << QStringList{"LeftRadio", "RightRadio"};
        QTest::newRow("Speed") << "SpeedDock"
                               << "SpeedDock"
                               << "Speed Rotate toolbar" << top
                               << QStringList{"RotateWest", "RotateNorth", "RotateEast",
                                              "RotateSouth"};
        QTest::newRow("Zoom") << "ZoomDock"
                              << "Zoom Track Design"
                              << "Zoom toolbar" << top << QStringList{"ZoomBar"};
        QTest::newRow("Rotate") << "RotateDock"
                                << "Rotate Track"
                                << "Rotate toolbar" << top << QStringList{"RotateBar"};
        QTest::newRow("Board") << "BoardDock"
                               << "Size of Board"
                               << "Size of Board" << top
                               << QStringList{"Xboard", "BoardTimesLabel", "Yboard"};
        QTest::newRow("Section") << "SectionDock"
                                 << "Track Sections"
                                 << "Track section toolbar" << left
                                 << QStringList{"InsertSectionButton", "DeleteSectionButton",
                                                "ChangeSectionButton"};
        QTest::newRow("Track") << "TrackDock"
                               << "Tracks"
                               << "Track toolbar" << left
                               << QStringList{"InsertTrackButton",
                                              "DeleteTrackButton",
                                              "CopyTrackButton",
                                              "MirrorButton",
                                              "-",
                                              "JoinTrackButton",
                                              "SplitTrackButton",
                                              "-",
                                              "GroupTrack",
                                              "UngroupTrack",
                                              "-",
                                              "CloseTrackButton"};
    }

    void toolbars() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(int, area);
        QFETCH(QStringList, items);
        WindowFixture window(WindowFixture::Show::No);
        auto* dock = window.find<QToolBar>(name.toLatin1().constData());
        QCOMPARE(dock->windowTitle(), caption);
        QCOMPARE(dock->toolTip(), hint);
        QCOMPARE(static_cast<int>(window.form().toolBarArea(dock)), area);
        QVERIFY(dock->isMovable());
        QVERIFY(dock->isFloatable());
        QStringList found;
        for (QAction* item : dock->actions()) {
            if (item->isSeparator()) {
                found << "-";
            } else if (QWidget* widget = dock->widgetForAction(item)) {
                found << widget->objectName();
            }
        }
        QCOMPARE(found, items);
    }

    void topToolbarsInTwoRows() {
        WindowFixture window(WindowFixture::Show::No);
        QVERIFY(window.form().toolBarBreak(window.find<QToolBar>("ZoomDock")));
        for (const char* name :
             {"NavigateDock", "CurveDock", "SpeedDock", "RotateDock", "BoardDock"}) {
            QVERIFY2(!window.form().toolBarBreak(window.find<QToolBar>(name)), name);
        }
    }

    void buttonHints_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint");
        QTest::newRow("New") << "NewButton"
                             << "New Track Design";
        QTest::newRow("Select") << "SelecteerButton"
                                << "Go into select mode";
        QTest::newRow("End") << "EndButton"
                             << "Goto End";
        QTest::newRow("West") << "RotateWest"
                              << "Rotate selected Track West";
        QTest::newRow("Change") << "ChangeSectionButton"
                                << "Change Selected Track Section";
        QTest::newRow("Ungroup") << "UngroupTrack"
                                 << "UnGroup selected Track";
        QTest::newRow("Close track") << "CloseTrackButton"
                                     << "Close selected Track";
        QTest::newRow("Left") << "LeftRadio"
                              << "Shortcut key = '1'";
        QTest::newRow("Right") << "RightRadio"
                               << "Shortcut key = '2'";
        QTest::newRow("Zoom") << "ZoomBar"
                              << "Zoom Track Design";
        QTest::newRow("X board") << "Xboard"
                                 << "X size of board";
    }

    void buttonHints() {
        QFETCH(QString, button);
        QFETCH(QString, hint);
        WindowFixture window(WindowFixture::Show::No);
        QCOMPARE(window.find<QWidget>(button.toLatin1().constData())->toolTip(), hint);
    }

    void menuItemAndButtonShareOneAction_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("shared");
        QTest::newRow("New") << "New1"
                             << "NewButton" << true;
        QTest::newRow("Print") << "Print1"
                               << "PrintButton" << true;
        QTest::newRow("Insert track") << "InsertTrack1"
                                      << "InsertTrackButton" << true;
        QTest::newRow("Delete section") << "DeleteTrackSection1"
                                        << "DeleteSectionButton" << true;
        QTest::newRow("Ungroup") << "UngroupTrack1"
                                 << "UngroupTrack" << true;
        QTest::newRow("Close track") << "CloseTrack1"
                                     << "CloseTrackButton" << true;
        // A button without a hint would show the item's caption as its tool tip.
        QTest::newRow("Undo") << "UndoItem"
                              << "UndoButton" << false;
        QTest::newRow("Redo") << "RedoItem"
                              << "RedoButton" << false;
    }

    void menuItemAndButtonShareOneAction() {
        QFETCH(QString, item);
        QFETCH(QString, button);
        QFETCH(bool, shared);
        WindowFixture window(WindowFixture::Show::No);
        QAction* itemAction = window.action(item.toLatin1().constData());
        auto* tool = window.find<QToolButton>(button.toLatin1().constData());
        QCOMPARE(tool->defaultAction() == itemAction, shared);
        // The menu shows no icon, and makes no room for one.
        QVERIFY(itemAction->icon().isNull());
        QVERIFY(!tool->icon().isNull());
    }

    void everyButtonHasAnIcon() {
        WindowFixture window(WindowFixture::Show::No);
        for (QToolButton* button : window.form().findChildren<QToolButton*>()) {
            if (button->defaultAction() != nullptr && !button->objectName().isEmpty()) {
                QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
            }
        }
    }

    void undoIconHasAVisibleDisabledForm() {
        WindowFixture window(WindowFixture::Show::No);
        const QIcon icon = window.action("UndoButton")->icon();
        const QImage normal = icon.pixmap(16, QIcon::Normal).toImage();
        const QImage disabled = icon.pixmap(16, QIcon::Disabled).toImage();
        QVERIFY(normal != disabled);
        bool anyPainted = false;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QRgb pixel = disabled.pixel(x, y);
                if (qAlpha(pixel) > 0) {
                    anyPainted = true;
                    QCOMPARE(qRed(pixel), qBlue(pixel));
                }
            }
        }
        QVERIFY(anyPainted);
    }

    void controlsStartAsDesigned() {
        WindowFixture window(WindowFixture::Show::No);
        QVERIFY(window.find<QRadioButton>("LeftRadio")->isChecked());
        QVERIFY(!window.find<QRadioButton>("RightRadio")->isChecked());
        auto* zoom = window.find<QSlider>("ZoomBar");
        QCOMPARE(zoom->minimum(), 1);
        QCOMPARE(zoom->maximum(), 24);
        QCOMPARE(zoom->value(), 13);
        QCOMPARE(zoom->tickInterval(), 1);
        auto* rotate = window.find<QSlider>("RotateBar");
        QCOMPARE(rotate->minimum(), 0);
        QCOMPARE(rotate->maximum(), 359);
        QCOMPARE(rotate->value(), 180);
        QCOMPARE(rotate->tickInterval(), 15);
        for (const char* name : {"Xboard", "Yboard"}) {
            QCOMPARE(window.find<QLineEdit>(name)->width(), 50);
        }
        QCOMPARE(window.find<QLabel>("BoardTimesLabel")->text(), QString("x"));
        QCOMPARE(window.form().editMode(), lapwerk::EditMode::Select);
    }

    void boardBoxesShowTheBoardAfterTheFirstPass() {
        WindowFixture window;
        QCOMPARE(window.find<QLineEdit>("Xboard")->text(), QString(" 2.00"));
        QCOMPARE(window.find<QLineEdit>("Yboard")->text(), QString(" 2.00"));
        QCOMPARE(window.design().boardX, 78.74016f);
    }

    void undoAndRedoStartDisabled() {
        WindowFixture window(WindowFixture::Show::No);
        for (const char* name : {"UndoItem", "UndoButton", "RedoItem", "RedoButton"}) {
            QVERIFY2(!window.action(name)->isEnabled(), name);
        }
    }

    void startsWithOneEmptyTrack() {
        WindowFixture window(WindowFixture::Show::No);
        QCOMPARE(window.tracksInUse(), 1);
        QCOMPARE(window.design().currentTrack, 0);
        QCOMPARE(window.current().sectionCount, 0);
        QCOMPARE(window.design().changed, 0);
        QCOMPARE(QString(window.design().fileName), QString("untitled.tr2"));
    }

    void partListFilledWithFirstRowSelected() {
        WindowFixture window(WindowFixture::Show::No);
        QCOMPARE(Rows(window.list("DeelList")), (QStringList{"S9\tStraight 9", "S4\tStraight 4.5",
                                                             "C45\tCurve 45", "LC\tLane change"}));
        QCOMPARE(window.form().partSelection(), 0);
        QCOMPARE(Rows(window.list("TellerList")), (QStringList{"0", "0", "0", "0"}));
        QCOMPARE(Rows(window.list("OverList")), (QStringList{"4", "", "2", ""}));
    }

    void panelLayout_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("accessible");
        QTest::newRow("parts") << "DeelList" << QRect(8, 8, 145, 345) << "Part list";
        QTest::newRow("used") << "TellerList" << QRect(152, 8, 25, 345) << "Used count";
        QTest::newRow("left over") << "OverList" << QRect(176, 8, 30, 345) << "Left-over count";
    }

    void panelLayout() {
        QFETCH(QString, list);
        QFETCH(QRect, geometry);
        QFETCH(QString, accessible);
        WindowFixture window;
        QListWidget* widget = window.list(list.toLatin1().constData());
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->accessibleName(), accessible);
        QCOMPARE(widget->visualItemRect(widget->item(0)).height(), 13);
        QCOMPARE(window.form().mainPanel()->width(), 216);
    }

    void countListsTakeNoFocusOrSelection() {
        WindowFixture window(WindowFixture::Show::No);
        for (const char* name : {"TellerList", "OverList"}) {
            QListWidget* list = window.list(name);
            QCOMPARE(list->focusPolicy(), Qt::NoFocus);
            QCOMPARE(list->selectionMode(), QAbstractItemView::NoSelection);
        }
    }

    void drawingAreaSitsLeftOfThePanel() {
        WindowFixture window;
        lapwerk::DesignArea* area = window.area();
        QCOMPARE(area->accessibleName(), QString("Design view"));
        const QPoint areaRight = area->mapTo(&window.form(), QPoint(area->width(), 0));
        const QPoint panelLeft = window.form().mainPanel()->mapTo(&window.form(), QPoint(0, 0));
        QCOMPARE(areaRight.x(), panelLeft.x());
        QCOMPARE(window.records().view.areaWidth, area->width());
        QCOMPARE(window.records().view.areaHeight, area->height());
        // The first pass has drawn the white area with the board outline in dark green.
        const QImage& buffer = area->buffer();
        QCOMPARE(buffer.size(), area->size());
        bool darkGreen = false;
        for (int x = 0; x < buffer.width() && !darkGreen; ++x) {
            darkGreen = buffer.pixel(x, buffer.height() / 2) == qRgb(0, 128, 0);
        }
        QVERIFY(darkGreen);
    }

    void drawingAreaRedrawsAfterAResize() {
        WindowFixture window;
        window.form().resize(700, 520);
        QTRY_COMPARE(window.area()->buffer().size(), window.area()->size());
        QCOMPARE(window.records().view.areaWidth, window.area()->width());
        const QImage& buffer = window.area()->buffer();
        bool darkGreen = false;
        for (int x = 0; x < buffer.width() && !darkGreen; ++x) {
            darkGreen = buffer.pixel(x, buffer.height() / 2) == qRgb(0, 128, 0);
        }
        QVERIFY(darkGreen);
    }

    void lengthWindowShownByF11() {
        WindowFixture window;
        lapwerk::TLengthForm* lengths = window.form().lengthForm();
        QVERIFY(!lengths->isVisible());
        QCOMPARE(lengths->windowTitle(), QString("Track Lengths"));
        QCOMPARE(lengths->size(), QSize(175, 239));
        QVERIFY(lengths->windowFlags() & Qt::WindowStaysOnTopHint);
        QTest::keyClick(&window.form(), Qt::Key_F11);
        QVERIFY(lengths->isVisible());
        QCOMPARE(lengths->pos(), QPoint(340, 184));
        QCOMPARE(Rows(lengths->trackNrList()), QStringList{"Track 1"});
        QCOMPARE(Rows(lengths->trackLength1List()), QStringList{"0.00 m"});
        QCOMPARE(Rows(lengths->trackLength2List()), QStringList{"0.00 m"});
        lengths->close();
        QVERIFY(!lengths->isVisible());
        window.trigger("TrackLength1");
        QVERIFY(lengths->isVisible());
    }

    void lengthWindowLists_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("width");
        QTest::newRow("numbers") << "TrackNrList" << 0 << 65;
        QTest::newRow("lane 1") << "TrackLength1List" << 64 << 57;
        QTest::newRow("lane 2") << "TrackLength2List" << 116 << 57;
    }

    void lengthWindowLists() {
        QFETCH(QString, list);
        QFETCH(int, left);
        QFETCH(int, width);
        WindowFixture window(WindowFixture::Show::No);
        auto* widget = window.form().lengthForm()->findChild<QListWidget*>(list);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->x(), left);
        QCOMPARE(widget->width(), width);
        // Whole rows only: 18 of 13 pixels inside the frame.
        QCOMPARE((widget->height() - 2) / 13, 18);
        QCOMPARE((widget->height() - 2) % 13, 0);
        QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    }

    void zoomBarTurnsUprightOutsideTheTopDock() {
        WindowFixture window;
        auto* dock = window.find<QToolBar>("ZoomDock");
        auto* bar = window.find<QSlider>("ZoomBar");
        const QSize flat = bar->size();
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        window.form().addToolBar(Qt::LeftToolBarArea, dock);
        QCOMPARE(bar->orientation(), Qt::Vertical);
        QCOMPARE(bar->size(), flat.transposed());
        window.form().addToolBar(Qt::TopToolBarArea, dock);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        QCOMPARE(bar->size(), flat);
    }

    void rotateBarUprightWhenFloating() {
        WindowFixture window;
        auto* dock = window.find<QToolBar>("RotateDock");
        auto* bar = window.find<QSlider>("RotateBar");
        dock->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
        QMetaObject::invokeMethod(dock, "topLevelChanged", Q_ARG(bool, true));
        // A floating toolbar reports itself floating only through QToolBar::isFloating, which
        // follows the window flag.
        QVERIFY(dock->isFloating());
        QCOMPARE(bar->orientation(), Qt::Vertical);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
