#pragma once
// StatementImport: the document's two stages of a bank statement. A file is
// read into pending import lines (one import at a time), which the import
// page completes; booking then asks every line to book itself, each through
// command 31, so that every imported transaction is journaled.
//
// The list is a PendingImport: every line that enters it without a stamp
// gets the stamp of the run; lines left after booking keep theirs. The
// reader is given by the application (the statement readers install
// themselves); until then nothing is read.
//
// Deleting an account or a category completes the pending lines again, so
// that none of them stays "Ok" with an object the books no longer hold; so
// does making a currency, which the lines that wait for it then take.
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
#include <vector>

#include "document/PendingImport.h"
#include "document/ReadingTakeBack.h"
#include "document/StatementReader.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "model/foundation/ModelTypes.h"
#include "platform/core/observable.h"

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
    // A split line's booking lines on each side; empty for a plain line.
    std::vector<arguments::ImportedLine> debitLines;
    std::vector<arguments::ImportedLine> creditLines;
    std::vector<arguments::ImportedLine> categoryLines;
};

class StatementImport {
public:
    explicit StatementImport(MyDocument& document);
    ~StatementImport();
    StatementImport(const StatementImport&) = delete;
    StatementImport& operator=(const StatementImport&) = delete;

    void setReader(std::shared_ptr<StatementReader> reader);

    // The user default keeping the last folder of the kind.
    static std::string_view lastFolderKey(StatementKind kind);

    // Reads the chosen file into the pending list and keeps its folder.
    // Error 235 and false while lines are pending; false when the file gave
    // no lines.
    // The bank export (StatementKind::BankExport) needs no definition.
    bool importFile(const std::string& path, StatementKind kind, const Dictionary* definition = nullptr);
    // Reads the file with the import definition of that title; false (and
    // nothing read) when the definition cannot be read.
    bool importWithFileDesc(std::string_view title, const std::string& path);
    // The import definition of a title of the import submenu.
    std::optional<Dictionary> importDefinition(std::string_view title) { return mReader->importDefinition(title); }

    const StatementLines& mImportedTransactionArray() const { return mPending.lines(); }
    // Lines from elsewhere than a file read here: nothing to take back.
    void setMImportedTransactionArray(StatementLines lines)
    {
        mPending.install(std::move(lines));
        mReading.reset();
    }
    bool hasPendingLines() const { return !mPending.empty(); }
    // The books were saved: what the reading made is part of the file.
    void booksSaved()
    {
        if (mReading) mReading->booksSaved();
    }
    // The books were read again from their file: the ids the reading made
    // may now be other objects', so nothing is taken back on cancelling.
    void booksReverted() { mReading.reset(); }

    // Every line, in order, completes itself.
    void completeBankImport() { mPending.completeBankImport(); }
    // The own account for the lines whose statement names none.
    void setOwnAccountIdForImport(ObjectIdT accountId) { mPending.setOwnAccountIdForImport(accountId); }
    bool duplicateTakenByOtherLine(ObjectIdT transactionId, const StatementLine* line) const
    {
        return mPending.duplicateTakenByOtherLine(transactionId, line);
    }
    // Books every line in order; the ones that refused stay pending. Then
    // "TRANSACTIONCREATED" with no object, once. The number booked.
    int doActualImport();
    // Question 230; on OK the pending lines are dropped, and what reading
    // their file made in the books and nothing uses is taken back (see
    // ReadingTakeBack). Whether they were.
    bool cancelImport();

    // A line's booking: command 31, then the transaction it made (null when
    // none, as for an amount of 0).
    std::shared_ptr<CTrnSItem> importTransaction(const ImportedTransactionValues& values);

private:
    MyDocument& mDocument;
    std::shared_ptr<StatementReader> mReader;
    PendingImport mPending;
    // What reading the pending lines' file made; none once they are all booked.
    std::optional<ReadingTakeBack> mReading;
    std::vector<Subscription> mBookChanges;
};

} // namespace ch
