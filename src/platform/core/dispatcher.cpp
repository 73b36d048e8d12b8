#include "platform/core/dispatcher.h"

#include <algorithm>
#include <utility>

namespace ch {

ManualDispatcher::ManualDispatcher() : mState(std::make_shared<State>()) {}

ManualDispatcher::~ManualDispatcher() = default;

void ManualDispatcher::post(Call call) {
    schedule(Duration{0}, Duration{0}, std::move(call));
}

Subscription ManualDispatcher::callAfter(Duration delay, Call call) {
    return handleFor(schedule(std::max(delay, Duration{0}), Duration{0}, std::move(call)));
}

Subscription ManualDispatcher::startRepeating(Duration interval, Call tick) {
    // A zero interval would make advance() spin on one instant.
    interval = std::max(interval, Duration{1});
    return handleFor(schedule(interval, interval, std::move(tick)));
}

Subscription ManualDispatcher::handleFor(std::shared_ptr<std::atomic<bool>> alive) {
    return Subscription([alive = std::move(alive)] { *alive = false; });
}

std::shared_ptr<std::atomic<bool>> ManualDispatcher::schedule(Duration delay, Duration interval,
                                                              Call call) {
    auto alive = std::make_shared<std::atomic<bool>>(true);
    {
        std::lock_guard lock(mState->mutex);
        mState->tasks.push_back(Task{mState->now + delay, mState->nextSequence++, interval,
                                     std::make_shared<Call>(std::move(call)), alive});
    }
    return alive;
}

bool ManualDispatcher::takeNextDue(State& state, Duration limit, Task& task) {
    std::lock_guard lock(state.mutex);
    auto& tasks = state.tasks;
    // Cancelled tasks are dropped on the way.
    tasks.erase(std::remove_if(tasks.begin(), tasks.end(), [](const Task& t) { return !*t.alive; }),
                tasks.end());
    auto earliest = tasks.end();
    for (auto it = tasks.begin(); it != tasks.end(); ++it) {
        if (it->due > limit)
            continue;
        if (earliest == tasks.end() || it->due < earliest->due ||
            (it->due == earliest->due && it->sequence < earliest->sequence))
            earliest = it;
    }
    if (earliest == tasks.end())
        return false;
    task = std::move(*earliest);
    tasks.erase(earliest);
    state.now = std::max(state.now, task.due);
    return true;
}

std::size_t ManualDispatcher::runDue() { return advance(Duration{0}); }

std::size_t ManualDispatcher::advance(Duration span) {
    // Keep the state alive even if a call destroys this dispatcher.
    auto state = mState;
    Duration target;
    {
        std::lock_guard lock(state->mutex);
        target = state->now + std::max(span, Duration{0});
    }
    std::size_t ran = 0;
    Task task;
    while (takeNextDue(*state, target, task)) {
        (*task.call)();
        ++ran;
        if (task.interval > Duration{0} && *task.alive) {
            std::lock_guard lock(state->mutex);
            task.due += task.interval;
            task.sequence = state->nextSequence++;
            state->tasks.push_back(std::move(task));
        }
    }
    std::lock_guard lock(state->mutex);
    state->now = target;
    return ran;
}

ManualDispatcher::Duration ManualDispatcher::now() const {
    std::lock_guard lock(mState->mutex);
    return mState->now;
}

std::size_t ManualDispatcher::pendingCount() const {
    std::lock_guard lock(mState->mutex);
    return std::size_t(std::count_if(mState->tasks.begin(), mState->tasks.end(),
                                     [](const Task& t) { return t.alive->load(); }));
}

} // namespace ch
