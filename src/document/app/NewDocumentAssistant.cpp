#include "document/app/NewDocumentAssistant.h"

#include <algorithm>

#include "model/foundation/AmountLimit.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

constexpr std::size_t index(AssistantList list)
{
    return std::size_t(list);
}

// The sheet's tab view holds the set choice, the tables, the accounts page,
// an unused page and the closing page.
constexpr int kTabCount = 5;

struct SetArray {
    const char* key;
    AssistantList list;
};
constexpr SetArray kSetArrays[] = {
    {"LiquidAssets", AssistantList::PropertyAccounts},
    {"Assets", AssistantList::AssetAccounts},
    {"Debts", AssistantList::DebtAccounts},
    {"Sources", AssistantList::SourceAccounts},
    {"Destinations", AssistantList::DestinationAccounts},
    {"Income", AssistantList::IncomeCategories},
    {"Expenses", AssistantList::ExpenseCategories},
    {"Transfers", AssistantList::TransferCategories},
};

std::vector<AssistantEntry> entriesOf(const Value& array)
{
    std::vector<AssistantEntry> entries;
    if (const Array* items = array.asArray())
        for (const Value& item : *items)
            if (item.isDictionary())
                entries.push_back(AssistantEntry::fromValue(item));
    return entries;
}

bool hasName(const std::vector<AssistantEntry>& list, const std::string& name)
{
    return std::any_of(list.begin(), list.end(), [&](const AssistantEntry& e) { return e.objectName == name; });
}

bool blank(const std::string& name)
{
    return name.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::vector<std::size_t> matching(const std::vector<AssistantEntry>& list, const std::string& search)
{
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (search.empty() || containsCaseInsensitive(list[i].objectName, search))
            rows.push_back(i);
    return rows;
}

} // namespace

NewDocumentAssistant::NewDocumentAssistant(const Dictionary& defaultObjects, const Array& currencies,
                                           const std::string& systemCurrencyCode)
    : mDefaultObjects(defaultObjects)
{
    for (auto entry : mDefaultObjects)
        mStandardSets.push_back(entry.key);
    auto& proposedCurrencies = proposedList(AssistantList::Currencies);
    proposedCurrencies = entriesOf(Value(currencies));
    if (!systemCurrencyCode.empty())
        for (AssistantEntry& currency : proposedCurrencies)
            if (currency.symbol == systemCurrencyCode)
                currency.isSelected = currency.isDefault = true;
}

void NewDocumentAssistant::start()
{
    mView = AssistantView{};
    mView.welcomeText = "startingSet";
    mCurrentPage = 1;
    mChosenSet.reset();
    if (!mStandardSets.empty())
        mChosenSet = mStandardSets.front();
    if (mStandardSets.size() == 1)
        next();
}

void NewDocumentAssistant::chooseSet(const std::string& name)
{
    if (std::find(mStandardSets.begin(), mStandardSets.end(), name) != mStandardSets.end())
        mChosenSet = name;
    else
        mChosenSet.reset();
}

const std::vector<AssistantEntry>& NewDocumentAssistant::proposed(AssistantList list) const
{
    return mProposed[index(list)];
}

const std::vector<AssistantEntry>& NewDocumentAssistant::selected(AssistantList list) const
{
    return mSelected[index(list)];
}

std::vector<AssistantEntry>& NewDocumentAssistant::proposedList(AssistantList list)
{
    return mProposed[index(list)];
}

std::vector<AssistantEntry>& NewDocumentAssistant::selectedList(AssistantList list)
{
    return mSelected[index(list)];
}

NewDocumentAssistant::Step NewDocumentAssistant::next()
{
    if (mEnded)
        return Step::Refused;
    // Every step starts with clear search fields and an empty select-all box.
    mProposedSearch.clear();
    mSelectedSearch.clear();
    mView.selectAll = false;
    mView.scrollTo.reset();
    const Step step = runStep();
    mBack = false;
    return step;
}

NewDocumentAssistant::Step NewDocumentAssistant::previous()
{
    if (mEnded || mCurrentPage < 2)
        return Step::Refused;
    // Pages 3 and 9 are passed through on the way forward, so from the pages
    // after them one more step back is needed.
    mCurrentPage -= (mCurrentPage == 4 || mCurrentPage == 10) ? 3 : 2;
    mBack = true;
    return next();
}

