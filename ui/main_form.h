#pragma once

#include "dialogs.h"
#include "records.h"
#include "settings.h"

#include <QMainWindow>

#include <QStringList>

#include <initializer_list>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QSlider;
class QToolBar;

namespace lapwerk {

class CommandWindows;
class DesignArea;
class MainPanel;
class RecentDesigns;
class TAboutForm;
class THelpForm;
class TLengthForm;
class TListForm;
struct Message;

/// The follow-up steps after a command changed the Design.
enum class FollowUp {
    Record,       ///< take an undo snapshot and set the Undo/Redo enabled states
    Redraw,       ///< run the full pass now and write the board texts into the boxes
    RefreshLists, ///< rebuild the part counts, then the lane-length rows
};

/// What a left click in the drawing area does.
enum EditMode : int {
    kSelectMode = 0,
    kInsertTrackMode = 1,
    kJoinMode = 2,
    kCopyMode = 3,
    kGroupMode = 4,
    kMirrorMode = 5,
};

/// The main window of the designer: menus, the nine toolbars, the drawing area, the part
/// panel and the lane-length window, with a handler for every command.
///
/// The handlers are split by concern: main_form.cpp (creation, start-up and shutdown, the
/// follow-up steps), main_actions.cpp (menus), main_toolbars.cpp (toolbars), edit_commands.cpp
/// (section, track and view commands), mouse_modes.cpp (edit modes, clicks, keys and cursor),
/// file_commands.cpp, print_commands.cpp and help_commands.cpp (file, print, section list and
/// help commands), export_commands.cpp (the image export).
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
    int editMode() const { return editMode_; }
    /// The selected row of the part list (a part index), or -1.
    int partSelection() const;
    /// 'R' while RightRadio is checked, else 'L'.
    char chosenDirection() const;
    /// Whether the Metric item is checked.
    bool metric() const;
    /// The five check marks.
    DrawOptions drawOptions() const;

    DesignArea* designArea() const { return designArea_; }
    MainPanel* mainPanel() const { return mainPanel_; }
    TLengthForm* lengthForm() const { return lengthForm_; }
    TListForm* listForm() const;
    TAboutForm* aboutForm() const;
    THelpForm* helpForm() const;
    /// The text of the status bar: the current track's lane balance and closure.
    QString statusText() const;

    /// Opens the design at `path` as File > Open does once its dialog has chosen the file.
    void openDesignFile(const QString& path);
    /// Opens the design named by the first command-line argument, if there is one.
    void openCommandLineDesign(const QStringList& arguments);

public Q_SLOTS:
    // File, print, section-list and help commands (file_commands.cpp, print_commands.cpp,
    // help_commands.cpp).
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    /// Opens the design at `path`, chosen under File > Recent Designs, as Open does once its
    /// dialog has chosen the file; a design that no longer exists leaves the list with a
    /// message.
    void RecentDesignClick(const QString& path);
    void ImportTRKClick();
    void PageSetup1Click();
    void Print1Click();
    void PrintTracklist1Click();
    /// Saves the drawing area as a PNG or SVG image, or the printed page as a PDF file
    /// (export_commands.cpp).
    void ExportImage1Click();
    void Tracklist1Click();
    void HelpTopics1Click();
    void About1Click();
    /// Whether the window may close now (asks when the design changed).
    bool FormCloseQuery();

    // Edit menu and toolbars (edit_commands.cpp).
    void UndoItemClick();
    void RedoItemClick();
    void DeleteTrackClick();
    void SplitTrackClick();
    void UngroupTrackClick();
    void InserttrackpieceClick();
    void DeletetrackpieceClick();
    void ChangetrackpieceClick();
    void GotofirsttrackpieceClick();
    void GotoLasttrackpieceClick();
    void BackButtonClick();
    void ForwardButtonClick();

    // Options (edit_commands.cpp).
    void MetricClick();
    void SegmentsClick();
    void FilledInClick();
    void RulerClick();
    void GridClick();

    // Bars, quick rotation and board size (edit_commands.cpp).
    void ZoomBarChange();
    void RotateBarChange();
    void RotateWestClick();
    void RotateNorthClick();
    void RotateEastClick();
    void RotateSouthClick();
    void XboardChange();
    void YboardChange();

    // Window menu.
    void TrackLength1Click();

    // Edit modes, mouse, keys, cursor and part list (mouse_modes.cpp).
    void InsertTrackClick();
    void JoinTrackButtonClick();
    void CopyTrackButtonClick();
    void GroupTrackClick();
    void MirrorButtonClick();
    void SelecteerButtonClick();
    void LeftRadioClick();
    void RightRadioClick();
    void DeelListClick();
    void DeelListDblClick();
    /// A character typed anywhere in the window, seen before the focused control gets it.
    void FormKeyPress(QChar key);
    /// A mouse button pressed at pixel (x, y) of the drawing area.
    void FormMouseDown(Qt::MouseButton button, int x, int y);
    /// The mouse wheel turned `notches` whole notches over the drawing area (positive away
    /// from the user): moves ZoomBar as many steps, up to a larger zoom.
    void FormMouseWheel(int notches);
    /// Shows what a left click will do: crosshair in a pending mode, else the curve cursor of
    /// the chosen direction for a curve part, else the arrow.
    void UpdateCursor();

