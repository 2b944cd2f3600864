#include "open_counter.h"
#include "window_fixture.h"

#include "undo.h"

#include <QFileDialog>
#include <QMenu>
#include <QSlider>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

using namespace lapwerk;
using namespace lapwerk::test;

namespace {

enum class GuardedCommand { New, Open, Import, Exit, CloseBox };

const char* const kNewQuestion = "Design changed - Are you sure you want to open a new design?";
const char* const kOpenQuestion = "Design changed - Are you sure you want to load a design?";
const char* const kImportQuestion = "Design changed - Are you sure you want to import a design?";
const char* const kQuitQuestion = "Design changed - Are you sure you want to quit?";

/// Runs `command` as the user does; for the close box, answers whether the window closed.
bool Run(WindowFixture& fixture, GuardedCommand command) {
    switch (command) {
    case GuardedCommand::New:
        fixture.trigger("New1");
        return true;
    case GuardedCommand::Open:
        fixture.trigger("Open1");
        return true;
    case GuardedCommand::Import:
        fixture.trigger("ImportTRK");
        return true;
    case GuardedCommand::Exit:
        fixture.trigger("Exit1");
        return true;
    case GuardedCommand::CloseBox:
        return fixture.form().close();
    }
    return false;
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void guardAsksOnlyWhenChanged_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("question");
        QTest::newRow("New") << int(GuardedCommand::New) << kNewQuestion;
        QTest::newRow("Open") << int(GuardedCommand::Open) << kOpenQuestion;
        QTest::newRow("Import") << int(GuardedCommand::Import) << kImportQuestion;
        QTest::newRow("Exit") << int(GuardedCommand::Exit) << kQuitQuestion;
        QTest::newRow("close box") << int(GuardedCommand::CloseBox) << kQuitQuestion;
    }

    void guardAsksOnlyWhenChanged() {
        QFETCH(int, command);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        Run(fixture, GuardedCommand(command));
        QVERIFY(fixture.dialogs().questions.isEmpty());
    }

    void guardNoLeavesEverything_data() { guardAsksOnlyWhenChanged_data(); }

    void guardNoLeavesEverything() {
        QFETCH(int, command);
        QFETCH(QString, question);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.makeChanged();
        fixture.form().show();
        const QString caption = fixture.form().windowTitle();
        fixture.dialogs().fileDialogsShown.clear();
        fixture.dialogs().answers = {false};

        const bool mayClose = Run(fixture, GuardedCommand(command));

        QCOMPARE(fixture.dialogs().questions.size(), 1);
        QCOMPARE(fixture.dialogs().questions[0].text, question);
        QCOMPARE(fixture.dialogs().questions[0].caption, QStringLiteral("Sure?"));
        QVERIFY(!mayClose || GuardedCommand(command) != GuardedCommand::CloseBox);
        QVERIFY(fixture.dialogs().fileDialogsShown.isEmpty());
        QCOMPARE(fixture.tracksInUse(), 2);
        QCOMPARE(fixture.design().changed, 1);
        QCOMPARE(fixture.fileName(), fixture.path(QStringLiteral("one.tr2")));
        QCOMPARE(fixture.form().windowTitle(), caption);
        QVERIFY(CanUndo(fixture.records().history));
        QVERIFY(fixture.form().isVisible());
    }

    void guardYesGoesOn_data() { guardAsksOnlyWhenChanged_data(); }

    void guardYesGoesOn() {
        QFETCH(int, command);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.makeChanged();
        fixture.form().show();
        fixture.dialogs().answers = {true};

        const bool mayClose = Run(fixture, GuardedCommand(command));

        QCOMPARE(fixture.dialogs().questions.size(), 1);
        switch (GuardedCommand(command)) {
        case GuardedCommand::New:
            QCOMPARE(fixture.tracksInUse(), 1);
            QCOMPARE(fixture.design().changed, 0);
            break;
        case GuardedCommand::Open:
            QCOMPARE(fixture.dialogs().fileDialogsShown, QList{FileDialogKind::Open});
            break;
        case GuardedCommand::Import:
            QCOMPARE(fixture.dialogs().fileDialogsShown, QList{FileDialogKind::Import});
            break;
        case GuardedCommand::Exit:
            // The close query that closing runs asks nothing more.
            QVERIFY(!fixture.form().isVisible());
            break;
        case GuardedCommand::CloseBox:
            QVERIFY(mayClose);
            break;
        }
    }

