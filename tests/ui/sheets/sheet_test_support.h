#pragma once
// The sheets' tests: a document over a model of its own whose commands are
// recorded and applied to the model directly (what the document's operations
// do for the commands the tests check), and small helpers to drive a sheet
// as a user does.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "../../bridge/bridge_test_support.h"
#include "../../platform/gui/qt_test_application.h"
#include "../ui_test_support.h"
#include "bridge/CCurRItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CRcrTItem.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CRecurringTransaction.h"
#include "model/foundation/CNSStringToCString.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"

namespace ch::test {

// One command as the sink received it; the arguments are copied through
// their text form so that what was sent stays checkable.
struct SentCommand {
    int command = -1;
    std::shared_ptr<CNonVisualDataItem> target;
    std::unique_ptr<CArgumentAncestor> arguments;
    long result = -1;

    template <class T>
    const T& args() const
    {
        const T* typed = dynamic_cast<const T*>(arguments.get());
        EXPECT_NE(typed, nullptr);
        static const T none;
        return typed ? *typed : none;
    }
};

class SheetTestDocument : public TestDocument, public SheetDocument, public CommandSink {
public:
    BridgeDocument& bridge() override { return *this; }
    CommandSink& commands() override { return *this; }

    std::shared_ptr<CTrnSItem> makeEmptyTransactionOfType(int type) override
    {
        auto item = std::make_shared<CTrnSItem>(root().CreateTemporaryTransaction(1, 0, static_cast<EnumT>(type)));
        item->setParentDocument(this);
        item->setMOwnsSourceItem(true);
        return item;
    }
    std::shared_ptr<CRcrTItem> makeEmptyRecurringTransaction() override
    {
        auto item = std::make_shared<CRcrTItem>(root().InsertRecurringTransaction(1, 0));
        item->setParentDocument(this);
        item->setMOwnsSourceItem(true);
        return item;
    }
    void refreshAnalysisArrays() override { ++refreshes; }
    void completeBankImport() override { ++importsCompleted; }
    bool performCallback(std::string_view selector, const std::shared_ptr<Dictionary>& arguments) override
    {
        callbacks.push_back({std::string(selector), arguments ? *arguments : Dictionary()});
        return true;
    }

    // --- the sink
    long executeCommand(int command, const std::shared_ptr<CNonVisualDataItem>& target,
                        const CArgumentAncestor* arguments) override
    {
        SentCommand sent;
        sent.command = command;
        sent.target = target;
        if (arguments)
            sent.arguments = CArgumentAncestor::fromText(arguments->toText());
        sent.result = refuseAll ? -1 : apply(command, target, arguments);
        sent_.push_back(std::move(sent));
        return sent_.back().result;
    }
    const std::vector<SentCommand>& sent() const { return sent_; }
    std::vector<int> sentNumbers() const
    {
        std::vector<int> numbers;
        for (const SentCommand& s : sent_)
            numbers.push_back(s.command);
        return numbers;
    }

