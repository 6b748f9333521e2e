// Polling with a deadline: the end-to-end tests wait for conditions, never for fixed times.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <type_traits>

namespace e2e {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

// Long enough for Wine to start a process on a loaded machine.
inline constexpr Ms kDefaultTimeout{20000};
inline constexpr Ms kPollInterval{10};
// How long a read of a window's state waits for the program's answer (SendMessageTimeout):
// a busy program answers late, not wrongly, so this too only guards against a hang.
inline constexpr UINT kAnswerTimeout = static_cast<UINT>(kDefaultTimeout.count());

inline void SleepFor(Ms duration) {
    Sleep(static_cast<DWORD>(duration.count()));
}

// Calls probe() until it yields something true (a non-null handle, an engaged
// optional, true) or the timeout passes; returns the last value. The probe
// runs at least once, and once more after the deadline.
template <class Probe>
auto WaitFor(Probe probe, Ms timeout = kDefaultTimeout, Ms interval = kPollInterval)
    -> std::invoke_result_t<Probe> {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        auto value = probe();
        if (value) return value;
        if (Clock::now() >= deadline) return probe();
        SleepFor(interval);
    }
}

template <class Predicate>
bool WaitUntil(Predicate predicate, Ms timeout = kDefaultTimeout, Ms interval = kPollInterval) {
    return static_cast<bool>(
        WaitFor([&] { return static_cast<bool>(predicate()); }, timeout, interval));
}

}  // namespace e2e
