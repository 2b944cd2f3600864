#include "window_fixture.h"

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
        WindowFixture fixture(WindowFixture::Parts::Metric);
        QVERIFY(!fixture.form().listForm()->isVisible());
        QVERIFY(!fixture.form().aboutForm()->isVisible());
        QVERIFY(!fixture.form().helpForm()->isVisible());
        QCOMPARE(fixture.form().listForm()->reportLines(), QStringList{"TrackList"});
    }

    void aboutIsShownModally() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        QWidget* shown = nullptr;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget();
            if (shown != nullptr) {
                shown->close();
            }
        });
        fixture.trigger("About1");
        QCOMPARE(shown, static_cast<QWidget*>(fixture.form().aboutForm()));
        QVERIFY(!fixture.form().aboutForm()->isVisible());
    }

    void helpTopicsOpensTheContents() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.trigger("HelpTopics1");
        QVERIFY(fixture.form().helpForm()->isVisible());
        QCOMPARE(fixture.form().helpForm()->currentUrl(), THelpForm::topicUrl(0));
    }

    void helpKeyOpensTheMainWindowTopic() {
        WindowFixture fixture(WindowFixture::Parts::Metric);
        fixture.form().show();
        fixture.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.form()));
        QTest::keyClick(&fixture.form(), Qt::Key_F1);
        QVERIFY(fixture.form().helpForm()->isVisible());
        QCOMPARE(fixture.form().helpForm()->currentUrl(),
                 THelpForm::topicUrl(THelpForm::kMainWindowContext));
    }

    void helpKeyDoesNothingInTheOtherWindows() {
        // The offscreen platform does not hand the activation from a shown main window to
        // another window, so the main window stays hidden here.
        WindowFixture fixture(WindowFixture::Parts::Metric, WindowFixture::Show::No);
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