int NewDocumentAssistant::pageNumber() const
{
    // The stages a page shows, in order; 3 and 9 are passed through.
    constexpr int kShownStages[kPageCount] = {1, 2, 4, 5, 6, 7, 8, 10, 11, 12, 13};
    const auto* found = std::find(std::begin(kShownStages), std::end(kShownStages), mCurrentPage);
    return found == std::end(kShownStages) ? 1 : int(found - std::begin(kShownStages)) + 1;
}

std::vector<std::string> NewDocumentAssistant::shownTexts() const
{
    switch (mView.tab) {
    case 0: return {mView.welcomeText};
    case 4: return {mView.goodbyeText};
    default: break;
    }
    if (mCurrentPage == 4)
        return {mView.accountText, mView.explanation};
    if (mCurrentPage == 10)
        return {mView.categoryText, mView.explanation};
    return {mView.explanation};
}

void NewDocumentAssistant::mark(int stage)
{
    mView.reachedStage = std::max(mView.reachedStage, stage);
}

void NewDocumentAssistant::showLists(AssistantList lists, const char* explanation, const char* icon, bool balance,
                                     bool defaultColumn)
{
    mView.lists = lists;
    mView.explanation = explanation;
    mView.icon = icon;
    mView.balanceColumn = balance;
    mView.defaultColumn = defaultColumn;
    mView.tab = 1;
}

std::optional<std::string> NewDocumentAssistant::selectedByName(AssistantList list,
                                                                const std::optional<std::string>& name) const
{
    if (name && hasName(selected(list), *name))
        return name;
    return std::nullopt;
}

NewDocumentAssistant::Step NewDocumentAssistant::runStep()
{
    switch (mCurrentPage) {
    case 1: {
        if (!mChosenSet) {
            CErrorManager::RaiseError(152);
            return Step::Refused;
        }
        mark(2);
        mView.plusButton = false;
        fillProposedLists();
        showLists(AssistantList::Currencies, "currencies", "currencies", false, true);
        std::size_t row = 0;
        if (selectedDefault(&row) && row > 0)
            mView.scrollTo = row;
        mCurrentPage = 2;
        return Step::Moved;
    }
    case 2:
        if (!mBack && !selectedDefault()) {
            CErrorManager::RaiseError(256);
            return Step::Refused;
        }
        mView.plusButton = true;
        moveObjectClicked();
        // Going back keeps the default chosen on the way forward.
        if (!mBack)
            mDefaultCurrency = selectedByName(AssistantList::Currencies, selectedDefault());
        mark(3);
        mView.accountText = "acntGeneral";
        [[fallthrough]];
    case 3:
        mark(4);
        showLists(AssistantList::PropertyAccounts, "acntLiquid", "acntProperty.tiff", true, true);
        mCurrentPage = 4;
        return Step::Moved;
    case 4:
        if (!mBack && !selectedDefault()) {
            CErrorManager::RaiseError(257);
            return Step::Refused;
        }
        moveObjectClicked();
        if (!mBack)
            mDefaultPropertyAccount = selectedByName(AssistantList::PropertyAccounts, selectedDefault());
        mark(5);
        showLists(AssistantList::AssetAccounts, "acntAssets", "acntAsset.tiff", true, false);
        mCurrentPage = 5;
        return Step::Moved;
    case 5:
        moveObjectClicked();
        mark(6);
        showLists(AssistantList::DebtAccounts, "acntDebt", "acntDebt.tiff", true, false);
        mCurrentPage = 6;
        return Step::Moved;
    case 6:
        moveObjectClicked();
        mark(7);
        showLists(AssistantList::SourceAccounts, "acntPLSource", "acntP&L.tiff", true, false);
        mCurrentPage = 7;
        return Step::Moved;
    case 7:
        moveObjectClicked();
        mark(8);
        showLists(AssistantList::DestinationAccounts, "acntPLDest", "acntP&L.tiff", true, false);
        mCurrentPage = 8;
        return Step::Moved;
    case 8:
        moveObjectClicked();
        mark(9);
        mView.categoryText = "exptGeneral";
        [[fallthrough]];
    case 9:
        mark(10);
        showLists(AssistantList::IncomeCategories, "exptIncome", "exptIncome.tiff", false, false);
        mCurrentPage = 10;
        return Step::Moved;
    case 10:
        moveObjectClicked();
        mark(11);
        showLists(AssistantList::ExpenseCategories, "exptExpense", "exptExpense.tiff", false, false);
        mCurrentPage = 11;
        return Step::Moved;
    case 11:
        moveObjectClicked();
        mark(12);
        showLists(AssistantList::TransferCategories, "exptTransfer", "exptTransfer.tiff", false, false);
        mCurrentPage = 12;
        return Step::Moved;
    case 12:
        moveObjectClicked();
        mark(13);
        mView.icon = "transactions.tiff";
        mView.goodbyeText = "whatsNext";
        mView.balanceColumn = mView.defaultColumn = false;
        mView.tab = 4;
        mCurrentPage = 13;
        return Step::Moved;
    default:
        if (mCurrentPage >= 0 && mCurrentPage < kTabCount) {
            mView.tab = mCurrentPage;
            ++mCurrentPage;
            return Step::Moved;
        }
        mPlan = makePlan();
        mEnded = true;
        return Step::Finished;
    }
}

