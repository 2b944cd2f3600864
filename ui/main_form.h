#pragma once

#include "collection_keeper.h"
#include "command_table.h"
#include "design_export.h"
#include "design_judgement.h"
#include "dialogs.h"
#include "records.h"
#include "settings.h"

#include "layout_check.h"
#include "message.h"

#include <QMainWindow>

#include <QByteArray>
#include <QHash>
#include <QPoint>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

class QAction;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSlider;
class QSplitter;
class QToolBar;

namespace lapwerk {

class CommandWindows;
class DesignArea;
class MainPanel;
class RecentDesigns;
class StatusLine;
class TAboutForm;
class TCheckForm;
class TLapForm;
class TOwnedForm;
class THelpForm;
class TLengthForm;
class TListForm;
struct DesignLoad;

/// What a left click in the drawing area does.
enum class EditMode {
    Select,      ///< selects the track and section clicked
    InsertTrack, ///< places a new track at the click
    Join,        ///< joins the track clicked to the current one
    Copy,        ///< places a copy of the current track at the click
    Group,       ///< groups the track clicked with the current one
    Mirror,      ///< places a mirrored copy of the current track at the click
};

/// The main window of the designer: menus, the nine toolbars, the drawing area, the part
/// panel and the lane-length window, with a handler for every command.
///
/// The menu and toolbar commands are rows of the command table (command_table.cpp). The
/// handlers are split by concern: main_form.cpp (creation, the follow-up steps and
/// messages), main_settings.cpp (start-up and shutdown with the stored settings),
/// main_actions.cpp (actions and menus from the table),
/// main_toolbars.cpp (toolbars and their controls), edit_commands.cpp (section, track, view
/// and bar commands), mouse_modes.cpp (edit modes, clicks, keys and cursor),
/// file_commands.cpp, print_commands.cpp, export_commands.cpp, close_commands.cpp and
/// help_commands.cpp.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    /// Creates the window and runs its start-up: settings, part library and inventory from
    /// the working directory, and a new design. Without `dialogs` the real dialogs are used.
    explicit TMainForm(ProgramRecords& records, std::unique_ptr<Dialogs> dialogs = nullptr,
                       QWidget* parent = nullptr);
    /// Saves the settings (FormDestroy).
    ~TMainForm() override;

    /// The pending edit mode.
    EditMode editMode() const { return editMode_; }
    /// The selected row of the part list (a part index), or -1.
    int partSelection() const;
    /// The text of the status bar: the current track's lane balance and closure.
    QString statusText() const;

    DesignArea* designArea() const { return designArea_; }
    MainPanel* mainPanel() const { return mainPanel_; }
    TLengthForm* lengthForm() const { return lengthForm_; }
    TCheckForm* checkForm() const { return judgement_->checkForm(); }
    TLapForm* lapForm() const { return judgement_->lapForm(); }
    TOwnedForm* ownedForm() const { return collection_->ownedForm(); }
    const CollectionFiles& collection() const { return collection_->files(); }
    const LayoutCheck& layoutCheck() const { return judgement_->check(); }
    TListForm* listForm() const;
    TAboutForm* aboutForm() const;
    THelpForm* helpForm() const;

    /// Opens the design named by the first command-line argument, if there is one.
    void openCommandLineDesign(const QStringList& arguments);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend const std::vector<Command>& CommandTable();

    // Handlers of the command table: false when the command was refused or cancelled.

    // File, print, section-list and help commands (file_commands.cpp, print_commands.cpp,
    // export_commands.cpp, help_commands.cpp).
    bool New1Click();
    bool Open1Click();
    bool ImportTRKClick();
    bool Save1Click();
    bool SaveAs1Click();
    bool PageSetup1Click();
    bool Print1Click();
    bool PrintTracklist1Click();
    /// Prints the design at full size on the printer chosen, on a worker thread with progress.
    bool PrintFullSize1Click();
    /// Saves the drawing area as a PNG or SVG image, or the printed page as a PDF file.
    bool ExportImage1Click();
    /// Writes the parts list of the design to a CSV file chosen in a save dialog.
    bool ExportPartsList1Click();
    bool Exit1Click();
    /// Makes a part library chosen in a file dialog, with the inventory beside it, the one in
    /// use, the design's sections kept by their part numbers (collection_commands.cpp).
    bool PartLibrary1Click();
    bool Tracklist1Click();
    bool TrackLength1Click();
    bool DesignCheck1Click();
    bool LapTimes1Click();
    bool HelpTopics1Click();
    bool About1Click();

    // Edit menu, navigation and quick rotation (edit_commands.cpp).
    bool UndoItemClick();
    bool RedoItemClick();
    bool DeleteTrackClick();
    bool SplitTrackClick();
    bool UngroupTrackClick();
    bool InserttrackpieceClick();
    bool DeletetrackpieceClick();
    bool ChangetrackpieceClick();
    bool GotofirsttrackpieceClick();
    bool GotoLasttrackpieceClick();
    bool BackButtonClick();
    bool ForwardButtonClick();
    bool RotateWestClick();
    bool RotateNorthClick();
    bool RotateEastClick();
    bool RotateSouthClick();

