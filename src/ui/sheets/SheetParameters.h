#pragma once
// The parameter dictionary with which a sheet is opened: keyed values, the
// keys the sheets share as named constants (each sheet's own keys are in its
// header). A value is a number, a text, a bridge item, the document, a
// call-back receiver, a mutable dictionary or an import line.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/core/value.h"

namespace ch {

class CNonVisualDataItem;
class SheetDocument;

// Receives the call-backs a sheet makes after its command ran, by name
// ("setFromAccountId:", "synchronizeTableCallback:", ...).
class CallbackReceiver {
public:
    virtual ~CallbackReceiver() = default;
    // False when the receiver does not answer the name.
    virtual bool performCallback(std::string_view selectorName, const std::shared_ptr<Dictionary>& arguments) = 0;
};

// The imported statement line that a new object completes.
class ImportLine {
public:
    virtual ~ImportLine() = default;
    virtual std::optional<long> mOtherAccountId() const = 0;
    virtual void setMOtherAccountId(long accountId) = 0;
    virtual void setMCounterPartyId(long ownerId) = 0;
    virtual void setMExpenseTypeId(long categoryId, bool recalculate) = 0;
};

namespace sheet_key {
inline constexpr std::string_view kDocument = "DOCUMENT";
inline constexpr std::string_view kDialogAction = "DIALOGACTION";
inline constexpr std::string_view kCallbackObject = "CALLBACKOBJECT";
inline constexpr std::string_view kCallbackSelectorName = "CALLBACKSELECTORNAME";
inline constexpr std::string_view kCallbackArguments = "CALLBACKARGUMENTS";
inline constexpr std::string_view kNewKey = "NEWKEY";
inline constexpr std::string_view kImportRecord = "IMPORTRECORD";
inline constexpr std::string_view kName = "NAME";
inline constexpr std::string_view kOwnerId = "OWNERID";
inline constexpr std::string_view kCurrencyId = "CURRENCYID";
inline constexpr std::string_view kAccountToModify = "ACCOUNTTOMODIFY";
inline constexpr std::string_view kOwnerToModify = "OWNERTOMODIFY";
inline constexpr std::string_view kExpenseTypeToModify = "EXPENSETYPETOMODIFY";
inline constexpr std::string_view kAccountTypeToModify = "ACCOUNTTYPETOMODIFY";
inline constexpr std::string_view kMasterExpenseTypeToModify = "MASTEREXPENSETYPETOMODIFY";
inline constexpr std::string_view kCurrencyToModify = "CURRENCYTOMODIFY";
// The account type of a new account, the parent type of a new account type.
inline constexpr std::string_view kAccountType = "ACNTTYPE";
} // namespace sheet_key

// Dialog actions.
inline constexpr int kActionCreate = 1;
inline constexpr int kActionModify = 2;

class SheetParameters {
public:
    using Item = std::shared_ptr<CNonVisualDataItem>;
    using Entry = std::variant<long, double, std::string, Item, SheetDocument*, CallbackReceiver*,
                               std::shared_ptr<Dictionary>, std::shared_ptr<ImportLine>>;

    SheetParameters() = default;
    SheetParameters(std::initializer_list<std::pair<const std::string, Entry>> entries);

    void set(std::string_view key, Entry value);
    void remove(std::string_view key);
    bool contains(std::string_view key) const;

    // A number (a real truncated); none for another kind of value.
    std::optional<long> number(std::string_view key) const;
    std::optional<double> real(std::string_view key) const;
    std::optional<std::string> text(std::string_view key) const;
    Item item(std::string_view key) const;
    template <class T>
    std::shared_ptr<T> itemAs(std::string_view key) const
    {
        return std::dynamic_pointer_cast<T>(item(key));
    }
    SheetDocument* document(std::string_view key = sheet_key::kDocument) const;
    CallbackReceiver* receiver(std::string_view key = sheet_key::kCallbackObject) const;
    std::shared_ptr<Dictionary> dictionary(std::string_view key) const;
    std::shared_ptr<ImportLine> importLine(std::string_view key = sheet_key::kImportRecord) const;

private:
    template <class T>
    const T* find(std::string_view key) const;

    std::map<std::string, Entry, std::less<>> mEntries;
};

} // namespace ch
