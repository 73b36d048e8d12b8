#include "ui/pages/GXCategoryTableViewController.h"

#include <QColor>

#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CategoryAncestor.h"
#include "platform/gui/localized_text.h"
#include "ui/WindowDocument.h"
#include "ui/lists/TransactionColumns.h"
#include "ui/pages/PageColumns.h"
#include "ui/pages/TableActionButton.h"

namespace ch {

namespace {

constexpr int kDelete = 1104;
constexpr int kBookFor = 1113;

const CategoryAncestor* categoryOf(const CNonVisualDataItem& item)
{
    return dynamic_cast<const CategoryAncestor*>(&item);
}

std::optional<double> figureOf(const CNonVisualDataItem& item, std::size_t figure)
{
    const CategoryAncestor* category = categoryOf(item);
    if (!category) return std::nullopt;
    switch (figure) {
    case 0: return category->YTDThisYear();
    case 1: return category->YTDLastYear();
    case 2: return category->AvgMonthThisYear();
    default: return category->AvgMonthLastYear();
    }
}

} // namespace

GXCategoryTableViewController::GXCategoryTableViewController(QObject* parent) : AccountCategoryPage(parent)
{
}

std::vector<ItemColumn> GXCategoryTableViewController::upperColumns() const
{
    return {
        {"color", localizedText("LISTCOLCOLOR"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             if (role != Qt::BackgroundRole || !item.getSourceItem()) return {};
             const Colour colour = item.chartColor();
             return QColor::fromRgbF(colour.red, colour.green, colour.blue);
         },
         {},
         true},
        nameWithIconColumn(),
        {"yths", localizedText("KPIYTDTHISYEAR"),
         [](const CNonVisualDataItem& item, int role) { return pageAmountCell(figureOf(item, 0), role); },
         [](const CNonVisualDataItem& item) -> SortValue { return figureOf(item, 0).value_or(0); }},
        {"yprv", localizedText("KPIYTDLASTYEAR"),
         [](const CNonVisualDataItem& item, int role) { return pageAmountCell(figureOf(item, 1), role); },
         [](const CNonVisualDataItem& item) -> SortValue { return figureOf(item, 1).value_or(0); }},
    };
}

std::vector<TableActionEntry> GXCategoryTableViewController::upperActionEntries() const
{
    return {{"NEWOBJECTMENUITEM", 1100}, {"MODIFYMENUITEM", 1114}, {"DELETEMENUITEM", kDelete},
            {nullptr, 0},                {"352", kBookFor}};
}

std::vector<const char*> GXCategoryTableViewController::keyFigureTitles() const
{
    return {"KPIYTDTHISYEAR", "KPIYTDLASTYEAR", "KPIAVGTHISYEAR", "KPIAVGLASTYEAR"};
}

std::optional<double> GXCategoryTableViewController::keyFigure(const CNonVisualDataItem& item,
                                                               std::size_t figure) const
{
    return figureOf(item, figure);
}

std::vector<const char*> GXCategoryTableViewController::objectNotifications() const
{
    return {"CATEGORYCREATED", "CATEGORYMODIFIED", "CATEGORYDELETED"};
}

QString GXCategoryTableViewController::selectedKPI(int figure) const
{
    if (figure < 1 || figure > 4) return {};
    return keyFigureTexts().at(static_cast<std::size_t>(figure - 1));
}

void GXCategoryTableViewController::newObject(const CommandSender&)
{
    const auto node = mSelectedMasterItem();
    if (!newAllowed() || !document() || !node->getId()) return;
    document()->initiateExpenseTypeCreationWithParentType(*node->getId());
}

MenuItemValidation GXCategoryTableViewController::validateMenuItem(int tag)
{
    if (tag == kBookFor) return {mSelectedItem() != nullptr, std::nullopt};
    return AccountCategoryPage::validateMenuItem(tag);
}

void GXCategoryTableViewController::executeMenuCommand(int code, const CommandSender& sender)
{
    switch (code) {
    case kDelete:
        if (lowerTableHasFocus())
            deleteTransaction();
        else
            deleteSelectedObject();
        return;
    case kBookFor:
        if (const auto category = mSelectedItem(); category && category->getSourceItem())
            openTransactionSheet(nullptr, nullptr, nullptr, category->getSourceItem());
        return;
    default: AccountCategoryPage::executeMenuCommand(code, sender); return;
    }
}

} // namespace ch
