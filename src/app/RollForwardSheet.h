#pragma once
// The roll-forward offer as a sheet on the document's window: the changes
// made after the last save that the journal holds, one row each with a
// "Leave out" box, the change and its name. "Make Again" replays those not
// left out (answer 1); "Discard" answers -1, and the journal goes.
//
// Outlets by name: "entriesTable", "replayButton", "discardButton".

#include <QDialog>

#include <functional>
#include <vector>

#include "document/commands/GXCommandHistoryItem.h"

class QTableWidget;

namespace ch {

class RollForwardSheet : public QDialog {
    Q_OBJECT

public:
    // `entries` must outlive the sheet: their exclusions are set on "Make Again".
    RollForwardSheet(std::vector<GXCommandHistoryItem>& entries, std::function<void(int)> answer,
                     QWidget* window);

    QTableWidget* entriesTable() const { return mTable; }

private:
    void finish(int answer);

    std::vector<GXCommandHistoryItem>& mEntries;
    std::function<void(int)> mAnswer;
    QTableWidget* mTable;
};

} // namespace ch
