#include "document/DocumentFile.h"

#include "document/BooksLock.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <span>
#include <string_view>
#include <sys/stat.h>

#include "bridge/DeveloperLog.h"
#include "document/BooksDamageText.h"
#include "document/MyDocument.h"
#include "document/app/ApplicationDefaults.h"
#include "document/commands/JournalNames.h"
#include "document/commands/JournalStamp.h"
#include "model/CDocAccounting.h"
#include "model/ModelCodes.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/GXDataStream.h"
#include "model/foundation/LDataStream.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/user_defaults.h"
#include "platform/core/whole_file.h"

namespace ch {
namespace {

// Passes every alert on, noting whether the model reader refused the file in
// its own words, so that the refusal is not shown twice.
class ReaderAlertWatch final : public AlertPresenter {
public:
    ReaderAlertWatch() : mNext(alertPresenter()), mScope(*this) {}

    void showError(const Alert& alert) override
    {
        if (alert.number == kDocumentDamaged || alert.number == kDocumentVersionUnknown) mRefusal = alert.number;
        mNext.showError(alert);
    }
    void showInfo(const Alert& alert) override { mNext.showInfo(alert); }
    AlertAnswer askQuestion(const Alert& alert) override { return mNext.askQuestion(alert); }

    // The number of the reader's own refusal; 0 when it showed none.
    long refusal() const { return mRefusal; }

private:
    AlertPresenter& mNext;
    ScopedAlertPresenter mScope;
    long mRefusal = 0;
};

struct ReadBooks {
    std::unique_ptr<CDocAccounting> books;
    std::string_view archive; // the bytes behind the end tag
    long error = 0;           // the refusal shown when there are no books
};

// The books of the bytes; none (after error 172, or the reader's own 139)
// when they hold none that end on 'FiNi'.
ReadBooks readBooks(std::span<std::uint8_t> bytes)
{
    ReadBooks read;
    auto books = std::make_unique<CDocAccounting>();
    bool complete = false;
    std::int32_t marker = 0;
    ReaderAlertWatch watch;
    if (bytes.size() <= kLargestDocumentFile) {
        LDataStream stream(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        complete = books->initFromStream(&stream);
        marker = stream.GetMarker();
        FourCharCode tag = 0;
        complete = complete && stream.PeekBigOsType(tag) == 4 && tag == type::kEndOfModel;
    }
    if (!complete) {
        read.error = watch.refusal();
        if (!read.error) {
            read.error = kDocumentDamaged;
            CErrorManager::RaiseError(kDocumentDamaged);
        }
        return read;
    }
    const std::size_t archiveStart = static_cast<std::size_t>(marker) + 4;
    read.archive = std::string_view(reinterpret_cast<const char*>(bytes.data()) + archiveStart,
                                    bytes.size() - archiveStart);
    read.books = std::move(books);
    return read;
}

// Warning 296 with every finding of the reading.
void showBooksDamage(MyDocument& document)
{
    const CDocAccounting& books = *document.accounting();
    const std::string lines = booksDamageLines(books.ReadDamage(), books);
    developerLog("The books read are damaged:\n" + lines);
    if (CErrorManager::GetMode()) return;
    alertPresenter().showInfo({kBooksDamagedWarning, localized("INFO"), booksDamageMessage(books.ReadDamage(), books),
                               localized("OK"), ""});
}

enum class Finish { Loading, Reverting };

// Reads the bytes into the document; it keeps what it had when they hold no books.
FileOutcome readInto(MyDocument& document, std::span<std::uint8_t> bytes, Finish finish,
                     const RevertSteps& steps = {})
{
    // Taken before the reader sees the bytes: the stamp is of the file as it is.
    std::string stamp = journalStampOf(bytes);
    ReadBooks read = readBooks(bytes);
    if (!read.books) return {read.error, 0};
    if (steps.beforeBooksGo) steps.beforeBooksGo();
    document.adoptModel(std::move(read.books));
    document.setFileSizeHint(bytes.size());
    // Before the journal is looked at: it is offered only when it follows these bytes.
    document.commandExecutor().setFileStamp(std::move(stamp));

    const long businessWarning = document.readBusinessArchive(read.archive);
    const bool booksDamaged = !document.accounting()->ReadDamage().Empty();
    FileOutcome outcome;
    outcome.warning = booksDamaged ? kBooksDamagedWarning : businessWarning;
    document.setMustSaveUnderNewName(outcome.warning != 0);
    if (finish == Finish::Loading) document.finishLoading();
    else document.finishReverting();
    if (steps.booksCame) steps.booksCame();
    // Told once the document is complete, so that the window behind the
    // message shows what could be read.
    if (booksDamaged) showBooksDamage(document);
    if (businessWarning) CErrorManager::RaiseInfo(businessWarning);
    return outcome;
}

FileOutcome fail(long number)
{
    CErrorManager::RaiseError(number);
    return {number, 0};
}

// A numbered error whose text is followed by the localized line of `detailKey`
// with the details (texts from the system, not from the model).
void showErrorWithDetails(long number, std::string_view detailKey, std::initializer_list<FormatArg> details)
{
    std::string message = localized(std::to_string(number));
    if (detailKey.empty()) message = formatMessage(message, details);
    else message += "\n\n" + formatMessage(localized(detailKey), details);
    if (CErrorManager::GetMode()) {
        developerLog(std::to_string(number) + ": " + message);
        return;
    }
    alertPresenter().showError({number, localized("ERROR"), message, localized("OK"), ""});
}

// Error 337 with the file's name.
FileOutcome openElsewhere(const std::string& path)
{
    developerLog("The books " + path + " are open in another running instance");
    showErrorWithDetails(kBooksOpenElsewhere, {}, {std::filesystem::path(path).filename().string()});
    return {kBooksOpenElsewhere, 0};
}

// Error 290, saying why.
FileOutcome saveFailed(const std::string& path, const std::string& problem, const std::string& why)
{
    developerLog("Saving " + path + " failed: " + problem);
    showErrorWithDetails(kSaveFailed, "SAVEFAILUREREASON", {why});
    return {kSaveFailed, 0};
}

FileOutcome writeTo(MyDocument& document, const std::string& path, const SaveCalls& calls)
{
    // The journal holds what the file is about to take: it must be on the
    // disk before the file is replaced, or a crash could lose both.
    if (const int error = document.commandExecutor().syncJournal(calls.sync))
        return saveFailed(path, "flush the journal: " + std::string(std::strerror(error)), std::strerror(error));
    DocumentBytes made = dataRepresentation(document);
    if (!made.ok()) return saveFailed(path, made.error, made.error);
    AtomicWriteOptions options;
    options.newFileMode = 0600; // the books are nobody else's business
    options.backupPath = backupPathForDocument(path);
    options.write = calls.write;
    options.sync = calls.sync;
    AtomicWriteResult written = writeFileAtomically(path, made.bytes, options);
    if (!written.ok() && written.replaced) {
        // The new file stands, but the disk may not keep it: the save is not
        // done, so the document stays edited and its journal stays.
        developerLog("Saving " + path + " not confirmed: " + written.error);
        showErrorWithDetails(kSaveFailed, "SAVENOTCONFIRMED", {written.systemReason});
        return {kSaveFailed, 0};
    }
    if (!written.ok()) return saveFailed(path, written.error, written.systemReason);
    // The journal started from now on follows these bytes.
    document.commandExecutor().setFileStamp(journalStampOf(made.bytes));
    if (!written.backupProblem.empty()) {
        // Saved, but the previous version is not where the user would look for it.
        developerLog("Saving " + path + ": " + written.backupProblem);
        showErrorWithDetails(kBackupNotKept, {}, {options.backupPath, written.backupProblem});
    }
    return {};
}

// What is there and is no regular file (a folder, a pipe, a device) is not
// opened at all: opening a pipe would wait for a writer forever.
bool isOtherThanAFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return true;
    return std::filesystem::weakly_canonical(a, error) == std::filesystem::weakly_canonical(b, error);
}

} // namespace

std::string backupPathForDocument(const std::string& path)
{
    return path + "~";
}

DocumentBytes dataRepresentation(MyDocument& document)
{
    DocumentBytes made;
    // Room for the file as it was, and then some: a large set of books is not
    // copied again and again while its buffer grows.
    auto buffer = std::make_shared<GXDataStream::Buffer>();
    buffer->reserve(std::max<std::size_t>(2000, document.fileSizeHint() + document.fileSizeHint() / 8));
    GXDataStream stream;
    stream.setDataObject(buffer);
    document.accounting()->DoSave(&stream);

    PlistOutput archive = document.businessArchiveBytes();
    if (!archive.ok()) {
        made.error = "business archive: " + archive.error;
        return made;
    }
    buffer->insert(buffer->end(), archive.bytes.begin(), archive.bytes.end());
    made.bytes = std::move(*buffer);
    document.setFileSizeHint(made.bytes.size());
    return made;
}

FileOutcome loadDataRepresentation(MyDocument& document, std::vector<std::uint8_t>& bytes)
{
    return readInto(document, bytes, Finish::Loading);
}

FileOutcome readFromFile(MyDocument& document, const std::string& path)
{
    if (isOtherThanAFile(path)) {
        developerLog("Opening " + path + " refused: not a regular file");
        showErrorWithDetails(kNotADocumentFile, {}, {std::filesystem::path(path).filename().string()});
        return {kNotADocumentFile, 0};
    }
    // Books another instance has open are not read: its journal is alive.
    BooksLock taken;
    if (!taken.hold(path)) return openElsewhere(path);
    FileContents contents = readWholeFile(path, kLargestDocumentFile);
    if (!contents.ok()) {
        developerLog("Opening " + path + " failed: " + contents.error);
        return fail(kFileCannotBeRead);
    }
    // Named before loading, so that the journal beside the file is the one
    // looked at.
    const std::string previousName = document.fileName();
    document.setFileName(path);
    FileOutcome outcome = readInto(document, contents.bytes, Finish::Loading);
    if (!outcome.ok()) {
        document.setFileName(previousName);
        return outcome;
    }
    document.booksLock().hold(path);
    UserDefaults::standard().set(std::string(kLastSavedDocumentKey), path);
    return outcome;
}

FileOutcome saveDocument(MyDocument& document, const SaveCalls& calls)
{
    if (document.fileName().empty()) {
        developerLog("Saving failed: the document has no file yet");
        return fail(kSaveFailed);
    }
    if (document.mustSaveUnderNewName()) return fail(kSaveUnderNewName);
    FileOutcome outcome = writeTo(document, document.fileName(), calls);
    if (outcome.ok()) {
        document.booksLock().renew();
        document.fileSaved();
    }
    return outcome;
}

FileOutcome saveDocumentAs(MyDocument& document, const std::string& path, const SaveCalls& calls)
{
    if (!document.fileName().empty() && sameFile(path, document.fileName())) return saveDocument(document, calls);
    BooksLock taken;
    if (!taken.hold(path)) return openElsewhere(path);
    FileOutcome outcome = writeTo(document, path, calls);
    if (!outcome.ok()) return outcome;
    document.booksLock().hold(path);
    document.booksLock().renew();
    // The writer exists before the name changes, so that the journal rotated
    // is the one the changes went to.
    const std::string oldJournal = document.commandExecutor().getCommandLogger().logFileName();
    const bool wasUntitled = document.fileName().empty();
    document.setFileName(path);
    document.setMustSaveUnderNewName(false);
    document.fileSaved();
    // An untitled document's changes now live in its file: no copy of them
    // stays behind in the untitled journals' folder.
    if (wasUntitled && !oldJournal.empty()) std::remove(backupPathForJournal(oldJournal).c_str());
    return outcome;
}

FileOutcome revertDocumentToSaved(MyDocument& document, const RevertSteps& steps)
{
    FileContents contents = readWholeFile(document.fileName(), kLargestDocumentFile);
    if (!contents.ok()) {
        developerLog("Reverting to " + document.fileName() + " failed: " + contents.error);
        return fail(kFileCannotBeRead);
    }
    return readInto(document, contents.bytes, Finish::Reverting, steps);
}

} // namespace ch
