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

// People dropped between rows: one new (or refreshed) owner per UID, in
// order. Dropped onto a row: one person refreshes the owner linked to it,
// else links the row's owner (none: nothing happens); several people raise
// 263 and change nothing.
OwnerDropResult dropPeopleOnOwners(MyDocument& document, const std::vector<std::string>& uids, bool ontoRow,
                                   const std::shared_ptr<CAcoWItem>& rowOwner);

// Refreshes the owner linked to the UID; false when none is linked.
bool synchroWithUID(MyDocument& document, const std::string& uid);

// The UIDs of people that are in both lists and changed; people who came or
// went do not count.
std::vector<std::string> updatedPeople(const std::vector<ContactPerson>& before,
                                       const std::vector<ContactPerson>& after);

} // namespace ch::business
