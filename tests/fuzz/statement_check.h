#pragma once
// What every statement reader must do with any bytes: refuse them with a
// numbered error and no lines, or give import lines that hold together, and
// book those that are complete. The lines are made for a set of books with a
// few accounts a statement can name and a few bookings it can duplicate.
// Crashes, hangs and sanitizer reports end the run by themselves.

#include <cmath>
#include <string>
#include <string_view>

#include "import/BooksImportDocument.h"
#include "import/ImportText.h"
#include "import/StatementImport.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CPreference.h"
#include "model/foundation/CDate.h"
#include "platform/core/alerts.h"
#include "platform/core/unicode.h"

namespace ch::fuzz {

class StatementFuzzBooks {
public:
    StatementFuzzBooks()
    {
        books.SetDefaults("EUR");
        const ObjectIdT current = account("Current Account", 1, "111-2223334-55");
        const ObjectIdT card = account("Visa Card", 2, "4111222233334444");
        const ObjectIdT shop = account("Supermarket", 3, nullptr);
        account("Savings", 1, "999-8887776-65");
        books.mPreference->Put_mDefaultCreditCardAccount(card);
        for (DateT date : {20240305, 20240306, 20070101})
            book(current, shop, 12.5, date);
    }

    CDocAccounting books;
    BooksImportDocument document{books};

private:
    ObjectIdT account(const char* name, ObjectIdT type, const char* number)
    {
        CAccount* made = books.InsertAccount(-1, name, std::string_view(name), "", std::string_view(), type, 1,
                                             books.GetAccountTypeForId(type));
        if (number) books.setBankAccountNumberT(number, made);
        return made->Get_Id();
    }
    void book(ObjectIdT from, ObjectIdT to, double amount, DateT date)
    {
        ImportedTransaction transaction;
        transaction.name = "Booked";
        transaction.valueDate = date;
        transaction.amount = amount;
        transaction.currencyId = 1;
        transaction.fromAccountId = from;
        transaction.toAccountId = to;
        transaction.categoryId = 1;
        document.importTransaction(transaction);
    }
};

inline std::string checkStatement(std::string_view bytes, StatementFormat format, const Dictionary* definition = nullptr)
{
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter alertScope(alerts);
    StatementFuzzBooks fixture;
    StatementImportResult result = readStatement(bytes, format, fixture.document, definition);
    for (long number : alerts.numbers())
        if (number < 128 || number > 280) return "unexpected alert " + std::to_string(number);
    if (result.error != 0 && !result.lines.empty()) return "a refusal with lines";

    for (const CImpTItem::Ptr& line : result.lines) {
        if (!line) return "no line";
        if (line->getDocument() != &fixture.document) return "a line without its document";
        if (!std::isfinite(line->mAmount())) return "an amount that is no number";
        for (DateT date : {line->mBookingDate(), line->mValueDate()})
            if (date != 0 && !CDate::IsValidDate(date)) return "a date that is no day: " + std::to_string(date);
        if (line->isComplete() && line->mValueDate() == 0) return "a complete line without a date";
        for (const std::string* text : {&line->mTitle(), &line->mTransactionDescription(), &line->mPartnerName(),
                                        &line->mRemark(), &line->mOurAccountNumber()})
            if (!isValidUtf8(*text)) return "a text that is no UTF-8";
        if (characterCount(line->mRemark()) > CImpTItem::kRemarkLimit) return "a remark too long";
        if (format == StatementFormat::Qif && characterCount(line->mTitle()) > 34) return "a QIF title too long";
    }

    // What is complete books; the rest stays pending.
    PendingImport& pending = fixture.document.pending();
    const std::size_t count = result.lines.size();
    pending.install(statementLines(result.lines));
    const std::size_t booked = pending.doActualImport();
    if (booked + pending.size() != count) return "lines lost while booking";
    return {};
}

} // namespace ch::fuzz
