#pragma once
// Shared pieces of the window tests: one QApplication, a fixed environment
// with the program's own texts, and a document whose window operations are
// recorded.

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

#include <string>
#include <utility>
#include <vector>

#include "../platform/gui/qt_test_application.h"
#include "../bridge/bridge_test_support.h"
#include "../test_environment.h"

#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "document/arguments/CArgumentAncestor.h"
#include "ui/WindowDocument.h"
#include "bridge/CAcnTItem.h"
#include "document/CardSpendingLink.h"
#include "document/arguments/BooksLinkArguments.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

namespace ch::test {

// Today is fixed, the defaults live in memory, texts are the program's
// English ones, alerts are recorded and amounts have 2 decimals.
class UiEnvironment : public TestEnvironment {
public:
    UiEnvironment() : TestEnvironment(CalendarDate{2025, 9, 15})
    {
        strings().loadFile(LocalizedStrings::defaultPath());
    }
};

// What the document's commands for a transaction's status (57), an account
// made a credit card (58) and a card spending settled by a payment (51) do,
// for the test documents that stand in for the executor; -1 for other
// commands and refused ones.
inline long applyStateCommand(BridgeDocument& books, int command, const std::shared_ptr<CNonVisualDataItem>& target,
                              const CArgumentAncestor* arguments)
{
    if (command == kTransactionStatusCommand) {
        const auto* state = dynamic_cast<const arguments::ObjectStateArguments*>(arguments);
        if (!target || !state || !state->status) return -1;
        target->setObjectStatus(static_cast<int>(*state->status));
        return 1;
    }
    if (command == kCreditCardCommand) {
        auto account = std::dynamic_pointer_cast<CAcnTItem>(target);
        if (!account) return -1;
        account->setIsCreditCard(true);
        return 1;
    }
    if (command == kLinkCardSpendingCommand) {
        auto spending = std::dynamic_pointer_cast<CTrnSItem>(target);
        const auto* link = dynamic_cast<const arguments::TransactionLinkArguments*>(arguments);
        auto payment = link && link->linkedId ? books.getTransactionForId(static_cast<ObjectIdT>(*link->linkedId))
                                              : nullptr;
        if (!spending || !payment) return -1;
        return settleCardSpending(books, *spending, *payment).result;
    }
    return -1;
}

// The document's command executor and empty transactions as the side bar
// books through them: commands are recorded, their arguments copied through
// their text form, and answer `commandResult`; nothing is applied.
class RecordingSheetDocument : public SheetDocument, public CommandSink {
public:
    explicit RecordingSheetDocument(TestDocument& books) : mBooks(books) {}

    BridgeDocument& bridge() override { return mBooks; }
    CommandSink& commands() override { return *this; }
    std::shared_ptr<CTrnSItem> makeEmptyTransactionOfType(int type) override
    {
        auto item = std::make_shared<CTrnSItem>(mBooks.root().CreateTemporaryTransaction(1, 0, static_cast<EnumT>(type)));
        item->setParentDocument(&mBooks);
        item->setMOwnsSourceItem(true);
        return item;
    }
    std::shared_ptr<CRcrTItem> makeEmptyRecurringTransaction() override
    {
        auto item = std::make_shared<CRcrTItem>(mBooks.root().InsertRecurringTransaction(1, 0));
        item->setParentDocument(&mBooks);
        item->setMOwnsSourceItem(true);
        return item;
    }

    long executeCommand(int command, const std::shared_ptr<CNonVisualDataItem>& target,
                        const CArgumentAncestor* arguments) override
    {
        sent.push_back({command, target, arguments ? CArgumentAncestor::fromText(arguments->toText()) : nullptr});
        const long applied = applyStateCommand(mBooks, command, target, arguments);
        return applied >= 0 ? applied : commandResult;
    }

    struct Command {
        int number = 0;
        std::shared_ptr<CNonVisualDataItem> target;
        std::shared_ptr<CArgumentAncestor> arguments;
    };
    std::vector<Command> sent;
    long commandResult = 1;

private:
    TestDocument& mBooks;
};

// The window's operations on a test document, recorded in order as
// "operation" entries with what they were given.
class RecordingWindowDocument : public WindowDocument {
public:
    explicit RecordingWindowDocument(TestDocument& books) : WindowDocument(books), booking(books) {}

    struct Call {
        std::string operation;
        ObjectSheetParameters parameters;
        ObjectIdT id = 0;
        CNonVisualDataItem::Ptr item;
    };