    void historyButtonsFollowTheFileCommands_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("New") << "New1";
        QTest::newRow("Open") << "Open1";
        QTest::newRow("Save") << "Save1";
        QTest::newRow("Save As") << "SaveAs1";
        QTest::newRow("Import") << "ImportTRK";
    }

    void historyButtonsFollowTheFileCommands() {
        QFETCH(QString, command);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.makeChanged();
        QVERIFY(fixture.action("UndoButton")->isEnabled());
        const QString design = fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign);
        const QString old = fixture.writeFile(QStringLiteral("old.trk"),
                                              "1\n0\n250\n120\n0\n0\n0\n3\n0\n1001\n1\n0\n0\n");
        fixture.dialogs().files = {command == "ImportTRK" ? old : design};
        fixture.trigger(command.toLatin1().constData());
        // Each of them leaves one state in the history.
        QVERIFY(!CanUndo(fixture.records().history));
        for (const char* name : {"UndoItem", "UndoButton", "RedoItem", "RedoButton"}) {
            QVERIFY2(!fixture.action(name)->isEnabled(), name);
        }
    }

    void closeBoxWithNoKeepsTheWindowOpen() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.makeChanged();
        fixture.form().show();
        fixture.dialogs().answers = {false};
        QVERIFY(!fixture.form().close());
        QVERIFY(fixture.form().isVisible());
        fixture.dialogs().answers = {true};
        QVERIFY(fixture.form().close());
        QCOMPARE(fixture.dialogs().questions.size(), 2);
    }

    void newNamesTheDesignUntitled() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.trigger("New1");
        QCOMPARE(fixture.fileName(), QStringLiteral("untitled.tr2"));
        QCOMPARE(fixture.form().windowTitle(), QStringLiteral("untitled.tr2 - Lapwerk V2.1"));
        QCOMPARE(fixture.tracksInUse(), 1);
        QVERIFY(!CanUndo(fixture.records().history));
    }

    void openReadsTheDesign() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.find<QSlider>("RotateBar")->setValue(10);
        const QString path = fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign);
        fixture.open(path);
        QVERIFY(fixture.dialogs().messages.isEmpty());
        QCOMPARE(fixture.fileName(), path);
        QCOMPARE(fixture.form().windowTitle(), QStringLiteral("one.tr2 - Lapwerk V2.1"));
        QCOMPARE(fixture.tracksInUse(), 1);
        const Track& track = fixture.design().tracks[fixture.design().currentTrack];
        QCOMPARE(track.sectionCount, 3);
        QCOMPARE(track.angle, 360);
        QCOMPARE(fixture.find<QSlider>("RotateBar")->value(), 90);
        QCOMPARE(fixture.design().changed, 0);
        QVERIFY(!CanUndo(fixture.records().history));
        // The redraw ran: the lane lengths of the track are there.
        QVERIFY(track.lane1Length > 0);
    }

    void openOpensTheFileOnce_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("a design") << QByteArray(kOneTrackDesign);
        QTest::newRow("a design that is refused")
            << QByteArray("10\n20\n0\n1\n0\n0\n0\n0\nX99 R\n");
    }

    void openOpensTheFileOnce() {
        QFETCH(QByteArray, content);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        const QString path = fixture.writeFile(QStringLiteral("once.tr2"), content.constData());
        OpenCounter counter(path.toStdString());
        QVERIFY(counter.ok());
        fixture.open(path);
        QCOMPARE(counter.opens(), 1);
    }

    void openCancelledChangesNothing() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.trigger("Open1");
        QCOMPARE(fixture.dialogs().fileDialogsShown.size(), 1);
        QCOMPARE(fixture.fileName(), QStringLiteral("untitled.tr2"));
        QCOMPARE(fixture.tracksInUse(), 1);
    }

    void failedLoadChangesNothing_data() {
        QTest::addColumn<QString>("command"); // Open or Import
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<QString>("message");
        const QString open = QStringLiteral("Open1");
        const QString import = QStringLiteral("ImportTRK");
        QTest::newRow("open: missing file")
            << open << "missing.tr2" << QByteArray() << "Cannot open %1: No such file or directory";
        QTest::newRow("open: unknown part")
            << open << "unknown.tr2" << QByteArray("0\n0\n0\n2\n720\n0\n0\n0\nC151 L\nZZ9 R\n")
            << "Part number ZZ9 is unknown in PARTS.DEF . I think you used a PARTS.DEF file "
               "that does not match the .TR2 file!";
        QTest::newRow("open: a letter")
            << open << "notes.tr2" << QByteArray("# My notes\nthis is a letter\nto a friend\n")
            << "notes.tr2 is not a design file: line 2 holds \"this is a letter\" where the "
               "board's X size belongs.";
        QTest::newRow("open: an empty file") << open << "empty.tr2" << QByteArray("")
                                             << "empty.tr2 is not a design file: it is empty.";
        QTest::newRow("open: a binary file")
            << open << "picture.tr2" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
            << "picture.tr2 is not a design file: line 2 holds the byte 0x1A, which is not text.";
        QTest::newRow("import: missing file") << import << "missing.trk" << QByteArray()
                                              << "Cannot open %1: No such file or directory";
        QTest::newRow("import: unknown part in track 1")
            << import << "one.trk" << QByteArray("1 0 200 150 0 0 0 2 0 2 0 0\n")
            << "Part number C153 is unknown in PARTS.DEF.  You must use the SCX.DEF file when you "
               "import old .trk files!";
        QTest::newRow("import: unknown part in track 2")
            << import << "two.trk" << QByteArray("1 0 200 150 0 0 0 1 0 0 1 1016\n")
            << "Part number C277 is unknown in PARTS.DEF . You must use the SCX.DEF file when you "
               "import old .trk files!";
        QTest::newRow("import: a binary file")
            << import << "picture.trk" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
            << "picture.trk: value 1 is not a whole number.";
    }

    void failedLoadChangesNothing() {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        const QString shown = fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign);
        fixture.open(shown);
        fixture.makeChanged();
        const QString path = fixture.path(name);
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const QByteArray before = fixture.savedForm();
        const int undoSteps = fixture.records().history.undoCount;

        fixture.dialogs().files.append(path);
        fixture.trigger(qPrintable(command));

        QCOMPARE(fixture.dialogs().questions.size(), 1); // the design had changed
        QCOMPARE(fixture.dialogs().messages.size(), 1);
        const QString expected =
            message.contains(QLatin1String("%1")) ? message.arg(path) : message;
        QCOMPARE(fixture.dialogs().messages[0].text, expected);
        QCOMPARE(fixture.dialogs().messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(fixture.fileName(), shown);
        QCOMPARE(fixture.form().windowTitle(), QStringLiteral("one.tr2 - Lapwerk V2.1"));
        QCOMPARE(fixture.savedForm(), before);
        QCOMPARE(fixture.tracksInUse(), 2);
        QCOMPARE(fixture.design().changed, 1);
        QCOMPARE(fixture.records().history.undoCount, undoSteps);
        QVERIFY(fixture.action("UndoItem")->isEnabled());
        QCOMPARE(fixture.find<QMenu>(lapwerk::kRecentDesignsMenu)->actions().size(), 1);

        // The history is the one from before: Undo takes back the edit made before.
        fixture.trigger("UndoItem");
        QCOMPARE(fixture.tracksInUse(), 1);
        // Save writes the design's own file, never the one that failed to load.
        fixture.makeChanged();
        fixture.trigger("Save1");
        QCOMPARE(fixture.dialogs().fileDialogsShown.size(), 2); // Open, then the failed command
        QVERIFY(fixture.readFile(QStringLiteral("one.tr2")).contains("# Track 2"));
        QCOMPARE(fixture.readFile(name), content);
    }

    void untitledSaveAsksForANameOnce() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        const QString path = fixture.path(QStringLiteral("mine.tr2"));
        fixture.dialogs().files = {path};
        fixture.makeChanged();

        fixture.trigger("Save1");
        QCOMPARE(fixture.dialogs().fileDialogsShown, QList{FileDialogKind::Save});
        QCOMPARE(fixture.fileName(), path);
        QCOMPARE(fixture.form().windowTitle(), QStringLiteral("mine.tr2 - Lapwerk V2.1"));
        QCOMPARE(fixture.design().changed, 0);
        QVERIFY(!CanUndo(fixture.records().history));
        QVERIFY(fixture.readFile(QStringLiteral("mine.tr2")).contains("# Track 2"));

        fixture.makeChanged();
        fixture.trigger("Save1");
        QCOMPARE(fixture.dialogs().fileDialogsShown.size(), 1);
        QVERIFY(fixture.readFile(QStringLiteral("mine.tr2")).contains("# Track 3"));
    }

    void untitledSaveCancelledWritesNothing() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.makeChanged();
        fixture.trigger("Save1");
        QCOMPARE(fixture.dialogs().fileDialogsShown.size(), 1);
        QCOMPARE(fixture.fileName(), QStringLiteral("untitled.tr2"));
        QCOMPARE(fixture.design().changed, 1);
        QVERIFY(!QFile::exists(fixture.path(QStringLiteral("untitled.tr2"))));
    }

    void fileNamedUntitledInAFolderIsSavedWithoutADialog() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        const QString path = fixture.writeFile(QStringLiteral("untitled.tr2"), kOneTrackDesign);
        fixture.open(path);
        fixture.makeChanged();
        fixture.trigger("Save1");
        QCOMPARE(fixture.dialogs().fileDialogsShown.size(), 1); // the Open dialog alone
        QVERIFY(fixture.readFile(QStringLiteral("untitled.tr2")).contains("# Track 2"));
        QCOMPARE(fixture.design().changed, 0);
    }

    void saveAsAlwaysAsks() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.trigger("Save1");
        const QString copy = fixture.path(QStringLiteral("copy.tr2"));
        fixture.dialogs().files = {copy};
        fixture.trigger("SaveAs1");
        QCOMPARE(fixture.dialogs().fileDialogsShown.last(), FileDialogKind::Save);
        QCOMPARE(fixture.fileName(), copy);
        QCOMPARE(fixture.readFile(QStringLiteral("copy.tr2")),
                 fixture.readFile(QStringLiteral("one.tr2")));
    }

    void failedSaveKeepsNameFlagAndHistory() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.makeChanged();
        const QString path = fixture.path(QStringLiteral("no/such/folder/x.tr2"));
        fixture.dialogs().files = {path};
        fixture.trigger("SaveAs1");
        QCOMPARE(fixture.dialogs().messages.size(), 1);
        QCOMPARE(fixture.dialogs().messages[0].caption, QStringLiteral("Error"));
        QVERIFY(fixture.dialogs().messages[0].text.contains(path));
        QCOMPARE(fixture.fileName(), QStringLiteral("untitled.tr2"));
        QCOMPARE(fixture.form().windowTitle(), QStringLiteral("untitled.tr2 - Lapwerk V2.1"));
        QCOMPARE(fixture.design().changed, 1);
        QVERIFY(CanUndo(fixture.records().history));
    }

    void tooLongPathIsRefused_data() {
        QTest::addColumn<bool>("opening");
        QTest::newRow("Save As") << false;
        QTest::newRow("Open") << true;
    }

    void tooLongPathIsRefused() {
        QFETCH(bool, opening);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.makeChanged();
        const QString path = fixture.path(QString(260, QLatin1Char('a')) + QStringLiteral(".tr2"));
        fixture.dialogs().files = {path};
        if (opening) {
            fixture.trigger("Open1");
        } else {
            fixture.trigger("SaveAs1");
        }
        QCOMPARE(fixture.dialogs().messages.size(), 1);
        QCOMPARE(fixture.dialogs().messages[0].caption, QStringLiteral("Error"));
        QVERIFY(fixture.dialogs().messages[0].text.contains(QStringLiteral("255")));
        QCOMPARE(fixture.fileName(), QStringLiteral("untitled.tr2"));
        QCOMPARE(fixture.tracksInUse(), 2);
        QCOMPARE(fixture.design().changed, 1);
    }

    void undoToTheSavedStateClearsTheFlag() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        fixture.makeChanged();
        fixture.trigger("Save1");
        QCOMPARE(fixture.design().changed, 0);
        QVERIFY(!CanUndo(fixture.records().history));
        fixture.makeChanged();
        fixture.makeChanged();
        fixture.trigger("UndoItem");
        QCOMPARE(fixture.design().changed, 1);
        fixture.trigger("UndoItem");
        QCOMPARE(fixture.design().changed, 0);
        fixture.trigger("New1");
        QVERIFY(fixture.dialogs().questions.isEmpty());
    }

    void importSucceeds() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.open(fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign));
        const QString path = fixture.writeFile(QStringLiteral("old.trk"),
                                               "1\n0\n250\n120\n0\n0\n0\n3\n0\n1001\n1\n0\n0\n");
        fixture.dialogs().files = {path};
        fixture.find<QSlider>("RotateBar")->setValue(10);

        fixture.trigger("ImportTRK");

        QVERIFY(fixture.dialogs().messages.isEmpty());
        QCOMPARE(fixture.fileName(), QStringLiteral("untitled.tr2"));
        QCOMPARE(fixture.form().windowTitle(), QStringLiteral("untitled.tr2 - Lapwerk V2.1"));
        QCOMPARE(fixture.tracksInUse(), 1);
        QCOMPARE(fixture.design().tracks[0].sectionCount, 3);
        QCOMPARE(fixture.design().boardX, 98.4252f);
        QCOMPARE(fixture.design().changed, 1);
        QVERIFY(!CanUndo(fixture.records().history));
        QCOMPARE(fixture.find<QSlider>("RotateBar")->value(), 180);
        QVERIFY(fixture.design().tracks[0].lane1Length > 0);

        // Not saved yet: New asks, and Save asks for a name.
        fixture.dialogs().answers = {false};
        fixture.trigger("New1");
        QCOMPARE(fixture.dialogs().questions.size(), 1);
        fixture.trigger("Save1");
        QCOMPARE(fixture.dialogs().fileDialogsShown.last(), FileDialogKind::Save);
    }

    void commandLineOpensTheNamedDesign_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("sections");
        QTest::newRow("a design") << QStringList{"lapwerk", "one.tr2"} << 3;
        QTest::newRow("no design") << QStringList{"lapwerk"} << 0;
    }

    void commandLineOpensTheNamedDesign() {
        QFETCH(QStringList, arguments);
        QFETCH(int, sections);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.writeFile(QStringLiteral("one.tr2"), kOneTrackDesign);
        fixture.form().openCommandLineDesign(arguments);
        QVERIFY(fixture.dialogs().messages.isEmpty());
        QVERIFY(fixture.dialogs().fileDialogsShown.isEmpty());
        QCOMPARE(fixture.design().tracks[fixture.design().currentTrack].sectionCount, sections);
    }

    // The list goes into a CSV file: a name chosen without ".csv", a design's too, gets it.
    void partsListMatchesThePanel_data() {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("oval") << QStringLiteral("oval.tr2") << "parts.csv"
                              << "parts.csv";
        QTest::newRow("figure eight") << QStringLiteral("figure-eight.tr2") << "parts"
                                      << "parts.csv";
        QTest::newRow("grouped") << QStringLiteral("grouped.tr2") << "grouped.tr2"
                                 << "grouped.tr2.csv";
    }

    void partsListMatchesThePanel() {
        QFETCH(QString, design);
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        WindowFixture fixture(WindowFixture::Parts::Example);
        const QDir examples(QStringLiteral(LAPWERK_EXAMPLES));
        fixture.open(examples.filePath(design));
        const QString csv = fixture.path(written);
        fixture.dialogs().files = {fixture.path(chosen)};

        fixture.trigger("ExportPartsList1");

        QCOMPARE(fixture.dialogs().fileDialogsShown.last(), FileDialogKind::PartsList);
        const QString offered = QFileInfo(design).completeBaseName() + QStringLiteral(".csv");
        QCOMPARE(fixture.dialogs().suggestedNames.last(), examples.filePath(offered));
        QVERIFY(fixture.dialogs().messages.isEmpty());
        QCOMPARE(fixture.form().statusBar()->currentMessage(),
                 QStringLiteral("Parts list written to ") + csv);
        QVERIFY(!QFile::exists(fixture.path(chosen)) || chosen == written);
        QStringList records =
            QString::fromUtf8(fixture.readFile(written)).split(QStringLiteral("\r\n"));
        QCOMPARE(records.takeFirst(), QStringLiteral("Part,Name,Used,Owned,Left over,To buy"));
        QCOMPARE(records.takeLast(), QString());
        const QStringList panel = fixture.panelPartsList();
        QVERIFY(!panel.isEmpty());
        QCOMPARE(records, panel);
    }

    // Saving ends the undo history, unless Options > Keep Undo History on Save is checked:
    // then the saved state shows unchanged and the steps before it can be undone. The option
    // stays checked at the next start.
    void undoHistoryOverASave_data() {
        QTest::addColumn<bool>("keep");
        QTest::newRow("as always") << false;
        QTest::newRow("kept") << true;
    }

    void undoHistoryOverASave() {
        QFETCH(bool, keep);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        if (keep) {
            fixture.trigger("KeepUndoOnSave");
        }
        for (int i = 0; i < 3; ++i) {
            fixture.doubleClickPart(0);
        }
        fixture.dialogs().files = {fixture.path(QStringLiteral("kept.tr2"))};
        fixture.trigger("SaveAs1");
        QVERIFY(!fixture.design().changed);
        QCOMPARE(fixture.action("UndoItem")->isEnabled(), keep);
        if (!keep) {
            return;
        }
        fixture.trigger("UndoItem");
        QCOMPARE(fixture.current().sectionCount, 2);
        QVERIFY(fixture.design().changed);
        QCOMPARE(fixture.fileName(), fixture.path(QStringLiteral("kept.tr2")));
        fixture.trigger("RedoItem");
        QVERIFY(!fixture.design().changed);
        fixture.restart();
        QVERIFY(fixture.action("KeepUndoOnSave")->isChecked());
        QCOMPARE(int(fixture.records().history.slots.size()), lapwerk::kLongUndoSlots);
    }

    void partsListNotWritten_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("error");
        QTest::newRow("dialog cancelled") << QString() << false;
        QTest::newRow("no such folder") << QStringLiteral("missing/parts.csv") << true;
    }

    void partsListNotWritten() {
        QFETCH(QString, chosen);
        QFETCH(bool, error);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        if (!chosen.isEmpty()) {
            fixture.dialogs().files = {fixture.path(chosen)};
        }
        fixture.trigger("ExportPartsList1");
        QCOMPARE(fixture.dialogs().suggestedNames, QStringList{"untitled.csv"});
        QCOMPARE(fixture.dialogs().messages.size(), error ? 1 : 0);
        if (error) {
            QCOMPARE(fixture.dialogs().messages[0].caption, QStringLiteral("Error"));
            QVERIFY2(fixture.dialogs().messages[0].text.contains(fixture.path(chosen)),
                     qPrintable(fixture.dialogs().messages[0].text));
        }
        QCOMPARE(fixture.form().statusBar()->currentMessage(), QString());
        QVERIFY(!QFile::exists(fixture.path(QStringLiteral("missing"))));
        QCOMPARE(QDir(fixture.path(QString())).entryList({QStringLiteral("*.csv")}), QStringList());
    }

    void realFileDialogsHaveTheirLook_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("saving");
        QTest::newRow("Open") << int(FileDialogKind::Open) << "Open Track"
                              << QStringList{"Tracks V2 (*.tr2)", "All Files (*.*)"} << "tr2"
                              << false;
        QTest::newRow("Save") << int(FileDialogKind::Save) << "Save Track"
                              << QStringList{"Tracks V2 (*.tr2)", "All Files (*.*)"} << "tr2"
                              << true;
        QTest::newRow("Import") << int(FileDialogKind::Import) << "Import Track V1"
                                << QStringList{"Tracks V1 (*.trk)", "All Files (*.*)"} << "trk"
                                << false;
        QTest::newRow("Parts list")
            << int(FileDialogKind::PartsList) << "Export Parts List"
            << QStringList{"CSV file (*.csv)", "All Files (*.*)"} << "csv" << true;
    }

    void realFileDialogsHaveTheirLook() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QStringList, filters);
        QFETCH(QString, suffix);
        QFETCH(bool, saving);
        QtDialogs dialogs;
        QFileDialog& dialog = dialogs.fileDialog(nullptr, FileDialogKind(kind));
        QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(dialog.nameFilters(), filters);
        QCOMPARE(dialog.defaultSuffix(), suffix);
        QCOMPARE(dialog.acceptMode() == QFileDialog::AcceptSave, saving);
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
    }

    void realFileDialogKeepsTheNameLastChosen() {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.tr2"));
        QFile(first).open(QIODevice::WriteOnly);
        QtDialogs dialogs;
        QFileDialog& dialog = dialogs.fileDialog(nullptr, FileDialogKind::Open);
        dialog.setOption(QFileDialog::DontUseNativeDialog);

        QStringList preselected;
        auto answer = [&](const QString& choice) {
            QTimer::singleShot(0, &dialog, [&, choice] {
                preselected = dialog.selectedFiles();
                if (choice.isEmpty()) {
                    dialog.reject();
                } else {
                    dialog.selectFile(choice);
                    QMetaObject::invokeMethod(&dialog, "accept");
                }
            });
        };

        answer(first);
        QCOMPARE(dialogs.chooseFile(nullptr, FileDialogKind::Open), first);
        answer(QString());
        QCOMPARE(dialogs.chooseFile(nullptr, FileDialogKind::Open), QString());
        QCOMPARE(preselected, QStringList{first});
    }
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
