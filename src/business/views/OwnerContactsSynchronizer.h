#pragma once
// Follows the contacts: every person that changed (not one that came or
// went) refreshes its linked owner a little later (4 seconds unless set
// otherwise), so that a burst of edits in the contacts settles first. A
// person no longer linked when the delay ends is ignored. Owners whose card
// changed while the books were closed follow it as soon as the window runs.

#include <QObject>

#include <vector>

#include "platform/core/contacts_provider.h"
#include "platform/core/observable.h"

namespace ch {
class MyDocument;
}

namespace ch::business {

class OwnerContactsSynchronizer : public QObject {
    Q_OBJECT

public:
    static constexpr int kDelayMilliseconds = 4000;

    OwnerContactsSynchronizer(MyDocument& document, ContactsProvider& contacts, QObject* parent = nullptr);

    void setDelay(int milliseconds) { mDelay = milliseconds; }

private:
    void contactsChanged();

    MyDocument& mDocument;
    ContactsProvider& mContacts;
    std::vector<ContactPerson> mKnown;
    Subscription mSubscription;
    int mDelay = kDelayMilliseconds;
};

} // namespace ch::business
