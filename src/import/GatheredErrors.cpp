#include "import/GatheredErrors.h"

#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch {

GatheredErrors::GatheredErrors() : mPrevious(alertPresenter())
{
    setAlertPresenter(this);
}

GatheredErrors::~GatheredErrors()
{
    if (mInstalled) setAlertPresenter(&mPrevious);
}

void GatheredErrors::showError(const Alert& alert)
{
    // Errors of one number are one error: their texts differ at most in the
    // names they mention.
    for (Gathered& gathered : mErrors) {
        if (gathered.first.number == alert.number && (alert.number != 0 || gathered.first.message == alert.message)) {
            ++gathered.count;
            return;
        }
    }
    mErrors.push_back({alert, 1});
}

std::vector<std::string> GatheredErrors::finish()
{
    if (mInstalled) setAlertPresenter(&mPrevious);
    mInstalled = false;
    std::vector<std::string> notes;
    for (const Gathered& gathered : mErrors) {
        if (gathered.count == 1) {
            mPrevious.showError(gathered.first);
            continue;
        }
        notes.push_back(formatMessage(localized("317"), {static_cast<long>(gathered.count), gathered.first.message}));
    }
    mErrors.clear();
    return notes;
}

} // namespace ch