void NewDocumentAssistant::fillProposedLists()
{
    if (mInitialized || !mChosenSet)
        return;
    const Value& set = mDefaultObjects[*mChosenSet];
    for (const SetArray& array : kSetArrays) {
        std::vector<AssistantEntry> entries = entriesOf(set[array.key]);
        if (array.list == AssistantList::PropertyAccounts)
            for (AssistantEntry& e : entries)
                if (e.isDefault)
                    e.isSelected = true;
        auto& list = proposedList(array.list);
        list.insert(list.end(), entries.begin(), entries.end());
    }
    mInitialized = true;
}

std::vector<std::size_t> NewDocumentAssistant::arrangedProposed() const
{
    return matching(currentProposed(), mProposedSearch);
}

std::vector<std::size_t> NewDocumentAssistant::arrangedSelected() const
{
    return matching(currentSelected(), mSelectedSearch);
}

void NewDocumentAssistant::setSelected(std::size_t row, bool ticked)
{
    auto& list = currentProposedList();
    if (row >= list.size())
        return;
    list[row].isSelected = ticked;
    if (!ticked)
        list[row].isDefault = false;
}

void NewDocumentAssistant::setDefault(std::size_t row)
{
    auto& list = currentProposedList();
    if (row >= list.size())
        return;
    for (std::size_t i : arrangedProposed())
        list[i].isDefault = false;
    list[row].isSelected = true;
    list[row].isDefault = true;
    mBack = false;
}

void NewDocumentAssistant::setName(std::size_t row, std::string name)
{
    auto& list = currentProposedList();
    if (row < list.size())
        list[row].objectName = std::move(name);
}

void NewDocumentAssistant::setParentName(std::size_t row, std::string path)
{
    auto& list = currentProposedList();
    if (row < list.size())
        list[row].parentName = std::move(path);
}

void NewDocumentAssistant::setSymbol(std::size_t row, std::string symbol)
{
    auto& list = currentProposedList();
    if (row < list.size())
        list[row].symbol = std::move(symbol);
}

bool NewDocumentAssistant::setInitialBalance(std::size_t row, double balance)
{
    if (!amountWithinLimit(balance))
        return false;
    auto& list = currentProposedList();
    if (row < list.size())
        list[row].initialBalance = balance;
    return true;
}

void NewDocumentAssistant::moveObjectClicked()
{
    auto& selectedNow = currentSelectedList();
    selectedNow.clear();
    for (const AssistantEntry& entry : currentProposed())
        if (entry.isSelected && !hasName(selectedNow, entry.objectName))
            selectedNow.insert(selectedNow.begin(), AssistantEntry::takenOver(entry));
}

void NewDocumentAssistant::moveAllObjectsClicked()
{
    auto& selectedNow = currentSelectedList();
    // Ticked as well: the take-over of the next step follows the ticks and
    // would otherwise drop them again.
    for (AssistantEntry& entry : currentProposedList()) {
        entry.isSelected = true;
        if (!hasName(selectedNow, entry.objectName))
            selectedNow.insert(selectedNow.begin(), AssistantEntry::takenOver(entry));
    }
}

