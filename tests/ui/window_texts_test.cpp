// Texts the windows show beside their captions and menus: hints that must stay empty, and rows
// whose bytes come from the data files.

#include "window_fixture.h"

#include "close_track_dialog.h"
#include "dialogs.h"
#include "list_rows.h"
#include "owned_form.h"
#include "suggest_layouts_dialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>

namespace {

/// Whether a screen reader's user can act on `control`. The parts of a spin box, combo box,
/// text box or table, a cell's editor, the scroll bars and Qt's own overflow buttons speak through
/// their owner.
bool IsInteractive(const QWidget* control) {
    const QWidget* parent = control->parentWidget();
    if (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent) ||
        qobject_cast<const QLineEdit*>(parent) || qobject_cast<const QScrollBar*>(control) ||
        (parent && qobject_cast<const QAbstractItemView*>(parent->parentWidget())) ||
        qobject_cast<const QHeaderView*>(control) ||
        control->objectName().startsWith(QStringLiteral("qt_")) ||
        control->inherits("QTableCornerButton")) {
        return false;
    }
    return qobject_cast<const QAbstractButton*>(control) ||
           qobject_cast<const QAbstractSlider*>(control) ||
           qobject_cast<const QLineEdit*>(control) ||
           qobject_cast<const QAbstractSpinBox*>(control) ||
           qobject_cast<const QAbstractItemView*>(control) ||
           qobject_cast<const QComboBox*>(control) || qobject_cast<const QTextEdit*>(control);
}

/// The interactive controls of `window` that a screen reader would read without a name.
QStringList UnnamedControls(const QWidget& window) {
    QStringList unnamed;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(control);
        if (IsInteractive(control) &&
            (spoken == nullptr || spoken->text(QAccessible::Name).trimmed().isEmpty())) {
            unnamed << QStringLiteral("%1 %2").arg(
                QString::fromLatin1(control->metaObject()->className()), control->objectName());
        }
    }
    return unnamed;
}

} // namespace

using lapwerk::test::Rows;
using lapwerk::test::WindowFixture;

class WindowTextsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every control a user can act on has a name a screen reader says.
    void everyControlHasAName() {
        WindowFixture window(WindowFixture::Parts::Metric);
        QCOMPARE(UnnamedControls(window.form()), QStringList());
        window.trigger("OwnedPieces1");
        QCOMPARE(UnnamedControls(*window.form().ownedForm()), QStringList());
        window.dialogs().closeTrackScript = [](lapwerk::CloseTrackDialog& dialog) {
            QCOMPARE(UnnamedControls(dialog), QStringList());
        };
        window.doubleClickPart(0);
        window.trigger("CloseTrack1");
        window.dialogs().suggestLayoutsScript = [](lapwerk::SuggestLayoutsDialog& dialog) {
            QCOMPARE(UnnamedControls(dialog), QStringList());
        };
        window.trigger("SuggestLayouts1");
        QCOMPARE(window.dialogs().closeTracksShown + window.dialogs().suggestLayoutsShown, 2);

        QStringList exportUnnamed{QStringLiteral("not shown")};
        QTimer::singleShot(0, [&exportUnnamed] {
            QWidget* dialog = QApplication::activeModalWidget();
            exportUnnamed = UnnamedControls(*dialog);
            static_cast<QDialog*>(dialog)->reject();
        });
        lapwerk::QtDialogs().chooseImageExport(&window.form(), {});
        QCOMPARE(exportUnnamed, QStringList());
    }

    // What a screen reader says where the screen shows a picture or nothing: the design view
    // reads as the status bar, a blank left-over count as 0, a suggested layout as its pieces.
    void picturesAndBlanksAreSpoken() {
        WindowFixture window;
        QCOMPARE(window.area()->accessibleDescription(), window.form().statusText());
        QListWidget* left = window.list("OverList");
        QCOMPARE(Rows(left), (QStringList{"4", "", "2", ""}));
        QCOMPARE(left->item(1)->data(Qt::AccessibleTextRole).toString(), QString("0"));
        window.quit();

        WindowFixture metric(WindowFixture::Parts::Metric);
        metric.dialogs().suggestLayoutsScript = [](lapwerk::SuggestLayoutsDialog& dialog) {
            dialog.findChild<QSpinBox*>("MaxSeconds")->setValue(1);
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.searching(), 20000);
            QListWidget* layouts = dialog.findChild<QListWidget*>("LayoutList");
            QVERIFY(layouts->count() > 0);
            const QString spoken = layouts->item(0)->data(Qt::AccessibleTextRole).toString();
            QVERIFY2(spoken.startsWith(layouts->item(0)->text() + ": ") &&
                         spoken.endsWith(layouts->item(0)->toolTip()) && spoken.contains(" × "),
                     qPrintable(spoken));
        };
        metric.trigger("SuggestLayouts1");
        QCOMPARE(metric.dialogs().suggestLayoutsShown, 1);
    }

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
