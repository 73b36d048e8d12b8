#pragma once
// What the category, account-type and category-group sheets do without
// their windows: the temporary item each edits, its checks on OK, and the
// command with its follow-ups when it ends.

#include <memory>
#include <string_view>

#include "ui/sheets/SheetParameters.h"

namespace ch {

class CAccTItem;
class CExpTItem;
class CMxpTItem;

namespace sheet_key {
inline constexpr std::string_view kMasterExpenseType = "MASTEREXPT";   // a category group id
inline constexpr std::string_view kSystemExpenseType = "SYSTEMEXPT";   // a group kind
inline constexpr std::string_view kMasterAccountType = "MASTERACCOUNTTYPE";
} // namespace sheet_key

// The category sheet: command 15 (new) or 14 (modify). Checks: 204 no
// group, 202 no name, 266 name in use; with an import line whose counter
// account exists, 208 when a property account gets no transfer group and
// 231 when another account gets one. A new category's id completes the
// import line. Call-back: "NEWKEY" is the new or the modified id.
class CategorySheetLogic {
public:
    void initialize(const SheetParameters& parameters);
    SheetDocument* document() const { return mDocument; }
    const std::shared_ptr<CExpTItem>& temporaryItem() const { return mTemporaryItem; }
    const std::shared_ptr<CExpTItem>& itemToModify() const { return mItemToModify; }
    bool checkContents() const;
    void dialogClosed(int returnCode, const SheetParameters& context);

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CExpTItem> mTemporaryItem;
    std::shared_ptr<CExpTItem> mItemToModify;
    std::shared_ptr<ImportLine> mImportLine;
};

// The account-type sheet: command 11 (new) or 10 (modify). Checks: 202 no
// name, 266 name in use. The kind is preset ("MASTERACCOUNTTYPE") and not
// chosen; "ACNTTYPE" is the parent type.
class AccountTypeSheetLogic {
public:
    void initialize(const SheetParameters& parameters);
    SheetDocument* document() const { return mDocument; }
    const std::shared_ptr<CAccTItem>& temporaryItem() const { return mTemporaryItem; }
    const std::shared_ptr<CAccTItem>& itemToModify() const { return mItemToModify; }
    bool checkContents() const;
    void dialogClosed(int returnCode, const SheetParameters& context);

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CAccTItem> mTemporaryItem;
    std::shared_ptr<CAccTItem> mItemToModify;
};

// The category-group sheet: command 17 (new) or 16 (modify). Checks: 204 no
// kind, 202 no name, 266 name in use.
class CategoryGroupSheetLogic {
public:
    void initialize(const SheetParameters& parameters);
    SheetDocument* document() const { return mDocument; }
    // Whether the kind may be chosen: for a new group, and for a top-level
    // group that holds neither categories nor groups and is not one of the
    // fixed default groups.
    bool kindMayChange() const;
    const std::shared_ptr<CMxpTItem>& temporaryItem() const { return mTemporaryItem; }
    const std::shared_ptr<CMxpTItem>& itemToModify() const { return mItemToModify; }
    bool checkContents() const;
    void dialogClosed(int returnCode, const SheetParameters& context);

private:
    SheetDocument* mDocument = nullptr;
    std::shared_ptr<CMxpTItem> mTemporaryItem;
    std::shared_ptr<CMxpTItem> mItemToModify;
};

} // namespace ch
