#pragma once
// CMxpTItem: the item of a category group ('MxpT'), a folder of categories
// and child groups. Its own balance message becomes "FOLDERBALANCECHANGED",
// tree changes "CHILDFOLDERSCHANGEDNOTIFICATION" and
// "CHILDOBJECTSCHANGEDNOTIFICATION" (object: the item).

#include <memory>
#include <optional>
#include <vector>

#include "bridge/AccountAncestor.h"
#include "bridge/CategoryAncestor.h"

namespace ch {

class CExpTItem;
struct CategoryGroupParameters;

class CMxpTItem : public CategoryAncestor {
public:
    using CategoryAncestor::CategoryAncestor;

    // --- properties (bound: the model; detached: the stored values)
    std::optional<double> getBalance() const override;
    std::optional<double> mBalance() const { return getBalance(); }
    // Changes no model; a detached item keeps the value.
    void setMBalance(std::optional<double> balance);
    std::string outlineBalance() const override;
    std::string outlineCurrency() const override;
    // The group's kind: 0 income, 1 expense, 2 transfer, 3 and 4 other kinds.
    int getMasterType() const;
    std::optional<int> getMasterTypeAsObject() const;
    std::optional<int> mMasterType() const { return getMasterTypeAsObject(); }
    void setMMasterType(std::optional<int> kind);
    Colour getColor() const override;
    std::optional<Colour> mColor() const;
    void setMColor(std::optional<Colour> colour);
    std::optional<long> mParentId() const;
    void setMParentId(std::optional<long> parentId);
    std::optional<double> YTDThisYear() const override;
    std::optional<double> YTDLastYear() const override;
    std::optional<double> AvgMonthThisYear() const override;
    std::optional<double> AvgMonthLastYear() const override;
    std::optional<double> TotalLastYear() const override;
    std::optional<bool> isExpense() const override;
    std::optional<bool> isIncome() const override;
    bool isBold() const override { return true; }
    bool isRootItem() const override { return sourceIsRootItem(); }
    bool canItemBeRelocated() const override { return folderCanBeRelocated(); }
    // A top-level group without categories and child groups.
    bool canSystemTypeBeModified() const;

    // --- collections
    ItemArray children() override;
    std::size_t childrenCount() override { return folderChildrenCount(); }
    std::vector<std::shared_ptr<CExpTItem>> categoryArray();
    ItemArray pieChartChildrenArray() override;
    ItemArray leafArray() override;
    // The lines of the group's whole tree, child groups first.
    LineItemArray forTransactionDetails();
    // Its model lines, in the same order, no item made.
    void appendModelLines(std::vector<CNonVisual*>& lines);

    GXObjectDescriptionStrings getObjectDescription() const override;
    void synchronizeWithParameters(const CategoryGroupParameters& parameters);
    void synchronizeWithObject(const CNonVisualDataItem& other) override;

    // 2004 for the group itself, 2020 and 2021 become notifications.
    void ListenToMessage(MessageT message, void* param) override;

private:
    std::optional<double> mStoredBalance;
    std::optional<int> mStoredMasterType;
    std::optional<Colour> mStoredColor;
    std::optional<long> mStoredParentId;
};

} // namespace ch
