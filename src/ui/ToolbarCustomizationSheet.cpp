#include "ui/ToolbarCustomizationSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/gui/localized_text.h"
#include "ui/MainToolbarItems.h"
#include "ui/NamedIcons.h"

namespace ch {

namespace {

QListWidgetItem* makeEntry(const std::string& identifier)
{
    QString label;
    QIcon icon;
    if (identifier == kSeparatorItem) {
        label = localizedText("TOOLBARSEPARATOR");
    } else if (identifier == kSpaceItem) {
        label = localizedText("TOOLBARSPACE");
    } else if (identifier == kFlexibleSpaceItem) {
        label = localizedText("TOOLBARFLEXIBLESPACE");
    } else if (identifier == kCustomizeItem) {
        label = localizedText("CUSTOMIZEBUTTON");
        icon = makeNamedIcon("customize");
    } else if (const ToolbarItemEntry* entry = findToolbarItem(identifier)) {
        label = localizedText(entry->labelKey);
        if (!entry->image.empty()) icon = makeNamedIcon(entry->image);
    }
    if (icon.isNull()) {
        // A blank of the same size keeps every label in one column.
        QPixmap blank(20, 20);
        blank.fill(Qt::transparent);
        icon = QIcon(blank);
    }
    auto* item = new QListWidgetItem(icon, label);
    item->setData(Qt::UserRole, QString::fromStdString(identifier));
    return item;
}

std::string identifierOf(const QListWidgetItem* item)
{
    return item->data(Qt::UserRole).toString().toStdString();
}

QPushButton* button(const char* name, std::string_view key, QWidget* parent)
{
    auto* made = new QPushButton(localizedText(key), parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
}

} // namespace

ToolbarCustomizationSheet::ToolbarCustomizationSheet(const std::vector<std::string>& arrangement, QWidget* parent)
    : QDialog(parent), mAllowed(new QListWidget(this)), mShown(new QListWidget(this))
{
    setObjectName("toolbarCustomizationSheet");
    setWindowTitle(localizedText("CUSTOMIZETOOLBARTITLE"));
    setWindowModality(Qt::WindowModal);

    mAllowed->setObjectName("allowedItems");
    mAllowed->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mAllowed->setIconSize(QSize(20, 20));
    mAllowed->setUniformItemSizes(true);
    std::vector<std::string> offered;
    // The allowed set names the separator twice; it is offered once.
    for (std::string_view identifier : toolbarAllowedItemIdentifiers())
        if (std::find(offered.begin(), offered.end(), identifier) == offered.end()) offered.emplace_back(identifier);
    for (const std::string& identifier : offered) mAllowed->addItem(makeEntry(identifier));

    mShown->setObjectName("shownItems");
    mShown->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mShown->setIconSize(QSize(20, 20));
    mShown->setUniformItemSizes(true);
    mShown->setDragDropMode(QAbstractItemView::InternalMove);
    fillShown(arrangement);

    auto* add = button("addItem", "TOOLBARADDITEM", this);
    auto* remove = button("removeItem", "TOOLBARREMOVEITEM", this);
    auto* up = button("moveUp", "TOOLBARMOVEUP", this);
    auto* down = button("moveDown", "TOOLBARMOVEDOWN", this);
    auto* defaults = button("defaultSet", "TOOLBARDEFAULTSET", this);
    auto* cancel = button("CancelButton", "CANCEL", this);
    auto* ok = button("OKButton", "OK", this);
    ok->setDefault(true);
    connect(add, &QPushButton::clicked, this, &ToolbarCustomizationSheet::addChosen);
    connect(remove, &QPushButton::clicked, this, &ToolbarCustomizationSheet::removeChosen);
    connect(up, &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveCurrent(1); });
    connect(defaults, &QPushButton::clicked, this, &ToolbarCustomizationSheet::useDefaultSet);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(mAllowed, &QListWidget::itemDoubleClicked, this, &ToolbarCustomizationSheet::addChosen);

    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(localizedText("TOOLBARALLOWEDITEMS"), this));
    left->addWidget(mAllowed);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    for (QPushButton* each : {add, remove, up, down}) middle->addWidget(each);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(localizedText("TOOLBARSHOWNITEMS"), this));
    right->addWidget(mShown);
    lists->addLayout(left, 1);
    lists->addLayout(middle);
    lists->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(localizedText("CUSTOMIZETOOLBARTEXT"), this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(620, 460);
}

void ToolbarCustomizationSheet::fillShown(const std::vector<std::string>& arrangement)
{
    mShown->clear();
    for (const std::string& identifier : arrangement) mShown->addItem(makeEntry(identifier));
}

std::vector<std::string> ToolbarCustomizationSheet::arrangement() const
{
    std::vector<std::string> identifiers;
    for (int row = 0; row < mShown->count(); ++row) identifiers.push_back(identifierOf(mShown->item(row)));
    return identifiers;
}

void ToolbarCustomizationSheet::addChosen()
{
    int at = mShown->currentRow() < 0 ? mShown->count() : mShown->currentRow() + 1;
    for (int row = 0; row < mAllowed->count(); ++row) {
        QListWidgetItem* offered = mAllowed->item(row);
        if (!offered->isSelected()) continue;
        const std::string identifier = identifierOf(offered);
        const std::vector<std::string> shown = arrangement();
        const auto standing = std::find(shown.begin(), shown.end(), identifier);
        if (!isRepeatableToolbarItem(identifier) && standing != shown.end()) {
            mShown->setCurrentRow(int(standing - shown.begin()));
            continue;
        }
        mShown->insertItem(at, makeEntry(identifier));
        mShown->setCurrentRow(at);
        ++at;
    }
}

void ToolbarCustomizationSheet::removeChosen()
{
    for (QListWidgetItem* item : mShown->selectedItems()) delete item;
}

void ToolbarCustomizationSheet::moveCurrent(int step)
{
    const int row = mShown->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= mShown->count()) return;
    QListWidgetItem* item = mShown->takeItem(row);
    mShown->insertItem(to, item);
    mShown->setCurrentRow(to);
}

void ToolbarCustomizationSheet::useDefaultSet()
{
    std::vector<std::string> identifiers;
    for (std::string_view identifier : toolbarDefaultItemIdentifiers()) identifiers.emplace_back(identifier);
    fillShown(identifiers);
}

} // namespace ch
