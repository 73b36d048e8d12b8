#pragma once
// Writes the user's defaults to their file soon after they change, so that a
// program that is killed keeps the preferences set before: not only at quit.
// Changes that come in a burst (the fields of a window, the steps of a
// slider) are written once, `delay` after the first of them. A change made
// on another thread is handed to the main thread first. A write that fails is
// told to `reportError` (standard error when none); the next change tries
// again.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/dispatcher.h"
#include "platform/core/observable.h"

namespace ch {

class UserDefaults;
class UserDefaultsStore;

class PreferencesAutosave {
public:
    using ErrorReport = std::function<void(const std::string& error)>;

    PreferencesAutosave(UserDefaults& defaults, UserDefaultsStore& store, Dispatcher& dispatcher,
                        std::chrono::milliseconds delay = std::chrono::milliseconds(300),
                        ErrorReport reportError = {});
    ~PreferencesAutosave();
    PreferencesAutosave(const PreferencesAutosave&) = delete;
    PreferencesAutosave& operator=(const PreferencesAutosave&) = delete;

    // Writes what is waiting now (main thread).
    void writeNow();

private:
    struct State;
    std::shared_ptr<State> mState;
    Subscription mObserving;
};

} // namespace ch
