#include "model/BooksDamage.h"

#include "model/CDebit.h"
#include "model/CNonVisual.h"
#include "model/CTransaction.h"

namespace ch {
namespace {

// A finding of the kind about the object: its kind, id and name.
BooksFinding About(BooksFinding::Kind kind, const CNonVisual& object)
{
    BooksFinding finding;
    finding.kind = kind;
    finding.type = object.Get_ObjectType();
    finding.id = object.Get_Id();
    finding.name = object.Get_StringrefName();
    return finding;
}

} // namespace

void BooksDamage::Clear()
{
    mFindings.clear();
    mGathered.clear();
}

void BooksDamage::NoteIdTaken(const CNonVisual& object, ObjectIdT oldId, const CNonVisual& holder)
{
    BooksFinding finding = About(BooksFinding::Kind::IdTaken, object);
    finding.id = oldId;
    finding.newId = object.Get_Id();
    finding.otherName = holder.Get_StringrefName();
    mFindings.push_back(std::move(finding));
}

void BooksDamage::NoteIdShared(const CNonVisual& first, const CNonVisual& second)
{
    BooksFinding finding = About(BooksFinding::Kind::IdShared, second);
    finding.name = first.Get_StringrefName();
    finding.otherName = second.Get_StringrefName();
    mFindings.push_back(std::move(finding));
}

void BooksDamage::NoteLineOnMissing(FourCharCode type, ObjectIdT id, const CTransaction* transaction,
                                    ObjectIdT bookedOn)
{
    bool made = false;
    BooksFinding& finding = Gathered(BooksFinding::Kind::LinesOnMissing, type, id, made);
    if (made) {
        finding.newId = bookedOn;
        if (transaction) {
            finding.name = transaction->Get_StringrefName();
            finding.date = transaction->Get_mDate();
        }
    } else {
        ++finding.count;
    }
}

void BooksDamage::NoteUnbalanced(const CTransaction& transaction, double debits, double credits)
{
    BooksFinding finding = About(BooksFinding::Kind::Unbalanced, transaction);
    finding.date = transaction.Get_mDate();
    finding.debits = debits;
    finding.credits = credits;
    mFindings.push_back(std::move(finding));
}

void BooksDamage::NoteMissingReference(FourCharCode type, ObjectIdT id, const CNonVisual& referrer)
{
    bool made = false;
    BooksFinding& finding = Gathered(BooksFinding::Kind::MissingReference, type, id, made);
    if (!made) {
        ++finding.count;
        return;
    }
    const CNonVisual* named = &referrer;
    // A line is told by its transaction.
    if (const auto* line = dynamic_cast<const CDebit*>(&referrer); line && line->Get_mTransactionPtr())
        named = line->Get_mTransactionPtr();
    finding.name = named->Get_StringrefName();
    if (const auto* transaction = dynamic_cast<const CTransaction*>(named)) finding.date = transaction->Get_mDate();
}

void BooksDamage::NoteBudgetLinesNotKept(const CNonVisual& budget, std::size_t count)
{
    BooksFinding finding = About(BooksFinding::Kind::BudgetLinesNotKept, budget);
    finding.count = count;
    mFindings.push_back(std::move(finding));
}

BooksFinding& BooksDamage::Gathered(BooksFinding::Kind kind, FourCharCode type, ObjectIdT id, bool& made)
{
    const auto key = std::make_pair(static_cast<int>(kind), std::make_pair(type, id));
    const auto [at, inserted] = mGathered.emplace(key, mFindings.size());
    made = inserted;
    if (inserted) {
        BooksFinding finding;
        finding.kind = kind;
        finding.type = type;
        finding.id = id;
        mFindings.push_back(std::move(finding));
    }
    return mFindings[at->second];
}

} // namespace ch
