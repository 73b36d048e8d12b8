#include "ui/SideBarTree.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CAccTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "model/CAccountTypeArray.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseTypeArray.h"
#include "model/ModelCodes.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

struct HeaderEntry {
    int level;
    std::string_view titleKey;
    const char (&type)[5];
    std::string_view icon;
};

CNonVisualDataItem::Ptr header(const HeaderEntry& entry)
{
    return makeHeaderNode(entry.titleKey, entry.level, fourCC(entry.type), entry.icon);
}

} // namespace

std::string_view titleKeyOf(SideBarRootKind kind)
{
    switch (kind) {
    case SideBarRootKind::OwnProperty: return "OwnProperty";
    case SideBarRootKind::Debt: return "Debt";
    case SideBarRootKind::ProfitAndLoss: return "PLAcctName";
    case SideBarRootKind::Assets: return "Assets";
    case SideBarRootKind::Income: return "incomeMxpTName";
    case SideBarRootKind::Expense: return "expenseMxpTName";
    case SideBarRootKind::Transfer: return "transferMxpTName";
    }
    return {};
}

CNonVisualDataItem::ItemArray makeAccountTypeArray(CNonVisualDataItemController& registry,
                                                   const CNamedListArray* list)
{
    CNonVisualDataItem::ItemArray items;
    if (!list) return items;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
        CNonVisual* object = list->ObjectAt(i);
        if (!object) continue;
        if (object->Get_ObjectType() == type::kMasterExpenseType)
            items.push_back(registry.categoryTypeItemForCategoryType(object));
        else
            items.push_back(registry.accountTypeItemForAccountType(object));
    }
    return items;
}

CNonVisualDataItem::ItemArray topLevelFolders(BridgeDocument& document, SideBarRootKind kind)
{
    CDocAccounting* root = document.accounting();
    if (!root) return {};
    CNonVisualDataItemController& registry = document.dataItemController();
    const CAccountTypeArray* types = root->mAccountTypeList.get();
    const CMasterExpenseTypeArray* groups = root->mMasterExpenseTypeList.get();
    switch (kind) {
    case SideBarRootKind::OwnProperty:
        return makeAccountTypeArray(registry, types->Get_SubList(CAccountTypeArray::kTopLevelOwnProperty));
    case SideBarRootKind::Debt:
        return makeAccountTypeArray(registry, types->Get_SubList(CAccountTypeArray::kTopLevelDebt));
    case SideBarRootKind::ProfitAndLoss:
        return makeAccountTypeArray(registry, types->Get_SubList(CAccountTypeArray::kTopLevelProfitAndLoss));
    case SideBarRootKind::Assets:
        return makeAccountTypeArray(registry, types->Get_SubList(CAccountTypeArray::kTopLevelOther));
    case SideBarRootKind::Income:
        return makeAccountTypeArray(registry, groups->Get_SubList(CMasterExpenseTypeArray::kIncomeLike));
    case SideBarRootKind::Expense:
        return makeAccountTypeArray(registry, groups->Get_SubList(CMasterExpenseTypeArray::kExpense));
    case SideBarRootKind::Transfer:
        return makeAccountTypeArray(registry, groups->Get_SubList(CMasterExpenseTypeArray::kTransfer));
    }
    return {};
}

CNonVisualDataItem::Ptr makeHeaderNode(std::string_view titleKey, int level, FourCharCode type,
                                       std::string_view iconName)
{
    auto node = std::make_shared<CNonVisualDataItem>();
    node->setGetName(localized(titleKey));
    node->setHeaderLevel(level);
    node->setObjectType(type);
    node->setIconName(std::string(iconName));
    return node;
}

SideBarTree makeSideBarTree(BridgeDocument& document)
{
    SideBarTree tree;
    auto withChildren = [](CNonVisualDataItem::Ptr node, CNonVisualDataItem::ItemArray children) {
        node->setChildren(std::move(children));
        return node;
    };
    auto folderHeader = [&](SideBarRootKind kind, const HeaderEntry& entry) {
        auto node = withChildren(header(entry), topLevelFolders(document, kind));
        tree.kindHeaders[static_cast<std::size_t>(kind)] = node;
        return node;
    };

    auto transactions = withChildren(header({1, "TRANSBUTTON", "TrnS", "transactions"}),
                                     {header({2, "TRANSBUTTON", "TrnS", "transactions"}),
                                      header({2, "RECURRINGBUTTON", "RcrT", "recurringTrans"}),
                                      header({2, "GENERATEDBUTTON", "UnlT", "generatedTrans"})});
    auto accounts = withChildren(
        header({1, "ACCOUNTBUTTON", "AccT", "accounts"}),
        {folderHeader(SideBarRootKind::OwnProperty, {2, "OwnProperty", "AccT", "acntProperty"}),
         folderHeader(SideBarRootKind::Debt, {2, "Debt", "AccT", "acntDebt"}),
         folderHeader(SideBarRootKind::ProfitAndLoss, {2, "PLAcctName", "AccT", "acntP&L"}),
         folderHeader(SideBarRootKind::Assets, {2, "Assets", "AccT", "acntAsset"})});
    auto categories = withChildren(
        header({1, "REASONBUTTON", "MxpT", "categories"}),
        {folderHeader(SideBarRootKind::Income, {2, "incomeMxpTName", "MxpT", "exptIncome"}),
         folderHeader(SideBarRootKind::Expense, {2, "expenseMxpTName", "MxpT", "exptExpense"}),
         folderHeader(SideBarRootKind::Transfer, {2, "transferMxpTName", "MxpT", "exptTransfer"})});
    auto shares = header({1, "SHAREBUTTON", "ShaR", "stocks"});
    auto owners = withChildren(header({1, "OWNERBUTTON", "AcoW", "accountowners"}),
                               {header({2, "CUSTOMERBUTTON", "CusT", "customers"}),
                                header({2, "SUPPLIERBUTTON", "SupL", "suppliers"})});
    auto currencies = header({1, "CURRENCYBUTTON", "CurR", "currencies"});
    auto creditCards = header({1, "CREDITCARDBUTTON", "CcrD", "creditcards"});
    auto vat = withChildren(header({1, "VATTROOTTITLE", "VatP", "vatIcon32"}),
                            {header({2, "VATPERIODTITLE", "VatP", "transactions"}),
                             header({2, "VATRATETITLE", "VatR", "recurringTrans"})});
    tree.roots = {transactions, accounts, categories, shares, owners, currencies, creditCards, vat};
    return tree;
}

} // namespace ch
