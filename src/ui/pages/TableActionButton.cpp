#include "ui/pages/TableActionButton.h"

#include <QMenu>

#include "platform/gui/localized_text.h"

namespace ch {

TableActionButton::TableActionButton(QWidget* table, const std::vector<TableActionEntry>& entries, Validate validate,
                                     Run run, QWidget* parent)
    : GXMenuButton(parent), mTable(table), mMenu(new QMenu(this)), mValidate(std::move(validate)),
      mRun(std::move(run))
{
    setText(QString::fromUtf8("\u2699"));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    addTaggedItems(*mMenu, entries, [this](int tag) {
        if (mTable) mTable->setFocus(Qt::OtherFocusReason);
        // An item enabled when the menu opened may no longer apply.
        if (mValidate && !mValidate(tag).enabled) return;
        if (mRun) mRun(tag);
    });
    connect(mMenu, &QMenu::aboutToShow, this, &TableActionButton::validateItems);
    setMenu(mMenu);
}

void TableActionButton::validateItems()
{
    if (mTable) mTable->setFocus(Qt::OtherFocusReason);
    validateTaggedItems(*mMenu, [this](int tag) {
        return mValidate ? mValidate(tag) : MenuItemValidation{true, std::nullopt};
    });
}

void addTaggedItems(QMenu& menu, const std::vector<TableActionEntry>& entries, std::function<void(int tag)> run)
{
    for (const TableActionEntry& entry : entries) {
        if (!entry.titleKey) {
            menu.addSeparator();
            continue;
        }
        QAction* item = menu.addAction(localizedText(entry.titleKey));
        item->setObjectName(QString::fromLatin1(entry.titleKey));
        item->setProperty("tag", entry.tag);
        item->setProperty("baseTitle", item->text());
        QObject::connect(item, &QAction::triggered, &menu, [run, tag = entry.tag] { run(tag); });
    }
}

void validateTaggedItems(QMenu& menu, const std::function<MenuItemValidation(int tag)>& validate)
{
    for (QAction* item : menu.actions()) {
        if (item->isSeparator()) continue;
        const MenuItemValidation validation = validate(item->property("tag").toInt());
        item->setEnabled(validation.enabled);
        item->setText(validation.title ? QString::fromStdString(*validation.title)
                                       : item->property("baseTitle").toString());
    }
}

} // namespace ch
