#pragma once
// Argument objects of the category and category-group commands: the bridge's
// records of the same names plus the ids the commands need besides. Without
// an id (a new object) "idKey" is written as -1; without a colour they read
// back with opaque white.

#include <optional>
#include <string>

#include "bridge/ArgumentRecords.h"
#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

// Modify category (14) and new category (15). The record's mMasterTypeId is
// the system type.
class CategoryParameters : public CArgumentAncestor, public ch::CategoryParameters {
public:
    std::optional<long> idKey;
    std::optional<long> mParentId;   // the category group

    std::string argumentClass() const override { return "CategoryParameters"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Modify category group (16) and new category group (17).
class CategoryGroupParameters : public CArgumentAncestor, public ch::CategoryGroupParameters {
public:
    std::optional<long> idKey;
    std::optional<double> mBalance;
    std::optional<int> mMasterType;   // the system type

    std::string argumentClass() const override { return "CategoryGroupParameters"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments
