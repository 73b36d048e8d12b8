#pragma once
// A stand-in for the document in model tests: it owns a model root, hears the
// messages of the lists it is told to follow, and counts the changes it marks.

#include <vector>

#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/DocumentServices.h"
#include "model/foundation/LListener.h"

namespace ch::test {

class FakeDocument : public DocumentServices, public LListener {
public:
    CDocAccounting* accounting() override { return &mRoot; }

    void Follow(CNamedListArray& list) { list.AddListener(this); }

    void ListenToMessage(MessageT message, void* param) override
    {
        if (message != msg::kItemInserted && message != msg::kItemsRemoved) return;
        updateChangeCount();
        auto* object = static_cast<CNonVisual*>(param);
        if (message == msg::kItemInserted && object && object->Get_ObjectType() == type::kTransaction)
            transactionRows.push_back(object);
    }

    void updateChangeCount() override { ++changes; }

    int changes = 0;
    std::vector<CNonVisual*> transactionRows;

private:
    CDocAccounting mRoot;
};

} // namespace ch::test
