#pragma once
// The new-document assistant without its window: thirteen stages that
// propose currencies, accounts and categories from shipped standard sets,
// the lists the user ticks and takes over, the default of a page, the
// checks before moving on, and at the end the plan of what to create.
//
// Pages, by the number of the step the next Next runs (currentPage):
//   1 the choice of a standard set, 2 currencies, 4 property accounts,
//   5 asset accounts, 6 debt accounts, 7 source accounts, 8 destination
//   accounts, 10 income, 11 expense and 12 transfer categories, 13 the
//   closing page, whose Next ends the assistant with the plan.
// A refused Next raises a numbered error and changes nothing: 152 without a
// set, 256 without a default currency, 257 without a default property account.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "document/app/AssistantEntry.h"
#include "document/app/NewDocumentPlan.h"
#include "platform/core/value.h"

namespace ch {

enum class AssistantList {
    Currencies,
    PropertyAccounts,
    AssetAccounts,
    DebtAccounts,
    SourceAccounts,
    DestinationAccounts,
    IncomeCategories,
    ExpenseCategories,
    TransferCategories,
};
inline constexpr std::size_t kAssistantListCount = 9;

// What the sheet shows.
struct AssistantView {
    int tab = 0;           // 0 set choice, 1 the two tables, 2 accounts, 4 closing page
    int reachedStage = 1;  // the stage marks 1 to reachedStage are lit
    std::string icon;      // image name of the page icon
    // Names of the explanation texts in their fields (empty: none yet).
    std::string welcomeText, explanation, accountText, categoryText, goodbyeText;
    bool balanceColumn = false;
    bool defaultColumn = false;
    bool plusButton = false;
    AssistantList lists = AssistantList::Currencies;  // the pair the tables show
    std::optional<std::size_t> scrollTo;  // proposed row to bring into view
    bool selectAll = false;               // the select-all box
};

class NewDocumentAssistant {
public:
    enum class Step {
        Moved,     // another page shows
        Refused,   // a check failed; the page stays
        Finished,  // the closing page's Next: plan() is ready
    };

    // `defaultObjects`: standard-set name -> dictionary of entry arrays
    // ("LiquidAssets", "Assets", "Debts", "Sources", "Destinations",
    // "Income", "Expenses", "Transfers"); `currencies`: array of currency
    // entries. Currencies whose symbol is the user's currency code start
    // ticked and default.
    NewDocumentAssistant(const Dictionary& defaultObjects, const Array& currencies,
                         const std::string& systemCurrencyCode);

    // The sheet opens: the set page with the first set chosen; with only one
    // set to choose from the assistant moves on to the currencies at once.
    void start();

    Step next();
    // Shows the page before the current one again, skipping the default
    // checks. Nothing before the currencies page has a Previous.
    Step previous();

    int currentPage() const { return mCurrentPage; }
    const AssistantView& view() const { return mView; }

    // The page on show counted as the user meets them: stages 3 and 9 only
    // introduce the account and category pages that follow, so there are
    // eleven pages to thirteen stages.
    int shownStage() const { return mCurrentPage; }
    int pageNumber() const;
    static constexpr int kPageCount = 11;
    bool onClosingPage() const { return mView.tab == 4; }
    // The names of the explanation texts of the page on show, in order: the
    // first account and category pages also carry the introduction of
    // their kind; the closing page only its own text.
    std::vector<std::string> shownTexts() const;

    const std::vector<std::string>& standardSets() const { return mStandardSets; }
    const std::optional<std::string>& chosenSet() const { return mChosenSet; }
    // The set combo box; a name that is no standard set counts as none.
    void chooseSet(const std::string& name);

    const std::vector<AssistantEntry>& proposed(AssistantList list) const;
    const std::vector<AssistantEntry>& selected(AssistantList list) const;
    const std::vector<AssistantEntry>& currentProposed() const { return proposed(mView.lists); }
    const std::vector<AssistantEntry>& currentSelected() const { return selected(mView.lists); }

