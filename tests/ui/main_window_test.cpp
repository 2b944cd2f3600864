// The main window as it opens: menus, toolbars, panel, lane-length window and start-up state.

#include "window_fixture.h"

#include "length_form.h"
#include "part_panel.h"

#include "part_counts.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
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
                                             "Export &Image...",
                                             "-",
                                             "Print &Full Size...",
                                             "Export Parts &List...",
                                             "-",
                                             "Part Li&brary...",
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
                                             "Na&vigate",
                                             "-",
                                             "C&lose Track...",
                                             "Suggest La&youts...",
                                             "-",
                                             "O&wned Pieces...",
                                             "&Add Design to Owned Pieces"};
        QTest::newRow("Options") << "&Options"
                                 << QStringList{"&Metric",
                                                "&Segments",
                                                "&Filled In",
                                                "Ruler",
                                                "Grid",
                                                "Smooth Drawing",
                                                "Show &Problems",
                                                "Print &Every Page",
                                                "Keep &Undo History on Save"};
        QTest::newRow("View") << "&View" << QStringList{"Zoom to &Fit", "Zoom &In", "Zoom &Out"};
        QTest::newRow("Window") << "&Window"
                                << QStringList{"&Track section list", "Track Length", "&Lap Times",
                                               "&Design Check"};
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
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Options", "&View", "&Window", "&Help"}));
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
        QTest::newRow("Zoom to fit") << "ZoomToFit1" << QKeySequence(Qt::CTRL | Qt::Key_0);
        QTest::newRow("Zoom in") << "ZoomIn1" << QKeySequence(Qt::CTRL | Qt::Key_Plus);
        QTest::newRow("Zoom out") << "ZoomOut1" << QKeySequence(Qt::CTRL | Qt::Key_Minus);
    }

    void shortcuts() {
        QFETCH(QString, item);
        QFETCH(QKeySequence, shortcut);
        WindowFixture window(WindowFixture::Show::No);
        QCOMPARE(window.action(item.toLatin1().constData())->shortcut(), shortcut);
    }

    // The desktop's standard keys run the File commands too; the menu shows only the first
    // key of an item, here none.
    void standardKeys_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("New") << "New1" << QKeySequence(Qt::CTRL | Qt::Key_N);
        QTest::newRow("Open") << "Open1" << QKeySequence(Qt::CTRL | Qt::Key_O);
        QTest::newRow("Save") << "Save1" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("Save As") << "SaveAs1" << QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S);
        QTest::newRow("Print") << "Print1" << QKeySequence(Qt::CTRL | Qt::Key_P);
        QTest::newRow("Exit") << "Exit1" << QKeySequence(Qt::CTRL | Qt::Key_Q);
    }

    void standardKeys() {
        QFETCH(QString, item);
        QFETCH(QKeySequence, key);
        WindowFixture window;
        QAction* action = window.action(item.toLatin1().constData());
        QCOMPARE(action->shortcuts(), (QList<QKeySequence>{QKeySequence(), key}));
        // The key runs the command: its dialog is cancelled, or it asks nothing and runs.
        QSignalSpy triggered(action, &QAction::triggered);
        window.dialogs().answers = {false};
        window.dialogs().printOk = false;
        QTest::keySequence(&window.form(), key);
        QCOMPARE(triggered.count(), 1);
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

    // Which library the window starts with, by the rules: the working folder's, the one chosen
    // last, the user's copy, or the shipped one copied into the user data folder. Only a
    // library from elsewhere than the working folder, or a refused one, is noted.
    void startUpFindsTheCollection_data() {
        QTest::addColumn<int>("parts");
        QTest::addColumn<QString>("workingLibrary"); ///< written over parts.def when not empty
        QTest::addColumn<bool>("chosen");            ///< a library chosen in the settings
        QTest::addColumn<QString>("library");        ///< the one in use, in the temporary folder
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        row("working folder") << int(WindowFixture::Parts::Metric) << "" << true << "parts.def" << 2
                              << "";
        row("shipped") << int(WindowFixture::Parts::None) << "" << false << "data/lapwerk/parts.def"
                       << 21 << "";
        row("chosen") << int(WindowFixture::Parts::None) << "" << true << "chosen/parts.def" << 4
                      << "";
        row("binary working library")
            << int(WindowFixture::Parts::Metric) << "\x01\x02" << false << "data/lapwerk/parts.def"
            << 21 << "is not a part library: it is not a text file. ";
        row("empty working library")
            << int(WindowFixture::Parts::Metric) << "# nothing\n"
            << true << "chosen/parts.def" << 4 << "is not a part library: it holds no part. ";
    }

    void startUpFindsTheCollection() {
        QFETCH(int, parts);
        QFETCH(QString, workingLibrary);
        QFETCH(bool, chosen);
        QFETCH(QString, library);
        QFETCH(int, rows);
        QFETCH(QString, refusal);
        WindowFixture window{WindowFixture::Parts(parts), WindowFixture::Show::No};
        if (!workingLibrary.isEmpty()) {
            QByteArray bytes = workingLibrary.toLatin1();
            bytes.replace("\x01", QByteArray(1, '\0'));
            QFile file(window.path("parts.def"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        if (chosen) {
            QDir().mkpath(window.path("chosen"));
            QFile::copy(QStringLiteral(LAPWERK_TEST_DATA "/ui/inch/parts.def"),
                        window.path("chosen/parts.def"));
            lapwerk::OpenSettingsStore()->setValue("PartLibrary", window.path("chosen/parts.def"));
        }
        window.restart();
        window.form().show();
        QTRY_VERIFY(!window.form().statusBar()->currentMessage().isEmpty() ||
                    library == "parts.def");
        QCOMPARE(window.form().collection().library, window.path(library));
        QCOMPARE(window.list("DeelList")->count(), rows);
        const QString note = window.form().statusBar()->currentMessage();
        if (library == "parts.def") {
            QCOMPARE(note, QString());
        } else {
            QVERIFY2(note.contains(refusal) &&
                         note.endsWith("Parts from " + window.path(library) + "."),
                     qPrintable(note));
        }
        QVERIFY(window.find<QLineEdit>("PartFilter")->toolTip().endsWith(window.path(library)));
        if (library.startsWith("data")) {
            QFile inventory(window.path("data/lapwerk/sections.own"));
            QVERIFY(inventory.open(QIODevice::ReadOnly));
            QVERIFY(inventory.readAll().startsWith("# "));
        }
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
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("accessible");
        QTest::newRow("parts") << "DeelList" << 8 << 145 << "Part list";
        QTest::newRow("used") << "TellerList" << 152 << 25 << "Used count";
        QTest::newRow("left over") << "OverList" << 176 << 30 << "Left-over count";
    }

    // Side by side as they always stood at the first start, under the filter box and down to
    // 8 pixels above the panel's bottom edge.
    void panelLayout() {
        QFETCH(QString, list);
        QFETCH(int, left);
        QFETCH(int, width);
        QFETCH(QString, accessible);
        WindowFixture window;
        QListWidget* widget = window.list(list.toLatin1().constData());
        QCOMPARE(widget->x(), left);
        QCOMPARE(widget->width(), width);
        QCOMPARE(widget->y(), window.find<QLineEdit>("PartFilter")->geometry().bottom() + 1 + 4);
        QCOMPARE(widget->geometry().bottom() + 1, window.form().mainPanel()->height() - 8);
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

    void filterKeepsEachRowItsPart_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<int>("selected");
        QTest::newRow("none") << "" << QList<int>{0, 1, 2, 3} << 0;
        QTest::newRow("number") << "S4" << QList<int>{1} << 1;
        QTest::newRow("name, any case") << "STRAIGHT" << QList<int>{0, 1} << 0;
        QTest::newRow("part of a name") << "change" << QList<int>{3} << 3;
        QTest::newRow("number or name") << "c" << QList<int>{2, 3} << 2;
        QTest::newRow("no part") << "zz" << QList<int>{} << 0;
    }

    void filterKeepsEachRowItsPart() {
        QFETCH(QString, filter);
        QFETCH(QList<int>, shown);
        QFETCH(int, selected);
        WindowFixture window;
        const QStringList parts = Rows(window.list("DeelList"));
        const QStringList leftOver = Rows(window.list("OverList"));
        QTest::keyClicks(window.find<QLineEdit>("PartFilter"), filter);
        auto hiddenRowsAreFiltered = [&] {
            for (const char* name : {"DeelList", "TellerList", "OverList"}) {
                QListWidget* list = window.list(name);
                for (int row = 0; row < list->count(); ++row) {
                    QVERIFY2(list->isRowHidden(row) != shown.contains(row),
                             qPrintable(QString("%1 row %2").arg(name).arg(row)));
                }
            }
        };
        hiddenRowsAreFiltered();
        // A selection the filter hides moves to the first row shown, if there is one.
        QCOMPARE(window.form().partSelection(), selected);
        // Every row still means its part: the same texts, and a click selects its index.
        QCOMPARE(Rows(window.list("DeelList")), parts);
        QCOMPARE(Rows(window.list("OverList")), leftOver);
        for (const int row : shown) {
            window.clickPart(row);
            QCOMPARE(window.form().partSelection(), row);
        }
        if (shown.isEmpty()) {
            return;
        }
        window.doubleClickPart(shown.last());
        QCOMPARE(int(window.current().partIndex[0]), shown.last());
        QCOMPARE(Rows(window.list("TellerList")).at(shown.last()), QString("1"));
        // The counts were rebuilt; the filter still hides the same rows.
        hiddenRowsAreFiltered();
        window.find<QLineEdit>("PartFilter")->clear();
        QCOMPARE(window.list("DeelList")->isRowHidden(0), false);
        QCOMPARE(window.list("OverList")->isRowHidden(0), false);
    }

    void partToolTipsDescribeThePart() {
        WindowFixture window(WindowFixture::Show::No);
        QListWidget* parts = window.list("DeelList");
        QCOMPARE(parts->item(2)->toolTip(), QString("C45  Curve 45\n"
                                                    "Kind 2: curve\n"
                                                    "Width 152.4 mm\n"
                                                    "Radius 381.0 mm, arc 45°\n"
                                                    "Lane lengths 254.0 mm and 304.8 mm"));
        window.trigger("Metric");
        QCOMPARE(parts->item(3)->toolTip(), QString("LC  Lane change\n"
                                                    "Kind 3: lane change\n"
                                                    "Width 6.00 in\n"
                                                    "Length 9.00 in\n"
                                                    "Lane lengths 9.00 in and 9.00 in"));
    }

    void countColumnsWidenForLongCounts() {
        WindowFixture window;
        lapwerk::PartCountRows rows;
        rows.used = {"128000", "0", "0", "0"};
        rows.leftOver = {"-127996", "", "2", ""};
        rows.leftOverCount = {-127996, 0, 2, 0};
        window.form().mainPanel()->showCounts(rows);
        QListWidget* parts = window.list("DeelList");
        QListWidget* used = window.list("TellerList");
        QListWidget* left = window.list("OverList");
        for (QListWidget* list : {used, left}) {
            const QString count = list->item(0)->text();
            QVERIFY2(list->fontMetrics().horizontalAdvance(count) + 4 <=
                         list->visualItemRect(list->item(0)).width(),
                     qPrintable(count));
        }
        // Side by side still, up to the panel's right margin: the part list gives up the room.
        QCOMPARE(used->x(), parts->geometry().right());
        QCOMPARE(left->x(), used->geometry().right());
        QCOMPARE(left->geometry().right() + 1, window.form().mainPanel()->width() - 10);
        QVERIFY(parts->width() < 145);
        // The headings stand over their columns.
        for (const auto& [heading, list] :
             {std::pair{"UsedHeading", used}, {"LeftHeading", left}}) {
            const QRect over = window.find<QLabel>(heading)->geometry();
            QVERIFY(over.bottom() < list->y());
            QVERIFY(over.right() <= list->geometry().right());
            QVERIFY(over.right() > list->x());
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

    void toolWindowsStandBesideTheMainWindowAndCloseWithEscape() {
        WindowFixture window;
        window.form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window.form()));
        const QRect menu(window.form().menuBar()->mapToGlobal(QPoint(0, 0)),
                         window.form().menuBar()->size());
        for (const auto& [command, tool] : window.toolWindows()) {
            window.trigger(command);
            QVERIFY2(tool->isVisible(), command);
            QVERIFY(QTest::qWaitForWindowActive(tool));
            QCOMPARE(tool->windowType(), Qt::Tool);
            QVERIFY2(!tool->frameGeometry().intersects(menu), command);
            QVERIFY2(tool->screen()->availableGeometry().contains(tool->frameGeometry()), command);
            tool->showMinimized();
            window.trigger(command);
            QVERIFY2(!tool->isMinimized(), command);
            QTRY_VERIFY2(QGuiApplication::focusWindow() == tool->windowHandle(), command);
            QTest::keyClick(tool->windowHandle(), Qt::Key_Escape);
            QVERIFY2(!tool->isVisible(), command);
        }
    }

    // A tool window opens where the user left it in the last run.
    void toolWindowsOpenWhereTheyWereLeft() {
        WindowFixture window;
        window.trigger("LapTimes1");
        window.form().lapForm()->move(40, 60);
        const QPoint left = window.form().lapForm()->pos();
        window.restart();
        QVERIFY(!window.form().lapForm()->isVisible());
        window.trigger("LapTimes1");
        // The window system may set the frame a pixel or two aside.
        QVERIFY((window.form().lapForm()->pos() - left).manhattanLength() <= 4);
    }

    void lengthWindowShownByF11() {
        WindowFixture window;
        lapwerk::TLengthForm* lengths = window.form().lengthForm();
        QVERIFY(!lengths->isVisible());
        QCOMPARE(lengths->windowTitle(), QString("Track Lengths"));
        QCOMPARE(lengths->size(), QSize(175, 239));
        QTest::keyClick(&window.form(), Qt::Key_F11);
        QVERIFY(lengths->isVisible());
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
