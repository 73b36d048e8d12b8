#include "business/OwnerContactsLinking.h"

#include <map>
#include <tuple>

#include "bridge/CAcoWItem.h"
#include "document/MyDocument.h"
#include "document/arguments/CAcoWArguments.h"
#include "model/foundation/CErrorManager.h"

namespace ch::business {

namespace {

constexpr int kNewOwner = 26;
constexpr int kUpdateOwner = 27;

arguments::CAcoWArguments argumentsForUID(const std::string& uid)
{
    arguments::CAcoWArguments values;
    values.UID = uid;
    return values;
}

bool sameValues(const std::vector<ContactValue>& a, const std::vector<ContactValue>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].types != b[i].types || a[i].value != b[i].value || a[i].preferred != b[i].preferred) return false;
    return true;
}

bool samePerson(const ContactPerson& a, const ContactPerson& b)
{
    return std::tie(a.flags, a.firstName, a.lastName, a.organization, a.addresses, a.imageData) ==
               std::tie(b.flags, b.firstName, b.lastName, b.organization, b.addresses, b.imageData) &&
           sameValues(a.phones, b.phones) && sameValues(a.emails, b.emails);
}

// Whether the owner shows what the card gives it.
bool ownerFollows(const CAcoWItem& owner, const ContactPerson& person)
{
    const auto detached = std::make_shared<CAcoWItem>();
    CAcoWItem& card = *detached;
    card.synchronizeWithABPerson(person);
    auto same = [](const std::optional<std::string>& a, const std::optional<std::string>& b) {
        return a.value_or("") == b.value_or("");
    };
    const bool asPerson = (person.flags & ContactPerson::kShowAsMask) == ContactPerson::kShowAsPerson;
    return (card.getName().empty() || card.getName() == owner.getName()) &&
           (!asPerson || same(card.firstName(), owner.firstName())) &&
           same(card.officialAddress(), owner.officialAddress()) && same(card.phone(), owner.phone()) &&
           same(card.fax(), owner.fax()) && same(card.eMail(), owner.eMail());
}

} // namespace

OwnerDropResult dropPeopleOnOwners(MyDocument& document, const std::vector<ContactPerson>& people, bool ontoRow,
                                   const std::shared_ptr<CAcoWItem>& rowOwner)
{
    if (!ontoRow) {
        for (const ContactPerson& person : people) {
            // The card's own fields travel with the UID: the command reads the
            // person from the contacts when they hold it, else keeps these.
            auto card = std::make_shared<CAcoWItem>();
            card->synchronizeWithABPerson(person);
            // A card without a name would make an owner no one can tell apart.
            if (card->getName().empty()) continue;
            arguments::CAcoWArguments values;
            card->getCAcoWArgumentsWithOwnerData(values);
            values.sourceItem.reset();
            if (person.uid.empty()) values.UID.reset();
            document.commandExecutor().executeCommand(kNewOwner, nullptr, values);
        }
        return OwnerDropResult::Accepted;
    }
    if (people.size() > 1) {
        CErrorManager::RaiseError(263);
        return OwnerDropResult::Refused;
    }
    if (people.empty() || people.front().uid.empty()) return OwnerDropResult::Accepted;
    const std::string& uid = people.front().uid;
    std::shared_ptr<CAcoWItem> owner = document.getAccountOwnerForUID(uid);
    if (!owner) owner = rowOwner;
    if (owner) {
        const arguments::CAcoWArguments values = argumentsForUID(uid);
        document.commandExecutor().executeCommand(kUpdateOwner, owner, values);
    }
    return OwnerDropResult::Accepted;
}

bool synchroWithUID(MyDocument& document, const std::string& uid)
{
    const std::shared_ptr<CAcoWItem> owner = document.getAccountOwnerForUID(uid);
    if (!owner) return false;
    const arguments::CAcoWArguments values = argumentsForUID(uid);
    document.commandExecutor().executeCommand(kUpdateOwner, owner, values);
    return true;
}

std::vector<std::string> updatedPeople(const std::vector<ContactPerson>& before,
                                       const std::vector<ContactPerson>& after)
{
    std::map<std::string, const ContactPerson*> earlier;
    for (const ContactPerson& person : before)
        if (!person.uid.empty()) earlier[person.uid] = &person;
    std::vector<std::string> changed;
    for (const ContactPerson& person : after) {
        const auto found = earlier.find(person.uid);
        if (found != earlier.end() && !samePerson(*found->second, person)) changed.push_back(person.uid);
    }
    return changed;
}

std::vector<std::string> ownersBehindTheirPeople(MyDocument& document, const ContactsProvider& contacts)
{
    std::vector<std::string> behind;
    for (const std::shared_ptr<CAcoWItem>& owner : document.mOwnerArray()) {
        if (!owner || !owner->isABOwner()) continue;
        const std::string uid = owner->UID().value_or("");
        const std::optional<ContactPerson> person = contacts.personWithUID(uid);
        if (person && !ownerFollows(*owner, *person)) behind.push_back(uid);
    }
    return behind;
}

} // namespace ch::business
