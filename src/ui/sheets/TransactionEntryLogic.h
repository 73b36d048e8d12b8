#pragma once
// What the transaction entry sheet does without its window: the temporary
// transaction it edits (a new one of the type, or a copy of the transaction
// to modify or copy), the lines added for the rest of the total when the
// user leaves a side that does not add up, the checks on OK and the command
// when it ends (23 new, 24 modify, 25 new recurring).
//
// Keys (lower case): "document", "action" (1 create, or copy when a
// "transaction" is given; 2 modify; 0 creates too), "transactiontype",
// "transaction", "fromAccount", "toAccount", "expenseType".

#include <memory>
#include <optional>
#include <string_view>

#include "platform/core/four_char_code.h"
#include "ui/sheets/SheetParameters.h"

namespace ch {

class CDebit;
class CTrnSItem;

namespace transaction_sheet_key {
inline constexpr std::string_view kDocument = "document";
inline constexpr std::string_view kAction = "action";
inline constexpr std::string_view kTransactionType = "transactiontype";
inline constexpr std::string_view kTransaction = "transaction";
inline constexpr std::string_view kFromAccount = "fromAccount";
inline constexpr std::string_view kToAccount = "toAccount";
inline constexpr std::string_view kExpenseType = "expenseType";
} // namespace transaction_sheet_key

inline constexpr FourCharCode kFromSide = fourCC("DebT");
inline constexpr FourCharCode kToSide = fourCC("CreT");
inline constexpr FourCharCode kForSide = fourCC("ExtD");

class TransactionEntryLogic {
public:
    explicit TransactionEntryLogic(bool recurring = false) : mRecurring(recurring) {}

    void initialize(const SheetParameters& parameters);
    SheetDocument* document() const { return mDocument; }
    int action() const { return mDialogAction; }
    bool recurring() const { return mRecurring; }
    const std::shared_ptr<CTrnSItem>& temporaryTransaction() const { return mTemporaryTransaction; }
    const std::shared_ptr<CTrnSItem>& transaction() const { return mTransaction; }

    // Two sums are equal when they differ by at most one unit of the last decimal.
    static bool sumsEqual(double x, double y);
    // Leaving a side forwards: adds a line for what the side lacks of the
    // total (for the category lines: of the value moved), and answers
    // whether it added one. The from and to sides add nothing for a total of 0.
    bool completeSide(FourCharCode side);
    // A new last line on the side (the "+" of its table), proposing what the
    // side lacks (0 when it adds up).
    void addLineProposingTheRest(FourCharCode side);
    // The category lines are balanced against the accounts' lines.
    void rebalanceCategories();

    // 202 no name, 253 no currency; when not creating, 236 for a modified
    // foreign rate and 137 for a blocked transaction; then the transaction's
    // own checks.
    bool checkContents(std::string_view name) const;
    void dialogClosed(int returnCode);

private:
    // What the side lacks, none when it adds up.
    std::optional<double> restOf(FourCharCode side) const;
    // Appends a line of the amount to the side (a category line on the
    // books' unspecified-expense category); the new line, or null.
    CDebit* appendLine(FourCharCode side, double amount);
    // The item is told that the side's lines changed.
    void announceLines(FourCharCode side);

    bool mRecurring;
    SheetDocument* mDocument = nullptr;
    int mDialogAction = kActionCreate;
    int mTransactionType = 3;
    std::shared_ptr<CTrnSItem> mTransaction;
    std::shared_ptr<CTrnSItem> mTemporaryTransaction;
};

} // namespace ch
