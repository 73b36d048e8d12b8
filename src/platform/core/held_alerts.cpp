#include "platform/core/held_alerts.h"

#include <utility>

namespace ch {

HeldAlerts::HeldAlerts() : mQuestions(alertPresenter()) {}

void HeldAlerts::showError(const Alert& alert)
{
    mHeld.push_back({true, alert});
}

void HeldAlerts::showInfo(const Alert& alert)
{
    mHeld.push_back({false, alert});
}

AlertAnswer HeldAlerts::askQuestion(const Alert& alert)
{
    return mQuestions.askQuestion(alert);
}

void HeldAlerts::tell(AlertPresenter& presenter)
{
    std::vector<Held> held = std::exchange(mHeld, {});
    for (const Held& one : held) {
        if (one.error) presenter.showError(one.alert);
        else presenter.showInfo(one.alert);
    }
}

} // namespace ch
