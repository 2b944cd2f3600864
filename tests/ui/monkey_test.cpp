// The monkey test: drives the real main window with random user actions drawn from a seed and
// checks after every action what must always hold, whatever the user did.
//
// MONKEY_ACTIONS (default 2000) and MONKEY_SEED (default 1) choose the run; `make monkey` runs
// a long one. A failure, a crash or a sanitizer report names the seed and the action number,
// so that the same run can be made again up to that action.

#include "window_fixture.h"

#include "close_track_dialog.h"
#include "command_table.h"
#include "owned_form.h"
#include "part_panel.h"

#include "board.h"
#include "design_files.h"
#include "part_counts.h"
#include "tr2_file.h"
#include "undo.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// The sanitizers call this back before they end the process; absent in other builds.
extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

using lapwerk::Design;
using lapwerk::kMaxSections;
using lapwerk::kMaxTracks;
using lapwerk::Track;
using lapwerk::test::kOneTrackDesign;
using lapwerk::test::WindowFixture;

namespace {

/// Where the run stands, kept as plain text for the crash handlers.
char g_whereabouts[256] = "monkey: before the first action\n";

void TellWhereabouts() {
    const ssize_t written = write(STDERR_FILENO, g_whereabouts, std::strlen(g_whereabouts));
    (void)written;
}

void OnFatalSignal(int signal) {
    TellWhereabouts();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

QtMessageHandler g_messageHandler = nullptr; ///< the handler before QuietPlatformNotes

/// Passes every message on but the offscreen platform's notes on what it cannot do, which
/// would bury the run's own output.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support"))) {
        g_messageHandler(type, context, text);
    }
}

void InstallCrashReports() {
    for (const int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) {
        std::signal(signal, OnFatalSignal);
    }
    if (__sanitizer_set_death_callback != nullptr) {
        __sanitizer_set_death_callback(TellWhereabouts);
    }
}

/// What is compared of a design: its saved form, and the current track and selections.
struct DesignState {
    QByteArray saved;
    std::vector<int> selections; ///< the current track, then each slot's selected section

    bool operator==(const DesignState&) const = default;
};

DesignState StateOf(const Design& design, const lapwerk::PartLibrary& library) {
    DesignState state;
    std::string bytes;
    if (lapwerk::MaybeMessage refused = lapwerk::FormatDesign(design, library, bytes)) {
        bytes = "unsavable: " + refused->text;
    }
    state.saved = QByteArray::fromStdString(bytes);
    state.selections.push_back(design.currentTrack);
    for (const Track& track : design.tracks) {
        state.selections.push_back(track.selectedSection);
    }
    return state;
}

/// Where the history stands.
struct HistoryMark {
    int undoCount, position, redoLimit;
    bool operator==(const HistoryMark&) const = default;
};

HistoryMark MarkOf(const lapwerk::UndoRing& history) {
    return {history.undoCount, history.position, history.redoLimit};
}

/// Texts typed into the board boxes: sizes and texts that are none.
const char* const kBoardTexts[] = {"1.5", "3",  "0.8",  " 2.00", "12.5", "",     "abc",
                                   "0",   "-1", "1e40", "2 m",   ".",    "0.001"};

/// The files the monkey opens and imports, in its temporary folder, and those it saves to.
const char* const kDesignNames[] = {"a.tr2",       "b.tr2",      "full.tr2",   "open-oval.tr2",
                                    "picture.tr2", "letter.tr2", "missing.tr2"};
const char* const kTrkNames[] = {"good.trk", "bad.trk", "missing.trk"};
const char* const kSaveNames[] = {"a.tr2", "b.tr2", "c.tr2"};

/// The monkey's part library (the metric one of the window tests) with its two parts swapped.
QByteArray SwappedLibrary() {
    return "METRIC\n"
           "C152\nCurve R1 45\n2\n156\n0\n45\n370\n228\n167\n"
           "C151\nStraight 350 mm\n1\n156\n350\n0\n0\n0\n0\n";
}

/// A design at the model's limits: 64 tracks, the first one a section short of full.
QByteArray DesignAtTheLimits() {
    QByteArray text = "78.74\n59.06\n0\n";
    for (int track = 0; track < kMaxTracks; ++track) {
        const int count = track == 0 ? kMaxSections - 1 : 2;
        text += QByteArray::number(count) + "\n" + QByteArray::number(track * 20 % 1440) + "\n" +
                QByteArray::number(track * 400) + "\n0\n0\n";
        for (int i = 0; i < count; ++i) {
            text += i % 2 == 0 ? "C151 L\n" : "C152 R\n";
        }
    }
    return text;
}

