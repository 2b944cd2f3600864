#include "command_fixture.h"

#include "about_form.h"
#include "help_form.h"
#include "list_form.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace lapwerk;
using namespace lapwerk::test;

class HelpCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowsAreCreatedHidden() {
        CommandFixture fixture;
        QVERIFY(!fixture.form().listForm()->isVisible());
        QVERIFY(!fixture.form().aboutForm()->isVisible());
        QVERIFY(!fixture.form().helpForm()->isVisible());
        QCOMPARE(fixture.form().listForm()->reportLines(), QStringList{"TrackList"});
    }

    void aboutIsShownModally() {
        CommandFixture fixture;
        QWidget* shown = nullptr;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget();
            if (shown != nullptr) {
                shown->close();
            }
        });
        fixture.form().About1Click();
        QCOMPARE(shown, static_cast<QWidget*>(fixture.form().aboutForm()));
        QVERIFY(!fixture.form().aboutForm()->isVisible());
    }

    void helpTopicsOpensTheContents() {
        CommandFixture fixture;
        fixture.form().HelpTopics1Click();
        QVERIFY(fixture.form().helpForm()->isVisible());
        QCOMPARE(fixture.form().helpForm()->currentUrl(), THelpForm::topicUrl(0));
    }

    void helpKeyOpensTheMainWindowTopic() {
        CommandFixture fixture;
        fixture.form().show();
        fixture.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.form()));
        QTest::keyClick(&fixture.form(), Qt::Key_F1);
        QVERIFY(fixture.form().helpForm()->isVisible());
        QCOMPARE(fixture.form().helpForm()->currentUrl(),
                 THelpForm::topicUrl(THelpForm::kMainWindowContext));
    }

    void helpKeyDoesNothingInTheOtherWindows() {
        CommandFixture fixture;
        TListForm* list = fixture.form().listForm();
        list->show();
        list->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(list));
        QTest::keyClick(list, Qt::Key_F1);
        QVERIFY(!fixture.form().helpForm()->isVisible());
    }
};

QTEST_MAIN(HelpCommandsTest)
#include "help_commands_test.moc"
