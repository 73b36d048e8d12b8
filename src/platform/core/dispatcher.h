#pragma once
// The main thread's run loop as the headless code sees it: hand a call over
// to the main thread, run one after a delay, or repeat one at an interval.
// The application supplies the Qt implementation; ManualDispatcher lets tests
// drive time and the queue step by step.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/observable.h"

namespace ch {

class Dispatcher {
public:
    using Call = std::function<void()>;
    using Duration = std::chrono::milliseconds;

    virtual ~Dispatcher() = default;

    // Queues `call` to run on the main thread on a later pass of its loop.
    // Callable from any thread; calls posted from one thread run in order.
    virtual void post(Call call) = 0;

    // Runs `call` once on the main thread after `delay` (0: on the next pass,
    // after what is already queued). Destroying the handle before then
    // cancels the call. Main thread only.
    [[nodiscard]] virtual Subscription callAfter(Duration delay, Call call) = 0;

    // Runs `tick` every `interval` (at least 1 ms) until the handle is
    // destroyed or cancelled. Main thread only.
    [[nodiscard]] virtual Subscription startRepeating(Duration interval, Call tick) = 0;
};

// A dispatcher whose clock stands still until the test moves it. Nothing
// runs by itself: runDue() runs what is due, advance() moves the clock.
class ManualDispatcher final : public Dispatcher {
public:
    ManualDispatcher();
    ~ManualDispatcher() override;

    void post(Call call) override;
    [[nodiscard]] Subscription callAfter(Duration delay, Call call) override;
    [[nodiscard]] Subscription startRepeating(Duration interval, Call tick) override;

    // Time since construction on the manual clock.
    Duration now() const;

    // Runs every call due at the current time, in order of due time and then
    // of scheduling, including calls that become due while doing so (a call
    // that posts another one). Returns how many ran.
    std::size_t runDue();

    // Moves the clock forward by `span`, stopping at each due time on the way
    // to run what is due there; a repeating timer fires once per interval
    // passed. Returns how many calls ran.
    std::size_t advance(Duration span);

    // Calls waiting (queued or timed, cancelled ones not counted).
    std::size_t pendingCount() const;

private:
    struct Task {
        Duration due;
        std::uint64_t sequence;
        Duration interval; // 0 for a single call
        std::shared_ptr<Call> call;
        std::shared_ptr<std::atomic<bool>> alive;
    };
    struct State {
        mutable std::mutex mutex;
        Duration now{0};
        std::uint64_t nextSequence = 0;
        std::vector<Task> tasks; // unordered; scanned for the earliest
    };

    // Queues a task; the returned flag cancels it when cleared.
    std::shared_ptr<std::atomic<bool>> schedule(Duration delay, Duration interval, Call call);
    // Removes and returns the earliest task due at or before `limit`, moving
    // the clock to its due time.
    static bool takeNextDue(State& state, Duration limit, Task& task);
    static Subscription handleFor(std::shared_ptr<std::atomic<bool>> alive);

    std::shared_ptr<State> mState;
};

} // namespace ch
