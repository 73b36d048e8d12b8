#pragma once
// What a person reads of random books, and what the books hold, as text to
// compare before and after a round trip.

#include "../document/commands/books_listing.h"
#include "document/BookSettings.h"
#include "platform/core/old_style_plist.h"
#include "random_books_steps.h"

namespace ch::test {
namespace {

// --- what a person reads of the books

using Figures = std::map<std::string, std::string>;

// The figures; `wrong` gets what is wrong whatever the books were before:
// an account's running balances that change when the Currencies and Shares
// pages build their own lists of the same lines.
Figures figuresOf(Books& books, std::string* wrong = nullptr)
{
    Figures out;
    MyDocument& doc = books.doc();
    CNonVisualDataItemController& registry = doc.dataItemController();
    std::vector<std::pair<std::string, LineItemArray>> shown;
    for (CAccount* account : books.accounts()) {
        auto item = books.accountItem(account);
        const std::string key = "account " + std::to_string(account->Get_Id()) + " " + account->Get_StringRefNameOnly();
        out[key] = "type " + number(item->getAccountTypeId()) + " currency " + number(item->getCurrencyId()) +
                   " owner " + number(item->getAccountOwnerId()) + " balance " + money(item->getBalance()) +
                   " home " + money(item->getLocalBalance());
        LineItemArray lines = item->allTransactionDetails();
        std::string running;
        for (const auto& line : lines) running += money(line->getCumulativeAmount()) + " ";
        out[key + " running"] = running;
        shown.emplace_back(key, std::move(lines));
    }
    for (bool share : {false, true})
        for (const auto& currency : share ? doc.mShareArray() : doc.mCurrencyArray()) currency->bookingLines();
    if (wrong)
        for (const auto& [key, lines] : shown) {
            std::string running;
            for (const auto& line : lines) running += money(line->getCumulativeAmount()) + " ";
            if (running != out[key + " running"])
                *wrong += "  " + key + " shows running balances " + running + "once the currency pages listed its lines; " +
                          out[key + " running"] + "before\n";
        }
    for (CExpenseType* category : books.categories()) {
        auto item = registry.categoryItemForCategory(category);
        out["category " + std::to_string(category->Get_Id()) + " " + category->Get_StringrefName()] =
            "balance " + money(item->getBalance()) + " this year " + money(item->YTDThisYear()) + " last year " +
            money(item->YTDLastYear()) + " total last year " + money(item->TotalLastYear()) + " average " +
            money(item->AvgMonthThisYear()) + " / " + money(item->AvgMonthLastYear());
    }
    for (CMasterExpenseType* group : books.groups()) {
        auto item = registry.categoryTypeItemForCategoryType(group);
        out["group " + std::to_string(group->Get_Id()) + " " + group->Get_StringrefName()] =
            "balance " + money(item->getBalance()) + " this year " + money(item->YTDThisYear()) + " last year " +
            money(item->YTDLastYear());
    }
    for (CNonVisual* type : books.accountTypes()) {
        auto item = registry.accountTypeItemForAccountType(type);
        out["account type " + std::to_string(type->Get_Id()) + " " + type->Get_StringrefName()] =
            "balance " + money(item->getBalance()) + " home " + money(item->getLocalBalance());
    }
    for (bool customer : {true, false})
        for (const auto& invoice : books.invoices(customer)) {
            out["invoice " + number(invoice->getId()) + " " + invoice->getName()] =
                "number " + text(invoice->mDocumentRef()) + " reference " + text(invoice->paymentReference()) +
                " open " + money(invoice->unaccountedForAmount()) + " total " + money(invoice->mTotalAmount());
        }
    for (const auto& owner : doc.mOwnerArray()) {
        if (!owner->getSourceItem()) continue;
        out["owner " + number(owner->getId())] =
            owner->getName() + " | " + text(owner->firstName()) + " | " + text(owner->officialAddress()) + " | " +
            text(owner->phone()) + " | " + text(owner->eMail()) + " | " + text(owner->VATNr()) + " | accounts " +
            number(owner->openDebitInvoiceAccount()) + " " + number(owner->debitorAccount()) + " " +
            number(owner->openCreditInvoiceAccount()) + " " + number(owner->creditorAccount()) + " categories " +
            number(owner->customerPaymentCategory()) + " " + number(owner->supplierInvoiceCategory());
    }
    for (const auto& budget : doc.mBudgetArray()) {
        if (!budget->getSourceItem()) continue;
        const std::string key = "budget " + number(budget->getId()) + " " + budget->getName();
        auto cells = [&](FourCharCode type, long id, const std::string& name) {
            auto line = budget->getDetailForType(type, id);
            if (!line) return;
            std::string row;
            for (int month = 0; month < 12; ++month)
                for (BudgetItemTypeT figure :
                     {budget_item::kBudgetIn, budget_item::kBudgetOut, budget_item::kBudgetEnd, budget_item::kActualIn,
                      budget_item::kActualOut, budget_item::kActualEnd})
                    row += money(line->getBudgettedAmountWithType(figure, month)) + " ";
            out[key + " " + name] = row;
        };
        for (CAccount* account : books.accounts())
            cells(type::kAccount, account->Get_Id(), "account " + std::to_string(account->Get_Id()));
        for (CExpenseType* category : books.categories())
            cells(type::kExpenseType, category->Get_Id(), "category " + std::to_string(category->Get_Id()));
    }
    // The whole books: every object with what ties it to others, an object's
    // own lines (a transaction's, a currency's rates, a template's schedule)
    // kept with it.
    std::string group;
    std::map<std::string, int> seen;
    auto keep = [&] {
        if (group.empty()) return;
        std::string key = "books " + group.substr(0, group.find(' '));
        if (const int times = seen[key]++) key += " #" + std::to_string(times + 1);
        out[key] = group;
        group.clear();
    };
    for (const std::string& line : listBooks(books.root())) {
        if (line.rfind("  ", 0) != 0) keep();
        group += (group.empty() ? "" : "\n") + line;
    }
    keep();
    if (auto settings = doc.mPreference())
        for (const book_settings::Setting& setting : book_settings::all())
            out["setting " + std::string(setting.name)] = std::to_string(setting.read(*settings));
    for (const auto& share : doc.mShareArray())
        out["holding " + share->mShortName()] = std::to_string(std::fabs(share->numberOfShares()) < 5e-7 ? 0.0 : share->numberOfShares());
    auto stored = [&](const std::string& kind, const auto& list) {
        for (const auto& object : list)
            out[kind + " " + number(object->idKey())] = writeOldStylePlist(Value(object->dictionaryRepresentation())).text;
    };
    business::BusinessArrays& business = books.businessArrays();
    stored("VAT rate", business.VATRateArray);
    // The VAT periods that hold nothing are made afresh at every opening
    // (the current and the previous one after the year's first month): only
    // those with a declaration or a closing are the books'.
    std::vector<std::shared_ptr<business::GXVATPeriod>> periods;
    for (const auto& period : business.VATPeriodArray)
        if (period->closingTransactionId() || period->storedClosingDate() || period->storedStatus() ||
            period->amountPaid() || period->amountReceived() || period->balanceAmount())
            periods.push_back(period);
    stored("VAT period", periods);
    stored("customer invoice", business.customerInvoiceArray);
    stored("supplier invoice", business.supplierInvoiceArray);
    return out;
}

std::string differences(const Figures& before, const Figures& after)
{
    std::ostringstream out;
    for (const auto& [key, value] : before) {
        auto found = after.find(key);
        if (found == after.end()) out << "  gone: " << key << " = " << value << "\n";
        else if (found->second != value) out << "  " << key << "\n    was " << value << "\n    now " << found->second << "\n";
    }
    for (const auto& [key, value] : after)
        if (!before.contains(key)) out << "  new: " << key << " = " << value << "\n";
    return out.str();
}

// The books' transactions line by line: what the QIF check shows beside a
// wrong balance.
std::string booked(Books& books)
{
    std::string out;
    for (CTransaction* transaction : objectsOf<CTransaction>(books.root().mTransactionList.get())) {
        out += "  " + std::to_string(transaction->Get_mDate()) + " \"" + transaction->Get_StringrefName() +
               "\" type " + std::to_string(transaction->Get_mTransactionType()) + " " +
               money(transaction->Get_mTotalAmount()) + " in " + std::to_string(transaction->Get_mCurrencyId()) + "\n";
        for (const auto& [list, side] : {std::pair{transaction->GetDebitList(), "from"},
                                         std::pair{transaction->GetCreditList(), "to"},
                                         std::pair{transaction->GetExpenseTypeList(), "for"}})
            for (CDebit* line : objectsOf<CDebit>(list)) {
                CNonVisual* object = line->Get_mAccountPtr();
                out += std::string("    ") + side + " " + (object ? object->Get_StringrefName() : "?") + " " +
                       money(line->Get_mAmount()) + " " + std::to_string(line->Get_mCurrency()) + " = " +
                       money(line->Get_mLocalAmount()) + "\n";
            }
    }
    return out;
}

} // namespace
} // namespace ch::test
