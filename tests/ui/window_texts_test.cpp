// Texts the windows show beside their captions and menus: hints that must stay empty, and rows
// whose bytes come from the data files.

#include "window_fixture.h"

#include "list_rows.h"

using lapwerk::test::Rows;
using lapwerk::test::WindowFixture;

class WindowTextsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void historyButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("name");
        QTest::newRow("Undo") << "UndoButton"
                              << "Undo";
        QTest::newRow("Redo") << "RedoButton"
                              << "Redo";
    }

    void historyButtons() {
        QFETCH(QString, button);
        QFETCH(QString, name);
        WindowFixture window(WindowFixture::Show::No);
        const QByteArray objectName = button.toLatin1();
        QWidget* widget = window.find<QWidget>(objectName.constData());
        QCOMPARE(widget->toolTip(), QString());
        QCOMPARE(window.action(objectName.constData())->toolTip(), QString());
        QCOMPARE(widget->accessibleName(), name);
        // A change of the enabled state renews the button from its action; still no hint.
        window.action(objectName.constData())->setEnabled(true);
        QCOMPARE(widget->toolTip(), QString());
    }

    void rowsKeepTheBytesOfTheFiles_data() {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QByteArray("C151\tStraight") << QString("C151\tStraight");
        QTest::newRow("UTF-8") << QByteArray("B\xc3\xa9\tBocht")
                               << QString::fromUtf8("B\xc3\xa9\tBocht");
        QTest::newRow("Latin-1") << QByteArray("B\xe9\tBocht")
                                 << QString::fromLatin1("B\xe9\tBocht");
    }

    void rowsKeepTheBytesOfTheFiles() {
        QFETCH(QByteArray, row);
        QFETCH(QString, shown);
        QListWidget list;
        lapwerk::SetUpRowList(&list);
        lapwerk::SetRows(&list, {row.toStdString()});
        QCOMPARE(Rows(&list), QStringList{shown});
    }
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
