#pragma once
// StatementImport: the document's two stages of a bank statement. A file is
// read into pending import lines (one import at a time), which the import
// page completes; booking then asks every line to book itself, each through
// command 31, so that every imported transaction is journaled.
//
// Every line that enters the pending list without a stamp gets the stamp of
// the run, computed once per assignment from the local date and time; lines
// left after booking keep theirs.
//
// Choosing the file is the window's; the folder chosen last for each kind is
// kept under "DEXIALOCATION", "OFXLOCATION" or "QIFLOCATION".
//
// Main thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "document/StatementReader.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CTrnSItem;
class MyDocument;

// What an import line books: one transaction.
struct ImportedTransactionValues {
    std::string name;
    std::string description;
    DateT valueDate = 0;
    double amount = 0.0;
    ObjectIdT currencyId = 0;
    ObjectIdT fromAccountId = 0;
    ObjectIdT toAccountId = 0;
    ObjectIdT categoryId = 0;
    bool unbalanced = false;
    std::optional<int> transactionType;
};

class StatementImport {
public:
    explicit StatementImport(MyDocument& document);
    ~StatementImport();
    StatementImport(const StatementImport&) = delete;
    StatementImport& operator=(const StatementImport&) = delete;

    void setReader(std::shared_ptr<StatementReader> reader);

    // The stamp of a run at the local time: (year - 2000) x 10,000,000 +
    // day of year x 100,000 + seconds of the day.
    static long importTimeStamp(std::int64_t secondsSinceEpoch);
    // The user default keeping the last folder of the kind.
    static std::string_view lastFolderKey(StatementKind kind);

    // Reads the chosen file into the pending list and keeps its folder.
    // Error 235 and false while lines are pending; false when the file gave
    // no lines.
    bool importFile(const std::string& path, StatementKind kind, const Dictionary* definition = nullptr);

    const ImportLines& mImportedTransactionArray() const { return mLines; }
    void setMImportedTransactionArray(ImportLines lines);
    bool hasPendingLines() const { return !mLines.empty(); }

    // Every line, in order, completes itself.
    void completeBankImport();
    // Books every line in order; the ones that refused stay pending. Then
    // "TRANSACTIONCREATED" with no object, once. The number booked.
    int doActualImport();
    // Question 230; on OK the pending lines are dropped. Whether they were.
    bool cancelImport();

    // A line's booking: command 31, then the transaction it made (null when
    // none, as for an amount of 0).
    std::shared_ptr<CTrnSItem> importTransaction(const ImportedTransactionValues& values);

private:
    MyDocument& mDocument;
    std::shared_ptr<StatementReader> mReader;
    ImportLines mLines;
};

} // namespace ch
