#pragma once
// BooksDamage: what reading a set of books found wrong that the model stream
// itself cannot vouch for (a record has no checksum: a damaged id or amount
// reads as well as a sound one). The reader notes what it had to change to
// keep an object (an id taken twice, a line on an account that does not
// exist); the check after it (BooksCheck.h) notes what the books as a whole
// get wrong. Findings about the same missing object are gathered into one,
// with a count. The document tells the person every finding and refuses to
// save over the file, so that nothing is lost or changed in silence.

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/foundation/ModelTypes.h"
#include "platform/core/four_char_code.h"

namespace ch {

class CNonVisual;
class CTransaction;

struct BooksFinding {
    enum class Kind {
        IdTaken,            // an object had the id of another of its list; it now has newId
        IdShared,           // two objects of one list share the id
        LinesOnMissing,     // lines name the account or category `id` (of `type`), which does not exist;
                            // newId: the account they were booked on instead (0: none)
        Unbalanced,         // a posted transaction whose debit and credit totals differ
        MissingReference,   // objects name the `type` (currency, owner, account type, group) `id`,
                            // which does not exist
        BudgetLinesNotKept, // lines of a budget that name nothing it has
    };
    Kind kind = Kind::IdShared;
    FourCharCode type = 0;       // the kind of object the id belongs to
    ObjectIdT id = 0;
    ObjectIdT newId = 0;
    std::string name;            // the object concerned, or the first transaction or object naming the id
    std::string otherName;       // IdTaken, IdShared: the other object with the id
    DateT date = 0;              // the date of the transaction named (0: none)
    double debits = 0.0;         // Unbalanced: the two sides in the home currency
    double credits = 0.0;
    std::size_t count = 1;       // lines, objects or budget lines concerned
};

class BooksDamage {
public:
    bool Empty() const { return mFindings.empty(); }
    const std::vector<BooksFinding>& Findings() const { return mFindings; }
    void Clear();

    // The object had the id `oldId` of `holder`, of the same list; it was kept with its new id.
    void NoteIdTaken(const CNonVisual& object, ObjectIdT oldId, const CNonVisual& holder);
    // Two objects of a list that takes them both share their id.
    void NoteIdShared(const CNonVisual& first, const CNonVisual& second);
    // A line of the transaction names the account or category (`type`) `id`,
    // which does not exist; `bookedOn` is the account it went to instead (0: none).
    void NoteLineOnMissing(FourCharCode type, ObjectIdT id, const CTransaction* transaction,
                           ObjectIdT bookedOn = 0);
    void NoteUnbalanced(const CTransaction& transaction, double debits, double credits);
    // The object (or, for a line, its transaction) names the `type` `id`, which does not exist.
    void NoteMissingReference(FourCharCode type, ObjectIdT id, const CNonVisual& referrer);
    void NoteBudgetLinesNotKept(const CNonVisual& budget, std::size_t count);

private:
    // The finding gathering what is said about the missing object, made when new.
    BooksFinding& Gathered(BooksFinding::Kind kind, FourCharCode type, ObjectIdT id, bool& made);

    std::vector<BooksFinding> mFindings;
    std::map<std::pair<int, std::pair<FourCharCode, ObjectIdT>>, std::size_t> mGathered;   // -> index
};

} // namespace ch
