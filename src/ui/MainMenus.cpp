#include "ui/MainMenus.h"

#include <QMenu>
#include <QMenuBar>

#include <array>
#include <map>

#include "platform/gui/localized_text.h"
#include "ui/CommandRouting.h"

namespace ch {

namespace {

constexpr std::array<MenuCommandEntry, 30> kMenuCommands = {{
    {"EDITMENU", "CUTMENUITEM", 12, kMenuCommandAction, QKeySequence::Cut},
    {"EDITMENU", "COPYMENUITEM", 13, kMenuCommandAction, QKeySequence::Copy},
    {"EDITMENU", "PASTEMENUITEM", 14, kMenuCommandAction, QKeySequence::Paste},
    {"EDITMENU", "", 0, "", QKeySequence::UnknownKey},
    {"EDITMENU", "DELETEMENUITEM", 1104, kMenuCommandAction, QKeySequence::Delete},
    {"EDITMENU", "DUPLICATEMENUITEM", 1109, kMenuCommandAction, QKeySequence::UnknownKey},
    {"EDITMENU", "DUPLICATEFIRSTMENUITEM", 1115, kMenuCommandAction, QKeySequence::UnknownKey},
    {"EDITMENU", "", 0, "", QKeySequence::UnknownKey},
    {"EDITMENU", "FINDMENUITEM", 0, "findObject:", QKeySequence::Find},
    {"BOOKSMENU", "NEWOBJECTMENUITEM", 1100, kMenuCommandAction, QKeySequence::UnknownKey},
    {"BOOKSMENU", "MODIFYMENUITEM", 1114, kMenuCommandAction, QKeySequence::UnknownKey},
    {"BOOKSMENU", "", 0, "", QKeySequence::UnknownKey},
    {"BOOKSMENU", "TransFrom", 1111, kMenuCommandAction, QKeySequence::UnknownKey},
    {"BOOKSMENU", "TransTo", 1112, kMenuCommandAction, QKeySequence::UnknownKey},
    {"BOOKSMENU", "FLAGMENUITEM", 1121, kMenuCommandAction, QKeySequence::UnknownKey},
    {"BOOKSMENU", "LINKMENUITEM", 1207, kMenuCommandAction, QKeySequence::UnknownKey},
    {"BOOKSMENU", "", 0, "", QKeySequence::UnknownKey},
    {"BOOKSMENU", "NEWACCOUNTBUTTON", 0, "newPLAccount:", QKeySequence::UnknownKey},
    {"BOOKSMENU", "NEWREASONBUTTON", 0, "newExpenseType:", QKeySequence::UnknownKey},
    {"BOOKSMENU", "SETTINGBUTTON", 0, "settinPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "MAINBUTTON", 0, "V2Page:", QKeySequence::UnknownKey},
    {"VIEWMENU", "TRANSBUTTON", 0, "transactionPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "RECURRINGBUTTON", 0, "recurringPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "GENERATEDBUTTON", 0, "generatedPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "ACCOUNTBUTTON", 0, "accountPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "REASONBUTTON", 0, "reasonPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "SHAREBUTTON", 0, "sharePage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "CURRENCYBUTTON", 0, "currencyPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "OWNERBUTTON", 0, "ownerPage:", QKeySequence::UnknownKey},
    {"VIEWMENU", "BUDGETBUTTON", 0, "budgetPage:", QKeySequence::UnknownKey},
}};

} // namespace

std::span<const MenuCommandEntry> menuCommandTable()
{
    return kMenuCommands;
}

std::vector<QAction*> buildCommandMenus(QMenuBar& bar, CommandRouter& router)
{
    std::vector<QAction*> actions;
    std::map<std::string_view, QMenu*> menus;
    for (const MenuCommandEntry& entry : kMenuCommands) {
        QMenu*& menu = menus[entry.menuKey];
        if (!menu) {
            menu = bar.addMenu(localizedText(entry.menuKey));
            menu->setObjectName(QString::fromUtf8(entry.menuKey.data(), static_cast<int>(entry.menuKey.size())));
            QObject::connect(menu, &QMenu::aboutToShow, &router, [menu, &router] {
                for (QAction* item : menu->actions())
                    if (item->property(kActionProperty).isValid()) router.validateAction(*item);
            });
        }
        if (entry.titleKey.empty()) {
            menu->addSeparator();
            continue;
        }
        const std::string action(entry.action);
        QAction* command = makeCommandAction(menu, localizedText(entry.titleKey), entry.tag, action.c_str());
        command->setObjectName(QString::fromUtf8(entry.titleKey.data(), static_cast<int>(entry.titleKey.size())));
        if (entry.key != QKeySequence::UnknownKey) command->setShortcuts(entry.key);
        QObject::connect(command, &QAction::triggered, &router, [command, &router] { router.trigger(*command); });
        menu->addAction(command);
        actions.push_back(command);
    }
    return actions;
}

} // namespace ch
