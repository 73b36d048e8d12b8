#pragma once
// The booking lines of an account, category, account type or group as a
// list table reads them: through the object's analysis array, newest first
// with running balances, a line's item made only when its row is asked.

#include <memory>

#include "ui/lists/ItemListSource.h"

namespace ch {

class CAnalysisArrayEncaplusator;

class AnalysisListSource : public ItemListSource {
public:
    // None: an empty list.
    explicit AnalysisListSource(std::shared_ptr<CAnalysisArrayEncaplusator> lines);
    std::size_t count() const override;
    CNonVisualDataItem::Ptr itemAt(std::size_t index) const override;

private:
    std::shared_ptr<CAnalysisArrayEncaplusator> mLines;
};

} // namespace ch
