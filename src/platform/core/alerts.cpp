#include "platform/core/alerts.h"

#include <atomic>
#include <iostream>

#include "platform/core/localized_strings.h"

namespace ch {

namespace {

// Without an interface: alerts go to the log and questions take the default
// button, which is the cautious one ("CANCEL") in the error manager's forms.
class LogAlertPresenter : public AlertPresenter {
public:
    void showError(const Alert& alert) override { log("error", alert); }
    void showInfo(const Alert& alert) override { log("info", alert); }
    AlertAnswer askQuestion(const Alert& alert) override
    {
        log("question", alert);
        return AlertAnswer::Default;
    }

private:
    static void log(const char* kind, const Alert& alert)
    {
        std::clog << "Countinghouse " << kind << ' ' << alert.number << ": " << alert.message
                  << '\n';
    }
};

std::atomic<AlertPresenter*> gPresenter{nullptr};

} // namespace

AlertPresenter& alertPresenter()
{
    if (AlertPresenter* p = gPresenter.load())
        return *p;
    static LogAlertPresenter fallback;
    return fallback;
}

void setAlertPresenter(AlertPresenter* presenter)
{
    gPresenter.store(presenter);
}

namespace {

Alert textAlert(const char* titleKey, const std::string& message)
{
    Alert alert;
    alert.title = localized(titleKey);
    alert.message = message;
    alert.defaultButton = localized("OK");
    return alert;
}

} // namespace

void showErrorText(const std::string& message)
{
    alertPresenter().showError(textAlert("ERROR", message));
}

void showInfoText(const std::string& message)
{
    alertPresenter().showInfo(textAlert("INFO", message));
}

ScopedAlertPresenter::ScopedAlertPresenter(AlertPresenter& presenter)
    : mPrevious(gPresenter.exchange(&presenter))
{
}

ScopedAlertPresenter::~ScopedAlertPresenter()
{
    gPresenter.store(mPrevious);
}

void RecordingAlertPresenter::showError(const Alert& alert)
{
    mRecords.push_back({Kind::Error, alert});
}

void RecordingAlertPresenter::showInfo(const Alert& alert)
{
    mRecords.push_back({Kind::Info, alert});
}

AlertAnswer RecordingAlertPresenter::askQuestion(const Alert& alert)
{
    mRecords.push_back({Kind::Question, alert});
    if (mScript.empty())
        return AlertAnswer::Default;
    AlertAnswer answer = mScript.front();
    mScript.pop_front();
    return answer;
}

std::vector<long> RecordingAlertPresenter::numbers() const
{
    std::vector<long> out;
    out.reserve(mRecords.size());
    for (const auto& r : mRecords)
        out.push_back(r.alert.number);
    return out;
}

void RecordingAlertPresenter::clear()
{
    mRecords.clear();
    mScript.clear();
}

} // namespace ch
