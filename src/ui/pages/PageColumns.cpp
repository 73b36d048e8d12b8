#include "ui/pages/PageColumns.h"

#include <QColor>

#include "platform/gui/localized_text.h"
#include "ui/NamedIcons.h"
#include "ui/lists/ValueTransformers.h"

namespace ch {

QVariant pageAmountCell(std::optional<double> amount, int role)
{
    if (role == Qt::DisplayRole) return amountTTransformer(amount);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && amount && *amount < 0) return QColor(180, 30, 30);
    return {};
}

ItemColumn nameWithIconColumn()
{
    return {"name", localizedText("LISTCOLNAME"),
            [](const CNonVisualDataItem& item, int role) -> QVariant {
                if (role == Qt::DisplayRole) return QString::fromStdString(item.getName());
                if (role == Qt::DecorationRole) {
                    const std::string icon = item.getIconName();
                    const QIcon shown = makeNamedIcon(icon.empty() ? "Image131" : icon);
                    return shown.isNull() ? QVariant() : QVariant(shown);
                }
                return {};
            },
            [](const CNonVisualDataItem& item) -> SortValue { return item.getName(); }};
}

} // namespace ch