    struct Callback {
        std::string selector;
        Dictionary arguments;
    };
    std::vector<Callback> callbacks;
    int refreshes = 0;
    int importsCompleted = 0;
    bool refuseAll = false;   // every command answers -1 and changes nothing

private:
    long apply(int command, const std::shared_ptr<CNonVisualDataItem>& target, const CArgumentAncestor* arguments)
    {
        switch (command) {
        case command::kNewAccount: {
            const auto& a = dynamic_cast<const arguments::AccountArguments&>(*arguments);
            char name[kNameSize] = {};
            CNSStringToCString::convertStringToNameT(a.name.value_or(""), name);
            CAccount* account = root().InsertAccount(-1, name, a.name, "", a.description,
                                                     static_cast<ObjectIdT>(a.accountTypeId.value_or(0)),
                                                     static_cast<ObjectIdT>(a.currencyId.value_or(0)), nullptr);
            if (!account)
                return -1;
            dataItemController().accountItemForAccount(account)->synchronizeWithArguments(a);
            notificationCenter().post("ACCOUNTCREATED", dataItemController().accountItemForAccount(account));
            return account->Get_Id();
        }
        case command::kModifyAccount: {
            const auto& a = dynamic_cast<const arguments::AccountArguments&>(*arguments);
            auto account = std::dynamic_pointer_cast<CAcnTItem>(target);
            account->synchronizeWithArguments(a);
            if (a.accountTypeId)
                account->setGetAccountTypeId(a.accountTypeId);
            return account->getId().value_or(-1);
        }
        case command::kNewCategory: {
            const auto& a = dynamic_cast<const arguments::CategoryParameters&>(*arguments);
            char name[kNameSize] = {};
            CNSStringToCString::convertStringToNameT(a.name.value_or(""), name);
            CExpenseType* category = root().InsertExpenseType(-1, name, a.name, "", a.description,
                                                              static_cast<ObjectIdT>(a.mParentId.value_or(0)),
                                                              std::nullopt, nullptr, 100.0);
            if (!category)
                return -1;
            dataItemController().categoryItemForCategory(category)->synchronizeWithParameters(a);
            notificationCenter().post("CATEGORYCREATED", dataItemController().categoryItemForCategory(category));
            return category->Get_Id();
        }
        case command::kModifyCategory:
            std::dynamic_pointer_cast<CExpTItem>(target)->synchronizeWithParameters(
                dynamic_cast<const arguments::CategoryParameters&>(*arguments));
            return 0;
        case command::kNewTransaction: {
            const auto& a = dynamic_cast<const arguments::CTransactionArguments&>(*arguments);
            if (!a.mTransactionDictionary)
                return -1;
            CTransaction* made = root().InsertTransaction(
                1, 0, static_cast<EnumT>((*a.mTransactionDictionary)[transaction_key::kTransactionType].toInt()));
            dataItemController().transactionItemForTrnS(made)->initWithDictionaryRepresentation(
                *a.mTransactionDictionary);
            return -1;
        }
        case command::kModifyTransaction: {
            const auto& a = dynamic_cast<const arguments::CTransactionArguments&>(*arguments);
            std::dynamic_pointer_cast<CTrnSItem>(target)->initWithDictionaryRepresentation(*a.mTransactionDictionary);
            return -1;
        }
        case command::kNewRecurringTransaction: {
            const auto& a = dynamic_cast<const arguments::CTransactionArguments&>(*arguments);
            CRecurringTransaction* made = root().InsertRecurringTransaction(1, 1);
            dataItemController().transactionItemForRcrT(made)->initWithDictionaryRepresentation(
                *a.mTransactionDictionary);
            return -1;
        }
        case command::kBuyOrSellShares: {
            const auto& a = dynamic_cast<const arguments::BuySellSharesParameters&>(*arguments);
            std::dynamic_pointer_cast<CCurRItem>(target)->buyOrSellShares(
                a.price.value_or(0), a.commission.value_or(0), a.quantity.value_or(0), a.totalValue.value_or(0),
                a.fromAccountId.value_or(0), a.commissionAccountId.value_or(0), a.description.value_or(""),
                a.updateRateInd.value_or(false), static_cast<DateT>(a.transactionDate.value_or(0)),
                a.isBuyInd.value_or(false));
            return 1;
        }
        case command::kRegisterDividend: {
            const auto& a = dynamic_cast<const arguments::RegisterDividendParameters&>(*arguments);
            std::dynamic_pointer_cast<CCurRItem>(target)->registerDividend(
                static_cast<DateT>(a.transactionDate.value_or(0)), a.dividend.value_or(0), a.tax.value_or(0),
                a.fromAccountId.value_or(0), a.toAccountId.value_or(0), a.forAccountId.value_or(0),
                a.taxesAccountId.value_or(0), a.taxesCategoryId.value_or(0), a.description.value_or(""));
            return 1;
        }
        case command::kDeleteObject:
            root().DeleteObject(target->getSourceItem());
            return -1;
        default: {
            const long applied = applyStateCommand(*this, command, target, arguments);
            return applied >= 0 ? applied : nextResult;
        }
        }
    }

public:
    long nextResult = 1;   // what the commands not applied here answer

private:
    std::vector<SentCommand> sent_;
};

// Typing as a user does: the field gets the focus, its text is selected and
// replaced by the keys.
inline void typeInto(QWidget* field, const QString& text)
{
    ASSERT_NE(field, nullptr);
    field->setFocus(Qt::TabFocusReason);
    QLineEdit* edit = qobject_cast<QLineEdit*>(field);
    if (!edit)
        edit = field->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

inline void click(QWidget& sheet, const char* buttonName)
{
    auto* button = sheet.findChild<QPushButton*>(buttonName);
    ASSERT_NE(button, nullptr) << buttonName;
    QTest::mouseClick(button, Qt::LeftButton);
}

template <class T = QWidget>
T* outlet(QWidget& sheet, const char* name)
{
    T* found = sheet.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Books for share deals: a bank (20), a broker (21), a tax office (22), the
// categories "Dividends" (30) and "Withholding tax" (31), and the share ACME
// (7, at 12.50) held in its portfolio account (23); the share's item.
inline std::shared_ptr<CCurRItem> addSharesAtTheBroker(SheetTestDocument& doc)
{
    doc.addAccount(20, 1, "Bank");
    doc.addAccount(21, 3, "Broker");
    doc.addAccount(22, 3, "Tax office");
    doc.addCategory(30, 0, "Dividends");
    doc.addCategory(31, 1, "Withholding tax");
    CCurrency* shares = doc.addCurrency(7, "ACME", 1, 12.5, currency_type::kShare);
    doc.addAccount(23, 1, "ACME shares")->Put_mCurrency(7);
    shares->Put_mPortfolioAccountId(23);
    return doc.dataItemController().currencyItemForCurrency(shares);
}

} // namespace ch::test
