#pragma once
// What opening a document file must do with any bytes: refuse them with a
// numbered error that was shown (the document then holds no books), or open
// books that save, open again without a complaint and save to the same
// bytes. Crashes, hangs and sanitizer reports end the run by themselves.
//
// Each document is made by the setup given: the fuzz target installs what the
// application installs on every document it opens (the business bookkeeping
// and the statement readers), so that the business archive reaches the real
// business decoders; without one, a document without the business part.
//
// The check brings its own user defaults (the model's, journaling off), so
// that no journal is looked for or written, and its own today (the day the
// generated books of the benchmarks end), so that the recurring transactions
// that fall due, and with them the outcome, do not depend on the day of the
// run.

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/DeveloperLog.h"
#include "document/BooksDamageText.h"
#include "document/DocumentFile.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/dispatcher.h"
#include "platform/core/user_defaults.h"

namespace ch::fuzz {

using DocumentSetup = std::function<void(MyDocument&)>;

// What every document of a check runs in.
struct CheckEnvironment {
    CheckEnvironment() { registerModelDefaults(defaults); }
    ScopedDeveloperLogCapture quiet{[](const std::string&) {}};
    ScopedFixedClock today{CalendarDate{2026, 1, 1}};
    UserDefaults defaults;
    ScopedUserDefaults defaultsScope{defaults};
    RecordingAlertPresenter alerts;
    ScopedAlertPresenter alertScope{alerts};
    ManualDispatcher dispatcher;
};

// The model stream (the books and their end tag) of a document file that
// opens; empty when it does not.
inline std::string modelStreamOf(std::string_view file, const DocumentSetup& setup = {})
{
    CheckEnvironment environment;
    std::vector<std::uint8_t> bytes(file.begin(), file.end());
    MyDocument document(environment.dispatcher);
    if (setup) setup(document);
    if (!loadDataRepresentation(document, bytes).ok()) return {};
    const std::vector<std::uint8_t> model = document.modelStreamBytes();
    return std::string(model.begin(), model.end());
}

inline std::string checkDocumentFile(std::string_view input, const DocumentSetup& setup = {})
{
    CheckEnvironment environment;
    RecordingAlertPresenter& alerts = environment.alerts;
    ManualDispatcher& dispatcher = environment.dispatcher;

    std::vector<std::uint8_t> bytes(input.begin(), input.end());
    MyDocument document(dispatcher);
    if (setup) setup(document);
    const FileOutcome opened = loadDataRepresentation(document, bytes);
    const std::vector<long> shown = alerts.numbers();
    for (long number : shown)
        if ((number < 128 || number > 292) && number != kBooksDamagedWarning)
            return "unexpected alert " + std::to_string(number);
    if (!opened.ok()) {
        if (std::find(shown.begin(), shown.end(), opened.error) == shown.end())
            return "refused with " + std::to_string(opened.error) + " without showing it";
        if (document.accounting()->mAccountList->GetCount() != 0) return "a refused file left books behind";
        return {};
    }
    if ((opened.warning != 0) != document.mustSaveUnderNewName())
        return "damaged books or unread business data without the refusal to save over the file";

    const DocumentBytes first = dataRepresentation(document);
    if (!first.ok()) return "opened books did not save: " + first.error;
    std::vector<std::uint8_t> written = first.bytes;
    MyDocument again(dispatcher);
    if (setup) setup(again);
    const FileOutcome reopened = loadDataRepresentation(again, written);
    if (!reopened.ok()) return "saved books did not open again";
    // Damage the books keep (a transaction that does not balance) is told again.
    if (reopened.warning && !(reopened.warning == kBooksDamagedWarning && opened.warning == kBooksDamagedWarning))
        return "saved books opened again with warning " + std::to_string(reopened.warning);
    const std::vector<std::uint8_t> second = dataRepresentation(again).bytes;
    if (second != first.bytes) {
        const auto differ = std::mismatch(second.begin(), second.end(), first.bytes.begin(), first.bytes.end());
        return "saved books opened again saved other bytes (from byte " +
               std::to_string(differ.first - second.begin()) + " of " + std::to_string(first.bytes.size()) + ")";
    }
    return {};
}

} // namespace ch::fuzz
