#include "app/NewDocumentAssistantDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "document/app/AssistantResources.h"
#include "model/foundation/AmountLimit.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

namespace {

QString text(std::string_view key)
{
    return QString::fromStdString(localized(key));
}

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

} // namespace

NewDocumentAssistantDialog::NewDocumentAssistantDialog(const UserDefaults& defaults, QWidget* window)
    : QDialog(window),
      mAssistant(shippedResources().defaultObjects, shippedResources().currencies, systemCurrencyCode(defaults))
{
    setObjectName("NewFileAssistant");
    setWindowTitle(text("ASSISTANTTITLE"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(760, 560);

    auto* layout = new QVBoxLayout(this);
    mStage = new QLabel;
    mStage->setObjectName("stageLabel");
    layout->addWidget(mStage);
    mExplanation = new QTextBrowser;
    mExplanation->setObjectName("explanation");
    mExplanation->setMaximumHeight(130);
    mExplanation->setOpenExternalLinks(true);
    layout->addWidget(mExplanation);

    mPages = new QStackedWidget;
    // The set choice.
    auto* setPage = new QWidget;
    auto* setColumn = new QVBoxLayout(setPage);
    auto* setLayout = new QHBoxLayout;
    setColumn->addLayout(setLayout);
    setColumn->addStretch();
    setLayout->addWidget(new QLabel(text("ASSISTANTSET")));
    mSetPopup = new QComboBox;
    mSetPopup->setObjectName("setPopup");
    setLayout->addWidget(mSetPopup, 1);
    connect(mSetPopup, &QComboBox::currentTextChanged, this,
            [this](const QString& name) {
                if (!mFilling) mAssistant.chooseSet(name.toStdString());
            });
    mPages->addWidget(setPage);

    // The lists.
    auto* listPage = new QWidget;
    auto* listLayout = new QHBoxLayout(listPage);
    auto* proposedColumn = new QVBoxLayout;
    proposedColumn->addWidget(new QLabel(text("ASSISTANTPROPOSED")));
    mProposed = new QTableWidget(0, kColumns);
    mProposed->setObjectName("proposedTable");
    mProposed->setHorizontalHeaderLabels({text("ASSISTANTCOLUSE"), text("ASSISTANTCOLNAME"),
                                          text("ASSISTANTCOLSYMBOL"), text("ASSISTANTCOLBALANCE"),
                                          text("ASSISTANTCOLDEFAULT")});
    mProposed->verticalHeader()->hide();
    mProposed->setWordWrap(false);
    mProposed->verticalHeader()->setDefaultSectionSize(mProposed->fontMetrics().height() + 8);
    for (int column : {kUse, kSymbol, kBalance, kDefault})
        mProposed->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    mProposed->horizontalHeader()->setSectionResizeMode(kName, QHeaderView::Stretch);
    connect(mProposed, &QTableWidget::itemChanged, this, &NewDocumentAssistantDialog::proposedChanged);
    proposedColumn->addWidget(mProposed, 1);
    listLayout->addLayout(proposedColumn, 5);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    auto button = [&](const char* name, const char* key, auto action) {
        auto* b = new QPushButton(text(key));
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, action] {
            action();
            fillTables();
        });
        buttons->addWidget(b);
        return b;
    };
    button("takeButton", "ASSISTANTTAKE", [this] { mAssistant.moveObjectClicked(); });
    button("takeAllButton", "ASSISTANTTAKEALL", [this] { mAssistant.moveAllObjectsClicked(); });
    button("removeButton", "ASSISTANTREMOVE", [this] {
        std::vector<std::size_t> rows;
        for (QListWidgetItem* item : mSelected->selectedItems())
            rows.push_back(static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong()));
        mAssistant.removeObjectClicked(rows);
    });
    button("addButton", "ASSISTANTADD", [this] { mAssistant.addObjectClicked(); });
    buttons->addStretch();
    listLayout->addLayout(buttons);

    auto* selectedColumn = new QVBoxLayout;
    selectedColumn->addWidget(new QLabel(text("ASSISTANTSELECTED")));
    mSelected = new QListWidget;
    mSelected->setObjectName("selectedList");
    mSelected->setSelectionMode(QAbstractItemView::ExtendedSelection);
    selectedColumn->addWidget(mSelected, 1);
    listLayout->addLayout(selectedColumn, 2);
    mPages->addWidget(listPage);

    // The closing page.
    auto* closing = new QLabel(text("ASSISTANTDONE"));
    closing->setAlignment(Qt::AlignCenter);
    mPages->addWidget(closing);
    layout->addWidget(mPages, 1);

    auto* row = new QHBoxLayout;
    auto* cancel = new QPushButton(text("CANCEL"));
    cancel->setObjectName("cancelButton");
    connect(cancel, &QPushButton::clicked, this, &NewDocumentAssistantDialog::reject);
    row->addWidget(cancel);
    row->addStretch();
    mPrevious = new QPushButton(text("ASSISTANTPREVIOUS"));
    mPrevious->setObjectName("previousButton");
    connect(mPrevious, &QPushButton::clicked, this, &NewDocumentAssistantDialog::previous);
    row->addWidget(mPrevious);
    mNext = new QPushButton(text("ASSISTANTNEXT"));
    mNext->setObjectName("nextButton");
    mNext->setDefault(true);
    connect(mNext, &QPushButton::clicked, this, &NewDocumentAssistantDialog::next);
    row->addWidget(mNext);
    layout->addLayout(row);

    mAssistant.start();
    refresh();
}