class Monkey {
public:
    Monkey(WindowFixture& window, uint64_t seed) : window_(window), seed_(seed), random_(seed) {
        window_.writeFile(QStringLiteral("a.tr2"), kOneTrackDesign);
        fixedFiles_ = {
            {QStringLiteral("letter.tr2"), QByteArray("# My notes\nthis is a letter\n")},
            {QStringLiteral("picture.tr2"), QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)},
            {QStringLiteral("full.tr2"), DesignAtTheLimits()},
            // An oval that two more curves close.
            {QStringLiteral("open-oval.tr2"),
             QByteArray("78.74\n59.06\n0\n8\n720\n0\n0\n0\nC151 L\nC152 L\nC152 L\nC152 "
                        "L\nC152 L\nC151 L\nC152 L\nC152 L\n")},
            {QStringLiteral("good.trk"), QByteArray("1 0 250 120 0 0 0 3 0 1001 1 0 0\n")},
            {QStringLiteral("bad.trk"), QByteArray("1 0 250 120 0 0 0 3 0 1001 17 0 0\n")},
            // Part libraries: the same parts in another order, and one that lacks C151.
            {QStringLiteral("swapped/parts.def"), SwappedLibrary()},
            {QStringLiteral("lacking/parts.def"),
             SwappedLibrary().left(SwappedLibrary().indexOf("C151"))},
        };
        QDir(window_.path(QString())).mkpath(QStringLiteral("swapped"));
        QDir(window_.path(QString())).mkpath(QStringLiteral("lacking"));
        for (const auto& [name, bytes] : fixedFiles_) {
            if (name.endsWith(QLatin1String("parts.def"))) {
                prepare(name);
            }
        }
        actions_ = {
            {"command", 14, [this] { runCommand(); }},
            {"left click", 10, [this] { click(Qt::LeftButton, randomPixel()); }},
            {"left click on a section", 10, [this] { clickSection(Qt::LeftButton); }},
            {"right click", 3, [this] { click(Qt::RightButton, randomPixel()); }},
            {"right click on a section", 2, [this] { clickSection(Qt::RightButton); }},
            {"part double click", 10, [this] { doubleClickPart(); }},
            {"part click", 4, [this] { clickPart(); }},
            {"key", 14, [this] { typeKey(); }},
            {"board box", 5, [this] { typeBoardSize(); }},
            {"zoom bar", 3, [this] { moveBar("ZoomBar"); }},
            {"rotate bar", 3, [this] { moveBar("RotateBar"); }},
            {"wheel", 2, [this] { turnWheel(); }},
            {"pan drag", 2, [this] { dragView(); }},
            {"direction radio", 2, [this] { clickRadio(); }},
            {"undo", 4, [this] { window_.trigger("UndoItem"); }},
            {"redo", 3, [this] { window_.trigger("RedoItem"); }},
            {"undo then redo", 3, [this] { undoThenRedo(); }},
            {"save as", 2, [this] { saveAs(); }},
            {"save", 1,
             [this] {
                 answerFile(randomSaveName());
                 window_.trigger("Save1");
             }},
            {"open", 2, [this] { openFile(); }},
            {"import", 1, [this] { importFile(); }},
            {"close track", 1, [this] { closeTrack(); }},
            {"suggest layouts", 1, [this] { suggestLayouts(); }},
            {"owned count", 2, [this] { typeOwnedCount(); }},
            {"main window active", 1, [this] { activateMainWindow(); }},
        };
        for (const Action& action : actions_) {
            totalWeight_ += action.weight;
        }
    }

    /// What the run went through, for its last line.
    QString summary() const {
        return QStringLiteral("monkey: %1 designs saved and opened again, %2 loads refused, %3 "
                              "messages shown, longest track %4 sections, most tracks %5, %6 "
                              "closing proposals applied, %7 layouts suggested and added")
            .arg(reopened_)
            .arg(refusedLoads_)
            .arg(messages_)
            .arg(longestTrack_)
            .arg(mostTracks_)
            .arg(closed_)
            .arg(suggested_);
    }

    /// Runs `count` actions; false when an invariant broke (the failure is reported).
    bool run(int count) {
        for (number_ = 1; number_ <= count; ++number_) {
            const Action& action = pick();
            std::snprintf(g_whereabouts, sizeof g_whereabouts,
                          "monkey: seed %llu, action %d (%s)\n",
                          static_cast<unsigned long long>(seed_), number_, action.name);
            const HistoryMark before = MarkOf(window_.records().history);
            action.act();
            if (!window_.form().isVisible()) {
                // Exit or the close box ended the run: the next start continues.
                window_.restart();
            }
            if (!check(before)) {
                return false;
            }
            messages_ += static_cast<int>(window_.dialogs().messages.size());
            window_.dialogs().answers.clear();
            window_.dialogs().files.clear();
            window_.dialogs().messages.clear();
            window_.dialogs().closeTrackScript = nullptr;
            window_.dialogs().suggestLayoutsScript = nullptr;
        }
        return true;
    }

