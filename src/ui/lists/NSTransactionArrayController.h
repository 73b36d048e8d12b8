#pragma once
// NSTransactionArrayController: the lists of the transactions page. The
// flag, period and search filters of CTransactionArrayController, and one
// rule of its own: the row last inserted stays in the list whatever the
// filters say, once - the next filtered arrangement that meets it forgets
// it - so that a transaction just booked is shown (and can be selected)
// even when the search or a filter would leave it out.

#include "ui/lists/CTransactionArrayController.h"

namespace ch {

class NSTransactionArrayController : public CTransactionArrayController {
public:
    // The item just joined the list (the list itself already holds it):
    // remembered, then the list arranged again.
    void insertObject(const CNonVisualDataItem::Ptr& item);
    // Whether an inserted row waits to be met.
    bool holdsNewObject() const { return mNewSource != nullptr; }

protected:
    bool accepts(const CNonVisualDataItem& item) const override;
    std::optional<bool> acceptsObject(const CNonVisual& object) const override;

private:
    // The inserted row's model object; compared only, never read.
    mutable const CNonVisual* mNewSource = nullptr;
};

} // namespace ch
