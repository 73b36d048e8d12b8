#include "app/NewDocumentAssistantDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "app/AssistantArt.h"
#include "app/AssistantListViews.h"
#include "app/AssistantStageStrip.h"
#include "document/app/AssistantResources.h"
#include "model/foundation/AmountLimit.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CNumericTransformer.h"

namespace ch {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

enum Column { kUse, kName, kSymbol, kBalance, kDefault, kColumns };

// Read once: the shipped sets do not change while the application runs.
const AssistantResources& shippedResources()
{
    static const AssistantResources loaded = loadAssistantResources();
    return loaded;
}

QString amountText(double amount)
{
    return qs(CNumericTransformer().stringForObjectValue(amount));
}

void refuse(const std::string& message)
{
    Alert alert;
    alert.title = localized("ERROR");
    alert.message = message;
    alert.defaultButton = localized("OK");
    alertPresenter().showError(alert);
}

// The balance column edits as an amount field: the text shown is the
// formatted amount, and what is typed is read by the program's converter.
class BalanceDelegate : public QStyledItemDelegate {
public:
    explicit BalanceDelegate(NewDocumentAssistantDialog* dialog) : QStyledItemDelegate(dialog), mDialog(dialog) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* field = new QLineEdit(parent);
        field->setObjectName("balanceEditor");
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field->setFrame(false);
        return field;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QLineEdit*>(editor)->setText(index.data(Qt::DisplayRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        const QModelIndex first = index.siblingAtColumn(kUse);
        mDialog->commitBalance(std::size_t(first.data(Qt::UserRole).toULongLong()),
                               static_cast<QLineEdit*>(editor)->text());
    }

private:
    NewDocumentAssistantDialog* mDialog;
};

QLineEdit* searchField(const char* name)
{
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    field->setPlaceholderText(localizedText("ASSISTANTSEARCH"));
    field->setClearButtonEnabled(true);
    field->setMaximumWidth(220);
    return field;
}

} // namespace

NewDocumentAssistantDialog::NewDocumentAssistantDialog(UserDefaults& defaults, QWidget* window)
    : QDialog(window),
      mDefaults(defaults),
      mAssistant(shippedResources().defaultObjects, shippedResources().currencies, systemCurrencyCode(defaults))
{
    setObjectName("NewFileAssistant");
    setWindowTitle(localizedText("ASSISTANTTITLE"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1000, 640);

    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    outer->addLayout(body, 1);

    // The stages down the side, on a quieter ground.
    auto* side = new QFrame;
    side->setObjectName("stageFrame");
    side->setFrameShape(QFrame::StyledPanel);
    side->setAutoFillBackground(true);
    side->setFixedWidth(215);  // wide enough for the longest stage in bold
    QPalette sidePalette = side->palette();
    sidePalette.setColor(QPalette::Window, sidePalette.color(QPalette::Window).darker(104));
    side->setPalette(sidePalette);
    auto* sideLayout = new QVBoxLayout(side);
    mStages = new AssistantStageStrip;
    sideLayout->addWidget(mStages);
    body->addWidget(side);

    auto* main = new QVBoxLayout;
    body->addLayout(main, 1);

    auto* header = new QHBoxLayout;
    mIcon = new QLabel;
    mIcon->setObjectName("pageIcon");
    mIcon->setFixedSize(48, 48);
    header->addWidget(mIcon);
    auto* titles = new QVBoxLayout;
    mTitle = new QLabel;
    mTitle->setObjectName("pageTitle");
    QFont titleFont = mTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    mTitle->setFont(titleFont);
    titles->addWidget(mTitle);
    mCounter = new QLabel;
    mCounter->setObjectName("pageCounter");
    QPalette quiet = mCounter->palette();
    quiet.setColor(QPalette::WindowText, QColor(110, 110, 115));
    mCounter->setPalette(quiet);
    titles->addWidget(mCounter);
    header->addLayout(titles, 1);
    main->addLayout(header);

    mExplanation = new QLabel;
    mExplanation->setObjectName("explanation");
    mExplanation->setWordWrap(true);
    mExplanation->setTextFormat(Qt::RichText);
    mExplanation->setOpenExternalLinks(true);
    mExplanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    main->addWidget(mExplanation);
    main->addSpacing(6);

    mPages = new QStackedWidget;
    main->addWidget(mPages, 1);

    // The set choice.
    auto* setPage = new QWidget;
    auto* setColumn = new QVBoxLayout(setPage);
    auto* setLayout = new QHBoxLayout;
    setColumn->addLayout(setLayout);
    setColumn->addStretch();
    setLayout->addWidget(new QLabel(localizedText("ASSISTANTSET")));
    mSetPopup = new QComboBox;
    mSetPopup->setObjectName("setPopup");
    mSetPopup->setMinimumWidth(260);
    setLayout->addWidget(mSetPopup);
    setLayout->addStretch();
    connect(mSetPopup, &QComboBox::currentTextChanged, this, [this](const QString& name) {
        if (!mFilling) mAssistant.chooseSet(name.toStdString());
    });
    mPages->addWidget(setPage);

    // The two lists.
    auto* listPage = new QWidget;
    auto* listLayout = new QHBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);

    auto* proposedColumn = new QVBoxLayout;
    auto* proposedTop = new QHBoxLayout;
    auto* proposedLabel = new QLabel(localizedText("ASSISTANTPROPOSED"));
    QFont heading = proposedLabel->font();
    heading.setBold(true);
    proposedLabel->setFont(heading);
    proposedTop->addWidget(proposedLabel);
    proposedTop->addStretch();
    mProposedSearch = searchField("proposedSearchField");
    proposedTop->addWidget(mProposedSearch);
    proposedColumn->addLayout(proposedTop);

    mProposed = new AssistantProposedTable(kColumns);
    mProposed->setObjectName("proposedTable");
    mProposed->setHorizontalHeaderLabels({localizedText("ASSISTANTCOLUSE"), localizedText("ASSISTANTCOLNAME"),
                                          localizedText("ASSISTANTCOLSYMBOL"), localizedText("ASSISTANTCOLBALANCE"),
                                          localizedText("ASSISTANTCOLDEFAULT")});
    mProposed->verticalHeader()->hide();
    mProposed->setWordWrap(false);
    mProposed->setAlternatingRowColors(true);
    mProposed->verticalHeader()->setDefaultSectionSize(mProposed->fontMetrics().height() + 8);
    for (int column : {kUse, kSymbol, kBalance, kDefault})
        mProposed->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    mProposed->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
    mProposed->setItemDelegateForColumn(kBalance, new BalanceDelegate(this));
    connect(mProposed, &QTableWidget::itemChanged, this, &NewDocumentAssistantDialog::proposedChanged);
    mProposed->onDrop([this](const std::vector<std::size_t>& entries) {
        mAssistant.removeObjectClicked(entries);
        refillLater();
    });
    proposedColumn->addWidget(mProposed, 1);

    auto* proposedBottom = new QHBoxLayout;
    mSelectAll = new QCheckBox(localizedText("ASSISTANTSELECTALL"));
    mSelectAll->setObjectName("selectAllBox");
    connect(mSelectAll, &QCheckBox::clicked, this, [this](bool on) {
        mAssistant.selectAllClicked(on);
        mAssistant.moveObjectClicked();
        fillTables();
    });
    proposedBottom->addWidget(mSelectAll);
    proposedBottom->addStretch();
    mAdd = new QPushButton(localizedText("ASSISTANTADD"));
    mAdd->setObjectName("addButton");
    connect(mAdd, &QPushButton::clicked, this, [this] {
        const std::size_t entry = mAssistant.addObjectClicked();
        mAssistant.moveObjectClicked();
        fillTables();
        // The new row is the entry's; its name is typed at once.
        for (int row = 0; row < mProposed->rowCount(); ++row)
            if (std::size_t(mProposed->item(row, kUse)->data(Qt::UserRole).toULongLong()) == entry) {
                mProposed->setCurrentCell(row, kName);
                mProposed->editItem(mProposed->item(row, kName));
                break;
            }
    });
    proposedBottom->addWidget(mAdd);
    proposedColumn->addLayout(proposedBottom);
    listLayout->addLayout(proposedColumn, 5);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    auto button = [&](const char* name, const char* key, auto action) {
        auto* b = new QPushButton(localizedText(key));
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, action] {
            action();
            fillTables();
        });
        buttons->addWidget(b);
        return b;
    };
    button("takeAllButton", "ASSISTANTTAKEALL", [this] { mAssistant.moveAllObjectsClicked(); });
    button("removeButton", "ASSISTANTREMOVE", [this] { mAssistant.removeObjectClicked(mSelected->selectedEntries()); });
    button("removeAllButton", "ASSISTANTREMOVEALL", [this] { mAssistant.removeAllObjectsClicked(); });
    buttons->addStretch();
    listLayout->addLayout(buttons);

    auto* selectedColumn = new QVBoxLayout;
    auto* selectedTop = new QHBoxLayout;
    auto* selectedLabel = new QLabel(localizedText("ASSISTANTSELECTED"));
    selectedLabel->setFont(heading);
    selectedTop->addWidget(selectedLabel);
    selectedTop->addStretch();
    mSelectedSearch = searchField("selectedSearchField");
    selectedTop->addWidget(mSelectedSearch);
    selectedColumn->addLayout(selectedTop);
    mSelected = new AssistantSelectedList;
    mSelected->setObjectName("selectedList");
    mSelected->onDrop([this](const std::vector<std::size_t>& entries) {
        mAssistant.takeOverRows(entries);
        refillLater();
    });
    selectedColumn->addWidget(mSelected, 1);
    listLayout->addLayout(selectedColumn, 4);
    mPages->addWidget(listPage);

    mProposedSearch->installEventFilter(this);
    mSelectedSearch->installEventFilter(this);
    connect(mProposedSearch, &QLineEdit::textChanged, this, [this](const QString& search) {
        if (mFilling) return;
        mAssistant.setProposedSearch(search.toStdString());
        fillTables();
    });
    connect(mSelectedSearch, &QLineEdit::textChanged, this, [this](const QString& search) {
        if (mFilling) return;
        mAssistant.setSelectedSearch(search.toStdString());
        fillTables();
    });

    // The closing page: what Create will make.
    auto* closing = new QWidget;
    auto* closingLayout = new QVBoxLayout(closing);
    mSummary = new QLabel;
    mSummary->setObjectName("summary");
    mSummary->setWordWrap(true);
    mSummary->setTextFormat(Qt::RichText);
    mSummary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    closingLayout->addWidget(mSummary);
    closingLayout->addStretch();
    mPages->addWidget(closing);

    auto* row = new QHBoxLayout;
    auto* cancel = new QPushButton(localizedText("CANCEL"));
    cancel->setObjectName("cancelButton");
    connect(cancel, &QPushButton::clicked, this, &NewDocumentAssistantDialog::reject);
    row->addWidget(cancel);
    mDoNotShow = new QCheckBox(localizedText("ASSISTANTDONOTSHOW"));
    mDoNotShow->setObjectName("doNotShowMeButton");
    mDoNotShow->setChecked(!mDefaults.boolForKey("GXShowNewDocumentAssistant"));
    connect(mDoNotShow, &QCheckBox::toggled, this, [this](bool on) {
        mDefaults.set("GXShowNewDocumentAssistant", Value(!on));
    });
    row->addWidget(mDoNotShow);
    row->addStretch();
    mPrevious = new QPushButton(localizedText("ASSISTANTPREVIOUS"));
    mPrevious->setObjectName("previousButton");
    connect(mPrevious, &QPushButton::clicked, this, &NewDocumentAssistantDialog::previous);
    row->addWidget(mPrevious);
    mNext = new QPushButton(localizedText("ASSISTANTNEXT"));
    mNext->setObjectName("nextButton");
    mNext->setDefault(true);
    connect(mNext, &QPushButton::clicked, this, &NewDocumentAssistantDialog::next);
    row->addWidget(mNext);
    outer->addLayout(row);

    mAssistant.start();
    refresh();
}

