#include "main_form.h"

#include "recent_designs.h"
#include "toolbar_icons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace lapwerk {

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
        action->setShortcutContext(Qt::WindowShortcut);
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
        QMenu* menu = bar->addMenu(QString::fromUtf8(title.caption));
        menu->setObjectName(title.name);
        for (const Command& command : CommandTable()) {
            if (command.menu != title.menu) {
                continue;
            }
            if (qstrcmp(command.name, kSeparator) == 0) {
                menu->addSeparator();
            } else if (qstrcmp(command.name, kRecentDesignsMenu) == 0) {
                menu->addMenu(createRecentDesignsMenu());
            } else {
                menu->addAction(commandAction(command.name));
            }
        }
    }
}

} // namespace lapwerk
