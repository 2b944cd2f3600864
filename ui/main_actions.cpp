#include "main_form.h"

#include "recent_designs.h"
#include "toolbar_icons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace lapwerk {

namespace {

/// The submenu that sits at the row named `name`, if one does.
const MenuTitle* FindSubmenu(const char* name) {
    for (const MenuTitle& title : MenuTitles()) {
        if (title.within != Menu::None && qstrcmp(title.name, name) == 0) {
            return &title;
        }
    }
    return nullptr;
}

} // namespace

void TMainForm::createActions() {
    for (const Command& command : CommandTable()) {
        if (command.handler == nullptr) {
            continue;
        }
        QAction* action = makeAction(command);
        actions_.insert(command.name, action);
        if (command.button.name != nullptr && !HasOwnButtonAction(command)) {
            actions_.insert(command.button.name, action);
        }
    }
}

QAction* TMainForm::makeAction(const Command& command) {
    const ToolButton& button = command.button;
    const char* text = command.caption != nullptr ? command.caption : button.hint;
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setObjectName(command.name);
    if (button.name != nullptr && !HasOwnButtonAction(command)) {
        action->setToolTip(QString::fromUtf8(button.hint));
        // A menu makes room for the icon of any of its actions, shown or not, so the icon of
        // a menu item's action is its button's alone (main_toolbars.cpp).
        if (command.caption == nullptr) {
            action->setIcon(MakeToolIcon(button.icon));
        }
    }
    if (!command.shortcut.isEmpty() || !command.moreShortcuts.isEmpty()) {
        // The first key is the one the menu shows, also when it is none.
        action->setShortcuts(QList<QKeySequence>{command.shortcut} + command.moreShortcuts);
        action->setShortcutContext(command.inDesignView ? Qt::WidgetShortcut : Qt::WindowShortcut);
    }
    if (command.mark != CheckMark::None) {
        action->setCheckable(true);
        action->setChecked(command.mark == CheckMark::Checked);
    }
    connect(action, &QAction::triggered, this, [this, &command] { runCommand(command); });
    return action;
}

QAction* TMainForm::makeButtonAction(const Command& command) {
    // Without a text, the button shows no tool tip.
    auto* action = new QAction(MakeToolIcon(command.button.icon), QString(), this);
    action->setObjectName(command.button.name);
    actions_.insert(command.button.name, action);
    connect(action, &QAction::triggered, this, [this, &command] { runCommand(command); });
    return action;
}

void TMainForm::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");
    for (const MenuTitle& title : MenuTitles()) {
        if (title.within == Menu::None) {
            bar->addMenu(createMenu(title, bar));
        }
    }
}

QMenu* TMainForm::createMenu(const MenuTitle& title, QWidget* parent) {
    auto* menu = new QMenu(QString::fromUtf8(title.caption), parent);
    menu->setObjectName(title.name);
    for (const Command& command : CommandTable()) {
        if (command.menu != title.menu) {
            continue;
        }
        if (qstrcmp(command.name, kSeparator) == 0) {
            menu->addSeparator();
        } else if (qstrcmp(command.name, kRecentDesignsMenu) == 0) {
            menu->addMenu(createRecentDesignsMenu());
        } else if (const MenuTitle* submenu = FindSubmenu(command.name)) {
            menu->addMenu(createMenu(*submenu, menu));
        } else {
            menu->addAction(commandAction(command.name));
        }
    }
    return menu;
}

} // namespace lapwerk
