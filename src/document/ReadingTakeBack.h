#pragma once
// What reading a statement file made in the books (the accounts, category
// groups and categories a QIF file creates as it is read), so that
// cancelling the import takes it back: every object the reading made that
// nothing uses (no booking, budget, recurring or unlinked transaction, no
// setting, no account's default category, no owner's invoice account, no
// group content) is deleted again, through the deletion command.
//
// When the books changed in no other way since the reading (the change
// count is the one the reading left), they are as before the import: the
// change count returns to the one before it, and the journal loses the
// entries of the reading and of its taking back, so that nothing is offered
// for replay that the books do not need. Otherwise the deletions stay
// journaled and the books edited.
//
// Main thread only.

#include <cstdint>

#include "model/IdCounters.h"

namespace ch {

class MyDocument;

class ReadingTakeBack {
public:
    // Before the file is read.
    explicit ReadingTakeBack(MyDocument& document);
    // After it was read: what it made.
    void readingDone(MyDocument& document);
    // Whether the reading made anything.
    bool madeAnything() const { return !(mBefore == mAfter); }
    // Deletes what the reading made and nothing uses (see above).
    void takeBack(MyDocument& document) const;
    // The books were saved with what the reading made: taking it back is a
    // change of its own from now on, and the journal of the reading is gone.
    void booksSaved() { mSavedSince = true; }

private:
    IdCounters mBefore;
    IdCounters mAfter;
    long mChangeCountBefore = 0;
    long mChangeCountAfter = 0;
    std::uintmax_t mJournalLength = 0;
    bool mSavedSince = false;
};

} // namespace ch
