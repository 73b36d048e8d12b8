#include "ui/pages/TableActionButton.h"

#include <QMenu>

#include "platform/core/localized_strings.h"

namespace ch {

TableActionButton::TableActionButton(QWidget* table, const std::vector<TableActionEntry>& entries, Validate validate,
                                     Run run, QWidget* parent)
    : GXMenuButton(parent), mTable(table), mMenu(new QMenu(this)), mValidate(std::move(validate)),
      mRun(std::move(run))
{
    setText(QString::fromUtf8("\u2699"));
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    for (const TableActionEntry& entry : entries) {
        if (!entry.titleKey) {
            mMenu->addSeparator();
            continue;
        }
        QAction* item = mMenu->addAction(QString::fromStdString(localized(entry.titleKey)));
        item->setObjectName(QString::fromLatin1(entry.titleKey));
        item->setProperty("tag", entry.tag);
        item->setProperty("baseTitle", item->text());
        connect(item, &QAction::triggered, this, [this, tag = entry.tag] {
            if (mTable) mTable->setFocus(Qt::OtherFocusReason);
            // An item enabled when the menu opened may no longer apply.
            if (mValidate && !mValidate(tag).enabled) return;
            if (mRun) mRun(tag);
        });
    }
    connect(mMenu, &QMenu::aboutToShow, this, &TableActionButton::validateItems);
    setMenu(mMenu);
}

void TableActionButton::validateItems()
{
    if (mTable) mTable->setFocus(Qt::OtherFocusReason);
    for (QAction* item : mMenu->actions()) {
        if (item->isSeparator()) continue;
        const MenuItemValidation validation = mValidate ? mValidate(item->property("tag").toInt())
                                                        : MenuItemValidation{true, std::nullopt};
        item->setEnabled(validation.enabled);
        item->setText(validation.title ? QString::fromStdString(*validation.title)
                                       : item->property("baseTitle").toString());
    }
}

} // namespace ch
