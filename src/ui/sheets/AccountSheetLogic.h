#pragma once
// What the account sheet does without its window: the temporary account it
// edits (preset from the dictionary for a new account, a copy of the account
// to modify), the checks on OK, and the command with its follow-ups when it
// ends.
//
// Keys of its own: "BANKACCOUNTNR", "ACNTTYPE" (an account type id, or the
// text "OWNPROPERTY" for type 1 or "P&L" for type 3), "ACCOUNTSPECIALTYPE".

#include <memory>
#include <optional>
#include <string_view>

#include "ui/sheets/SheetParameters.h"

namespace ch {

class CAcnTItem;

namespace sheet_key {
inline constexpr std::string_view kBankAccountNr = "BANKACCOUNTNR";
inline constexpr std::string_view kAccountSpecialType = "ACCOUNTSPECIALTYPE";
} // namespace sheet_key

class AccountSheetLogic {
public:
    static constexpr int kCreditCard = 1;

    void initialize(const SheetParameters& parameters);

    SheetDocument* document() const { return mDocument; }
    const std::shared_ptr<CAcnTItem>& temporaryItem() const { return mTemporaryItem; }
    const std::shared_ptr<CAcnTItem>& itemToModify() const { return mItemToModify; }
    int action() const { return mAction; }
    // 0 an ordinary account, 1 a credit card.
    int page() const { return mPage; }
    // Whether the account types are offered (not when a text other than the
    // two known kinds was given), and whether the user may choose one (not
    // when the kind was given as text).
    bool listsAccountTypes() const { return mListsAccountTypes; }
    bool accountTypeChoosable() const { return mAccountTypeChoosable; }

    // 200 no currency, 203 no account type, 202 no name, 266 name in use.
    bool checkContents() const;
    // Code > 0: command 13 (new) or 12 (modify); see the class comment.
    void dialogClosed(int returnCode, const SheetParameters& context);

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CAcnTItem> mTemporaryItem;
    std::shared_ptr<CAcnTItem> mItemToModify;
    int mAction = kActionCreate;
    int mPage = 0;
    bool mListsAccountTypes = true;
    bool mAccountTypeChoosable = true;
};

} // namespace ch
