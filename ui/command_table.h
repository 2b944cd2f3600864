#pragma once

#include "toolbar_icons.h"

#include <QKeySequence>
#include <QList>

#include <vector>

namespace lapwerk {

class TMainForm;

/// The follow-up steps a command runs after its operation, in the order it gives them.
enum class FollowUp {
    Record,          ///< take an undo snapshot, then ShowHistory
    ShowHistory,     ///< enable the Undo and Redo items and buttons as the history allows
    Redraw,          ///< run the full pass now at the zoom bar's step in the Metric mark's unit
                     ///< and show it, then ShowBoardTexts and ShowStatus
    ShowBoardTexts,  ///< write the board texts of the last pass (also a silent one the core
                     ///< ran, as a pick does) into the board boxes
    RefreshLists,    ///< rebuild the part counts and the lane-length rows, then ShowStatus
    ShowStatus,      ///< write the current track's lane balance and closure, and the layout
                     ///< check's findings, into the status bar
    FollowSelection, ///< when the current track's selected section ends out of view (or its
                     ///< begin point, without a selection), pan just enough to show it
};

/// Follow-up steps in the order they run. After the last, the design's judgement (its layout
/// check and lap times) follows the design when it changed, and the status bar with it.
using FollowUps = std::vector<FollowUp>;

/// The menus of the menu bar, in their order there.
enum class Menu { None, File, Edit, Options, View, Window, Help, Navigate };

/// A menu of the menu bar, or a submenu of one: its object name and caption. A submenu sits
/// where a row of its parent menu carries its name.
struct MenuTitle {
    Menu menu;
    const char* name;
    const char* caption;
    Menu within = Menu::None; ///< the menu a submenu sits in; None for the menu bar's
};

/// Whether a menu item carries a check mark.
enum class CheckMark {
    None,
    Checked,   ///< checkable, and checked as the window is designed
    Unchecked, ///< checkable, and not checked as the window is designed
};

/// A command's toolbar button; no name for a command that has none.
struct ToolButton {
    const char* name = nullptr; ///< object name of the button
    ToolIcon icon = ToolIcon::New;
    const char* hint = nullptr; ///< its tool tip; "" for a button without one
};

/// Name of a row that puts a separator line into its menu.
inline constexpr const char* kSeparator = "-";
/// Name of the row (and object name of the submenu) where File > Recent Designs sits.
inline constexpr const char* kRecentDesignsMenu = "RecentDesigns1";

/// One row of the command table: a command of the menus and toolbars, or a separator or the
/// recent-designs submenu in a menu.
///
/// - `menu`: the menu that lists it (Menu::None: a toolbar button only). The rows of one menu
///   are in that menu's order.
/// - `name`: object name of the command's action: the menu item's name, else the button's.
/// - `caption`: the menu item's text, "&" before the access letter.
/// - `shortcut`: the menu item's shortcut key, if any; the menu shows it.
/// - `inDesignView`: the shortcut acts only while the design view has the focus, so that the
///   keys keep their meaning in lists and text boxes.
/// - `moreShortcuts`: further keys that run the command (the standard keys of the desktop),
///   not shown in the menu.
/// - `mark`: whether the item carries a check mark.
/// - `button`: the toolbar button, its icon and hint. Menu item and button share one action;
///   a button without a hint gets an action of its own, since an action without a tool tip
///   shows its text as one. Where the button sits is the toolbar layout's (main_toolbars.cpp).
/// - `handler`: runs the operation; false when it was refused or cancelled.
/// - `steps`: the follow-up steps run after a handler that returned true. Commands whose steps
///   depend on how the operation went (a message after them) run them themselves and have
///   none here.
///
/// To add a command, add its row here (in its menu's place) and its handler to TMainForm;
/// a button also needs its place in a toolbar layout.
struct Command {
    Menu menu = Menu::None;
    const char* name = nullptr;
    const char* caption = nullptr;
    QKeySequence shortcut;
    QList<QKeySequence> moreShortcuts;
    bool inDesignView = false;
    CheckMark mark = CheckMark::None;
    ToolButton button;
    bool (TMainForm::*handler)() = nullptr;
    FollowUps steps;
};

/// Whether `command`'s button needs an action of its own besides the menu item's: a button
/// without a hint would show the item's text as its tool tip.
inline bool HasOwnButtonAction(const Command& command) {
    return command.caption != nullptr && command.button.name != nullptr &&
           *command.button.hint == '\0';
}

/// The menus of the menu bar, in order.
const std::vector<MenuTitle>& MenuTitles();

/// Every command of the main window, menu by menu in menu order, then the toolbar-only ones.
const std::vector<Command>& CommandTable();

/// The row of the command whose toolbar button is named `button`, or nullptr.
const Command* FindButtonCommand(const char* button);

} // namespace lapwerk
