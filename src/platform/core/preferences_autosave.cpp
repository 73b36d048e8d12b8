#include "platform/core/preferences_autosave.h"

#include <atomic>
#include <cstdio>

#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_store.h"

namespace ch {

struct PreferencesAutosave::State {
    State(UserDefaults& defaults, UserDefaultsStore& store, Dispatcher& dispatcher, std::chrono::milliseconds delay,
          ErrorReport reportError)
        : defaults(defaults), store(store), dispatcher(dispatcher), delay(delay), reportError(std::move(reportError))
    {
    }

    UserDefaults& defaults;
    UserDefaultsStore& store;
    Dispatcher& dispatcher;
    std::chrono::milliseconds delay;
    ErrorReport reportError;
    std::atomic<bool> scheduled{false};
    Subscription pending;   // main thread only

    void write()
    {
        scheduled = false;
        pending.cancel();
        std::string error;
        if (store.saveIfChanged(defaults, &error)) return;
        if (reportError) reportError(error);
        else std::fprintf(stderr, "Countinghouse: the preferences could not be saved: %s\n", error.c_str());
    }
};

PreferencesAutosave::PreferencesAutosave(UserDefaults& defaults, UserDefaultsStore& store, Dispatcher& dispatcher,
                                         std::chrono::milliseconds delay, ErrorReport reportError)
    : mState(std::make_shared<State>(defaults, store, dispatcher, delay, std::move(reportError)))
{
    std::weak_ptr<State> weak = mState;
    mObserving = defaults.observeAll([weak](const std::string&) {
        std::shared_ptr<State> state = weak.lock();
        if (!state || state->scheduled.exchange(true)) return;
        // The timer is the main thread's: whatever thread changed the value.
        state->dispatcher.post([weak] {
            std::shared_ptr<State> state = weak.lock();
            if (!state) return;
            state->pending = state->dispatcher.callAfter(state->delay, [weak] {
                if (std::shared_ptr<State> state = weak.lock()) state->write();
            });
        });
    });
}

PreferencesAutosave::~PreferencesAutosave()
{
    mObserving.cancel();
}

void PreferencesAutosave::writeNow()
{
    mState->write();
}

} // namespace ch
