// The windows on a desktop with a window manager, played through the window system as a user
// plays them: focus, stacking and popups only behave there as users see them. Run by
// with-window-manager.sh on a display of its own.

#include "window_fixture.h"

#include "close_track_dialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTimer>

#include <functional>

using lapwerk::test::WindowFixture;

namespace {

/// Clicks the middle of `widget` through its window.
void Click(QWidget* widget) {
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(window, widget->rect().center()));
}

/// Types `text` into the window that has the focus, key by key.
void Type(const QString& text) {
    for (const QChar c : text) {
        QTest::keyClick(QGuiApplication::focusWindow(), c.toLatin1());
    }
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QGuiApplication::focusWindow(), key, modifiers);
}

/// Plays `user` in the modal dialog that the next step opens, once it is active. It waits from
/// the event loop of that dialog, which runs within the step.
void InTheNextDialog(std::function<void(QWidget&)> user) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, user = std::move(user)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || !dialog->isActiveWindow()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        user(*dialog);
    });
    poll->start(50);
}

/// The top-level windows from the bottom to the top, as the window manager stacks them.
QList<WId> Stacking() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    xprop.waitForFinished();
    const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
    QList<WId> windows;
    for (const QString& id : out.section(QLatin1Char('#'), 1).split(QLatin1Char(','))) {
        windows << id.trimmed().toULongLong(nullptr, 16);
    }
    return windows;
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Open a design by a typed name and Return, click the status bar, Ctrl+N, type a width,
    // Tab, type a depth, Return: the board takes both sizes.
    void boardSizeSticksAfterAFileDialog() {
        WindowFixture window(WindowFixture::Parts::Example, WindowFixture::Show::Yes,
                             WindowFixture::Dialogs::Real);
        QFile::copy(LAPWERK_EXAMPLES "/oval.tr2", window.path(QStringLiteral("oval.tr2")));
        InTheNextDialog([](QWidget&) {
            Type(QStringLiteral("oval.tr2"));
            // The completion list shows the name; Return takes it and opens the file.
            QVERIFY(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
            Press(Qt::Key_Return);
        });
        Press(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(window.design().tracks[0].sectionCount, 16);
        QVERIFY(QTest::qWaitForWindowActive(&window.form()));

        Click(window.form().statusBar());
        Press(Qt::Key_N, Qt::ControlModifier);
        const float depth = window.design().boardY;
        for (const auto& [box, text, leave] : {std::tuple{"Xboard", "3", Qt::Key_Tab},
                                               std::tuple{"Yboard", "1.5", Qt::Key_Return}}) {
            Click(window.find<QLineEdit>(box));
            Press(Qt::Key_A, Qt::ControlModifier);
            Type(QString::fromLatin1(text));
            Press(leave);
        }
        QCOMPARE(window.design().boardX, 118.11024f); // 3 m in inches
        QCOMPARE(window.design().boardY, 59.05512f);
        // The keys act on the design again: Ctrl+Z takes the depth back.
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.design().boardY, depth);
        QCOMPARE(window.design().boardX, 118.11024f);
    }

    // Each tool window opens beside the main window, stands below a modal dialog and closes
    // with Esc.
    void toolWindowsStandBelowDialogsAndCloseWithEscape() {
        WindowFixture window(WindowFixture::Parts::Example, WindowFixture::Show::Yes,
                             WindowFixture::Dialogs::Real);
        lapwerk::TMainForm& form = window.form();
        for (const auto& [command, tool] : window.toolWindows()) {
            window.trigger(command);
            QTRY_VERIFY2(QGuiApplication::focusWindow() == tool->windowHandle(), command);
            QVERIFY2(!tool->frameGeometry().intersects(form.frameGeometry()) ||
                         tool->frameGeometry().top() >=
                             form.centralWidget()->mapToGlobal(QPoint()).y(),
                     command);
            QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Question"),
                            QStringLiteral("Over the tools?"), QMessageBox::Ok, &form);
            qsizetype boxAt = -1;
            qsizetype toolAt = -1;
            InTheNextDialog([&](QWidget& dialog) {
                QTest::qWait(200); // the window manager restacks after it activates
                const QList<WId> stacking = Stacking();
                boxAt = stacking.indexOf(dialog.winId());
                toolAt = stacking.indexOf(tool->winId());
                static_cast<QDialog&>(dialog).accept();
            });
            box.exec();
            QVERIFY2(boxAt > toolAt && toolAt >= 0, command);
            QVERIFY2(QTest::qWaitForWindowActive(&form), command);
            tool->activateWindow();
            QTRY_VERIFY2(QGuiApplication::focusWindow() == tool->windowHandle(), command);
            Press(Qt::Key_Escape);
            QTRY_VERIFY2(!tool->isVisible(), command);
        }
    }

    // Ctrl+L, then Return once the search has ended, applies the best proposal; the keys then
    // act on the design, not in the board box that had the focus.
    void ctrlLThenReturnAppliesTheBest() {
        WindowFixture window(WindowFixture::Parts::Example, WindowFixture::Show::Yes,
                             WindowFixture::Dialogs::Real);
        for (int i = 0; i < 7; ++i) {
            window.doubleClickPart(5); // C179, a 45-degree curve: one short of a circle
        }
        InTheNextDialog([](QWidget& dialog) {
            auto& search = static_cast<lapwerk::CloseTrackDialog&>(dialog);
            QVERIFY(QTest::qWaitFor([&search] { return !search.searching(); }, 30000));
            Press(Qt::Key_Return);
            if (!QTest::qWaitFor([&search] { return !search.isVisible(); })) {
                search.reject(); // Return did nothing: the test fails below
            }
        });
        Click(window.find<QLineEdit>("Xboard")); // the keys then act in the box
        Press(Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(window.current().sectionCount, 8);
        QCOMPARE(window.form().focusWidget(), window.area());
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