void NewDocumentAssistant::removeObjectClicked(const std::vector<std::size_t>& selectedRows)
{
    auto& selectedNow = currentSelectedList();
    auto& proposedNow = currentProposedList();
    std::vector<std::size_t> rows;
    for (std::size_t row : selectedRows)
        if (row < selectedNow.size())
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    for (std::size_t row : rows) {
        const AssistantEntry& object = selectedNow[row];
        // The entry it came from is unticked, or the next take-over would
        // bring the object straight back; an entry no longer proposed under
        // that name returns to the top of the list.
        auto entry = std::find_if(proposedNow.begin(), proposedNow.end(),
                                  [&](const AssistantEntry& e) { return e.objectName == object.objectName; });
        if (entry != proposedNow.end()) {
            entry->isSelected = false;
            entry->isDefault = false;
        } else if (object.isFromDictionary) {
            proposedNow.insert(proposedNow.begin(), object.returned());
        }
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        selectedNow.erase(selectedNow.begin() + std::ptrdiff_t(*row));
}

void NewDocumentAssistant::removeAllObjectsClicked()
{
    std::vector<std::size_t> rows(currentSelected().size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = i;
    removeObjectClicked(rows);
}

void NewDocumentAssistant::takeOverRows(const std::vector<std::size_t>& proposedRows)
{
    auto& list = currentProposedList();
    for (std::size_t row : proposedRows)
        if (row < list.size())
            list[row].isSelected = true;
    moveObjectClicked();
}

std::size_t NewDocumentAssistant::addObjectClicked()
{
    mProposedSearch.clear();
    AssistantEntry entry;
    entry.isSelected = true;
    auto& list = currentProposedList();
    list.insert(list.begin(), entry);
    return 0;
}

void NewDocumentAssistant::selectAllClicked(bool on)
{
    mView.selectAll = on;
    auto& list = currentProposedList();
    for (std::size_t i : arrangedProposed()) {
        list[i].isSelected = on;
        if (!on)
            list[i].isDefault = false;
    }
}

std::optional<std::string> NewDocumentAssistant::selectedDefault(std::size_t* index) const
{
    const auto& list = currentProposed();
    std::optional<std::string> name;
    std::size_t ticked = 0;
    std::size_t onlyTicked = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!list[i].isSelected)
            continue;
        ++ticked;
        onlyTicked = i;
        if (list[i].isDefault) {
            name = list[i].objectName;
            if (index)
                *index = i;
        }
    }
    if ((!name || name->empty()) && ticked == 1)
        name = list[onlyTicked].objectName;
    // A default without a name is no default.
    if (name && name->empty())
        return std::nullopt;
    return name;
}

NewDocumentPlan NewDocumentAssistant::makePlan() const
{
    NewDocumentPlan plan;
    bool homeTaken = false;
    for (const AssistantEntry& currency : selected(AssistantList::Currencies)) {
        if (currency.objectName.empty())
            continue;
        const bool isDefault = !homeTaken && mDefaultCurrency == currency.objectName;
        homeTaken = homeTaken || isDefault;
        plan.currencies.push_back({currency.objectName, currencySymbolFor(currency.symbol, currency.objectName),
                                   isDefault});
    }

    struct AccountList {
        AssistantList list;
        long type;
    };
    constexpr AccountList kAccountLists[] = {
        {AssistantList::PropertyAccounts, kPropertyAccountType},
        {AssistantList::DebtAccounts, kDebtAccountType},
        {AssistantList::AssetAccounts, kAssetAccountType},
        {AssistantList::SourceAccounts, kProfitAndLossAccountType},
        {AssistantList::DestinationAccounts, kProfitAndLossAccountType},
    };
    bool defaultTaken = false;
    for (const AccountList& accounts : kAccountLists)
        for (const AssistantEntry& account : selected(accounts.list)) {
            // A row added and never named makes nothing, as with currencies.
            if (blank(account.objectName))
                continue;
            const bool isDefault = accounts.list == AssistantList::PropertyAccounts && !defaultTaken &&
                                   mDefaultPropertyAccount == account.objectName;
            defaultTaken = defaultTaken || isDefault;
            plan.accounts.push_back({account.objectName, accounts.type, account.initialBalance, isDefault});
        }

    constexpr std::pair<AssistantList, long> kCategoryLists[] = {
        {AssistantList::IncomeCategories, 0},
        {AssistantList::ExpenseCategories, 1},
        {AssistantList::TransferCategories, 2},
    };
    for (const auto& [list, systemType] : kCategoryLists)
        for (const AssistantEntry& category : selected(list)) {
            if (blank(category.objectName))
                continue;
            std::optional<std::string> path;
            if (!category.parentName.empty())
                path = category.parentName;
            plan.categories.push_back({category.objectName, systemType, path});
        }
    return plan;
}

void NewDocumentAssistant::cancel()
{
    mEnded = true;
    mPlan.reset();
}

} // namespace ch
