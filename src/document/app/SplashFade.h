#pragma once
// The splash panel's way out: some seconds after launch it fades from fully
// opaque to nearly clear in twenty steps of a twentieth of a second each,
// then goes on the step after.

#include <chrono>
#include <optional>

namespace ch {

class SplashFade {
public:
    static constexpr int kSteps = 20;
    static constexpr std::chrono::milliseconds kDelay{10000};   // from the end of launch
    static constexpr std::chrono::milliseconds kTick{50};

    // Sets the count-down to kSteps (again, when fading already).
    void start() { mCountDown = kSteps; }
    bool fading() const { return mCountDown >= 0; }

    // One tick: the panel's opacity for this step (1.0 down to 0.05), or
    // none when the panel goes (the count-down has run out; the fade is over).
    std::optional<double> tick()
    {
        if (mCountDown < 0) return std::nullopt;
        if (mCountDown == 0) {
            mCountDown = -1;
            return std::nullopt;
        }
        const double opacity = static_cast<double>(mCountDown) / kSteps;
        --mCountDown;
        return opacity;
    }

private:
    int mCountDown = -1;   // -1: not fading
};

} // namespace ch
