#pragma once
// Account owners linked to people of the contacts by the person's UID:
// people dropped on an owner table become owners or refresh the owner
// already linked to them, and a changed person reaches its owner through
// the owner commands (26 new owner, 27 update owner), which read the person
// from the document's contacts when they run.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/contacts_provider.h"

namespace ch {
class CAcoWItem;
class MyDocument;
} // namespace ch

namespace ch::business {

enum class OwnerDropResult { Accepted, Refused };

// People (cards) dropped between rows: one owner per card, in order. A card
// whose UID an owner is linked to refreshes that owner; any other card
// becomes a new owner with the card's name, address and numbers, linked by
// its UID when it has one, so a card the contacts do not hold (a file
// dragged from elsewhere) still names its owner; a card without a name is
// left out. Dropped onto a row: one
// person refreshes the owner linked to it, else links the row's owner (none,
// or a card without UID: nothing happens); several people raise 263 and
// change nothing.
OwnerDropResult dropPeopleOnOwners(MyDocument& document, const std::vector<ContactPerson>& people, bool ontoRow,
                                   const std::shared_ptr<CAcoWItem>& rowOwner);

// Refreshes the owner linked to the UID; false when none is linked.
bool synchroWithUID(MyDocument& document, const std::string& uid);

// The UIDs of people that are in both lists and changed; people who came or
// went do not count.
std::vector<std::string> updatedPeople(const std::vector<ContactPerson>& before,
                                       const std::vector<ContactPerson>& after);

// The UIDs of the linked owners whose name, address or numbers differ from
// what their person's card holds now: the card changed while the books were
// closed.
std::vector<std::string> ownersBehindTheirPeople(MyDocument& document, const ContactsProvider& contacts);

} // namespace ch::business
