#include "document/DocumentFile.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string_view>

#include "bridge/DeveloperLog.h"
#include "document/MyDocument.h"
#include "document/app/ApplicationDefaults.h"
#include "model/CDocAccounting.h"
#include "model/ModelCodes.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/GXDataStream.h"
#include "model/foundation/LDataStream.h"
#include "platform/core/alerts.h"
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
ReadBooks readBooks(std::vector<std::uint8_t>& bytes)
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

enum class Finish { Loading, Reverting };

// Reads the bytes into the document; it keeps what it had when they hold no books.
FileOutcome readInto(MyDocument& document, std::vector<std::uint8_t>& bytes, Finish finish)
{
    ReadBooks read = readBooks(bytes);
    if (!read.books) return {read.error, 0};
    document.adoptModel(std::move(read.books));
    document.setFileSizeHint(bytes.size());

    FileOutcome outcome;
    outcome.warning = document.readBusinessArchive(read.archive);
    document.setMustSaveUnderNewName(outcome.warning != 0);
    if (finish == Finish::Loading) document.finishLoading();
    else document.finishReverting();
    // Told once the document is complete, so that the window behind the
    // message shows what could be read.
    if (outcome.warning) CErrorManager::RaiseInfo(outcome.warning);
    return outcome;
}

FileOutcome fail(long number)
{
    CErrorManager::RaiseError(number);
    return {number, 0};
}

FileOutcome writeTo(MyDocument& document, const std::string& path, const WriteBytes& write)
{
    DocumentBytes made = dataRepresentation(document);
    if (!made.ok()) {
        developerLog("Saving " + path + " failed: " + made.error);
        return fail(kSaveFailed);
    }
    AtomicWriteOptions options;
    options.newFileMode = 0600; // the books are nobody else's business
    options.backupPath = backupPathForDocument(path);
    options.write = write;
    AtomicWriteResult written = writeFileAtomically(path, made.bytes, options);
    if (!written.backupProblem.empty()) developerLog("Saving " + path + ": " + written.backupProblem);
    if (!written.ok()) {
        developerLog("Saving " + path + " failed: " + written.error);
        return fail(kSaveFailed);
    }
    return {};
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
    FileContents contents = readWholeFile(path, kLargestDocumentFile);
    if (!contents.ok()) {
        developerLog("Opening " + path + " failed: " + contents.error);
        return fail(kFileCannotBeRead);
    }
    // Named before loading, so that the journal beside the file is the one
    // looked at.
    const std::string previousName = document.fileName();
    document.setFileName(path);
    FileOutcome outcome = loadDataRepresentation(document, contents.bytes);
    if (!outcome.ok()) {
        document.setFileName(previousName);
        return outcome;
    }
    UserDefaults::standard().set(std::string(kLastSavedDocumentKey), path);
    return outcome;
}

FileOutcome saveDocument(MyDocument& document, const WriteBytes& write)
{
    if (document.fileName().empty()) {
        developerLog("Saving failed: the document has no file yet");
        return fail(kSaveFailed);
    }
    if (document.mustSaveUnderNewName()) return fail(kSaveUnderNewName);
    FileOutcome outcome = writeTo(document, document.fileName(), write);
    if (outcome.ok()) document.fileSaved();
    return outcome;
}

FileOutcome saveDocumentAs(MyDocument& document, const std::string& path, const WriteBytes& write)
{
    if (!document.fileName().empty() && sameFile(path, document.fileName())) return saveDocument(document, write);
    FileOutcome outcome = writeTo(document, path, write);
    if (!outcome.ok()) return outcome;
    // The writer exists before the name changes, so that the journal rotated
    // is the one the changes went to.
    document.commandExecutor().getCommandLogger();
    document.setFileName(path);
    document.setMustSaveUnderNewName(false);
    document.fileSaved();
    return outcome;
}

FileOutcome revertDocumentToSaved(MyDocument& document)
{
    FileContents contents = readWholeFile(document.fileName(), kLargestDocumentFile);
    if (!contents.ok()) {
        developerLog("Reverting to " + document.fileName() + " failed: " + contents.error);
        return fail(kFileCannotBeRead);
    }
    return readInto(document, contents.bytes, Finish::Reverting);
}

} // namespace ch
