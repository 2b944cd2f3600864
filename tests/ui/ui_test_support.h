#pragma once

// Shared helpers of the window tests: an isolated working directory and settings store, a
// dialogs implementation that records and answers, and the pixels of sections on screen.

#include "command_dialogs.h"
#include "design_area.h"
#include "dialogs.h"
#include "main_form.h"
#include "records.h"

#include "walk.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace lapwerk::test {

/// A message or question the window showed.
struct ShownBox {
    QString text;
    QString caption;
    bool operator==(const ShownBox&) const = default;
};

/// Records every box; answers questions from a queue, Yes when it is empty.
class TestDialogs final : public Dialogs {
public:
    std::vector<ShownBox>& shown;
    std::deque<bool>& answers;

    TestDialogs(std::vector<ShownBox>& shownBoxes, std::deque<bool>& queuedAnswers)
        : shown(shownBoxes), answers(queuedAnswers) {}

    void message(QWidget*, const QString& text, const QString& caption) override {
        shown.push_back({text, caption});
    }
    bool question(QWidget*, const QString& text, const QString& caption) override {
        shown.push_back({text, caption});
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

/// Answers the file dialogs with the paths queued, a cancel when the queue is empty, and
/// cancels the print and printer set-up dialogs.
class TestCommandDialogs final : public CommandDialogs {
public:
    std::vector<FileDialogKind>& fileDialogsShown;
    std::deque<QString>& chosenFiles;

    TestCommandDialogs(std::vector<FileDialogKind>& shownKinds, std::deque<QString>& files)
        : fileDialogsShown(shownKinds), chosenFiles(files) {}

    QString chooseFile(QWidget*, FileDialogKind kind) override {
        fileDialogsShown.push_back(kind);
        if (chosenFiles.empty()) {
            return {};
        }
        QString path = chosenFiles.front();
        chosenFiles.pop_front();
        return path;
    }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    void pageSetup(QWidget*, QPrinter&) override {}
};

/// A temporary working directory holding the test parts.def and sections.own, and a settings
/// store of its own. Make one in initTestCase.
class IsolatedWorkplace {
public:
    IsolatedWorkplace() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.filePath("config"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.filePath("config"));
        for (const char* name : {"parts.def", "sections.own"}) {
            QFile::copy(QString(LAPWERK_TEST_DATA "/ui/") + name, dir_.filePath(name));
        }
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }
    ~IsolatedWorkplace() { QDir::setCurrent(previous_); }

    QString path() const { return dir_.path(); }

    /// Removes every stored setting.
    static void clearSettings() {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, "Lapwerk V2");
        store.clear();
        store.sync();
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

/// One main window over records of its own, shown, with recording dialogs.
struct Window {
    std::unique_ptr<ProgramRecords> records = std::make_unique<ProgramRecords>();
    std::vector<ShownBox> shown;
    std::deque<bool> answers;
    std::vector<FileDialogKind> fileDialogs; ///< the file dialogs shown, in order
    std::deque<QString> files;               ///< the paths the file dialogs answer, in order
    std::unique_ptr<TMainForm> form;

    explicit Window(bool showIt = true) {
        form = std::make_unique<TMainForm>(*records, std::make_unique<TestDialogs>(shown, answers));
        form->setCommandDialogs(std::make_unique<TestCommandDialogs>(fileDialogs, files));
        if (showIt) {
            form->show();
            if (!QTest::qWaitForWindowExposed(form.get())) {
                qWarning("the main window was not exposed");
            }
            form->activateWindow();
            if (!QTest::qWaitForWindowActive(form.get())) {
                qWarning("the main window did not become active");
            }
        }
    }

    Design& design() { return records->design; }
    Track& current() { return records->design.tracks[records->design.currentTrack]; }
    DesignArea* area() { return form->designArea(); }

    template <typename T> T* find(const char* name) {
        T* child = form->findChild<T*>(name);
        if (child == nullptr) {
            qFatal("no child %s", name);
        }
        return child;
    }
    QAction* action(const char* name) { return find<QAction>(name); }
    QListWidget* list(const char* name) { return find<QListWidget>(name); }

    /// Runs a menu item or button as the user would.
    void trigger(const char* name) { action(name)->trigger(); }

    /// Left or right click at pixel `at` of the drawing area.
    void click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(area(), button, {}, at);
    }

    /// Selects row `row` of the part list and double-clicks it.
    void doubleClickPart(int row) {
        QListWidget* parts = list("DeelList");
        const QRect rect = parts->visualItemRect(parts->item(row));
        QTest::mouseClick(parts->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(parts->viewport(), Qt::LeftButton, {}, rect.center());
    }

    /// Selects row `row` of the part list by a click.
    void clickPart(int row) {
        QListWidget* parts = list("DeelList");
        const QRect rect = parts->visualItemRect(parts->item(row));
        QTest::mouseClick(parts->viewport(), Qt::LeftButton, {}, rect.center());
    }

    /// The pixel of section `section`'s marker point of track `slot` at the last pass's
    /// scale.
    QPoint markerPixel(int slot, int section) {
        struct Finder : WalkObserver {
            int wanted;
            std::optional<FinePoint> marker;
            void sectionWalked(int, int s, const PenPose&, const std::optional<FinePoint>& m,
                               const PenPose&) override {
                if (s == wanted) {
                    marker = m;
                }
            }
        } finder;
        finder.wanted = section;
        const DesignView& view = records->view;
        WalkDesignSilently(design(), records->library, ScreenZoomScale(view.zoom),
                           view.areaWidth / 2, view.areaHeight / 2, finder, slot);
        if (!finder.marker) {
            qFatal("section %d of track %d has no marker", section, slot);
        }
        const PixelPoint pixel = ToPixel(*finder.marker);
        return QPoint(pixel.x, pixel.y);
    }

    /// The pixel of track `slot`'s begin point.
    QPoint beginPixel(int slot) {
        const DesignView& view = records->view;
        const int32_t zoomScale = ScreenZoomScale(view.zoom);
        const Track& track = design().tracks[slot];
        const int32_t x = ((view.areaWidth / 2) << 8) + ((track.beginX * zoomScale) >> 8);
        const int32_t y = ((view.areaHeight / 2) << 8) + ((track.beginY * zoomScale) >> 8);
        return QPoint(x >> 8, y >> 8);
    }

    /// Number of track slots in use.
    int tracksInUse() {
        int count = 0;
        for (const Track& track : design().tracks) {
            count += track.inUse != 0 ? 1 : 0;
        }
        return count;
    }
};

/// The texts of the rows of a list.
inline QStringList Rows(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) {
        rows << list->item(i)->text();
    }
    return rows;
}

} // namespace lapwerk::test