    // The design view's keys (Edit > Navigate; edit_commands.cpp).
    bool PreviousTrackClick();
    bool NextTrackClick();
    /// Turn the current track one step of the rotate bar, as the bar's arrow keys do.
    bool TurnLeftClick();
    bool TurnRightClick();
    /// Move the current track one grid step.
    bool MoveUpClick();
    bool MoveDownClick();
    bool MoveLeftClick();
    bool MoveRightClick();

    /// Shows the Close Track dialog for the current track and appends the proposal applied
    /// there (close_commands.cpp).
    bool CloseTrack1Click();
    /// Shows the Suggest Layouts dialog and adds the layout chosen there as a new track
    /// (close_commands.cpp).
    bool SuggestLayouts1Click();
    // The collection (collection_commands.cpp).
    bool OwnedPieces1Click();
    bool AddDesignToOwned1Click();

    // Options (edit_commands.cpp).
    bool MetricClick();
    bool SegmentsClick();
    bool FilledInClick();
    bool RulerClick();
    bool GridClick();
    bool SmoothDrawingClick();
    /// Shows or takes away the layout check's marks on the board.
    bool ShowProblemsClick();
    /// Print Every Page: its mark is read when a full-size print is planned.
    bool PrintEveryPageClick();
    /// Keep Undo History on Save: a hundred undo steps that a save keeps, or nine that it ends.
    bool KeepUndoOnSaveClick();

    // View menu (edit_commands.cpp).
    bool ZoomToFit1Click();
    bool ZoomIn1Click();
    bool ZoomOut1Click();

    // Edit modes (mouse_modes.cpp).
    bool InsertTrackClick();
    bool JoinTrackButtonClick();
    bool CopyTrackButtonClick();
    bool GroupTrackClick();
    bool MirrorButtonClick();
    bool SelecteerButtonClick();

    // Handlers of the controls and the window's own events.

    /// Opens the design at `path`, chosen under File > Recent Designs, as Open does once its
    /// dialog has chosen the file; a design that no longer exists leaves the list with a
    /// message.
    void RecentDesignClick(const QString& path);
    /// Whether the window may close now (asks when the design changed).
    bool FormCloseQuery();
    void ZoomBarChange();
    void RotateBarChange();
    void XboardChange();
    void YboardChange();
    void LeftRadioClick();
    void RightRadioClick();
    void DeelListClick();
    void DeelListDblClick();
    /// A character typed anywhere in the window, seen before the focused control gets it.
    void FormKeyPress(QChar key);
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    /// The mouse wheel turned `notches` whole notches over the drawing area (positive away
    /// from the user) with the pointer at pixel `at`: moves ZoomBar as many steps, up to a
    /// larger zoom, keeping the point of the design under the pointer where it is.
    void FormMouseWheel(int notches, QPoint at);
    /// Shows what a left click will do: crosshair in a pending mode, else the curve cursor of
    /// the chosen direction for a curve part, else the arrow.
    void UpdateCursor();
    void ZoomDockDockChanged();
    void RotateDockDockChanged();

    // Creation, start-up and shutdown (main_form.cpp, main_settings.cpp, main_actions.cpp,
    // main_toolbars.cpp).
    void createActions();
    QAction* makeAction(const Command& command);
    QAction* makeButtonAction(const Command& command);
    void createMenus();
    /// The menu `title` with its items and submenus, a child of `parent`.
    QMenu* createMenu(const MenuTitle& title, QWidget* parent);
    void createToolBars();
    QHash<QByteArray, QWidget*> createControls();
    void placeButton(QToolBar* dock, const char* name);
    void createPanel();
    void createCommandWindows();
    void shareShortcuts();
    QMenu* createRecentDesignsMenu();
    void FormCreate();
    void FormDestroy();

    // Follow-up steps and messages (main_form.cpp).

    /// Runs `command`'s handler and, when it went through, the command's follow-up steps.
    void runCommand(const Command& command);
    /// Gives the focus to the design view when a board box has it and holds no size typed but
    /// not yet taken.
    void leaveBoardBoxes();
    /// Runs the follow-up steps in the order given.
    void followUp(const FollowUps& steps);
    void showHistory();
    void redraw();
    void showBoardTexts();
    void refreshLists();
    void showStatus();
    /// Shows in the status bar where on the board the pointer at view pixel `at` is; hides it
    /// when the pointer left the drawing area.
    void showPointer(std::optional<QPoint> at);
    /// Selects the section of `finding` and scrolls the view to it (the Design Check window).
    void showFinding(const Finding& finding);
    /// Makes `ref`'s track current with `ref`'s section selected and shows it; false when the
    /// design no longer holds that section.
    bool selectSection(SectionRef ref);
    /// Shows `message` in a box owned by the window; its texts, from the core, its files or
    /// the window, are decoded as DecodeFileText does.
    void showMessage(const Message& message);
    /// Shows `text` captioned "Error", through showMessage.
    void showError(const QString& text);
    /// Shows `text` in the status bar until the next recorded edit or for ten seconds: why a
    /// command did nothing, or where it wrote a file.
    void showNote(const QString& text);
    /// Shows what a change of the collection said: an error, or a note; false for an error.
    bool tell(const CollectionKeeper::Said& said);
    /// Shows the part library in use: the part list, its facts, its name in the panel.
    void showCollection();
    /// Shows owned counts just set, as `said`; false when they could not be written.
    bool ownedCountsSet(const CollectionKeeper::Said& said);
    /// Shows the text of `why` as a note; returns false, for a refused handler to return.
    bool refusedWith(const MaybeMessage& why);