NewDocumentAssistantDialog::~NewDocumentAssistantDialog() = default;

bool NewDocumentAssistantDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Return in a search field ends the search; it does not turn the page.
    if ((watched == mProposedSearch || watched == mSelectedSearch) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void NewDocumentAssistantDialog::next()
{
    // An open cell editor hands its text over first, as it does when the
    // focus leaves it.
    if (mProposed->editing()) mNext->setFocus(Qt::OtherFocusReason);
    if (mAssistant.next() == NewDocumentAssistant::Step::Finished) {
        if (const auto& plan = mAssistant.plan()) emit planReady(*plan);
        QDialog::accept();
        return;
    }
    refresh();
}

void NewDocumentAssistantDialog::previous()
{
    mAssistant.previous();
    refresh();
}

void NewDocumentAssistantDialog::reject()
{
    mAssistant.cancel();
    QDialog::reject();
}

void NewDocumentAssistantDialog::clearSelections()
{
    // A page starts without rows picked; row numbers of the last page mean
    // nothing on this one.
    mProposed->clearSelection();
    mProposed->setCurrentIndex(QModelIndex());
    mSelected->clearSelection();
    mSelected->setCurrentItem(nullptr);
}

void NewDocumentAssistantDialog::refresh()
{
    const AssistantView& view = mAssistant.view();
    const int stage = mAssistant.shownStage();
    mStages->show(view.reachedStage, stage);
    mIcon->setPixmap(assistantPageIcon(view.icon, 48));
    mTitle->setText(localizedText("ASSISTANTSTAGE" + std::to_string(stage)));
    mCounter->setText(qs(formatMessage(localized("ASSISTANTPAGEOF"),
                                       {mAssistant.pageNumber(), NewDocumentAssistant::kPageCount})));
    QString explanation;
    for (const std::string& name : mAssistant.shownTexts())
        if (!name.empty()) explanation += qs(assistantText(name));
    // The page's title stands above; the texts' own headings would repeat it.
    static const QRegularExpression headings(QStringLiteral("<h[1-6][^>]*>.*?</h[1-6]>"),
                                             QRegularExpression::CaseInsensitiveOption |
                                                 QRegularExpression::DotMatchesEverythingOption);
    explanation.remove(headings);
    mExplanation->setText(explanation);
    mPrevious->setEnabled(mAssistant.currentPage() >= 2);
    mNext->setText(localizedText(mAssistant.onClosingPage() ? "ASSISTANTCREATE" : "ASSISTANTNEXT"));

    // Each page starts with empty search fields and a clear select-all box.
    mFilling = true;
    mProposedSearch->setText(qs(mAssistant.proposedSearch()));
    mSelectedSearch->setText(qs(mAssistant.selectedSearch()));
    mSelectAll->setChecked(view.selectAll);
    mFilling = false;

    if (view.tab == 0) {
        mFilling = true;
        mSetPopup->clear();
        for (const std::string& set : mAssistant.standardSets()) mSetPopup->addItem(qs(set));
        if (mAssistant.chosenSet()) mSetPopup->setCurrentText(qs(*mAssistant.chosenSet()));
        mFilling = false;
        mPages->setCurrentIndex(0);
    } else if (view.tab == 4) {
        const NewDocumentPlan plan = mAssistant.makePlan();
        QString home;
        for (const auto& currency : plan.currencies)
            if (currency.isDefault) home = qs(currency.name);
        mSummary->setText(qs(formatMessage(localized("ASSISTANTSUMMARY"),
                                           {plan.currencies.size(), home.toHtmlEscaped().toStdString(), plan.accounts.size(),
                                            plan.categories.size()})));
        mPages->setCurrentIndex(2);
    } else {
        mPages->setCurrentIndex(1);
        // Currencies have a symbol, categories a group, accounts neither.
        const bool isCurrency = view.lists == AssistantList::Currencies;
        const bool isCategory = view.lists == AssistantList::IncomeCategories ||
                                view.lists == AssistantList::ExpenseCategories ||
                                view.lists == AssistantList::TransferCategories;
        mProposed->setColumnHidden(kSymbol, !isCurrency && !isCategory);
        mProposed->horizontalHeaderItem(kSymbol)->setText(localizedText(isCurrency ? "ASSISTANTCOLSYMBOLONLY" : "ASSISTANTCOLGROUP"));
        mProposed->setColumnHidden(kBalance, !view.balanceColumn);
        mProposed->setColumnHidden(kDefault, !view.defaultColumn);
        mAdd->setVisible(view.plusButton);
        mAdd->setEnabled(view.plusButton);
        // The selected list shows what Next keeps: the ticked entries.
        mAssistant.moveObjectClicked();
        fillTables();
        clearSelections();
    }
}

void NewDocumentAssistantDialog::refillLater()
{
    // Drops arrive while the view still handles its drop event; the rows
    // are rebuilt once it is over.
    if (mRefillQueued) return;
    mRefillQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            mRefillQueued = false;
            fillTables();
        },
        Qt::QueuedConnection);
}

