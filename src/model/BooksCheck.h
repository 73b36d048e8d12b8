#pragma once
// The check of a set of books as a whole, made once it has been read: what
// each record read well enough on its own but the books cannot have.
//   - no two objects of a list share an id (the lists that refuse a second
//     one already made the reader renumber it);
//   - every booking line names an account or category that exists (a
//     category line may name none: an id of 0 or less), and a currency that
//     exists;
//   - every posted transaction balances (CTransaction::SidesAgree);
//   - every transaction names a currency that exists; every account an
//     account type, a currency and an owner that exist (owner 1, the
//     person's own, may be missing: files older than the owners lack it);
//     every category a group that exists;
//   - every line of a budget names what the budget holds.
// Budget details that name an account or category the books no longer hold
// are not damage: deleting an account leaves its budget lines behind.

namespace ch {

class BooksDamage;
class CDocAccounting;

// Notes what is wrong; changes nothing in the books.
void CheckBooks(const CDocAccounting& books, BooksDamage& damage);

} // namespace ch