    void createNewAccountTypeAsked(const ObjectSheetParameters& parameters) override
    {
        calls.push_back({"createNewAccountTypeAsked", parameters, 0, nullptr});
    }
    void createNewMasterExpenseTypeAsked(const ObjectSheetParameters& parameters) override
    {
        calls.push_back({"createNewMasterExpenseTypeAsked", parameters, 0, nullptr});
    }
    void initiateAccountCreationWithMasterType(ObjectIdT id) override
    {
        calls.push_back({"initiateAccountCreationWithMasterType", {}, id, nullptr});
    }
    void initiateExpenseTypeCreationWithParentType(ObjectIdT id) override
    {
        calls.push_back({"initiateExpenseTypeCreationWithParentType", {}, id, nullptr});
    }
    void deleteObject(const CNonVisualDataItem::Ptr& item) override { calls.push_back({"deleteObject", {}, 0, item}); }
    void newPLAccount() override { calls.push_back({"newPLAccount", {}, 0, nullptr}); }
    void newExpenseType() override { calls.push_back({"newExpenseType", {}, 0, nullptr}); }
    void showDocumentSettings() override { calls.push_back({"showDocumentSettings", {}, 0, nullptr}); }
    void initiateCreditCardAccountCreation() override
    {
        calls.push_back({"initiateCreditCardAccountCreation", {}, 0, nullptr});
    }
    void modifyObject(const CNonVisualDataItem::Ptr& item) override { calls.push_back({"modifyObject", {}, 0, item}); }
    void newAccountOwner(int senderTag) override { calls.push_back({"newAccountOwner", {}, senderTag, nullptr}); }
    void exportTransactions(const CNonVisualDataItem::Ptr& limit) override
    {
        calls.push_back({"exportTransactions", {}, 0, limit});
    }
    void newCurrencyAsked(bool share) override { calls.push_back({share ? "newShareAsked" : "newCurrencyAsked", {}, 0, nullptr}); }
    void modifyCurrency(const std::shared_ptr<CCurRItem>& c) override { calls.push_back({"modifyCurrency", {}, 0, c}); }
    void changeCurrencyRate(const std::shared_ptr<CCurRItem>& c) override
    {
        calls.push_back({"changeCurrencyRate", {}, 0, c});
    }
    void registerShareTransaction(bool isBuy, const std::shared_ptr<CCurRItem>& share) override
    {
        calls.push_back({isBuy ? "buyShare" : "sellShare", {}, 0, share});
    }
    void registerDividend(const std::shared_ptr<CCurRItem>& share) override
    {
        calls.push_back({"registerDividend", {}, 0, share});
    }
    void askTransactionInput(const TransactionSheetRequest& request) override
    {
        sheets.push_back(request);
        calls.push_back({"askTransactionInput", {}, request.action, request.model});
    }
    // Asking answers `deleteAnswer`; declined deletions are recorded too.
    bool deleteObjectWithAsking(const CNonVisualDataItem::Ptr& item, bool withAsking) override
    {
        if (withAsking) ++questions;
        const bool deleted = !withAsking || deleteAnswer;
        calls.push_back({deleted ? "deleteObjectWithAsking" : "deletionDeclined", {}, withAsking, item});
        return deleted;
    }
    void copyTransaction(const std::shared_ptr<CTrnSItem>& transaction) override
    {
        copied = transaction;
        calls.push_back({"copyTransaction", {}, 0, transaction});
    }
    std::shared_ptr<CTrnSItem> transactionToPaste() const override { return copied; }
    void cutTransaction(const std::shared_ptr<CTrnSItem>& transaction) override
    {
        // Asked like a deletion.
        ++questions;
        if (deleteAnswer) copied = transaction;
        calls.push_back({deleteAnswer ? "cutTransaction" : "deletionDeclined", {}, 1, transaction});
    }
    void linkUnlinkedTransaction(const std::shared_ptr<CTrnSItem>& transaction) override
    {
        calls.push_back({"linkUnlinkedTransaction", {}, 0, transaction});
    }

    bool tryToSetTransactionAsVATBalancePaymentTransaction(const std::shared_ptr<CTrnSItem>& transaction) override
    {
        calls.push_back({"tryToSetTransactionAsVATBalancePaymentTransaction", {}, 0, transaction});
        return vatPaymentAnswer;
    }
    SheetDocument& sheetDocument() override { return booking; }

    std::vector<std::string> operations() const
    {
        std::vector<std::string> names;
        for (const Call& call : calls) names.push_back(call.operation);
        return names;
    }

    std::vector<Call> calls;
    std::vector<TransactionSheetRequest> sheets;
    std::shared_ptr<CTrnSItem> copied;
    bool deleteAnswer = true;
    bool vatPaymentAnswer = false;
    int questions = 0;
    RecordingSheetDocument booking;
};

// A drag entering, moving over and dropped at the point of the widget, as
// Qt delivers it: whether the move and the drop were accepted.
inline std::pair<bool, bool> dragAndDrop(QWidget* target, QPoint at, const QMimeData* data)
{
    QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    move.ignore();
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(target, &drop);
    return {move.isAccepted(), drop.isAccepted()};
}

} // namespace ch::test