void NewDocumentAssistantDialog::fillTables()
{
    mFilling = true;
    const std::vector<AssistantEntry>& proposed = mAssistant.currentProposed();
    const std::vector<std::size_t> arranged = mAssistant.arrangedProposed();
    const bool isCurrency = mAssistant.view().lists == AssistantList::Currencies;
    mProposed->setRowCount(static_cast<int>(arranged.size()));
    int row = 0;
    for (std::size_t index : arranged) {
        const AssistantEntry& entry = proposed[index];
        auto* use = new QTableWidgetItem;
        use->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
        use->setCheckState(entry.isSelected ? Qt::Checked : Qt::Unchecked);
        use->setData(Qt::UserRole, static_cast<qulonglong>(index));
        mProposed->setItem(row, kUse, use);
        mProposed->setItem(row, kName, new QTableWidgetItem(qs(entry.objectName)));
        mProposed->setItem(row, kSymbol, new QTableWidgetItem(qs(isCurrency ? entry.symbol : entry.parentName)));
        auto* balance = new QTableWidgetItem(amountText(entry.initialBalance));
        balance->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        mProposed->setItem(row, kBalance, balance);
        auto* isDefault = new QTableWidgetItem;
        isDefault->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
        isDefault->setCheckState(entry.isDefault ? Qt::Checked : Qt::Unchecked);
        mProposed->setItem(row, kDefault, isDefault);
        ++row;
    }
    if (const auto& scroll = mAssistant.view().scrollTo)
        for (int r = 0; r < mProposed->rowCount(); ++r)
            if (std::size_t(mProposed->item(r, kUse)->data(Qt::UserRole).toULongLong()) == *scroll)
                mProposed->scrollToItem(mProposed->item(r, kName), QAbstractItemView::PositionAtCenter);

    mSelected->clear();
    const std::vector<AssistantEntry>& selected = mAssistant.currentSelected();
    const bool withBalance = mAssistant.view().balanceColumn;
    const bool withDefault = mAssistant.view().defaultColumn;
    for (std::size_t index : mAssistant.arrangedSelected()) {
        const AssistantEntry& entry = selected[index];
        QString line = qs(entry.objectName);
        if (withBalance && entry.initialBalance != 0) line += QStringLiteral("  (%1)").arg(amountText(entry.initialBalance));
        if (withDefault && entry.isDefault) line += QStringLiteral("  ") + localizedText("ASSISTANTISDEFAULT");
        auto* item = new QListWidgetItem(line);
        item->setData(Qt::UserRole, static_cast<qulonglong>(index));
        mSelected->addItem(item);
    }
    mFilling = false;
}

