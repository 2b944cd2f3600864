#include "window_fixture.h"

#include "recent_designs.h"
#include "settings.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTest>

using namespace lapwerk;
using namespace lapwerk::test;

namespace {

const char* const kOpenQuestion = "Design changed - Are you sure you want to load a design?";

QMenu* RecentMenu(WindowFixture& fixture) {
    return fixture.find<QMenu>("RecentDesigns1");
}

QStringList Captions(QMenu* menu) {
    QStringList captions;
    for (const QAction* item : menu->actions()) {
        captions << item->text();
    }
    return captions;
}

/// The paths the submenu names, newest first.
QStringList ListedPaths(WindowFixture& fixture) {
    QStringList paths;
    for (const QAction* item : RecentMenu(fixture)->actions()) {
        if (item->isEnabled()) {
            paths << QDir::fromNativeSeparators(item->toolTip());
        }
    }
    return paths;
}

/// What the settings store holds now, read as a second run of the program would.
QStringList StoredPaths() {
    std::unique_ptr<QSettings> store = OpenSettingsStore();
    return RecentDesignsFromSetting(store->value(kRecentDesignsValue));
}

/// Chooses entry `number` (1 is the newest) of File > Recent Designs.
void Choose(WindowFixture& fixture, int number) {
    RecentMenu(fixture)->actions().at(number - 1)->trigger();
}

/// Runs one step of a script: "open NAME", "cmdline NAME" (a name relative to the working
/// directory), "save", "save NAME" (answering the Save dialog), "saveas NAME", "new",
/// "import". A NAME without a file of that name is opened as it is (missing).
void RunStep(WindowFixture& fixture, const QString& step) {
    const QString verb = step.section(QLatin1Char(' '), 0, 0);
    const QString name = step.section(QLatin1Char(' '), 1);
    if (verb == QLatin1String("open")) {
        fixture.open(fixture.path(name));
    } else if (verb == QLatin1String("cmdline")) {
        fixture.form().openCommandLineDesign({QStringLiteral("lapwerk"), name});
    } else if (verb == QLatin1String("save")) {
        if (!name.isEmpty()) {
            fixture.dialogs().files = {fixture.path(name)};
        }
        fixture.trigger("Save1");
    } else if (verb == QLatin1String("saveas")) {
        fixture.dialogs().files = {fixture.path(name)};
        fixture.trigger("SaveAs1");
    } else if (verb == QLatin1String("new")) {
        fixture.trigger("New1");
    } else if (verb == QLatin1String("import")) {
        fixture.dialogs().files = {fixture.writeFile(
            QStringLiteral("old.trk"), "1\n0\n250\n120\n0\n0\n0\n3\n0\n1001\n1\n0\n0\n")};
        fixture.trigger("ImportTRK");
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

/// A fixture whose working directory holds the one-track design under each of `names`.
void WriteDesigns(WindowFixture& fixture, const QStringList& names) {
    for (const QString& name : names) {
        fixture.writeFile(name, kOneTrackDesign);
    }
}

} // namespace

class RecentDesignsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void submenuFollowsSaveAs() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        QMenu* file = fixture.form().menuBar()->findChild<QMenu*>(QStringLiteral("File1"));
        QVERIFY(file != nullptr);
        const QList<QAction*> items = file->actions();
        const qsizetype saveAs =
            items.indexOf(fixture.form().findChild<QAction*>(QStringLiteral("SaveAs1")));
        QVERIFY(saveAs >= 0 && saveAs + 2 < items.size());
        QCOMPARE(items[saveAs + 1]->menu(), RecentMenu(fixture));
        QCOMPARE(items[saveAs + 1]->text(), QStringLiteral("Recent Designs"));
        QVERIFY(items[saveAs + 2]->isSeparator());
    }

