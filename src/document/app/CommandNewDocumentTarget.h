#pragma once
// The new-document assistant's plan carried out on a document through its
// numbered commands, so that what the assistant creates is journaled and
// counted as a change like any other edit.

#include "document/app/NewDocumentPlan.h"

namespace ch {

class MyDocument;

class CommandNewDocumentTarget : public NewDocumentTarget {
public:
    explicit CommandNewDocumentTarget(MyDocument& document) : mDocument(document) {}

    void modifyHomeCurrency(const PlannedCurrency& currency) override;
    void createCurrency(const PlannedCurrency& currency) override;
    void modifyDefaultPropertyAccount(const PlannedAccount& account) override;
    void createAccount(const PlannedAccount& account) override;
    std::optional<long> findCategoryGroup(const std::string& name) override;
    long createCategoryGroup(const std::string& name, long parentId, long masterType) override;
    void createCategory(const std::string& name, long parentId) override;

private:
    MyDocument& mDocument;
};

} // namespace ch
