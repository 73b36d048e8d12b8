#include "ui/MainToolbar.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QWidgetAction>

#include <algorithm>

#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/CommandRouting.h"
#include "ui/MainToolbarItems.h"
#include "ui/NamedIcons.h"
#include "ui/ToolbarCustomizationSheet.h"

namespace ch {

namespace {

QString qstring(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

bool isSelectable(std::string_view identifier)
{
    const auto selectable = toolbarSelectableItemIdentifiers();
    return std::find(selectable.begin(), selectable.end(), identifier) != selectable.end();
}

} // namespace

MainToolbar::MainToolbar(CommandRouter& router, QWidget* parent)
    : QToolBar(parent), mRouter(router), mSelectable(new QActionGroup(this))
{
    setObjectName(qstring(kMainToolbarIdentifier));
    setWindowTitle(localizedText("TOOLBARTITLE"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(28, 28));
    mSelectable->setExclusive(true);

    mCustomizeAction = new QAction(localizedText("CUSTOMIZETOOLBARMENUITEM"), this);
    mCustomizeAction->setObjectName("customizeToolbar");
    connect(mCustomizeAction, &QAction::triggered, this, &MainToolbar::runCustomizationSheet);
    mContextMenu = new QMenu(this);
    mContextMenu->setObjectName("toolbarContextMenu");
    mContextMenu->addAction(mCustomizeAction);

    // The search field exists even while the toolbar does not show it: the
    // pages' key-view chain starts from it.
    makeItem(qstring("V2Search"));
    mArrangement = toolbarArrangementFrom(UserDefaults::standard().object(kToolbarConfigurationKey));
    showArrangement();
    selectItem("main");
}

void MainToolbar::showArrangement()
{
    clear();
    for (QAction* filler : mFillers) delete filler;
    mFillers.clear();
    for (const std::string& identifier : mArrangement) {
        if (identifier == kSeparatorItem) {
            mFillers.push_back(addSeparator());
        } else if (identifier == kFlexibleSpaceItem || identifier == kSpaceItem) {
            auto* spacer = new QWidget(this);
            if (identifier == kFlexibleSpaceItem) spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            else spacer->setFixedWidth(16);
            mFillers.push_back(addWidget(spacer));
        } else {
            addAction(itemFor(identifier));
        }
    }
}

QAction* MainToolbar::itemFor(const std::string& identifier)
{
    const auto found = mItems.find(identifier);
    return found != mItems.end() ? found->second : makeItem(QString::fromStdString(identifier));
}

void MainToolbar::setArrangement(const std::vector<std::string>& identifiers)
{
    const std::vector<std::string> arrangement = toolbarArrangementFrom(storedToolbarArrangement(identifiers));
    UserDefaults::standard().set(std::string(kToolbarConfigurationKey), storedToolbarArrangement(arrangement));
    // The other windows open now follow at once. Found first: showing an
    // arrangement deletes the spacers of the one before.
    std::vector<QPointer<MainToolbar>> toolbars;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* toolbar = qobject_cast<MainToolbar*>(widget)) toolbars.emplace_back(toolbar);
    for (const QPointer<MainToolbar>& toolbar : toolbars)
        if (toolbar) toolbar->showArrangement(arrangement);
}

void MainToolbar::showArrangement(const std::vector<std::string>& arrangement)
{
    const std::string selected = selectedItemIdentifier();
    mArrangement = arrangement;
    showArrangement();
    selectItem(selected);
    validateItems();
}

void MainToolbar::runCustomizationSheet()
{
    if (mSheet) {
        mSheet->raise();
        return;
    }
    auto* sheet = new ToolbarCustomizationSheet(mArrangement, window());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::accepted, this, [this, sheet] { setArrangement(sheet->arrangement()); });
    mSheet = sheet;
    sheet->open();
}

ToolbarCustomizationSheet* MainToolbar::customizationSheet() const
{
    return mSheet;
}

void MainToolbar::contextMenuEvent(QContextMenuEvent* event)
{
    mContextMenu->popup(event->globalPos());
    event->accept();
}

QAction* MainToolbar::makeItem(const QString& identifier)
{
    const std::string key = identifier.toStdString();
    const ToolbarItemEntry* entry = findToolbarItem(key);
    QAction* item = nullptr;
    if (identifier == qstring(kCustomizeItem)) {
        // Opens the sheet whatever the page: not validated like the others.
        item = new QAction(makeNamedIcon("customize"), localizedText("CUSTOMIZEBUTTON"), this);
        item->setObjectName(identifier);
        item->setToolTip(localizedText("CUSTOMIZETOOLBARMENUITEM"));
        connect(item, &QAction::triggered, this, &MainToolbar::runCustomizationSheet);
    } else if (!entry) {
        item = new QAction(this);
        item->setObjectName(identifier);
        item->setProperty(kToolbarIdentifierProperty, identifier);
    } else if (entry->identifier == "V2Search") {
        auto* search = new QWidgetAction(this);
        mSearchField = new QLineEdit(this);
        mSearchField->setObjectName("mSearchFieldOutlet");
        mSearchField->setClearButtonEnabled(true);
        mSearchField->setPlaceholderText(localizedText(entry->labelKey));
        mSearchField->setToolTip(qstring(kSearchToolTip));
        mSearchField->setMinimumWidth(kSearchMinimumWidth);
        mSearchField->setMaximumWidth(kSearchMaximumWidth);
        mSearchField->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        // Typing filters as it goes. The search waits for the keys already
        // queued, so that a burst of them costs one pass over the lists.
        mSearchTimer = new QTimer(this);
        mSearchTimer->setSingleShot(true);
        mSearchTimer->setInterval(0);
        connect(mSearchTimer, &QTimer::timeout, this, [this] { emit searchRequested(mSearchField->text()); });
        connect(mSearchField, &QLineEdit::textChanged, mSearchTimer, qOverload<>(&QTimer::start));
        connect(mSearchField, &QLineEdit::returnPressed, this, [this] {
            mSearchTimer->stop();
            emit searchRequested(mSearchField->text());
        });
        search->setDefaultWidget(mSearchField);
        search->setText(localizedText(entry->labelKey));
        search->setObjectName(identifier);
        search->setProperty(kToolbarIdentifierProperty, identifier);
        search->setProperty(kTagProperty, 0);
        search->setProperty(kActionProperty, QString());
        item = search;
    } else {
        const std::string action(entry->action);
        item = makeCommandAction(this, localizedText(entry->labelKey), entry->tag, action.c_str(), identifier);
        item->setIcon(makeNamedIcon(entry->image));
        item->setToolTip(localizedText(entry->labelKey));
        connect(item, &QAction::triggered, this, [this, item] { mRouter.trigger(*item); });
        if (isSelectable(entry->identifier)) {
            item->setCheckable(true);
            mSelectable->addAction(item);
        }
    }
    mItems[key] = item;
    return item;
}

QAction* MainToolbar::itemAction(const std::string& identifier) const
{
    const auto found = mItems.find(identifier);
    if (found == mItems.end() || !actions().contains(found->second)) return nullptr;
    return found->second;
}

void MainToolbar::selectItem(const std::string& identifier)
{
    if (QAction* item = itemAction(identifier); item && item->isCheckable()) {
        item->setChecked(true);
    } else if (QAction* checked = mSelectable->checkedAction()) {
        // A tab without an item of its own: none shows as selected.
        mSelectable->setExclusive(false);
        checked->setChecked(false);
        mSelectable->setExclusive(true);
    }
}

std::string MainToolbar::selectedItemIdentifier() const
{
    const QAction* checked = mSelectable->checkedAction();
    return checked ? checked->objectName().toStdString() : std::string();
}

void MainToolbar::validateItems()
{
    for (QAction* item : actions())
        if (item->property(kToolbarIdentifierProperty).isValid()) mRouter.validateAction(*item);
}

} // namespace ch
