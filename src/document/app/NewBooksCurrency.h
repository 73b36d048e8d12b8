#pragma once
// The home currency new books start with.

#include <string>

namespace ch {

class UserDefaults;

// The user's currency symbol ("NSCurrencySymbol" when set, else the
// locale's) in Mac OS Roman, as the model stores names. A symbol Mac OS
// Roman cannot write gives way to the currency's ISO code, so that new
// books never start with a home currency without a name.
std::string newBooksCurrencySymbol(const UserDefaults& defaults);

} // namespace ch
