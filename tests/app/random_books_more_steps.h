#pragma once
// The rest of what a person does to the books, each through what the window
// sends: invoices and payments, budgets and budget lines, groups, VAT rates,
// the links between transactions, the settings, changes made in a modify sheet,
// deletions of the other objects, a statement imported, Cut and Paste.
// Included by random_books_steps.h after the class Books.

#include "random_books_steps.h"
#include "ui/sheets/FilePreferenceLogic.h"

namespace ch::test {
namespace {

void Books::moreSteps(const Step& step)
{
    switch (step.op) {
    case Op::BudgetLine:
        budgetLine(step);
        break;
    case Op::NewCategoryGroup: {
        // Under one of the groups of income or expenses, of its kind.
        std::vector<CMasterExpenseType*> usable;
        for (CMasterExpenseType* group : groups())
            if (group->Get_mMasterExpenseType() == group_kind::kIncome ||
                group->Get_mMasterExpenseType() == group_kind::kExpense)
                usable.push_back(group);
        CMasterExpenseType* parent = pick(usable, step.a);
        if (!parent) return;
        CategoryGroupSheetLogic sheet;
        SheetParameters parameters = sheetParameters(kActionCreate);
        parameters.set(sheet_key::kName, "Group " + std::to_string(++mNames));
        parameters.set(sheet_key::kSystemExpenseType, static_cast<long>(parent->Get_mMasterExpenseType()));
        parameters.set(sheet_key::kMasterExpenseType, static_cast<long>(parent->Get_Id()));
        sheet.initialize(parameters);
        if (!sheet.checkContents()) return;
        sheet.dialogClosed(1, parameters);
        mReckoned = true;
        break;
    }
    case Op::LinkGenerated: {
        // A copy a template made and left waiting, booked as the Link
        // button books it.
        if (doc().mUnlinkedTransactionArray().empty()) makeFirst(Op::Recurring, step, 1);
        std::vector<std::shared_ptr<CTrnSItem>> waiting;
        for (const auto& item : doc().mUnlinkedTransactionArray())
            if (item->getSourceItem()) waiting.push_back(item);
        if (auto transaction = pick(waiting, step.a)) mOpen->linkUnlinkedTransaction(transaction);
        break;
    }
    case Op::NewVATRate:
    case Op::EditVATRate:
        vatRateSheet(step, step.op == Op::NewVATRate);
        break;
    case Op::DeleteVATRate: {
        // Mostly one that nothing uses; made first when there is none.
        auto* business = dynamic_cast<business::BusinessOfDocument*>(doc().business());
        auto free = [&] {
            std::vector<std::shared_ptr<business::GXVATRate>> out;
            for (const auto& rate : businessArrays().VATRateArray)
                if (auto vat = std::dynamic_pointer_cast<business::GXVATRate>(rate); vat && vat->objectCanBeDeleted())
                    out.push_back(vat);
            return out;
        };
        if (free().empty()) makeFirst(Op::NewVATRate, step, 0);
        auto rate = step.c % 4 != 0 ? pick(free(), step.a) : std::dynamic_pointer_cast<business::GXVATRate>(vatRate(step.a));
        if (!business || !rate || !rate->objectCanBeDeletedWithMessage(false)) return;
        AnswersAsAPerson person(!declines(step.b));
        if (!business::confirmVATRateDeletion(*business, *rate)) return;
        arguments::CDeleteObjectParms parameters;
        parameters.withAsking = false;
        parameters.name = rate->name().value_or("-");
        // The rate's accounts go with it, and what was booked on them.
        doc().commandExecutor().executeCommand(37, rate, parameters);
        break;
    }
    case Op::ModifyInvoice:
        modifyInvoice(step);
        break;
    case Op::CardSpending: {
        // A spending on a card settled by a payment to the card: both on an
        // account marked as a card.
        auto onAccounts = [&](bool cards) {
            std::map<ObjectIdT, std::vector<std::shared_ptr<CTrnSItem>>> out;
            for (const auto& transaction : plainTransactions())
                for (const LineItemArray& lines : {transaction->mFromList(), transaction->mToList()})
                    for (const auto& line : lines)
                        if (auto account = accountWithId(static_cast<ObjectIdT>(line->account().value_or(0)));
                            account && (account->isProperty() || account->isDebt()) && account->isCreditCard() == cards)
                            out[*account->getId()].push_back(transaction);
            std::erase_if(out, [](const auto& entry) { return entry.second.size() < 2; });
            return out;
        };
        // A card with two transactions on it, marked as a card first when
        // there is none.
        if (onAccounts(true).empty()) {
            auto others = onAccounts(false);
            if (others.empty()) return;
            auto chosen = std::next(others.begin(), static_cast<std::ptrdiff_t>(step.c % others.size()));
            arguments::ObjectStateArguments card;
            card.name = accountWithId(chosen->first)->getNameOnly();
            card.isCreditCard = true;
            run(kCreditCardCommand, accountWithId(chosen->first), &card);
            madeReady();
        }
        auto cards = onAccounts(true);
        if (cards.empty()) return;
        const std::vector<std::shared_ptr<CTrnSItem>>& onCards =
            std::next(cards.begin(), static_cast<std::ptrdiff_t>(step.c % cards.size()))->second;
        const std::size_t at = step.a % onCards.size();
        std::shared_ptr<CTrnSItem> spending = onCards[at];
        std::shared_ptr<CTrnSItem> payment = onCards[(at + 1 + step.b % (onCards.size() - 1)) % onCards.size()];
        if (!spending || !payment || spending == payment || !payment->getId()) return;
        arguments::TransactionLinkArguments link;
        link.name = spending->getName();
        link.linkedId = *payment->getId();
        link.linkedName = payment->getName();
        run(kLinkCardSpendingCommand, spending, &link);
        mReckoned = true;
        break;
    }
    case Op::VATBalancePayment: {
        std::shared_ptr<CTrnSItem> transaction = pick(plainTransactions(), step.a);
        if (!transaction) return;
        mOpen->tryToSetTransactionAsVATBalancePaymentTransaction(transaction);
        mReckoned = true;
        break;
    }
    case Op::UnlinkPayment:
    case Op::UnlinkInvoicePayments:
    case Op::CreditNoteOfInvoice:
        invoiceLink(step);
        break;
    case Op::TransactionStatus: {
        std::shared_ptr<CTrnSItem> transaction = pick(plainTransactions(), step.a);
        if (!transaction) return;
        static const long statuses[] = {status::kNormal, status::kFlagged, status::kChecked};
        arguments::ObjectStateArguments values;
        values.name = transaction->getName();
        values.status = statuses[step.b % 3];
        run(kTransactionStatusCommand, transaction, &values);
        mReckoned = true;
        break;
    }
    case Op::CreditCard: {
        std::shared_ptr<CAcnTItem> account = pick(moneyAccounts(), step.a);
        if (!account) return;
        arguments::ObjectStateArguments values;
        values.name = account->getNameOnly();
        values.isCreditCard = !account->isCreditCard();
        run(kCreditCardCommand, account, &values);
        mReckoned = true;
        break;
    }
    case Op::Setting:
        bookSetting(step);
        break;
    case Op::ModifyAccount:
    case Op::ModifyCategory:
    case Op::ModifyCurrency:
    case Op::ModifyOwner:
        modifySheet(step);
        break;
    case Op::ModifyTemplate:
        modifyTemplate(step);
        break;
    case Op::DeleteOwner:
    case Op::DeleteCurrency:
    case Op::DeleteShare:
    case Op::DeleteTemplate:
        deleteOther(step);
        break;
    case Op::ImportStatement:
        importStatement(step);
        break;
    case Op::CutAndPaste:
        cutAndPaste(step);
        break;
    case Op::DeletePaidInvoice: {
        std::vector<std::shared_ptr<CTrnSItem>> paid;
        for (bool customer : {true, false})
            for (const auto& invoice : invoices(customer))
                for (const auto& item : doc().mTransactionArray())
                    if (item->getSourceItem() && item != invoice && item->mReferenceObjectId() == invoice->getId() &&
                        item->isLinkedToTransactionAsPayment().value_or(-1) > 0)
                        paid.push_back(invoice);
        if (paid.empty() && makeFirst(Op::Payment, step, 1)) {
            moreSteps(step);
            return;
        }
        std::shared_ptr<CTrnSItem> invoice = pick(paid, step.a);
        if (!invoice) return;
        const std::string name = invoice->getName();
        AnswersAsAPerson person(!declines(step.b));
        if (!doc().deleteObject(invoice, true)) return;
        forgetTransaction(name);
        mReckoned = false;
        break;
    }
    default:
        break;
    }
}

void Books::invoice(const Step& step, bool creditNote, bool supplier)
{
    if (businessArrays().VATRateArray.empty()) {
        arguments::VATRateArguments rate;
        rate.name = "Standard";
        rate.rate = 21.0;
        run(33, nullptr, &rate);
    }
    std::vector<std::shared_ptr<CAcoWItem>> customers = supplier ? doc().supplierArray() : doc().customerArray();
    if (customers.empty() || step.a % 4 == 0) {
        arguments::CAcoWArguments customer;
        customer.name = (supplier ? "Supplier " : "Customer ") + std::to_string(++mNames);
        if (supplier) customer.createSupplierOpenInvoices = true;
        else customer.createCustomerOpenInvoices = true;
        run(26, nullptr, &customer);
        customers = supplier ? doc().supplierArray() : doc().customerArray();
    }
    std::shared_ptr<CAcoWItem> customer = pick(customers, step.a / 4);
    if (!customer || !customer->getId()) return;
    arguments::InvoiceArguments values;
    values.invoiceName = (creditNote ? "Credit note " : "Invoice ") + std::to_string(++mNames);
    values.thirdPartyId = *customer->getId();
    values.invoiceNumber = "2009" + std::to_string(100000 + mNames);
    values.invoiceDate = dayOf(step.b);
    values.dueDate = values.invoiceDate;
    values.amountWithoutVAT = (creditNote ? -1.0 : 1.0) * amountOf(step.c);
    double rate = 0.0;
    if (auto chosen = vatRate(step.d); chosen && step.d % 3 != 0) {
        values.firstVATRateId = *chosen->idKey();
        if (auto* vat = dynamic_cast<business::GXVATRate*>(chosen.get())) rate = vat->rate().value_or(0.0);
    }
    values.paymentReference = "+++" + std::to_string(100 + mNames) + "+++";
    if (step.d % 5 == 0) {
        values.generatePayment = true;
        values.paymentCategoryId = doc().get_mDefExpTUnspecifiedIncome();
    }
    if (run(supplier ? 41 : 38, nullptr, &values) <= 0) return;
    Ledger::Invoice& made = mLedger.invoices[*values.invoiceName];
    made.total = invoiceTotal(*values.amountWithoutVAT, rate);
    // What the payment booked with it leaves open the ledger does not say.
    if (values.generatePayment) made.known = false;
}

// A payment of a customer, linked to one of its invoices by the drop on the
// invoice: of the whole, of a part, or of more than is open.
void Books::payment(const Step& step, bool supplier)
{
    if (invoices(!supplier).empty() && !makeFirst(supplier ? Op::SupplierInvoice : Op::Invoice, step, 0)) return;
    std::vector<std::shared_ptr<CTrnSItem>> open = invoices(!supplier);
    if (open.empty()) return;
    std::shared_ptr<CTrnSItem> invoice = pick(open, step.a);
    ObjectIdT customerId = 0;
    for (const auto& customer : supplier ? doc().supplierArray() : doc().customerArray()) {
        const std::optional<long> account =
            supplier ? customer->openCreditInvoiceAccount() : customer->openDebitInvoiceAccount();
        for (const LineItemArray& lines : {invoice->mFromList(), invoice->mToList()})
            for (const auto& line : lines)
                if (account && line->account() == account)
                    customerId = static_cast<ObjectIdT>(customer->getId().value_or(0));
    }
    if (!customerId) return;
    // What is open, or the whole when nothing is linked yet (the invoice
    // then answers a marker, not an amount).
    std::optional<double> openNow = invoice->unaccountedForAmount();
    if (!openNow || *openNow == kNoLinkedTransactionMarker || *openNow == kCreditNoteLinkedMarker) openNow = invoice->mTotalAmount();
    const double due = openNow.value_or(0.0);
    // The whole, a part, more than is open, nothing, less than nothing.
    const double share[] = {1.0, 0.5, 1.25, 0.3, 1.0, 0.0, -0.5};
    arguments::PaymentArguments values;
    values.paymentName = "Payment " + std::to_string(++mNames);
    values.thirdPartyId = customerId;
    values.paymentAmount = std::round(std::fabs(due) * share[step.b % 7] * 100.0) / 100.0;
    if (due == 0.0 && step.b % 7 < 5) values.paymentAmount = amountOf(step.c);
    values.paymentCategoryId = supplier ? doc().get_mDefExpTUnspecifiedExpense() : doc().get_mDefExpTUnspecifiedIncome();
    values.paymentDate = dayOf(step.d);
    values.paymentOwnerType = supplier ? arguments::kOwnerTypeSupplier : arguments::kOwnerTypeCustomer;
    const long made = run(supplier ? 46 : 44, nullptr, &values);
    if (made <= 0 || step.c % 5 == 0) return;
    if (auto payment = doc().getTransactionForId(static_cast<ObjectIdT>(made))) {
        if (!business::linkDroppedPayment(doc(), *invoice, *payment)) return;
        if (auto reckoned = mLedger.invoices.find(invoice->getName()); reckoned != mLedger.invoices.end())
            reckoned->second.payments[*values.paymentName] = *values.paymentAmount;
    }
}

void Books::splitPayment(const Step& step)
{
    std::vector<std::shared_ptr<CTrnSItem>> payments;
    for (const auto& item : doc().mTransactionArray())
        if (item->getSourceItem() && item->isLinkedToTransactionAsPayment().value_or(-1) > 0)
            if (auto invoice = doc().getTransactionForId(static_cast<ObjectIdT>(item->mReferenceObjectId().value_or(0))))
                if (invoice->mTransactionType() == 4) payments.push_back(item);
    if (payments.empty() && makeFirst(Op::Payment, step, 1)) {
        splitPayment(step);
        return;
    }
    std::shared_ptr<CTrnSItem> payment = pick(payments, step.a);
    if (!payment) return;
    const double whole = payment->mTotalAmount().value_or(0.0);
    if (whole < 0.02) return;
    arguments::SplitPaymentArguments values;
    values.paymentName = "Rest of " + payment->getName();
    values.originalAmount = whole;
    values.splitAmount = std::round(whole * (step.b % 8 + 1) * 10.0) / 100.0;
    values.leftOverAmount = whole - *values.splitAmount;
    values.ownerType = arguments::kOwnerTypeCustomer;
    run(45, payment, &values);
    if (auto invoice = doc().getTransactionForId(static_cast<ObjectIdT>(payment->mReferenceObjectId().value_or(0))))
        if (auto reckoned = mLedger.invoices.find(invoice->getName()); reckoned != mLedger.invoices.end())
            reckoned->second.known = false;
}

void Books::budget(const Step& step)
{
    std::shared_ptr<CBuDhItem> made;
    if (doc().mBudgetArray().empty() || step.a % 3 == 0) {
        // As the new-budget sheet sends it.
        arguments::NewBudgetArguments values;
        values.name = "Budget " + std::to_string(++mNames);
        values.comment = "";
        values.base = budget_base::kLastYear;
        values.baseMonth = 0;
        values.period = budget_period::kCurrentYear;
        values.nrOfYears = 0;
        values.nrOfMonths = 0;
        const long id = run(kNewBudgetCommand, nullptr, &values);
        for (const auto& budget : doc().mBudgetArray())
            if (budget->getId() && *budget->getId() == id) made = budget;
    }
    std::shared_ptr<CBuDhItem> budget = made ? made : pick(doc().mBudgetArray(), step.a);
    if (!budget) return;
    std::vector<std::shared_ptr<CAcnTItem>> own = moneyAccounts();
    const auto expenses = categoriesOfKind(group_kind::kExpense);
    if (own.empty() || expenses.empty()) return;
    const int first = static_cast<int>(step.b % 12);
    arguments::NewBudgetXRefArguments create(amountOf(step.c), 0.0, 0.0, 0.0, "Plan", false, first, first,
                                             std::min(11, first + static_cast<int>(step.d % 4)),
                                             *pick(own, step.c)->getId(), pick(expenses, step.d)->Get_Id());
    run(2, budget, &create);
}

// A line of a budget changed as the budget page's sheets change it: a month
// of an account's line, a month of one of its cross-references, a
// cross-reference deleted, a transfer between two accounts, the budget's
// name and comment.
void Books::budgetLine(const Step& step)
{
    if (doc().mBudgetArray().empty()) makeFirst(Op::Budget, step, 0);
    std::shared_ptr<CBuDhItem> budget = pick(doc().mBudgetArray(), step.a);
    if (!budget) return;
    CCommandExecutor& commands = doc().commandExecutor();
    const int month = static_cast<int>(step.c % 12);
    const double amount = (step.d % 7 == 0 ? -1.0 : 1.0) * amountOf(step.d);
    std::vector<std::shared_ptr<CAcnTItem>> own = moneyAccounts();
    mReckoned = true;
    switch (step.b % 5) {
    case 0: {
        std::shared_ptr<CAcnTItem> account = pick(own, step.c);
        std::shared_ptr<CBuDdItem> line = account ? budget->getDetailForType(type::kAccount, *account->getId()) : nullptr;
        if (!line) return;
        arguments::ModifyBudgetDetailArguments values(amount, 0.0, 0.0, 0.0, "Plan", false, month);
        commands.executeCommand(0, line, CommandArgument(&values));
        break;
    }
    case 1:
    case 2: {
        std::vector<std::shared_ptr<CBuDxItem>> xrefs;
        for (const auto& account : own)
            if (auto line = budget->getDetailForType(type::kAccount, *account->getId()))
                for (const auto& xref : line->xRefForPeriod(month))
                    if (!xref->isTransferBudget()) xrefs.push_back(xref);
        std::shared_ptr<CBuDxItem> xref = pick(xrefs, step.c);
        if (!xref) return;
        if (step.b % 5 == 1) {
            arguments::ModifyBudgetXRefArguments values(amount, 0.0, 0.0, 0.0, "Plan", false, month, month,
                                                        std::min(11, month + static_cast<int>(step.a % 3)));
            commands.executeCommand(1, xref, CommandArgument(&values));
        } else {
            for (const std::optional<double>& actual : {xref->mActualTo(), xref->mActualFrom()})
                if (!actual || *actual != 0.0) return;
            commands.executeCommand(3, xref, CommandArgument(std::shared_ptr<Observable>(budget)));
        }
        break;
    }
    case 3: {
        std::shared_ptr<CAcnTItem> from = pick(own, step.c);
        std::shared_ptr<CAcnTItem> to = pick(own, step.d);
        const auto expenses = categoriesOfKind(group_kind::kExpense);
        if (!from || !to || from == to || expenses.empty()) return;
        arguments::TransferBudgetXRefArguments values(amount, month, *from->getId(), pick(expenses, step.a)->Get_Id(),
                                                      *to->getId());
        commands.executeCommand(4, budget, CommandArgument(&values));
        break;
    }
    default: {
        arguments::ModifyBudgetHeaderArguments values("Budget " + std::to_string(++mNames), "Changed", step.c % 2 == 0);
        commands.executeCommand(5, budget, CommandArgument(&values));
        break;
    }
    }
}

// The VAT-rate sheet of the business settings, as its window fills and
// sends it; a rate past the limits (above 100, below 0) is refused by its
// check.
void Books::vatRateSheet(const Step& step, bool create)
{
    auto* business = dynamic_cast<business::BusinessOfDocument*>(doc().business());
    if (!business) return;
    std::shared_ptr<business::GXVATRate> modifying;
    std::shared_ptr<arguments::VATRateArguments> values;
    if (create) {
        values = std::make_shared<arguments::VATRateArguments>();
        CPrfRItem* settings = business->preferenceItem();
        const int category = settings ? settings->mVatInvoicedNotYetReceivedExpT() : 1;
        values->categoryInvoicedNotReceivedId = category;
        values->createCategoryInvoicedNotReceived = category == 1;
        values->name = "Rate " + std::to_string(++mNames);
    } else {
        modifying = std::dynamic_pointer_cast<business::GXVATRate>(vatRate(step.a));
        if (!modifying) return;
        values = std::shared_ptr<arguments::VATRateArguments>(modifying->getAsArguments());
    }
    static const double rates[] = {6.0, 12.0, 21.0, 0.0, 100.0, 120.0, -5.0, 7.5};
    values->rate = rates[step.b % 8];
    if (step.c % 4 == 0) values->fiscalPCT = static_cast<double>(step.c % 150);
    if (!business::checkVATRateSheet(*business, *values, modifying.get()).accepted()) return;
    if (create) {
        values->idKey = -1;
        doc().commandExecutor().executeCommand(33, nullptr, *values);
    } else {
        doc().commandExecutor().executeCommand(34, modifying, *values);
    }
    mReckoned = true;
}

// An invoice's sheet changed and okayed: another amount, date or rate. The
// ledger keeps its new total; what was linked stays linked.
void Books::modifyInvoice(const Step& step)
{
    const bool customer = step.b % 2 == 0;
    if (invoices(customer).empty()) makeFirst(customer ? Op::Invoice : Op::SupplierInvoice, step, 0);
    std::shared_ptr<CTrnSItem> invoice = pick(invoices(customer), step.a);
    if (!invoice) return;
    ObjectIdT ownerId = 0;
    for (const auto& owner : customer ? doc().customerArray() : doc().supplierArray()) {
        const std::optional<long> account =
            customer ? owner->openDebitInvoiceAccount() : owner->openCreditInvoiceAccount();
        for (const LineItemArray& lines : {invoice->mFromList(), invoice->mToList()})
            for (const auto& line : lines)
                if (account && line->account() == account) ownerId = static_cast<ObjectIdT>(owner->getId().value_or(0));
    }
    if (!ownerId) return;
    const bool creditNote = invoice->mTotalAmount().value_or(0.0) < 0.0;
    arguments::InvoiceArguments values;
    values.invoiceName = invoice->getName();
    values.thirdPartyId = ownerId;
    values.invoiceNumber = invoice->mDocumentRef();
    values.invoiceDate = dayOf(step.c);
    values.dueDate = values.invoiceDate;
    values.amountWithoutVAT = (creditNote ? -1.0 : 1.0) * amountOf(step.d);
    double rate = 0.0;
    if (auto chosen = vatRate(step.d); chosen && step.d % 3 != 0) {
        values.firstVATRateId = *chosen->idKey();
        if (auto* vat = dynamic_cast<business::GXVATRate*>(chosen.get())) rate = vat->rate().value_or(0.0);
    }
    values.paymentReference = invoice->paymentReference();
    run(customer ? 39 : 42, invoice, &values);
    if (auto reckoned = mLedger.invoices.find(invoice->getName()); reckoned != mLedger.invoices.end())
        reckoned->second.total = invoiceTotal(*values.amountWithoutVAT, rate);
}

// A payment taken off its invoice, every payment of an invoice taken off, or
// an invoice settled by a credit note, as the owners page sends them.
void Books::invoiceLink(const Step& step)
{
    auto paidOnes = [&] {
        std::vector<std::shared_ptr<CTrnSItem>> out;
        for (bool customer : {true, false})
            for (const auto& invoice : invoices(customer))
                for (const auto& item : doc().mTransactionArray())
                    if (item->getSourceItem() && item != invoice && item->mReferenceObjectId() == invoice->getId() &&
                        item->isLinkedToTransactionAsPayment().value_or(-1) > 0) {
                        out.push_back(invoice);
                        break;
                    }
        return out;
    };
    // Mostly one with payments; one is paid first when there is none.
    if (step.op != Op::CreditNoteOfInvoice && paidOnes().empty()) makeFirst(Op::Payment, step, 1);
    std::vector<std::shared_ptr<CTrnSItem>> all = invoices(true);
    for (const auto& invoice : invoices(false)) all.push_back(invoice);
    std::shared_ptr<CTrnSItem> invoice = pick(step.c % 4 != 0 && !paidOnes().empty() ? paidOnes() : all, step.a);
    if (!invoice) return;
    std::vector<std::shared_ptr<CTrnSItem>> payments;
    for (const auto& item : doc().mTransactionArray())
        if (item->getSourceItem() && item != invoice && item->mReferenceObjectId() == invoice->getId() &&
            item->isLinkedToTransactionAsPayment().value_or(-1) > 0)
            payments.push_back(item);
    arguments::TransactionLinkArguments values;
    auto reckoned = mLedger.invoices.find(invoice->getName());
    if (step.op == Op::UnlinkPayment) {
        std::shared_ptr<CTrnSItem> payment = pick(payments, step.b);
        if (!payment) return;
        values.name = payment->getName();
        run(kUnlinkPaymentCommand, payment, &values);
        if (reckoned != mLedger.invoices.end()) reckoned->second.payments.erase(payment->getName());
    } else if (step.op == Op::UnlinkInvoicePayments) {
        if (payments.empty()) return;
        values.name = invoice->getName();
        run(kUnlinkInvoicePaymentsCommand, invoice, &values);
        if (reckoned != mLedger.invoices.end())
            std::erase_if(reckoned->second.payments, [](const auto& entry) { return entry.first != "paid with the invoice"; });
    } else {
        values.name = invoice->getName();
        run(kCreditNoteCommand, invoice, &values);
        // What the credit note books the ledger does not reckon.
        if (reckoned != mLedger.invoices.end()) reckoned->second.known = false;
        return;
    }
    mReckoned = true;
}

// One of the settings of Books > Settings, chosen from what its pop-up
// offers: a currency, a month, an account, a category or an account type.
void Books::bookSetting(const Step& step)
{
    const std::vector<book_settings::Setting>& all = book_settings::all();
    const std::string name = all[step.a % all.size()].name;
    std::vector<long> offered;
    // What the settings window's pop-up offers for it, where it has one.
    const auto popups = settingsPopups();
    const auto popup = std::find_if(popups.begin(), popups.end(), [&](const SettingsPopup& one) { return name == one.setting; });
    if (popup != popups.end() && name != "HomeCurrency" && name != "InputCurrency") {
        if (CNamedListArray* list = popup->list(&root()))
            for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
                if (auto* object = static_cast<CNonVisual*>(list->ObjectAt(i)); object && popup->offers(&root(), *object))
                    offered.push_back(object->Get_Id());
    } else if (name == "HomeCurrency" || name == "InputCurrency") {
        for (const auto& currency : doc().mCurrencyArray())
            if (currency->getId()) offered.push_back(*currency->getId());
    } else if (name == "CurrentYearStart") {
        for (long month = 1; month <= 12; ++month) offered.push_back(month);
    } else if (name.find("AccT") != std::string::npos || name.find("AccountType") != std::string::npos) {
        for (CNonVisual* type : accountTypes()) offered.push_back(type->Get_Id());
    } else if (name.find("Accnt") != std::string::npos || name.find("Account") != std::string::npos) {
        for (CAccount* account : accounts()) offered.push_back(account->Get_Id());
    } else {
        for (CExpenseType* category : categories()) offered.push_back(category->Get_Id());
    }
    if (offered.empty()) return;
    if (std::getenv("RANDOM_BOOKS_TRACE")) std::printf("  setting %s to %ld\n", name.c_str(), offered[step.b % offered.size()]);
    if (name == "HomeCurrency") mLedger.homeCurrencyChanged();
    this->setting(name.c_str(), offered[step.b % offered.size()]);
    mReckoned = true;
}

// A modify sheet changed and okayed: an account's name and description, a
// category's description, a currency's name and rate, an owner's address.
void Books::modifySheet(const Step& step)
{
    mReckoned = true;
    switch (step.op) {
    case Op::ModifyAccount: {
        CAccount* account = pick(accounts(), step.a);
        if (!account) return;
        SheetParameters parameters = sheetParameters(kActionModify);
        parameters.set(sheet_key::kAccountToModify, accountItem(account));
        AccountSheetLogic sheet;
        sheet.initialize(parameters);
        const std::string name = "Account " + std::to_string(++mNames);
        if (step.b % 2 == 0) sheet.temporaryItem()->setGetNameOnly(name);
        sheet.temporaryItem()->setGetDescription("Changed " + std::to_string(step.c % 100));
        if (!sheet.checkContents()) return;
        sheet.dialogClosed(1, parameters);
        if (auto reckoned = mLedger.accounts.find(account->Get_Id()); reckoned != mLedger.accounts.end())
            reckoned->second.name = accountItem(account)->getNameOnly();
        break;
    }
    case Op::ModifyCategory: {
        CExpenseType* category = pick(categories(), step.a);
        if (!category) return;
        SheetParameters parameters = sheetParameters(kActionModify);
        parameters.set(sheet_key::kExpenseTypeToModify, doc().dataItemController().categoryItemForCategory(category));
        CategorySheetLogic sheet;
        sheet.initialize(parameters);
        if (step.b % 2 == 0) sheet.temporaryItem()->setGetName("Category " + std::to_string(++mNames));
        sheet.temporaryItem()->setDescription("Changed " + std::to_string(step.c % 100));
        if (!sheet.checkContents()) return;
        sheet.dialogClosed(1, parameters);
        break;
    }
    case Op::ModifyCurrency: {
        const bool share = step.b % 2 == 0;
        std::shared_ptr<CCurRItem> currency = pick(share ? doc().mShareArray() : doc().mCurrencyArray(), step.a);
        if (!currency) return;
        SheetParameters parameters = sheetParameters(kActionModify);
        parameters.set(sheet_key::kCurrencyToModify, currency);
        if (auto home = doc().getHomeCurrency(); home && home->getId())
            parameters.set(sheet_key::kCurrencyId, static_cast<long>(*home->getId()));
        CurrencySheetLogic sheet(share);
        sheet.initialize(parameters);
        sheet.values().fullName = "Changed " + std::to_string(++mNames);
        if (step.c % 2 == 0) sheet.values().factor = 0.5 + static_cast<double>(step.d % 150) / 100.0 * (share ? 20.0 : 1.0);
        if (!sheet.checkContents()) return;
        sheet.dialogClosed(1, parameters);
        break;
    }
    default: {
        std::vector<std::shared_ptr<CAcoWItem>> owners;
        for (const auto& owner : doc().mOwnerArray())
            if (owner->getSourceItem()) owners.push_back(owner);
        std::shared_ptr<CAcoWItem> owner = pick(owners, step.a);
        if (!owner) return;
        SheetParameters parameters = sheetParameters(kActionModify);
        parameters.set(sheet_key::kOwnerToModify, owner);
        OwnerSheetLogic sheet;
        sheet.initialize(parameters);
        sheet.temporaryItem()->setOfficialAddress("Road " + std::to_string(++mNames));
        if (!sheet.checkContents(false, false)) return;
        sheet.dialogClosed(1, parameters, false, false);
        break;
    }
    }
}

// A template's sheet changed and okayed: another amount and a first date,
// from which it makes the copies now due.
void Books::modifyTemplate(const Step& step)
{
    if (doc().mRecurringTransactionArray().empty()) makeFirst(Op::Recurring, step, 0);
    std::vector<std::shared_ptr<CRcrTItem>> all;
    for (const auto& recurring : doc().mRecurringTransactionArray())
        if (recurring->getSourceItem()) all.push_back(recurring);
    std::shared_ptr<CRcrTItem> recurring = pick(all, step.a);
    if (!recurring) return;
    SheetParameters parameters;
    parameters.set(transaction_sheet_key::kDocument, static_cast<SheetDocument*>(mOpen.get()));
    parameters.set(transaction_sheet_key::kAction, static_cast<long>(kActionModify));
    parameters.set(transaction_sheet_key::kTransaction, std::static_pointer_cast<CTrnSItem>(recurring));
    TransactionEntryLogic sheet(true);
    sheet.initialize(parameters);
    sheet.temporaryTransaction()->setMDate(dayOf(step.b));
    const std::string name = recurring->getName();
    if (!sheet.checkContents(name)) return;
    sheet.dialogClosed(1);
    // The date entered is the one its copies follow from.
    if (auto reckoned = mLedger.templates.find(name); reckoned != mLedger.templates.end())
        reckoned->second.last = dayOf(step.b);
}

// An owner, currency, share, budget or template deleted from its page,
// answering the question as a person does.
void Books::deleteOther(const Step& step)
{
    std::shared_ptr<CNonVisualDataItem> item;
    switch (step.op) {
    case Op::DeleteOwner: {
        // Mostly one the steps made that holds nothing; one is made first
        // when there is none.
        auto owners = [&](bool unused) {
            std::vector<std::shared_ptr<CAcoWItem>> out;
            for (const auto& owner : doc().mOwnerArray())
                if (owner->getSourceItem() && (!unused || (owner->getName().rfind("Owner ", 0) == 0 && owner->objectCanBeDeleted())))
                    out.push_back(owner);
            return out;
        };
        if (owners(true).empty()) makeFirst(Op::NewOwner, step, 0);
        item = pick(owners(step.c % 4 != 0), step.a);
        break;
    }
    case Op::DeleteCurrency: {
        // Mostly one no account is kept in.
        auto unused = [&] {
            std::vector<std::shared_ptr<CCurRItem>> out;
            for (const auto& currency : doc().mCurrencyArray()) {
                bool used = false;
                for (const auto& account : doc().allAccounts())
                    used = used || (account->getSourceItem() && account->getCurrencyId() == currency->getId());
                if (!used) out.push_back(currency);
            }
            return out;
        };
        if (unused().empty()) makeFirst(Op::NewCurrency, step, 0);
        item = pick(step.c % 4 != 0 && !unused().empty() ? unused() : doc().mCurrencyArray(), step.a);
        break;
    }
    case Op::DeleteShare: {
        // Its portfolio account and trades go with it, after the questions.
        if (doc().mShareArray().empty()) makeFirst(Op::NewShare, step, 0);
        item = pick(doc().mShareArray(), step.a);
        break;
    }
    default: {
        if (doc().mRecurringTransactionArray().empty()) makeFirst(Op::Recurring, step, 0);
        std::vector<std::shared_ptr<CRcrTItem>> all;
        for (const auto& recurring : doc().mRecurringTransactionArray())
            if (recurring->getSourceItem()) all.push_back(recurring);
        item = pick(all, step.a);
        break;
    }
    }
    if (!item) return;
    const std::string name = item->getName();
    const std::string symbol = step.op == Op::DeleteShare ? std::static_pointer_cast<CCurRItem>(item)->mShortName() : "";
    AnswersAsAPerson person(!declines(step.b));
    if (!mOpen->deleteObjectWithAsking(item, true)) return;
    if (step.op == Op::DeleteShare) {
        mLedger.holdings.erase(symbol);
        for (auto at = mLedger.accounts.begin(); at != mLedger.accounts.end();)
            at = doc().getAccountForId(at->first) ? std::next(at) : mLedger.accounts.erase(at);
    }
    if (step.op == Op::DeleteTemplate) mLedger.templates.erase(name);
}

// A statement of an own account, written as the bank writes it (QIF or
// OFX), imported and booked; what does not book is cancelled.
void Books::importStatement(const Step& step)
{
    std::shared_ptr<CAcnTItem> account = pick(moneyAccounts(), step.a);
    if (!account) return;
    const bool ofx = step.b % 2 == 0;
    const std::string path = mJournalFolder + "/statement" + std::to_string(++mNames) + (ofx ? ".ofx" : ".qif");
    {
        std::ofstream file(path, std::ios::binary);
        if (ofx) {
            file << "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\n\n<OFX><BANKMSGSRSV1><STMTTRNRS><STMTRS>"
                    "<CURDEF>USD<BANKACCTFROM><BANKID>1<ACCTID>"
                 << account->getNameOnly() << "<ACCTTYPE>CHECKING</BANKACCTFROM><BANKTRANLIST>\n";
        } else {
            file << "!Account\nN" << account->getNameOnly() << "\nTBank\n^\n!Type:Bank\n";
        }
        for (unsigned line = 0; line < step.c % 3 + 1; ++line) {
            const DateT date = dayOf(step.d + line * 31);
            const double amount = (line % 2 == 0 ? -1.0 : 1.0) * amountOf(step.d >> (line + 1));
            char text[32];
            std::snprintf(text, sizeof text, "%.2f", amount);
            if (ofx) {
                file << "<STMTTRN><TRNTYPE>" << (amount < 0 ? "DEBIT" : "CREDIT") << "<DTPOSTED>" << date
                     << "<TRNAMT>" << text << "<FITID>" << mNames << "-" << line << "<NAME>Statement line " << line
                     << "</STMTTRN>\n";
            } else {
                file << "D" << (date / 100 % 100) << "/" << (date % 100) << "/" << (date / 10000) << "\nT" << text
                     << "\nPStatement line " << line << "\n^\n";
            }
        }
        if (ofx) file << "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
    }
    StatementImport& import = doc().statementImport();
    if (!import.importFile(path, ofx ? StatementKind::OFX : StatementKind::QIF)) return;
    // The person picks, on each line the file did not place, the account on
    // the other side and a category of its kind.
    std::vector<std::shared_ptr<CAcnTItem>> pl = plAccounts();
    unsigned n = step.d;
    for (const auto& line : import.mImportedTransactionArray()) {
        auto pending = std::dynamic_pointer_cast<CImpTItem>(line);
        if (!pending) continue;
        const auto kinds = categoriesOfKind(pending->mAmount() < 0 ? group_kind::kExpense : group_kind::kIncome);
        if (pending->mOtherAccountId() <= 0 && !pl.empty()) pending->setMOtherAccountId(*pick(pl, n++)->getId());
        if (pending->mExpenseTypeId() <= 0 && !kinds.empty()) pending->setMExpenseTypeId(pick(kinds, n++)->Get_Id(), true);
    }
    import.doActualImport();
    if (!import.mImportedTransactionArray().empty()) {
        if (std::getenv("RANDOM_BOOKS_SHOW_ALERTS"))
            for (const auto& line : import.mImportedTransactionArray())
                if (auto pending = std::dynamic_pointer_cast<CImpTItem>(line))
                    std::printf("  not booked: %s %s: %s\n", pending->mTitle().c_str(), money(pending->mAmount()).c_str(),
                                pending->mRemark().c_str());
        AnswersAsAPerson person(true);
        import.cancelImport();
    }
}

// Cut as the transaction list's Cut does it (asking, as a deletion asks),
// then Paste: the transaction sheet opens with the copy and is okayed.
void Books::cutAndPaste(const Step& step)
{
    std::shared_ptr<CTrnSItem> transaction = pick(plainTransactions(), step.a);
    if (!transaction) return;
    const std::string name = transaction->getName();
    const std::vector<std::pair<ObjectIdT, double>> booked =
        mLedger.transactions.contains(name) ? mLedger.transactions.at(name) : std::vector<std::pair<ObjectIdT, double>>{};
    {
        AnswersAsAPerson person(!declines(step.b));
        mOpen->cutTransaction(transaction);
        if (mDeclined) return;
    }
    forgetTransaction(name);
    const bool knew = mReckoned;
    std::shared_ptr<CTrnSItem> copied = mOpen->transactionToPaste();
    if (!copied) return;
    SheetParameters parameters;
    parameters.set(transaction_sheet_key::kDocument, static_cast<SheetDocument*>(mOpen.get()));
    parameters.set(transaction_sheet_key::kAction, static_cast<long>(kActionCreate));
    parameters.set(transaction_sheet_key::kTransaction, copied);
    TransactionEntryLogic sheet;
    sheet.initialize(parameters);
    if (!sheet.checkContents(name)) return;
    const bool wasDeal = mLedger.deals.contains(static_cast<ObjectIdT>(transaction->getId().value_or(0)));
    const std::string dealShare = wasDeal ? mLedger.deals.at(static_cast<ObjectIdT>(*transaction->getId())).first : "";
    sheet.dialogClosed(1);
    if (wasDeal) mLedger.sharesUnknown.insert(dealShare);
    // Moved, not changed: the same lines on the same accounts.
    mReckoned = knew;
    for (const auto& [account, amount] : booked) mLedger.book(name, account, amount);
}

} // namespace
} // namespace ch::test