    // What the handlers share.

    /// The lane lengths, the section list, Design Check, Lap Times and Owned Pieces.
    QList<QWidget*> toolWindows() const;

    /// The action named `name` in the command table, or the one of the button named so.
    QAction* commandAction(const char* name) const;
    /// Whether the Options item `name` is checked.
    bool checkMark(const char* name) const;
    bool metric() const;
    /// 'R' while RightRadio is checked, else 'L'.
    char chosenDirection() const;
    DrawOptions drawOptions() const;
    /// How the view is drawn after the Smooth Drawing check mark.
    Smoothing drawingSmoothing() const;
    /// Shows `headingQuarterDeg` on RotateBar in whole degrees, without running
    /// RotateBarChange.
    void showHeading(int headingQuarterDeg);
    void showCurrentTrackHeading();
    /// The texts now in the board boxes (what the user may have typed but not yet left).
    BoardTexts boardBoxTexts() const;
    /// Stores `path` as the design's file name and sets the caption from it; false (nothing
    /// changed) when the path does not fit.
    bool setDesignFileName(const QString& path);

    // Steps of the commands.
    void setEditMode(EditMode mode);
    void selectClick(int x, int y);
    /// Shows the current track's selection after it changed and was drawn: the heading, the
    /// part list's row and the status.
    void showSelection();
    void joinClick(int x, int y);
    void groupClick(int x, int y);
    bool quickRotate(int headingQuarterDeg);
    /// Makes the track `step` slots on (going round, skipping free slots) current and shows it.
    bool chooseTrack(int step);
    /// Moves the rotate bar `steps` single steps, going round; its change turns the track.
    bool turnBy(int steps);
    /// Moves the current track by (`columns`, `rows`) grid steps.
    bool moveByGrid(int columns, int rows);
    /// Takes the board size typed into `box` into `size` (inches) when it is a size and
    /// differs from the stored one; `shownText` is what the last pass wrote into the box.
    void boardChange(QLineEdit* box, float& size, const std::string& shownText);
    /// Sets ZoomBar to `step` (within its range) without running ZoomBarChange, and pans so
    /// that the model point under pixel `anchor` of the drawing area, or in the middle of the
    /// area without one, stays where it is; false when the step stays as it is. The caller
    /// redraws.
    bool zoomTo(int step, std::optional<QPoint> anchor);
    void orientBar(QToolBar* dock, QSlider* bar);
    bool mayDiscardDesign(const char* question);
    void openDesignFile(const QString& path);
    /// True when `load` of the file at `path` succeeded; otherwise shows why it failed.
    bool loadSucceeded(const DesignLoad& load, const QString& path);
    /// Shows a successful load: the design, its caption, the heading and the follow-up steps.
    void showLoadedDesign(const DesignLoad& load);
    bool saveDesignAs(const QString& path);
    void buildSectionList();
    /// The settings of an exported image of the view as `choice` asks for it.
    ScreenExport screenExport(const ImageExportChoice& choice) const;

    // Controls besides the command actions, named after their roles.
    QToolBar* ZoomDock = nullptr;
    QToolBar* RotateDock = nullptr;
    QRadioButton* LeftRadio = nullptr;
    QRadioButton* RightRadio = nullptr;
    QSlider* ZoomBar = nullptr;
    QSlider* RotateBar = nullptr;
    QLineEdit* Xboard = nullptr;
    QLineEdit* Yboard = nullptr;

    ProgramRecords& records_;
    std::unique_ptr<Dialogs> dialogs_;
    QHash<QByteArray, QAction*> actions_; ///< by action name and by button name
    QSplitter* splitter_ = nullptr;       ///< the drawing area and the side panel
    DesignArea* designArea_ = nullptr;
    MainPanel* mainPanel_ = nullptr;
    TLengthForm* lengthForm_ = nullptr;
    DesignJudgement* judgement_ = nullptr;
    CollectionKeeper* collection_ = nullptr;
    std::unique_ptr<StatusLine> statusLine_;
    CommandWindows* commandWindows_ = nullptr;
    RecentDesigns* recentDesigns_ = nullptr;
    EditMode editMode_ = EditMode::Select;
    bool findingShown_ = false; ///< a chosen finding's section is outlined over the view
    bool settingsSaved_ = false;
};

} // namespace lapwerk
