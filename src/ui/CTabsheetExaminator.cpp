#include "ui/CTabsheetExaminator.h"

#include <QWidget>

#include <algorithm>

namespace ch {

double CTabsheetExaminator::calculateHeight(const QWidget* tabPage)
{
    double height = 0.0;
    if (!tabPage) return height;
    for (const QWidget* child : tabPage->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        height = std::max(height, static_cast<double>(child->geometry().y() + child->geometry().height()));
    return height;
}

} // namespace ch
