#include "ui/PlaceholderPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "platform/gui/localized_text.h"
#include "ui/NamedIcons.h"
#include "ui/PageHeading.h"

namespace ch {

namespace {

std::string_view iconOf(SideBarPageKind kind)
{
    switch (kind) {
    case SideBarPageKind::Accounts: return "accounts";
    case SideBarPageKind::Categories: return "categories";
    case SideBarPageKind::Transactions: return "transactions";
    case SideBarPageKind::BarChart: return "accounts";
    case SideBarPageKind::Owners: return "accountowners";
    case SideBarPageKind::Portfolio: return "stocks";
    case SideBarPageKind::Currencies: return "currencies";
    case SideBarPageKind::CreditCards: return "creditcards";
    case SideBarPageKind::BusinessSetup: return "vatIcon32";
    }
    return {};
}

// The title and icon of a sub-page's node type.
std::pair<std::string_view, std::string_view> subPageOf(FourCharCode type)
{
    switch (type) {
    case fourCC("TrnS"): return {"TRANSBUTTON", "transactions"};
    case fourCC("RcrT"): return {"RECURRINGBUTTON", "recurringTrans"};
    case fourCC("UnlT"): return {"GENERATEDBUTTON", "generatedTrans"};
    case fourCC("AcoW"): return {"OWNERBUTTON", "accountowners"};
    case fourCC("CusT"): return {"CUSTOMERBUTTON", "customers"};
    case fourCC("SupL"): return {"SUPPLIERBUTTON", "suppliers"};
    case fourCC("VatP"): return {"VATPERIODTITLE", "vatIcon32"};
    case fourCC("VatR"): return {"VATRATETITLE", "vatIcon32"};
    default: return {};
    }
}

} // namespace

PlaceholderPage::PlaceholderPage(SideBarPageKind kind, QObject* parent)
    : GXSideBarControlledViewAncestor(parent), mKind(kind)
{
}

bool PlaceholderPage::hasSubPages() const
{
    return mKind == SideBarPageKind::Transactions || mKind == SideBarPageKind::Owners ||
           mKind == SideBarPageKind::BusinessSetup;
}

void PlaceholderPage::selectSubPage(FourCharCode type)
{
    mSubPage = type;
    updateHeading();
}

void PlaceholderPage::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
    updateHeading();
}

QString PlaceholderPage::title() const
{
    return mHeading ? mHeading->title() : QString();
}

QString PlaceholderPage::subtitle() const
{
    return mHeading ? mHeading->subtitle() : QString();
}

void PlaceholderPage::updateHeading()
{
    if (!mHeading) return;
    QString title = localizedText(pageTitleKey(mKind));
    QString subtitle;
    std::string_view icon = iconOf(mKind);
    if (const auto node = mSelectedMasterItem()) {
        title = QString::fromStdString(node->getName());
        subtitle = localizedText(pageTitleKey(mKind));
        const std::string nodeIcon = node->getIconName();
        if (!makeNamedIcon(nodeIcon).isNull()) {
            mHeading->setIcon(makeNamedIcon(nodeIcon));
            icon = {};
        }
    } else if (const auto [key, subIcon] = subPageOf(mSubPage); !key.empty()) {
        title = localizedText(key);
        icon = subIcon;
    }
    if (!icon.empty()) mHeading->setIcon(makeNamedIcon(icon));
    mHeading->setTitle(title);
    mHeading->setSubtitle(subtitle);
}

QWidget* PlaceholderPage::makeControlledView()
{
    auto* view = new QWidget;
    view->setObjectName(QString::fromUtf8(pageControllerName(mKind).data()) + "View");
    view->setAutoFillBackground(true);
    QPalette base = view->palette();
    base.setColor(QPalette::Window, base.color(QPalette::Base));
    view->setPalette(base);

    mHeading = new PageHeading(view);
    auto* note = new QLabel(localizedText("PAGENOTYETAVAILABLE"), view);
    note->setObjectName("placeholderNote");
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    QPalette quiet = note->palette();
    quiet.setColor(QPalette::WindowText, QColor(0x8A, 0x90, 0x99));
    note->setPalette(quiet);

    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(mHeading);
    layout->addStretch(1);
    layout->addWidget(note);
    layout->addStretch(2);
    updateHeading();
    return view;
}

} // namespace ch
