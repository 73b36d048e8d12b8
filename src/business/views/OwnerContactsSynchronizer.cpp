#include "business/views/OwnerContactsSynchronizer.h"

#include <QPointer>
#include <QTimer>

#include "business/OwnerContactsLinking.h"

namespace ch::business {

OwnerContactsSynchronizer::OwnerContactsSynchronizer(MyDocument& document, ContactsProvider& contacts, QObject* parent)
    : QObject(parent), mDocument(document), mContacts(contacts), mKnown(contacts.people())
{
    mSubscription = mContacts.observeChanges([this] { contactsChanged(); });
    // A card changed while the books were closed is caught up once they show.
    QTimer::singleShot(0, this, [this] {
        for (const std::string& uid : ownersBehindTheirPeople(mDocument, mContacts)) synchroWithUID(mDocument, uid);
    });
}

void OwnerContactsSynchronizer::contactsChanged()
{
    std::vector<ContactPerson> now = mContacts.people();
    const std::vector<std::string> changed = updatedPeople(mKnown, now);
    mKnown = std::move(now);
    for (const std::string& uid : changed) {
        QTimer::singleShot(mDelay, this, [this, uid] { synchroWithUID(mDocument, uid); });
    }
}

} // namespace ch::business
