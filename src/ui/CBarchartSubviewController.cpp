#include "ui/CBarchartSubviewController.h"

#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

#include "bridge/CAccTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/GXDebetItemArrayFinalizer.h"
#include "bridge/ItemsOfList.h"
#include "platform/core/localized_strings.h"
#include "platform/gui/localized_text.h"
#include "ui/GXBorderedView.h"
#include "ui/NamedIcons.h"
#include "ui/ChartSinkViews.h"
#include "ui/PageHeading.h"
#include "ui/WindowDocument.h"

namespace ch {

namespace {

constexpr FourCharCode kAccountsRoot = fourCC("AccT");
constexpr FourCharCode kCategoriesRoot = fourCC("MxpT");

// A line's item, made only for a bar's detail window.
std::function<ChartElement(CNonVisual*)> lineItems(CNonVisualDataItemController* registry)
{
    return [registry](CNonVisual* line) -> ChartElement {
        return itemOf(line, registry, &CNonVisualDataItemController::debetItemForTransactionDetail);
    };
}

} // namespace

CBarchartSubviewController::CBarchartSubviewController(QObject* parent) : GXSideBarControlledViewAncestor(parent)
{
}

void CBarchartSubviewController::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
    updateHeading();
    if (!node || !node->isLevel1Header() || !mBarChart) return;
    // The items a bar's window shows are the document's own, when there is one.
    const auto registry = [this]() -> CNonVisualDataItemController* {
        return document() ? &document()->books().dataItemController() : nullptr;
    };

    if (node->objectType() == kAccountsRoot) {
        const std::string title = localized("PLAcctName");
        CNonVisualDataItem::Ptr profitAndLoss;
        for (const auto& child : node->children())
            if (child && child->getName() == title) profitAndLoss = child;
        if (!profitAndLoss) return;
        const auto types = profitAndLoss->children();
        if (types.empty()) return;
        const auto type = std::dynamic_pointer_cast<CAccTItem>(types.front());
        if (!type) return;
        // Tens of thousands of lines over twenty years: the chart reads the
        // model lines (again whenever it needs them) and no item is made.
        mBarChart->synchronizeWithLines({[type] {
                                             std::vector<CNonVisual*> lines;
                                             type->appendModelLines(lines);
                                             GXDebetItemArrayFinalizer::sortModelLines(lines);
                                             return lines;
                                         },
                                         lineItems(registry())});
    } else if (node->objectType() == kCategoriesRoot) {
        const std::string income = localized("incomeMxpTName");
        const std::string expense = localized("expenseMxpTName");
        std::vector<std::shared_ptr<CMxpTItem>> groups;
        for (const auto& child : node->children()) {
            if (!child || (child->getName() != income && child->getName() != expense)) continue;
            for (const auto& groupItem : child->children())
                if (auto group = std::dynamic_pointer_cast<CMxpTItem>(groupItem)) groups.push_back(std::move(group));
        }
        mBarChart->synchronizeWithLines({[groups] {
                                             std::vector<CNonVisual*> lines;
                                             for (const auto& group : groups) group->appendModelLines(lines);
                                             return lines;
                                         },
                                         lineItems(registry())});
    }
}

void CBarchartSubviewController::updateHeading()
{
    if (!mHeading) return;
    const auto node = mSelectedMasterItem();
    const bool categories = node && node->objectType() == kCategoriesRoot;
    mHeading->setIcon(makeNamedIcon(categories ? "categories" : "accounts"));
    mHeading->setTitle(node ? QString::fromStdString(node->getName()) : localizedText("ACCOUNTBUTTON"));
    mHeading->setSubtitle(localizedText(categories ? "BARCHARTCATEGORIES" : "BARCHARTACCOUNTS"));
}

QWidget* CBarchartSubviewController::makeControlledView()
{
    auto* view = new QWidget;
    view->setObjectName("barLineChartSubviewController");
    view->setAutoFillBackground(true);
    QPalette base = view->palette();
    base.setColor(QPalette::Window, base.color(QPalette::Base));
    view->setPalette(base);
    mHeading = new PageHeading(view);
    mOwnChart = new BarChartSinkView(view);
    mOwnChart->setObjectName("barChart");
    if (!mBarChart) mBarChart = mOwnChart;
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mHeading);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(24, 20, 24, 24);
    body->addWidget(mOwnChart, 1);
    layout->addLayout(body, 1);
    updateHeading();
    return view;
}

} // namespace ch