private:
    struct Action {
        const char* name;
        int weight;
        std::function<void()> act;
    };

    int randomBelow(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    bool chance(int percent) { return randomBelow(100) < percent; }

    const Action& pick() {
        int ticket = randomBelow(totalWeight_);
        for (const Action& action : actions_) {
            ticket -= action.weight;
            if (ticket < 0) {
                return action;
            }
        }
        return actions_.back();
    }

    /// Writes `name` afresh when it is one of the fixed files (a Save may have replaced it) and
    /// removes it when it is to be missing.
    void prepare(const QString& name) {
        QFile file(window_.path(name));
        if (name.startsWith(QLatin1String("missing."))) {
            file.remove();
        }
        for (const auto& [fixedName, bytes] : fixedFiles_) {
            if (fixedName == name && file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                file.write(bytes);
            }
        }
    }

    QPoint randomPixel() {
        return QPoint(randomBelow(window_.area()->width()), randomBelow(window_.area()->height()));
    }

    int randomRow() { return randomBelow(window_.list("DeelList")->count()); }

    template <size_t n> QString randomName(const char* const (&names)[n]) {
        return QString::fromLatin1(names[randomBelow(static_cast<int>(n))]);
    }
    QString randomSaveName() { return randomName(kSaveNames); }

    /// Answers the next guard question No now and then.
    void maybeSayNo() {
        if (chance(15)) {
            window_.dialogs().answers = {false};
        }
    }

    /// Answers the next file dialog with `name` in the folder (or cancels it now and then),
    /// and a guard question before it now and then No.
    void answerFile(const QString& name) {
        maybeSayNo();
        if (chance(90)) {
            window_.dialogs().files = {window_.path(name)};
        }
    }

    /// Makes the main window the active one, as a click into it does.
    void activateMainWindow() {
        if (!window_.form().isActiveWindow()) {
            window_.form().activateWindow();
            // The activation arrives as an event (after a closed modal box the platform window
            // may count as active already, so waiting for that would not deliver it).
            QApplication::processEvents();
            expect(window_.form().isActiveWindow(), "the main window did not become active");
        }
    }

    void click(Qt::MouseButton button, QPoint at) {
        activateMainWindow();
        QTest::mouseClick(window_.area(), button, {}, at);
    }

    /// A click on the marker of a random section of a random track in use, or on its begin.
    void clickSection(Qt::MouseButton button) {
        std::vector<int> slots;
        for (int slot = 0; slot < kMaxTracks; ++slot) {
            if (window_.design().tracks[slot].inUse != 0) {
                slots.push_back(slot);
            }
        }
        if (slots.empty()) {
            click(button, randomPixel());
            return;
        }
        const int slot = slots[randomBelow(static_cast<int>(slots.size()))];
        const int count = window_.design().tracks[slot].sectionCount;
        const std::optional<QPoint> marker = count > 0 && chance(85)
                                                 ? window_.markerPixelOf(slot, randomBelow(count))
                                                 : std::optional(window_.beginPixel(slot));
        click(button, marker.value_or(randomPixel()));
    }

    void clickPart() {
        activateMainWindow();
        window_.clickPart(randomRow());
    }

    void doubleClickPart() {
        activateMainWindow();
        window_.doubleClickPart(randomRow());
    }

    void runCommand() {
        std::vector<const lapwerk::Command*> commands;
        for (const lapwerk::Command& command : lapwerk::CommandTable()) {
            if (command.handler != nullptr) {
                commands.push_back(&command);
            }
        }
        const lapwerk::Command& command = *commands[randomBelow(static_cast<int>(commands.size()))];
        const QString name = QString::fromLatin1(command.name);
        if (name == QLatin1String("About1")) {
            // The About box is modal: it is closed as soon as it shows.
            QTimer::singleShot(0, [] {
                if (QWidget* shown = QApplication::activeModalWidget()) {
                    shown->close();
                }
            });
        } else if (name == QLatin1String("ExportImage1")) {
            const char* const names[] = {"view.png", "view.svg", "page.pdf", "view.txt"};
            answerFile(randomName(names));
        } else if (name == QLatin1String("Print1") || name == QLatin1String("PrintTracklist1")) {
            window_.dialogs().printOk = chance(50);
        } else if (name == QLatin1String("PrintFullSize1")) {
            window_.dialogs().printOk = chance(50);
            window_.dialogs().fullSizePrintScript = nullptr;
            if (chance(50)) {
                window_.dialogs().fullSizePrintScript = [](lapwerk::FullSizePrintDialog& dialog) {
                    dialog.reject();
                };
            }
        } else if (name == QLatin1String("ExportPartsList1")) {
            const char* const names[] = {"parts.csv", "missing/parts.csv"};
            answerFile(randomName(names));
        } else if (name == QLatin1String("PartLibrary1")) {
            const char* const names[] = {"parts.def", "swapped/parts.def", "lacking/parts.def",
                                         "letter.tr2", "missing/parts.def"};
            answerFile(randomName(names));
        } else if (name == QLatin1String("AddDesignToOwned1")) {
            maybeSayNo();
        } else if (name == QLatin1String("Exit1") || name == QLatin1String("New1")) {
            maybeSayNo();
        }
        // The menu item or the toolbar button, as far as the command has both.
        const bool button =
            command.button.name != nullptr && (command.caption == nullptr || chance(50));
        window_.trigger(button ? command.button.name : command.name);
    }

    /// Types a count, or a text that is none, into a row of the Owned Pieces window and ends
    /// it with Enter or Tab.
    void typeOwnedCount() {
        static const char* const texts[] = {"3", "0", "12", " 7 ", "-1", "x", "", "99999999999"};
        window_.trigger("OwnedPieces1");
        QTableWidget* table = window_.form().ownedForm()->table();
        if (table->rowCount() == 0) {
            return;
        }
        table->setCurrentCell(randomBelow(table->rowCount()), 2);
        // The editor has the window's focus, active or not.
        QWidget* editor = table->window()->focusWidget();
        if (editor == nullptr) {
            return;
        }
        QTest::keyClicks(editor, randomName(texts));
        QTest::keyClick(editor, chance(50) ? Qt::Key_Return : Qt::Key_Tab);
    }

    void typeKey() {
        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        };
        static const Key keys[] = {
            {Qt::Key_1, {}},
            {Qt::Key_2, {}},
            {Qt::Key_Delete, {}},
            {Qt::Key_Insert, {}},
            {Qt::Key_D, Qt::ControlModifier},
            {Qt::Key_Z, Qt::ControlModifier},
            {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
            {Qt::Key_F11, {}},
            {Qt::Key_F12, {}},
            {Qt::Key_Return, {}},
            {Qt::Key_Tab, {}},
            {Qt::Key_A, {}},
            {Qt::Key_Escape, {}},
            // the design view's keys
            {Qt::Key_Home, {}},
            {Qt::Key_End, {}},
            {Qt::Key_Left, {}},
            {Qt::Key_Right, {}},
            {Qt::Key_PageUp, {}},
            {Qt::Key_PageDown, {}},
            {Qt::Key_BracketLeft, {}},
            {Qt::Key_BracketRight, {}},
            {Qt::Key_Up, Qt::ControlModifier},
            {Qt::Key_Down, Qt::ControlModifier},
            {Qt::Key_Left, Qt::ControlModifier},
            {Qt::Key_Right, Qt::ControlModifier},
        };
        const Key& key = keys[randomBelow(static_cast<int>(std::size(keys)))];
        if (chance(40)) {
            window_.area()->setFocus();
        }
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : &window_.form(), key.key, key.modifiers);
    }

    /// Types a text into a board box and leaves it one way or another, or not at all.
    void typeBoardSize() {
        activateMainWindow();
        auto* box = window_.find<QLineEdit>(chance(50) ? "Xboard" : "Yboard");
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, randomName(kBoardTexts));
        switch (randomBelow(4)) {
        case 0:
            QTest::keyClick(box, Qt::Key_Return);
            break;
        case 1:
            click(Qt::LeftButton, randomPixel());
            break;
        case 2:
            clickPart();
            break;
        default:
            break; // still being edited when the next action comes
        }
    }

    void moveBar(const char* name) {
        auto* bar = window_.find<QAbstractSlider>(name);
        bar->setValue(bar->minimum() + randomBelow(bar->maximum() - bar->minimum() + 1));
    }

    void turnWheel() {
        const QPoint at = randomPixel();
        const int delta = (randomBelow(7) - 3) * 120;
        const Qt::KeyboardModifiers modifiers = chance(30) ? Qt::ShiftModifier : Qt::NoModifier;
        QWheelEvent wheel(at, window_.area()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window_.area(), &wheel);
    }

    /// Moves the view: a drag with the middle button, or a scroll bar moved.
    void dragView() {
        if (chance(30)) {
            moveBar(chance(50) ? "HorizontalScrollBar" : "VerticalScrollBar");
            return;
        }
        QWidget* area = window_.area();
        const QPoint from = randomPixel();
        QTest::mousePress(area, Qt::MiddleButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(randomPixel()), QPointF(), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(area, &move);
        QTest::mouseRelease(area, Qt::MiddleButton, Qt::NoModifier, randomPixel());
    }

    void clickRadio() {
        window_.find<QRadioButton>(chance(50) ? "LeftRadio" : "RightRadio")->click();
    }

    /// Undo followed by Redo gives back the design last recorded, as it was.
    void undoThenRedo() {
        if (!lapwerk::CanUndo(window_.records().history)) {
            return;
        }
        const lapwerk::UndoRing& history = window_.records().history;
        const DesignState recorded = StateOf(history.slots[history.position], library());
        window_.trigger("UndoItem");
        window_.trigger("RedoItem");
        expect(StateOf(window_.design(), library()) == recorded,
               "Undo then Redo did not give back the design last recorded");
    }

    /// Save As under a random name; when it was written, opening it again gives the design.
    void saveAs() {
        const DesignState before = StateOf(window_.design(), library());
        const QString name = randomSaveName();
        answerFile(name);
        const bool answered = !window_.dialogs().files.isEmpty();
        window_.trigger("SaveAs1");
        if (!answered || !window_.dialogs().messages.isEmpty()) {
            return; // cancelled or not written
        }
        window_.dialogs().answers.clear();
        window_.open(window_.path(name));
        expect(window_.dialogs().messages.isEmpty(), "a design just saved did not open again");
        expect(StateOf(window_.design(), library()).saved == before.saved,
               "a design saved and opened again is not the same");
        ++reopened_;
    }

    void openFile() {
        const QString name = randomName(kDesignNames);
        prepare(name);
        loadChecked([&] {
            answerFile(name);
            window_.trigger("Open1");
        });
    }

    /// Edit > Close Track, played through: the search for at most a few pieces, then Apply when
    /// it found a proposal; now and then on an oval that two curves close.
    void closeTrack() {
        if (chance(50)) {
            prepare(QStringLiteral("open-oval.tr2"));
            window_.open(window_.path(QStringLiteral("open-oval.tr2")));
        }
        const int pieces = 1 + randomBelow(6);
        window_.dialogs().closeTrackScript = [this, pieces](lapwerk::CloseTrackDialog& dialog) {
            dialog.findChild<QSpinBox*>(QStringLiteral("MaxPieces"))->setValue(pieces);
            const bool done = QTest::qWaitFor([&] { return !dialog.searching(); }, 60 * 1000);
            auto* apply = dialog.findChild<QPushButton*>(QStringLiteral("ApplyButton"));
            if (done && apply->isEnabled()) {
                ++closed_;
                QTest::mouseClick(apply, Qt::LeftButton);
            }
        };
        window_.trigger("CloseTrack1");
    }

    /// Suggest Layouts, with every piece or not, stopped after a moment (or at its one second),
    /// adding the best layout found by then.
    void suggestLayouts() {
        const bool useAll = chance(30);
        const int wait = randomBelow(200);
        window_.dialogs().suggestLayoutsScript = [this, useAll,
                                                  wait](lapwerk::SuggestLayoutsDialog& dialog) {
            dialog.findChild<QCheckBox*>(QStringLiteral("UseAll"))->setChecked(useAll);
            dialog.findChild<QSpinBox*>(QStringLiteral("MaxSeconds"))->setValue(1);
            QTest::qWait(wait);
            if (dialog.searching()) {
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("StopButton")),
                                  Qt::LeftButton);
            }
            const bool done = QTest::qWaitFor([&] { return !dialog.searching(); }, 60 * 1000);
            auto* add = dialog.findChild<QPushButton*>(QStringLiteral("AddButton"));
            if (done && add->isEnabled()) {
                ++suggested_;
                QTest::mouseClick(add, Qt::LeftButton);
            }
        };
        window_.trigger("SuggestLayouts1");
    }

    void importFile() {
        const QString name = randomName(kTrkNames);
        prepare(name);
        loadChecked([&] {
            answerFile(name);
            window_.trigger("ImportTRK");
        });
    }

    /// Runs an Open or Import; when it failed with a message, nothing may have changed.
    void loadChecked(const std::function<void()>& load) {
        const DesignState before = StateOf(window_.design(), library());
        const QString fileName = window_.fileName();
        const int changed = window_.design().changed;
        const HistoryMark history = MarkOf(window_.records().history);
        load();
        if (window_.dialogs().messages.isEmpty()) {
            return;
        }
        ++refusedLoads_;
        expect(StateOf(window_.design(), library()) == before, "a failed load changed the design");
        expect(window_.fileName() == fileName, "a failed load changed the file name");
        expect(window_.design().changed == changed, "a failed load changed the changed flag");
        expect(MarkOf(window_.records().history) == history, "a failed load changed the history");
    }

    const lapwerk::PartLibrary& library() { return window_.records().library; }

    void expect(bool holds, const char* what) {
        if (!holds && problem_.empty()) {
            problem_ = what;
        }
    }

    /// The design within the model's limits.
    void checkLimits() {
        const Design& design = window_.design();
        bool anyInUse = false;
        int tracks = 0;
        for (const Track& track : design.tracks) {
            if (track.inUse == 0) {
                continue;
            }
            anyInUse = true;
            ++tracks;
            longestTrack_ = std::max(longestTrack_, track.sectionCount);
            expect(track.sectionCount >= 0 && track.sectionCount <= kMaxSections,
                   "a section count outside 0 to 2000");
            expect(track.angle >= 0 && track.angle < lapwerk::kFullTurn,
                   "an angle outside 0 to 1439");
            expect(track.selectedSection >= -1 && track.selectedSection < track.sectionCount,
                   "a selection outside the track");
            for (int i = 0; i < track.sectionCount && i < kMaxSections; ++i) {
                if (track.partIndex[i] >= library().count) {
                    expect(false, "a part index outside the library");
                    break;
                }
            }
        }
        expect(design.currentTrack >= 0 && design.currentTrack < kMaxTracks,
               "the current track is no slot");
        expect(!anyInUse || (design.currentTrack >= 0 && design.currentTrack < kMaxTracks &&
                             design.tracks[design.currentTrack].inUse != 0),
               "the current track is not in use while another one is");
        expect(design.changed == 0 || design.changed == 1, "the changed flag is neither 0 nor 1");
        mostTracks_ = std::max(mostTracks_, tracks);
    }

    /// The history and the buttons that show it agree with the design shown.
    void checkHistory(const HistoryMark& before) {
        const lapwerk::UndoRing& history = window_.records().history;
        expect(window_.action("UndoItem")->isEnabled() == lapwerk::CanUndo(history),
               "Undo is enabled other than the history allows");
        expect(window_.action("RedoItem")->isEnabled() == lapwerk::CanRedo(history),
               "Redo is enabled other than the history allows");
        if (MarkOf(history) != before) {
            expect(StateOf(window_.design(), library()).saved ==
                       StateOf(history.slots[history.position], library()).saved,
                   "the history moved, but the design shown is not the one it holds now");
        }
    }

    /// What the window shows follows the design: the caption, the used counts of the side
    /// panel, the layout check and, unless a board box is being edited, the board size in the
    /// boxes.
    void checkShown() {
        const Design& design = window_.design();
        expect(window_.form().windowTitle() ==
                   QString::fromLocal8Bit(lapwerk::DesignCaption(design).c_str()),
               "the caption does not name the design's file");
        const lapwerk::PartCountRows counts =
            lapwerk::RefreshPartCounts(design, library(), window_.records().inventory);
        QStringList used;
        for (const std::string& count : counts.used) {
            used << QString::fromStdString(count);
        }
        expect(lapwerk::test::Rows(window_.list("TellerList")) == used,
               "the used counts shown are not the design's");
        auto onDisk = std::make_unique<lapwerk::Inventory>();
        lapwerk::LoadInventory(
            *onDisk, library(),
            QFile::encodeName(window_.form().collection().inventory).toStdString());
        expect(std::memcmp(onDisk.get(), &window_.records().inventory, sizeof *onDisk) == 0,
               "the owned counts are not those of the inventory file");
        QStringList left;
        for (const std::string& count : counts.leftOver) {
            left << QString::fromStdString(count);
        }
        expect(lapwerk::test::Rows(window_.list("OverList")) == left,
               "the left-over counts shown are not the inventory's");
        checkLayoutShown(design);
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr) {
            const bool metric = window_.action("Metric")->isChecked();
            expect(
                window_.find<QLineEdit>("Xboard")->text() ==
                        QString::fromStdString(lapwerk::FormatBoardSize(design.boardX, metric)) &&
                    window_.find<QLineEdit>("Yboard")->text() ==
                        QString::fromStdString(lapwerk::FormatBoardSize(design.boardY, metric)),
                "the board boxes do not show the board size");
        }
    }

    /// The status bar shows the layout check of the design; checked again only when the design
    /// changed since the last look, as most actions leave it alone.
    void checkLayoutShown(const lapwerk::Design& design) {
        if (std::memcmp(&design, lastChecked_.get(), sizeof design) != 0) {
            *lastChecked_ = design;
            expectedCheck_ = lapwerk::CheckSummaryText(lapwerk::CheckLayout(design, library()));
        }
        expect(lapwerk::CheckSummaryText(window_.form().layoutCheck()) == expectedCheck_ &&
                   window_.form().statusText().endsWith(QString::fromStdString(expectedCheck_)),
               "the layout check shown is not the design's");
    }

    /// The design read back from its saved form is saved the same.
    void checkRoundTrip() {
        const QByteArray saved = StateOf(window_.design(), library()).saved;
        if (saved.startsWith("unsavable: ")) {
            expect(false, "the design cannot be saved");
            return;
        }
        auto reread = std::make_unique<Design>(window_.design());
        if (lapwerk::ParseDesign(saved.toStdString(), library(), *reread)) {
            expect(false, "the saved form of the design does not read back");
            return;
        }
        expect(StateOf(*reread, library()).saved == saved,
               "the design read back from its saved form is saved otherwise");
    }

    bool check(const HistoryMark& before) {
        checkLimits();
        checkHistory(before);
        checkShown();
        checkRoundTrip();
        if (problem_.empty()) {
            return true;
        }
        qWarning("%s", qPrintable(QString::fromLatin1(g_whereabouts).trimmed() +
                                  QStringLiteral(": ") + QString::fromStdString(problem_)));
        return false;
    }

    WindowFixture& window_;
    uint64_t seed_;
    std::mt19937_64 random_;
    std::vector<Action> actions_;
    std::vector<std::pair<QString, QByteArray>> fixedFiles_;
    int totalWeight_ = 0;
    int number_ = 0;
    std::string problem_;
    int reopened_ = 0;
    int refusedLoads_ = 0;
    int messages_ = 0;
    int longestTrack_ = 0;
    int mostTracks_ = 0;
    int closed_ = 0;
    std::unique_ptr<lapwerk::Design> lastChecked_ = std::make_unique<lapwerk::Design>();
    std::string expectedCheck_;
    int suggested_ = 0;
};

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomActionsKeepEverythingWhole() {
        const int actions = qEnvironmentVariableIsSet("MONKEY_ACTIONS")
                                ? qEnvironmentVariableIntValue("MONKEY_ACTIONS")
                                : 2000;
        bool seedGiven = false;
        uint64_t seed = qgetenv("MONKEY_SEED").toULongLong(&seedGiven);
        if (!seedGiven) {
            seed = 1;
        }
        std::printf("monkey: seed %llu, %d actions\n", static_cast<unsigned long long>(seed),
                    actions);
        std::fflush(stdout);
        InstallCrashReports();
        g_messageHandler = qInstallMessageHandler(QuietPlatformNotes);
        WindowFixture window(WindowFixture::Parts::Metric);
        Monkey monkey(window, seed);
        const bool whole = monkey.run(actions);
        std::printf("%s\n", qPrintable(monkey.summary()));
        QVERIFY2(whole, g_whereabouts);
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
