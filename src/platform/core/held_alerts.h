#pragma once
// A presenter that keeps errors and information for later: those raised while
// books are read, before the window they belong to exists, are told on that
// window once it shows. Questions cannot wait (their caller needs the answer)
// and go at once to the presenter that was current when this one was made.

#include <vector>

#include "platform/core/alerts.h"

namespace ch {

class HeldAlerts final : public AlertPresenter {
public:
    HeldAlerts();

    void showError(const Alert& alert) override;
    void showInfo(const Alert& alert) override;
    AlertAnswer askQuestion(const Alert& alert) override;

    // Hands what was kept, in order, to `presenter`, and forgets it.
    void tell(AlertPresenter& presenter);

private:
    struct Held {
        bool error;
        Alert alert;
    };
    AlertPresenter& mQuestions;
    std::vector<Held> mHeld;
};

} // namespace ch