    // The search fields: rows of the current lists whose name contains the
    // text in any case (all rows for an empty text), by index.
    void setProposedSearch(std::string text) { mProposedSearch = std::move(text); }
    void setSelectedSearch(std::string text) { mSelectedSearch = std::move(text); }
    const std::string& proposedSearch() const { return mProposedSearch; }
    const std::string& selectedSearch() const { return mSelectedSearch; }
    std::vector<std::size_t> arrangedProposed() const;
    std::vector<std::size_t> arrangedSelected() const;

    // Edits of a row of the current proposed list.
    void setSelected(std::size_t row, bool ticked);   // unticking also clears its default mark
    void setDefault(std::size_t row);                 // the one default of the page, ticked
    void setName(std::size_t row, std::string name);
    void setParentName(std::size_t row, std::string path);
    void setSymbol(std::size_t row, std::string symbol);
    // False (and nothing changed) for a balance beyond kAmountLimit either way.
    bool setInitialBalance(std::size_t row, double balance);

    // The selection tools on the current pair of lists.
    void moveObjectClicked();       // the selected list becomes the ticked entries
    void moveAllObjectsClicked();   // every proposed entry is ticked and added when not yet selected
    // Takes the rows out of the selected list and unticks their entries.
    void removeObjectClicked(const std::vector<std::size_t>& selectedRows);
    void removeAllObjectsClicked();
    // Rows of the proposed list dragged onto the selected list: ticked and
    // taken over, so that what was dragged arrives.
    void takeOverRows(const std::vector<std::size_t>& proposedRows);
    // A new ticked entry at the top; its row. The proposed search is
    // cleared so that the new, nameless row shows for its name to be typed.
    std::size_t addObjectClicked();
    void selectAllClicked(bool on);  // ticks or unticks every arranged entry

    // The default of the current proposed list: the last ticked entry marked
    // default (its row goes to `index`), else the only ticked entry; none
    // otherwise, and none for an entry without a name.
    std::optional<std::string> selectedDefault(std::size_t* index = nullptr) const;
    const std::optional<std::string>& defaultCurrency() const { return mDefaultCurrency; }
    const std::optional<std::string>& defaultPropertyAccount() const { return mDefaultPropertyAccount; }

    // What the selected lists create, in order.
    NewDocumentPlan makePlan() const;
    // The plan of a finished assistant; none while it runs or when cancelled.
    const std::optional<NewDocumentPlan>& plan() const { return mPlan; }
    // Ends the assistant without creating anything.
    void cancel();
    bool ended() const { return mEnded; }

private:
    std::vector<AssistantEntry>& proposedList(AssistantList list);
    std::vector<AssistantEntry>& selectedList(AssistantList list);
    std::vector<AssistantEntry>& currentProposedList() { return proposedList(mView.lists); }
    std::vector<AssistantEntry>& currentSelectedList() { return selectedList(mView.lists); }

    Step runStep();
    void fillProposedLists();
    void mark(int stage);
    void showLists(AssistantList lists, const char* explanation, const char* icon, bool balance, bool defaultColumn);
    std::optional<std::string> selectedByName(AssistantList list, const std::optional<std::string>& name) const;

    Dictionary mDefaultObjects;
    std::vector<std::string> mStandardSets;
    std::optional<std::string> mChosenSet;
    std::vector<AssistantEntry> mProposed[kAssistantListCount];
    std::vector<AssistantEntry> mSelected[kAssistantListCount];
    std::optional<std::string> mDefaultCurrency;
    std::optional<std::string> mDefaultPropertyAccount;
    std::string mProposedSearch, mSelectedSearch;
    AssistantView mView;
    int mCurrentPage = 1;
    bool mInitialized = false;
    bool mBack = false;
    bool mEnded = false;
    std::optional<NewDocumentPlan> mPlan;
};

} // namespace ch
