// The collection in the window: owned counts typed into the Owned Pieces window, the design
// added to them, and a change of part library.

#include "window_fixture.h"

#include "owned_form.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableWidget>

using lapwerk::test::Rows;
using lapwerk::test::ShownBox;
using lapwerk::test::WindowFixture;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// Types `text` into the count being edited in the Owned Pieces window (its editor has the
/// window's focus) and ends the edit with `key`.
void TypeCount(QTableWidget* table, const char* text, Qt::Key key) {
    QWidget* editor = table->window()->focusWidget();
    QTest::keyClicks(editor, QString::fromLatin1(text));
    QTest::keyClick(editor, key);
}

/// The inch library of the window tests with its parts in another order: LC, C45, S9, S4.
const char* const kReorderedInches = "INCH\n"
                                     "LC\nLane change\n3\n6\n9\n0\n0\n0\n0\n"
                                     "C45\nCurve 45\n2\n6\n0\n45\n15\n10\n12\n"
                                     "S9\nStraight 9\n1\n6\n9\n0\n0\n0\n0\n"
                                     "S4\nStraight 4.5\n1\n6\n4.5\n0\n0\n0\n0\n";

} // namespace

class CollectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Counts typed top down, each ended with Enter or Tab, go into the file at once: the
    // user's comment and lines stay, a count changes on its line, a new part gets a line, a 0
    // for a part without a line writes nothing, and a text that is no count is refused. They
    // are still there after a restart.
    void ownedCountsTypedIntoTheWindow() {
        WindowFixture window;
        window.trigger("OwnedPieces1");
        QTableWidget* table = window.form().ownedForm()->table();
        QVERIFY(table->isVisible());
        table->setCurrentCell(1, 2);
        for (const auto& [text, key] :
             {std::pair{"0", Qt::Key_Tab}, {"5", Qt::Key_Return}, {"3", Qt::Key_Tab}}) {
            TypeCount(table, text, key);
        }
        QCOMPARE(table->currentRow(), 3);
        const QByteArray expected = "# owned pieces\nS9 4\nC45 5\nLC 3\n";
        QCOMPARE(ReadAll(window.path("sections.own")), expected);
        QCOMPARE(Rows(window.list("OverList")), (QStringList{"4", "", "5", "3"}));

        table->setCurrentCell(0, 2);
        TypeCount(table, "-2", Qt::Key_Return);
        QCOMPARE(ReadAll(window.path("sections.own")), expected);
        QCOMPARE(table->item(0, 2)->text(), QString("4"));
        QVERIFY(window.form().statusBar()->currentMessage().contains("\"-2\" is no number"));
        // The window says so too, and the count is open again with its old value selected.
        auto* problem = window.form().ownedForm()->findChild<QLabel*>("OwnedProblem");
        QVERIFY(problem->isVisible() && problem->text().contains("\"-2\" is no number"));
        QTRY_COMPARE(table->currentRow(), 0);
        QCOMPARE(qobject_cast<QLineEdit*>(table->window()->focusWidget())->selectedText(),
                 QString("4"));
        TypeCount(table, "6", Qt::Key_Return);
        QVERIFY(!problem->isVisible());
        table->setCurrentCell(0, 2);
        TypeCount(table, "4", Qt::Key_Return);

        // Return in the filter goes to the first count it leaves; a click on a number lands in
        // the Owned column.
        auto* filter = window.form().ownedForm()->findChild<QLineEdit*>("OwnedFilter");
        QTest::keyClicks(filter, "C45");
        QTest::keyClick(filter, Qt::Key_Return);
        QCOMPARE(table->currentRow(), 2);
        QCOMPARE(table->currentColumn(), 2);
        filter->clear();
        table->setCurrentCell(1, 0);
        QCOMPARE(table->currentColumn(), 2);

        window.restart();
        QCOMPARE(Rows(window.list("OverList")), (QStringList{"4", "", "5", "3"}));
    }

    // Add Design to Owned Pieces asks with the total first; No changes nothing.
    void designAddedToOwnedPieces() {
        WindowFixture window;
        for (const int part : {0, 0, 2}) {
            window.doubleClickPart(part);
        }
        window.dialogs().answers = {false, true};
        window.trigger("AddDesignToOwned1");
        QCOMPARE(ReadAll(window.path("sections.own")), QByteArray("# owned pieces\nS9 4\nC45 2\n"));
        window.trigger("AddDesignToOwned1");
        QCOMPARE(
            window.dialogs().questions.last(),
            (ShownBox{"Add the 3 pieces of this design to your owned pieces?", "Owned Pieces"}));
        QCOMPARE(ReadAll(window.path("sections.own")), QByteArray("# owned pieces\nS9 6\nC45 3\n"));
        QCOMPARE(Rows(window.list("OverList")), (QStringList{"4", "", "2", ""}));
    }

    // Part Library... keeps the design's sections by their numbers, also through undo, with
    // the inventory beside the new library; a library that lacks a number the design uses is
    // refused and nothing changes.
    void partLibrarySwitched() {
        WindowFixture window;
        window.doubleClickPart(0); // S9
        window.doubleClickPart(2); // C45
        const QByteArray saved = window.savedForm();
        QDir().mkpath(window.path("other"));
        window.writeFile("other/parts.def", kReorderedInches);
        window.writeFile("other/sections.own", "C45 7\n");
        window.writeFile("lacking.def", "INCH\nS9\nStraight 9\n1\n6\n9\n0\n0\n0\n0\n");

        window.dialogs().files = {window.path("lacking.def")};
        window.trigger("PartLibrary1");
        QCOMPARE(window.dialogs().messages.last().text,
                 "The design uses parts that " + window.path("lacking.def") +
                     " lacks: C45. The part library stays as it was.");
        QCOMPARE(window.list("DeelList")->count(), 4);
        QCOMPARE(window.savedForm(), saved);

        window.dialogs().files = {window.path("other/parts.def")};
        window.trigger("PartLibrary1");
        QCOMPARE(window.form().collection().library, window.path("other/parts.def"));
        QCOMPARE(window.savedForm(), saved);
        QCOMPARE(int(window.current().partIndex[0]), 2);
        QCOMPARE(Rows(window.list("OverList")), (QStringList{"", "6", "-1", ""}));
        QCOMPARE(window.design().changed, 1);
        window.trigger("UndoItem");
        QCOMPARE(int(window.current().partIndex[0]), 2);
        QCOMPARE(window.current().sectionCount, 1);
        QCOMPARE(lapwerk::OpenSettingsStore()->value("PartLibrary").toString(),
                 window.path("other/parts.def"));
    }

    // Where the library's folder cannot be written, the collection moves to a copy in the user
    // data folder, which is used from then on.
    void ownedCountsMoveWhereTheyCanBeWritten() {
        WindowFixture window;
        QDir().mkpath(window.path("system"));
        QFile::copy(window.path("parts.def"), window.path("system/parts.def"));
        window.writeFile("system/sections.own", "# shipped\nS9 1\n");
        QFile::setPermissions(window.path("system"),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(window.path("system")).isWritable()) {
            QSKIP("permissions do not stop this user");
        }
        window.dialogs().files = {window.path("system/parts.def")};
        window.trigger("PartLibrary1");
        window.trigger("OwnedPieces1");
        QTableWidget* table = window.form().ownedForm()->table();
        table->setCurrentCell(2, 2);
        TypeCount(table, "9", Qt::Key_Return);
        const QString moved = window.path("data/lapwerk/sections.own");
        QCOMPARE(window.form().collection().inventory, moved);
        QCOMPARE(ReadAll(moved), QByteArray("# shipped\nS9 1\nC45 9\n"));
        QCOMPARE(window.form().statusBar()->currentMessage(),
                 "Owned pieces are kept in " + moved + ".");
        QFile::setPermissions(window.path("system"), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner);
    }
};

QTEST_MAIN(CollectionTest)
#include "collection_test.moc"
