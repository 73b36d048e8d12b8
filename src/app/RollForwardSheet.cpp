#include "app/RollForwardSheet.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/gui/localized_text.h"

namespace ch {

RollForwardSheet::RollForwardSheet(std::vector<GXCommandHistoryItem>& entries, std::function<void(int)> answer,
                                   QWidget* window)
    : QDialog(window), mEntries(entries), mAnswer(std::move(answer)), mTable(new QTableWidget(this))
{
    setObjectName("rollForward");
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(localizedText("ROLLFORWARD"));
    label->setWordWrap(true);
    layout->addWidget(label);

    mTable->setObjectName("entriesTable");
    mTable->setColumnCount(3);
    mTable->setHorizontalHeaderLabels({localizedText("ROLLFORWARDEXCLUDE"), localizedText("ROLLFORWARDCHANGE"), localizedText("ASSISTANTCOLNAME")});
    mTable->verticalHeader()->hide();
    mTable->setSelectionMode(QAbstractItemView::NoSelection);
    mTable->setFocusPolicy(Qt::NoFocus);
    mTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    mTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    mTable->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    mTable->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        const GXCommandHistoryItem& entry = entries[static_cast<std::size_t>(row)];
        auto* exclude = new QTableWidgetItem;
        exclude->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        exclude->setCheckState(entry.mExclude ? Qt::Checked : Qt::Unchecked);
        mTable->setItem(row, 0, exclude);
        auto readOnly = [](const std::string& s) {
            auto* item = new QTableWidgetItem(QString::fromStdString(s));
            item->setFlags(Qt::ItemIsEnabled);
            return item;
        };
        mTable->setItem(row, 1, readOnly(entry.commandText()));
        mTable->setItem(row, 2, readOnly(entry.listedName().value_or("")));
    }
    layout->addWidget(mTable, 1);

    auto* buttons = new QHBoxLayout;
    auto* discard = new QPushButton(localizedText("ROLLFORWARDDISCARD"));
    discard->setObjectName("discardButton");
    connect(discard, &QPushButton::clicked, this, [this] { finish(-1); });
    buttons->addWidget(discard);
    buttons->addStretch();
    auto* replay = new QPushButton(localizedText("ROLLFORWARDREPLAY"));
    replay->setObjectName("replayButton");
    replay->setDefault(true);
    connect(replay, &QPushButton::clicked, this, [this] {
        for (int row = 0; row < mTable->rowCount(); ++row)
            mEntries[static_cast<std::size_t>(row)].mExclude = mTable->item(row, 0)->checkState() == Qt::Checked;
        finish(1);
    });
    buttons->addWidget(replay);
    layout->addLayout(buttons);
    // The close box discards, as the journal's owner chose not to replay.
    connect(this, &QDialog::rejected, this, [this] { finish(-1); });
    resize(560, 360);
}

void RollForwardSheet::finish(int answer)
{
    if (!mAnswer) return;
    auto handler = std::move(mAnswer);
    mAnswer = nullptr;
    hide();
    handler(answer);
    close();
}

} // namespace ch
