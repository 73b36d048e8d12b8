#include "ui/MainToolbar.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QWidgetAction>

#include <algorithm>

#include "platform/core/localized_strings.h"
#include "ui/CommandRouting.h"
#include "ui/MainToolbarItems.h"
#include "ui/NamedIcons.h"

namespace ch {

namespace {

QString text(std::string_view key)
{
    return QString::fromStdString(localized(key));
}

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
    setWindowTitle(text("TOOLBARTITLE"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(28, 28));
    mSelectable->setExclusive(true);

    for (std::string_view identifier : toolbarDefaultItemIdentifiers()) {
        if (identifier == kSeparatorItem) {
            addSeparator();
        } else if (identifier == kFlexibleSpaceItem) {
            auto* spacer = new QWidget(this);
            spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
            addWidget(spacer);
        } else if (identifier == kSpaceItem) {
            auto* spacer = new QWidget(this);
            spacer->setFixedWidth(16);
            addWidget(spacer);
        } else if (identifier == kCustomizeItem) {
            // No customisation palette on this platform.
        } else {
            addAction(makeItem(qstring(identifier)));
        }
    }
    selectItem("main");
}

QAction* MainToolbar::makeItem(const QString& identifier)
{
    const std::string key = identifier.toStdString();
    const ToolbarItemEntry* entry = findToolbarItem(key);
    QAction* item = nullptr;
    if (!entry) {
        item = new QAction(this);
        item->setObjectName(identifier);
        item->setProperty(kToolbarIdentifierProperty, identifier);
    } else if (entry->identifier == "V2Search") {
        auto* search = new QWidgetAction(this);
        mSearchField = new QLineEdit(this);
        mSearchField->setObjectName("mSearchFieldOutlet");
        mSearchField->setClearButtonEnabled(true);
        mSearchField->setPlaceholderText(text(entry->labelKey));
        mSearchField->setToolTip(qstring(kSearchToolTip));
        mSearchField->setMinimumWidth(kSearchMinimumWidth);
        mSearchField->setMaximumWidth(kSearchMaximumWidth);
        mSearchField->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(mSearchField, &QLineEdit::returnPressed, this,
                [this] { emit searchRequested(mSearchField->text()); });
        search->setDefaultWidget(mSearchField);
        search->setText(text(entry->labelKey));
        search->setObjectName(identifier);
        search->setProperty(kToolbarIdentifierProperty, identifier);
        search->setProperty(kTagProperty, 0);
        search->setProperty(kActionProperty, QString());
        item = search;
    } else {
        const std::string action(entry->action);
        item = makeCommandAction(this, text(entry->labelKey), entry->tag, action.c_str(), identifier);
        item->setIcon(makeNamedIcon(entry->image));
        item->setToolTip(text(entry->labelKey));
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
