#pragma once
// GatheredErrors: while a statement file is read, the numbered errors it
// raises are held back instead of shown one by one. A QIF file whose category
// lists overrun what the books hold raised one modal alert per group, some
// 250 for one file: now an error raised once is shown as before (when the
// reading ends) and one raised more often becomes one note with its count.
// Information and questions pass through at once.
//
// Installs itself as the alert presenter for its lifetime. Main thread only.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/core/alerts.h"

namespace ch {

class GatheredErrors final : public AlertPresenter {
public:
    GatheredErrors();
    ~GatheredErrors() override;
    GatheredErrors(const GatheredErrors&) = delete;
    GatheredErrors& operator=(const GatheredErrors&) = delete;

    void showError(const Alert& alert) override;
    void showInfo(const Alert& alert) override { mPrevious.showInfo(alert); }
    AlertAnswer askQuestion(const Alert& alert) override { return mPrevious.askQuestion(alert); }

    // Ends the gathering (the earlier presenter is back): each error raised
    // once is shown now; the notes (message 317) of those raised more often,
    // in the order they first came.
    std::vector<std::string> finish();

private:
    struct Gathered {
        Alert first;
        std::size_t count = 0;
    };

    AlertPresenter& mPrevious;
    std::vector<Gathered> mErrors;
    bool mInstalled = true;
};

} // namespace ch