    void emptyListShowsNone() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        QMenu* menu = RecentMenu(fixture);
        QCOMPARE(Captions(menu), QStringList{QStringLiteral("(none)")});
        QVERIFY(!menu->actions().first()->isEnabled());
    }

    void listAfterOpeningAndSaving_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("listed"); // file names, newest first

        QTest::newRow("one open") << QStringList{"open a.tr2"} << QStringList{"a.tr2"};
        QTest::newRow("newest first")
            << QStringList{"open a.tr2", "open b.tr2"} << QStringList{"b.tr2", "a.tr2"};
        QTest::newRow("opened again moves to the front")
            << QStringList{"open a.tr2", "open b.tr2", "open a.tr2"}
            << QStringList{"a.tr2", "b.tr2"};
        QTest::newRow("another name of the same file")
            << QStringList{"open a.tr2", "open b.tr2", "open ./a.tr2"}
            << QStringList{"a.tr2", "b.tr2"};
        QTest::newRow("save as adds the new name")
            << QStringList{"open a.tr2", "saveas c.tr2"} << QStringList{"c.tr2", "a.tr2"};
        QTest::newRow("save keeps one entry")
            << QStringList{"open a.tr2", "open b.tr2", "open a.tr2", "save"}
            << QStringList{"a.tr2", "b.tr2"};
        QTest::newRow("save of an untitled design")
            << QStringList{"new", "save c.tr2"} << QStringList{"c.tr2"};
        QTest::newRow("command line, relative name")
            << QStringList{"open a.tr2", "cmdline b.tr2"} << QStringList{"b.tr2", "a.tr2"};
        QTest::newRow("import adds nothing")
            << QStringList{"open a.tr2", "import"} << QStringList{"a.tr2"};
        QTest::newRow("missing file adds nothing")
            << QStringList{"open a.tr2", "open gone.tr2"} << QStringList{"a.tr2"};
        QTest::newRow("unreadable design adds nothing")
            << QStringList{"open a.tr2", "open bad.tr2"} << QStringList{"a.tr2"};
        QTest::newRow("failed save adds nothing")
            << QStringList{"open a.tr2", "saveas no/such/folder/c.tr2"} << QStringList{"a.tr2"};
        QStringList nine;
        QStringList lastEight;
        for (int i = 1; i <= 9; ++i) {
            nine << QStringLiteral("open d%1.tr2").arg(i);
            if (i > 1) {
                lastEight.prepend(QStringLiteral("d%1.tr2").arg(i));
            }
        }
        QTest::newRow("nine designs keep the last eight") << nine << lastEight;
    }

    void listAfterOpeningAndSaving() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, listed);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        WriteDesigns(fixture, {"a.tr2", "b.tr2"});
        for (int i = 1; i <= 9; ++i) {
            fixture.writeFile(QStringLiteral("d%1.tr2").arg(i), kOneTrackDesign);
        }
        fixture.writeFile(QStringLiteral("bad.tr2"), "0\n0\n0\n2\n720\n0\n0\n0\nC151 L\nZZ9 R\n");

        for (const QString& step : steps) {
            RunStep(fixture, step);
        }

        QStringList expectedPaths;
        QStringList expectedCaptions;
        for (int i = 0; i < listed.size(); ++i) {
            expectedPaths << QDir::cleanPath(fixture.path(listed[i]));
            expectedCaptions << QStringLiteral("&%1 %2").arg(i + 1).arg(listed[i]);
        }
        QMenu* menu = RecentMenu(fixture);
        QCOMPARE(Captions(menu), expectedCaptions);
        QCOMPARE(ListedPaths(fixture), expectedPaths);
        for (const QAction* item : menu->actions()) {
            QCOMPARE(item->statusTip(), item->toolTip());
        }
        // Written at once, not only when the program ends.
        QCOMPARE(StoredPaths(), expectedPaths);
    }

    void choosingAnEntryOpensTheDesign() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        WriteDesigns(fixture, {"a.tr2", "b.tr2"});
        RunStep(fixture, QStringLiteral("open a.tr2"));
        RunStep(fixture, QStringLiteral("open b.tr2"));
        RunStep(fixture, QStringLiteral("new"));
        fixture.dialogs().fileDialogsShown.clear();

        Choose(fixture, 2);

        QVERIFY(fixture.dialogs().questions.isEmpty());
        QVERIFY(fixture.dialogs().messages.isEmpty());
        QVERIFY(fixture.dialogs().fileDialogsShown.isEmpty());
        QCOMPARE(fixture.fileName(), fixture.path(QStringLiteral("a.tr2")));
        QCOMPARE(fixture.form().windowTitle(), QStringLiteral("a.tr2 - Lapwerk V2.1"));
        QCOMPARE(fixture.design().tracks[fixture.design().currentTrack].sectionCount, 3);
        QCOMPARE(fixture.design().changed, 0);
        QCOMPARE(Captions(RecentMenu(fixture)),
                 (QStringList{QStringLiteral("&1 a.tr2"), QStringLiteral("&2 b.tr2")}));
    }

    void choosingAnEntryAsksWhenChanged_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("No keeps the design") << false;
        QTest::newRow("Yes opens the entry") << true;
    }

    void choosingAnEntryAsksWhenChanged() {
        QFETCH(bool, answer);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        WriteDesigns(fixture, {"a.tr2", "b.tr2"});
        RunStep(fixture, QStringLiteral("open a.tr2"));
        RunStep(fixture, QStringLiteral("open b.tr2"));
        fixture.makeChanged();
        fixture.dialogs().answers = {answer};

        Choose(fixture, 2);

        QCOMPARE(fixture.dialogs().questions.size(), 1);
        QCOMPARE(fixture.dialogs().questions[0].text, QString::fromLatin1(kOpenQuestion));
        QCOMPARE(fixture.dialogs().questions[0].caption, QStringLiteral("Sure?"));
        const QString a = fixture.path(QStringLiteral("a.tr2"));
        const QString b = fixture.path(QStringLiteral("b.tr2"));
        if (answer) {
            QCOMPARE(fixture.fileName(), a);
            QCOMPARE(fixture.tracksInUse(), 1);
            QCOMPARE(fixture.design().changed, 0);
            QCOMPARE(ListedPaths(fixture), (QStringList{a, b}));
        } else {
            QCOMPARE(fixture.fileName(), b);
            QCOMPARE(fixture.tracksInUse(), 2);
            QCOMPARE(fixture.design().changed, 1);
            QCOMPARE(ListedPaths(fixture), (QStringList{b, a}));
        }
    }

    void missingDesignIsRemovedWithAMessage() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        WriteDesigns(fixture, {"a.tr2", "b.tr2"});
        RunStep(fixture, QStringLiteral("open a.tr2"));
        RunStep(fixture, QStringLiteral("open b.tr2"));
        fixture.makeChanged();
        const QString a = fixture.path(QStringLiteral("a.tr2"));
        const QString b = fixture.path(QStringLiteral("b.tr2"));
        QVERIFY(QFile::remove(a));

        Choose(fixture, 2);

        // Nothing would be loaded, so nothing is asked and the changed design stays.
        QVERIFY(fixture.dialogs().questions.isEmpty());
        QCOMPARE(fixture.dialogs().messages.size(), 1);
        QCOMPARE(fixture.dialogs().messages[0].text,
                 QStringLiteral("The design %1 no longer exists; it has been removed from the "
                                "recent designs.")
                     .arg(QDir::toNativeSeparators(a)));
        QCOMPARE(fixture.dialogs().messages[0].caption, QStringLiteral("Error"));
        QCOMPARE(fixture.fileName(), b);
        QCOMPARE(fixture.tracksInUse(), 2);
        QCOMPARE(fixture.design().changed, 1);
        QCOMPARE(ListedPaths(fixture), QStringList{b});
        QCOMPARE(StoredPaths(), QStringList{b});

        // The last one gone leaves the empty list.
        QVERIFY(QFile::remove(b));
        Choose(fixture, 1);
        QCOMPARE(fixture.dialogs().messages.size(), 2);
        QCOMPARE(Captions(RecentMenu(fixture)), QStringList{QStringLiteral("(none)")});
        QVERIFY(StoredPaths().isEmpty());
    }

    void listSurvivesARestart_data() {
        QTest::addColumn<QStringList>("names"); // opened in this order
        QTest::newRow("one design") << QStringList{"one.tr2"};
        QTest::newRow("a comma and blanks in a name") << QStringList{"with, comma.tr2", "two.tr2"};
    }

    void listSurvivesARestart() {
        QFETCH(QStringList, names);
        WindowFixture fixture(WindowFixture::Parts::Metric);
        WriteDesigns(fixture, names);
        for (const QString& name : names) {
            RunStep(fixture, QStringLiteral("open ") + name);
        }
        const QStringList listed = ListedPaths(fixture);
        QCOMPARE(listed.size(), names.size());

        fixture.restart();

        QCOMPARE(ListedPaths(fixture), listed);
        Choose(fixture, names.size());
        QCOMPARE(fixture.fileName(), fixture.path(names.first()));
        QCOMPARE(fixture.design().tracks[fixture.design().currentTrack].sectionCount, 3);
    }

    void listIsWrittenAgainAtShutdown() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        WriteDesigns(fixture, {"a.tr2"});
        RunStep(fixture, QStringLiteral("open a.tr2"));
        OpenSettingsStore()->remove(kRecentDesignsValue);

        fixture.restart();

        QCOMPARE(ListedPaths(fixture), QStringList{fixture.path(QStringLiteral("a.tr2"))});
    }

    void captions_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::newRow("newest") << 0 << "/tracks/oval.tr2"
                                << "&1 oval.tr2";
        QTest::newRow("eighth") << 7 << "/tracks/eight.tr2"
                                << "&8 eight.tr2";
        QTest::newRow("ampersand in the name") << 1 << "/a&b/R&D.tr2"
                                               << "&2 R&&D.tr2";
    }

    void captions() {
        QFETCH(int, index);
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QCOMPARE(RecentDesignCaption(index, path), caption);
    }

    void storedValues_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QStringList>("paths");
        const QStringList ten = [] {
            QStringList list;
            for (int i = 0; i < 10; ++i) {
                list << QStringLiteral("/t/%1.tr2").arg(i);
            }
            return list;
        }();
        QTest::newRow("list") << QVariant(QStringList{"/t/x.tr2", "/t/y.tr2"})
                              << QStringList{"/t/x.tr2", "/t/y.tr2"};
        QTest::newRow("single text")
            << QVariant(QStringLiteral("/t/x.tr2")) << QStringList{"/t/x.tr2"};
        QTest::newRow("repeats and empty entries")
            << QVariant(QStringList{"/t/x.tr2", "", " ", "/t/./x.tr2", "/t/y.tr2", "/t/y.tr2"})
            << QStringList{"/t/x.tr2", "/t/y.tr2"};
        QTest::newRow("more than eight") << QVariant(ten) << ten.mid(0, 8);
        QTest::newRow("list with a number")
            << QVariant(QVariantList{QStringLiteral("/t/x.tr2"), 5}) << QStringList{"/t/x.tr2"};
        QTest::newRow("a number") << QVariant(42) << QStringList{};
        QTest::newRow("bytes") << QVariant(QByteArray("/t/x.tr2")) << QStringList{};
        QTest::newRow("nothing") << QVariant() << QStringList{};
    }

    void storedValues() {
        QFETCH(QVariant, value);
        QFETCH(QStringList, paths);
        QCOMPARE(RecentDesignsFromSetting(value), paths);
    }
};

QTEST_MAIN(RecentDesignsTest)
#include "recent_designs_test.moc"
