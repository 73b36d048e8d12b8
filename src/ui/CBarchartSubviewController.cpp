#include "ui/CBarchartSubviewController.h"

#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

#include "bridge/CAccTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/GXDebetItemArrayFinalizer.h"
#include "platform/core/localized_strings.h"
#include "ui/GXBorderedView.h"
#include "ui/NamedIcons.h"
#include "ui/PageHeading.h"

namespace ch {

namespace {

constexpr FourCharCode kAccountsRoot = fourCC("AccT");
constexpr FourCharCode kCategoriesRoot = fourCC("MxpT");

QString text(std::string_view key)
{
    return QString::fromStdString(localized(key));
}

QString dateText(DateT date)
{
    return QString("%1-%2-%3")
        .arg(date / 10000, 4, 10, QChar('0'))
        .arg(date / 100 % 100, 2, 10, QChar('0'))
        .arg(date % 100, 2, 10, QChar('0'));
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
        mBarChart->synchronizeWithArray(GXDebetItemArrayFinalizer::finalizeArray(type->allTransactionDetails()));
    } else if (node->objectType() == kCategoriesRoot) {
        const std::string income = localized("incomeMxpTName");
        const std::string expense = localized("expenseMxpTName");
        LineItemArray lines;
        for (const auto& child : node->children()) {
            if (!child || (child->getName() != income && child->getName() != expense)) continue;
            for (const auto& groupItem : child->children())
                if (const auto group = std::dynamic_pointer_cast<CMxpTItem>(groupItem)) {
                    const LineItemArray own = group->forTransactionDetails();
                    lines.insert(lines.end(), own.begin(), own.end());
                }
        }
        mBarChart->synchronizeWithArray(lines);
    }
}

void CBarchartSubviewController::updateHeading()
{
    if (!mHeading) return;
    const auto node = mSelectedMasterItem();
    const bool categories = node && node->objectType() == kCategoriesRoot;
    mHeading->setIcon(makeNamedIcon(categories ? "categories" : "accounts"));
    mHeading->setTitle(node ? QString::fromStdString(node->getName()) : text("ACCOUNTBUTTON"));
    mHeading->setSubtitle(text(categories ? "BARCHARTCATEGORIES" : "BARCHARTACCOUNTS"));
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
    mOwnChart = new PlaceholderLineChart(view);
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

PlaceholderLineChart::PlaceholderLineChart(QWidget* parent) : QWidget(parent) {}

void PlaceholderLineChart::synchronizeWithArray(const LineItemArray& lines)
{
    mCount = lines.size();
    DateT first = 0;
    DateT last = 0;
    for (const auto& line : lines) {
        if (!line) continue;
        const DateT date = line->getTransactionDate();
        if (date <= 0) continue;
        first = first == 0 ? date : std::min(first, date);
        last = std::max(last, date);
    }
    mSpan = first > 0 ? dateText(first) + QString::fromUtf8(" \u2013 ") + dateText(last) : QString();
    update();
}

void PlaceholderLineChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(GXBorderedView::lineColour(), 1.0, Qt::DashLine));
    painter.setBrush(QColor(0xF7, 0xF8, 0xFA));
    painter.drawRoundedRect(frame, 8, 8);

    QFont heading = font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.15);
    painter.setFont(heading);
    painter.setPen(QColor(0x4B, 0x55, 0x63));
    const QString counted = text("BARCHARTLINES").replace(QStringLiteral("%@"), QString::number(mCount));
    painter.drawText(frame.adjusted(0, -40, 0, 0), Qt::AlignCenter, counted);
    painter.setFont(font());
    painter.setPen(QColor(0x8A, 0x90, 0x99));
    painter.drawText(frame.adjusted(0, 0, 0, 0), Qt::AlignCenter, mSpan);
    painter.drawText(frame.adjusted(0, 44, 0, 0), Qt::AlignCenter, text("CHARTNOTYETAVAILABLE"));
}

} // namespace ch
