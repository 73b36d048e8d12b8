#pragma once
// The text of the warning that damaged books open with: message 296 and,
// in it, one line per finding of the reading (BooksDamage.h), each naming
// what is wrong and where (the object, the id, the first transaction
// concerned), at most kShownFindings of them and then how many more.

#include <cstddef>
#include <string>

namespace ch {

class BooksDamage;
class CDocAccounting;

// The numbered warning of books that open damaged.
inline constexpr long kBooksDamagedWarning = 296;

inline constexpr std::size_t kShownFindings = 8;

// The lines of the findings (localized), one per line.
std::string booksDamageLines(const BooksDamage& damage, const CDocAccounting& books);
// The whole message of warning 296.
std::string booksDamageMessage(const BooksDamage& damage, const CDocAccounting& books);

} // namespace ch
