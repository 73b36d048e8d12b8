#pragma once
// BooksLock: a lock on the file of books, held while the books are open, so
// that another running instance of the program that opens them learns that
// they are open elsewhere and never takes the journal the first one is
// writing. The system drops the lock when its holder ends, a crash too; a
// save puts a new file in place, whose lock is taken again (renew). Several
// holders in one process share it.

#include <string>

namespace ch {

class BooksLock {
public:
    BooksLock() = default;
    ~BooksLock() { release(); }
    BooksLock(const BooksLock&) = delete;
    BooksLock& operator=(const BooksLock&) = delete;

    // Holds the lock of the books at the path (and lets go of one held
    // before); false when another process holds it. A lock that cannot be
    // made at all (a folder without write access) does not stop the books.
    bool hold(const std::string& booksPath);
    void release();
    // Takes the lock of the file now at the held path (after a save).
    void renew();
    const std::string& heldPath() const { return mPath; }

private:
    std::string mPath;
};

} // namespace ch