NewDocumentAssistantDialog::~NewDocumentAssistantDialog() = default;

void NewDocumentAssistantDialog::next()
{
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

void NewDocumentAssistantDialog::refresh()
{
    const AssistantView& view = mAssistant.view();
    mStage->setText(QStringLiteral("%1 / 13").arg(view.reachedStage));
    const std::string& shown = !view.explanation.empty()      ? view.explanation
                               : !view.goodbyeText.empty()    ? view.goodbyeText
                               : !view.welcomeText.empty()    ? view.welcomeText
                                                              : view.accountText;
    mExplanation->setHtml(shown.empty() ? QString() : qs(assistantText(shown)));
    mPrevious->setEnabled(mAssistant.currentPage() > 2);

    if (view.tab == 0) {
        mFilling = true;
        mSetPopup->clear();
        for (const std::string& set : mAssistant.standardSets()) mSetPopup->addItem(qs(set));
        if (mAssistant.chosenSet()) mSetPopup->setCurrentText(qs(*mAssistant.chosenSet()));
        mFilling = false;
        mPages->setCurrentIndex(0);
    } else if (view.tab == 4) {
        mPages->setCurrentIndex(2);
    } else {
        mPages->setCurrentIndex(1);
        mProposed->setColumnHidden(kBalance, !view.balanceColumn);
        mProposed->setColumnHidden(kDefault, !view.defaultColumn);
        fillTables();
    }
}

void NewDocumentAssistantDialog::fillTables()
{
    mFilling = true;
    const std::vector<AssistantEntry>& proposed = mAssistant.currentProposed();
    const std::vector<std::size_t> arranged = mAssistant.arrangedProposed();
    mProposed->setRowCount(static_cast<int>(arranged.size()));
    int row = 0;
    for (std::size_t index : arranged) {
        const AssistantEntry& entry = proposed[index];
        auto* use = new QTableWidgetItem;
        use->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        use->setCheckState(entry.isSelected ? Qt::Checked : Qt::Unchecked);
        use->setData(Qt::UserRole, static_cast<qulonglong>(index));
        mProposed->setItem(row, kUse, use);
        mProposed->setItem(row, kName, new QTableWidgetItem(qs(entry.objectName)));
        mProposed->setItem(row, kSymbol,
                           new QTableWidgetItem(qs(entry.symbol.empty() ? entry.parentName : entry.symbol)));
        mProposed->setItem(row, kBalance, new QTableWidgetItem(QString::number(entry.initialBalance, 'f', 2)));
        auto* isDefault = new QTableWidgetItem;
        isDefault->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        isDefault->setCheckState(entry.isDefault ? Qt::Checked : Qt::Unchecked);
        mProposed->setItem(row, kDefault, isDefault);
        ++row;
    }
    if (const auto& scroll = mAssistant.view().scrollTo)
        if (*scroll < arranged.size()) mProposed->scrollToItem(mProposed->item(static_cast<int>(*scroll), kName));

    mSelected->clear();
    const std::vector<AssistantEntry>& selected = mAssistant.currentSelected();
    for (std::size_t index : mAssistant.arrangedSelected()) {
        auto* item = new QListWidgetItem(qs(selected[index].objectName));
        item->setData(Qt::UserRole, static_cast<qulonglong>(index));
        mSelected->addItem(item);
    }
    mFilling = false;
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
    case kBalance:
        if (!mAssistant.setInitialBalance(index, item->text().toDouble())) {
            // Refused: told, and the cell shows the balance kept.
            Alert alert;
            alert.title = localized("ERROR");
            alert.message = formatMessage(localized("AMOUNTLIMIT"), {QString::number(kAmountLimit, 'f', 2).toStdString()});
            alert.defaultButton = localized("OK");
            alertPresenter().showError(alert);
            if (index < mAssistant.currentProposed().size()) {
                const QSignalBlocker quiet(mProposed);
                item->setText(QString::number(mAssistant.currentProposed()[index].initialBalance, 'f', 2));
            }
        }
        break;
    case kDefault:
        if (item->checkState() == Qt::Checked) mAssistant.setDefault(index);
        break;
    default: break;
    }
    // Ticks and defaults change other rows too.
    if (item->column() == kUse || item->column() == kDefault) QMetaObject::invokeMethod(this, [this] { fillTables(); }, Qt::QueuedConnection);
}

} // namespace ch
