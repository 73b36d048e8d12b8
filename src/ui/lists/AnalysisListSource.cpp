#include "ui/lists/AnalysisListSource.h"

#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"

namespace ch {

AnalysisListSource::AnalysisListSource(std::shared_ptr<CAnalysisArrayEncaplusator> lines) : mLines(std::move(lines))
{
    if (!mLines) return;
    mLines->setMbZeroBasedCalled(true);
    // Newest first: the order a person reads an account in.
    mLines->setReverse(true);
    mLines->dateSort();
}

std::size_t AnalysisListSource::count() const
{
    return mLines ? mLines->count() : 0;
}

CNonVisualDataItem::Ptr AnalysisListSource::itemAt(std::size_t index) const
{
    if (!mLines || index >= count()) return nullptr;
    return mLines->getObjectAtIndex(static_cast<int>(index));
}

} // namespace ch
