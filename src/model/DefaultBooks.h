#pragma once
// The default set of books of a new document: settings, the own owner "Me",
// the home currency, four account types, four accounts, five category groups
// and six categories, all with the fixed ids (0 to 6) that the settings'
// default accounts and categories name. Names and descriptions are localized
// texts looked up by key, so the books come up in the user's language.

namespace ch {

class CDocAccounting;

// Fills a root that has just been made and holds no objects. The home
// currency is named by the 8-bit symbol (cut like any currency name).
void BuildDefaultBooks(CDocAccounting& root, const char* homeCurrencySymbol);

} // namespace ch
