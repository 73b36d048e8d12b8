#include "ui/HelpMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "platform/gui/help_opener.h"
#include "platform/gui/localized_text.h"

namespace ch {

QAction* addHelpBookAction(QMenu* help)
{
    QAction* action = help->addAction(localizedText("HELPBOOKMENUITEM"));
    action->setObjectName(QStringLiteral("showHelp"));
    action->setShortcuts(QKeySequence::HelpContents);
    QObject::connect(action, &QAction::triggered, help, [] { HelpOpener().openAnchor("indexpage"); });
    return action;
}

} // namespace ch