void NewDocumentAssistantDialog::commitBalance(std::size_t entry, const QString& typed)
{
    const CNumericTransformer::Conversion conversion = CNumericTransformer().getObjectValue(typed.toStdString());
    std::string refusal;
    if (!conversion.ok)
        refusal = conversion.errorDescription;
    else if (!mAssistant.setInitialBalance(entry, conversion.value.value_or(0.0)))
        refusal = formatMessage(localized("AMOUNTLIMIT"), {CNumericTransformer().stringForObjectValue(kAmountLimit)});
    else
        mAssistant.moveObjectClicked();
    // Told once the cell editor has closed, so that the alert taking the
    // focus cannot end the same editing a second time.
    if (!refusal.empty())
        QMetaObject::invokeMethod(this, [refusal] { refuse(refusal); }, Qt::QueuedConnection);
    // The cell shows the balance kept, formatted.
    refillLater();
}

void NewDocumentAssistantDialog::proposedChanged(QTableWidgetItem* item)
{
    if (mFilling || !item) return;
    QTableWidgetItem* use = mProposed->item(item->row(), kUse);
    if (!use) return;
    const auto index = static_cast<std::size_t>(use->data(Qt::UserRole).toULongLong());
    const bool isCurrency = mAssistant.view().lists == AssistantList::Currencies;
    switch (item->column()) {
    case kUse: mAssistant.setSelected(index, item->checkState() == Qt::Checked); break;
    case kName: mAssistant.setName(index, item->text().toStdString()); break;
    case kSymbol:
        if (isCurrency) mAssistant.setSymbol(index, item->text().toStdString());
        else mAssistant.setParentName(index, item->text().toStdString());
        break;
    case kDefault:
        if (item->checkState() == Qt::Checked) mAssistant.setDefault(index);
        break;
    default: return;
    }
    // The taken-over objects follow the ticks and carry the names and marks
    // of their entries; ticks and defaults change other rows too.
    mAssistant.moveObjectClicked();
    refillLater();
}

} // namespace ch