    // Toolbar moves (main_toolbars.cpp).
    void ZoomDockDockChanged();
    void RotateDockDockChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // What the command files reach.

    ProgramRecords& records() { return records_; }
    Design& design() { return records_.design; }
    UndoRing& history() { return records_.history; }
    const PartLibrary& library() const { return records_.library; }
    const Inventory& inventory() const { return records_.inventory; }
    DesignView& view() { return records_.view; }

    /// Runs the follow-up steps in the order given.
    void followUp(std::initializer_list<FollowUp> steps);
    /// Sets the Undo and Redo items and buttons from the history (after a reset too).
    void syncUndoRedo();
    /// Writes the board texts of the last pass into the boxes where they differ.
    void syncBoardTexts();
    /// Stores `path` as the design's file name and sets the caption from it; false (nothing
    /// changed) when the path does not fit.
    bool setDesignFileName(const QString& path);
    /// Sets RotateBar to `position` without running RotateBarChange.
    void setRotateBarSilently(int position);
    /// The texts now in the board boxes (what the user may have typed but not yet left).
    BoardTexts boardBoxTexts() const;

    // Controls, named after their roles.

    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* ImportTRK = nullptr;
    QAction* Save1 = nullptr;
    QAction* SaveAs1 = nullptr;
    QAction* PageSetup1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* PrintTracklist1 = nullptr;
    QAction* ExportImage1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* UndoItem = nullptr;
    QAction* RedoItem = nullptr;
    QAction* InsertTrack1 = nullptr;
    QAction* DeleteTrack1 = nullptr;
    QAction* JoinTrack1 = nullptr;
    QAction* SplitTrack1 = nullptr;
    QAction* CopyTrack1 = nullptr;
    QAction* MirrorTrack1 = nullptr;
    QAction* InsertTrackSection1 = nullptr;
    QAction* DeleteTrackSection1 = nullptr;
    QAction* ChangeTrackSection1 = nullptr;
    QAction* GroupTrack1 = nullptr;
    QAction* UngroupTrack1 = nullptr;
    QAction* Metric = nullptr;
    QAction* Segments = nullptr;
    QAction* FilledIn = nullptr;
    QAction* Ruler = nullptr;
    QAction* Grid = nullptr;
    QAction* Tracklist1 = nullptr;
    QAction* TrackLength1 = nullptr;
    QAction* HelpTopics1 = nullptr;
    QAction* About1 = nullptr;

    QToolBar* FileDock = nullptr;
    QToolBar* NavigateDock = nullptr;
    QToolBar* CurveDock = nullptr;
    QToolBar* SpeedDock = nullptr;
    QToolBar* ZoomDock = nullptr;
    QToolBar* RotateDock = nullptr;
    QToolBar* BoardDock = nullptr;
    QToolBar* SectionDock = nullptr;
    QToolBar* TrackDock = nullptr;

    QAction* UndoButton = nullptr;
    QAction* RedoButton = nullptr;
    QRadioButton* LeftRadio = nullptr;
    QRadioButton* RightRadio = nullptr;
    QSlider* ZoomBar = nullptr;
    QSlider* RotateBar = nullptr;
    QLineEdit* Xboard = nullptr;
    QLineEdit* Yboard = nullptr;

private:
    void createActions();
    void createMenus();
    void createToolBars();
    void createPanel();
    void createStatusBar();
    void FormCreate();
    void FormDestroy();
    void startNewDesign();
    void refreshLists();
    void showStatus();
    void setEditMode(int mode);
    void selectClick(int x, int y);
    void quickRotate(int heading);
    void boardChange(QLineEdit* box, float& size);
    void orientBar(QToolBar* dock, QSlider* bar);

    // Steps of the file, print and help commands (file_commands.cpp, print_commands.cpp,
    // help_commands.cpp).
    void createCommandWindows();
    bool mayDiscardDesign(const char* question);
    bool saveDesignAs(const QString& path);
    QMenu* createRecentDesignsMenu();
    void showCurrentTrackHeading();
    void buildSectionList();
    void showError(const QString& text);
    void showMessage(const Message& message);

    ProgramRecords& records_;
    std::unique_ptr<Dialogs> dialogs_;
    DesignArea* designArea_ = nullptr;
    MainPanel* mainPanel_ = nullptr;
    TLengthForm* lengthForm_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    CommandWindows* commandWindows_ = nullptr;
    RecentDesigns* recentDesigns_ = nullptr;
    int editMode_ = kSelectMode;
    bool settingsSaved_ = false;
};

} // namespace lapwerk
