#pragma once
// The document file ("*.books"): the model stream of the books, which ends
// with the end tag 'FiNi', and right behind it the business archive, which
// runs to the end of the file. Neither part has a length field: the model
// reader finds its own end. The document's business bookkeeping
// (DocumentBusiness.h) writes and reads the archive; a document without it
// writes five empty arrays and reads an archive only when it holds no object.
//
// Opening (readFromFile) refuses what it cannot read with a numbered error,
// and the document then takes neither the file's name nor any of its books,
// so nothing can be saved over that file by mistake:
//   271  the file cannot be read at all;
//   172  the model stream is damaged, truncated or of no known kind, or the
//        tag where it ends is not 'FiNi' (the model reader's own refusals,
//        172 and 139, are not repeated).
// Books that read but do not add up (BooksCheck.h: an id taken twice, lines
// on accounts that do not exist, a posted transaction that does not balance,
// a reference to nothing) open with everything read and the numbered
// warning 296, which lists what is wrong. A business archive that cannot be
// read completely, or is missing behind books that show business use, opens
// with the numbered warning 281. Either document refuses to be saved over
// its file (error 291) and must be saved under a new name, so that the file
// as it is stays untouched and nothing of it is replaced in silence.
//
// What is not a regular file (a folder, a pipe, a device) is refused before
// it is opened, with error 295 (a pipe would block the opening for ever).
//
// Saving first flushes the journal to the disk, then writes through
// writeFileAtomically: a temporary file in the same folder, flushed, then
// renamed over the old file, whose previous version becomes the backup
// "<file>~"; a new file is readable by its owner only; the folder is flushed
// last. Leftovers of saves that were killed (the temporary files and the
// pending backup of this file) are removed first. Only when the new file is
// in place and its folder flushed is the journal rotated and the document
// marked unchanged. A save that fails at any step shows error 290 with the
// reason (the system's, such as a full disk or an input/output error) and
// leaves the old file, its backup and the journal as they were; when only
// the folder's flush failed, the message says that the file may hold either
// version and that the journal keeps the changes. A backup that could not
// be kept does not undo the save; error 294 says so.
//
// The journal is tied to the saved state it follows: every read and every
// write gives the executor the stamp of the file's bytes (JournalStamp.h),
// which a new journal records and which decides whether a journal found at
// opening is offered. After Save As of an untitled document its journal
// leaves no backup behind in the untitled journals' folder.
//
// The file password lives in the settings record inside the model stream, in
// plain text: it keeps the books out of sight in the window, it does not
// encrypt the file (see FilePassword.h).
//
// Main thread only.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "document/DocumentBusiness.h"
#include "platform/core/atomic_file.h"

namespace ch {

class MyDocument;

// Numbered messages of the document file.
inline constexpr long kFileCannotBeRead = 271;
inline constexpr long kDocumentDamaged = 172;
inline constexpr long kDocumentVersionUnknown = 139;
inline constexpr long kBusinessDataNotRead = kIncompleteBusinessArchiveWarning;
inline constexpr long kSaveFailed = 290;
inline constexpr long kSaveUnderNewName = 291;
inline constexpr long kBackupNotKept = 294;
inline constexpr long kNotADocumentFile = 295;
// The books are open in another running instance of the program.
inline constexpr long kBooksOpenElsewhere = 337;

// Files beyond this size are not read (the model stream counts in 32 bits).
inline constexpr std::size_t kLargestDocumentFile = 0x7FFFFFFF;

// What an operation on the file gave; every number in it has been shown.
struct FileOutcome {
    long error = 0;   // 0 when done
    long warning = 0; // 296 when the books are damaged, else 281 when the business data could not all be read
    bool ok() const { return error == 0; }
};

// The backup of a document file: "<file>~".
std::string backupPathForDocument(const std::string& path);

// --- the bytes
struct DocumentBytes {
    std::vector<std::uint8_t> bytes;
    std::string error; // why no bytes could be made (the business archive)
    bool ok() const { return error.empty(); }
};
// The file's bytes: the model stream, then the business archive.
DocumentBytes dataRepresentation(MyDocument& document);
// Reads the bytes into a document just made (it holds no books yet) and
// finishes loading it (arrays, clean change count, journal offer). On an
// error the document keeps its empty books.
FileOutcome loadDataRepresentation(MyDocument& document, std::vector<std::uint8_t>& bytes);

// --- what the application calls
// Open: reads the file into a document just made; on success the document
// names the file and the user default "GXLastSavedDocument" holds its path.
FileOutcome readFromFile(MyDocument& document, const std::string& path);
// The file calls of a save that a test may make fail: the writing of the
// bytes and the flushes to the disk (the journal, the file, its folder).
// Empty: the system's.
struct SaveCalls {
    WriteBytes write;
    SyncFile sync;
    SaveCalls() = default;
    SaveCalls(WriteBytes writeBytes) : write(std::move(writeBytes)) {}
};
// Save: over the document's own file (it must have one).
FileOutcome saveDocument(MyDocument& document, const SaveCalls& calls = {});
// Save As: to the path, which the document names from then on. The journal
// beside the old file (or the untitled journal) is rotated.
FileOutcome saveDocumentAs(MyDocument& document, const std::string& path, const SaveCalls& calls = {});
// Revert: reads the document's file again into fresh books. Every item array
// and business array is emptied and refilled, the journal of the discarded
// changes is rotated away, the change count is clean. When the file cannot
// be read the document stays as it was, and neither step below runs.
struct RevertSteps {
    // Once the file has been read, just before the old books go: whatever
    // still refers into them (a window, its pages and sheets) lets go here.
    std::function<void()> beforeBooksGo;
    // Once the new books are complete, before any message about them: what
    // shows them is built here, so that it stands behind the message.
    std::function<void()> booksCame;
};
FileOutcome revertDocumentToSaved(MyDocument& document, const RevertSteps& steps = {});

} // namespace ch
