#include "ui/HelpMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "platform/core/localized_strings.h"
#include "platform/gui/help_opener.h"

namespace ch {

QAction* addHelpBookAction(QMenu* help)
{
    QAction* action = help->addAction(QString::fromStdString(localized("HELPBOOKMENUITEM")));
    action->setObjectName(QStringLiteral("showHelp"));
    action->setShortcuts(QKeySequence::HelpContents);
    QObject::connect(action, &QAction::triggered, help, [] { HelpOpener().openAnchor("indexpage"); });
    return action;
}

} // namespace ch
