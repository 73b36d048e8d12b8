#pragma once
// Where a document's command journal lives. A document with a file journals
// beside it ("<file>.log"). Each untitled document journals in a file of its
// own in the untitled-journal folder: the first untitled document open in
// the process takes "UntitledQVLDocument.log", the name earlier versions used
// for every untitled document, so that it still finds the journal such a
// version left; each further untitled document open at the same time takes
// the next free number ("UntitledQVLDocument-2.log", ...), so that their
// commands never interleave and saving one never rotates another's away.
// The backup of a journal replaces its ".log" with ".~log"; the next rotation
// replaces that backup. A journal set aside unoffered takes a name of its own.

#include <string>
#include <string_view>

namespace ch {

// "<document path>.log".
std::string journalPathForDocument(std::string_view documentPath);
// The journal's name without its last four characters, then ".~log".
std::string backupPathForJournal(std::string_view journalPath);
// Where a journal that was not offered goes, so that no rotation removes its
// entries: the journal's name without its last four characters, then
// ".set-aside.~log", or ".set-aside-2.~log" and so on when that is taken.
std::string setAsidePathForJournal(std::string_view journalPath);
// The user's home folder ($HOME), or "." when it is not set.
std::string homeFolder();

// The number an untitled document holds while it is open and untitled: the
// lowest one no other open untitled document holds. Released on destruction
// or release(); any thread.
class UntitledJournalSlot {
public:
    UntitledJournalSlot() = default;
    ~UntitledJournalSlot();
    UntitledJournalSlot(const UntitledJournalSlot&) = delete;
    UntitledJournalSlot& operator=(const UntitledJournalSlot&) = delete;

    // Takes the lowest free number when none is held yet; answers it.
    int acquire();
    void release();
    int number() const { return mNumber; }

    // The journal of the number in the folder: number 1 is the legacy name.
    static std::string journalPath(std::string_view folder, int number);

private:
    int mNumber = 0;
};

} // namespace ch
