#pragma once
// The waiting rule of blocked opens and locks: try again every 100 ms (a busy wait that processes
// no message) without limit; once 5 s have passed since the first try, every further failure
// shows an alert before the next try.

#include <functional>

namespace data {

inline constexpr int kRetryWaitMs = 100;
inline constexpr int kAlertAfterMs = 5000;

// Whether a failed try waits before deciding on the alert (opens, appends, releases) or after it
// (record locks).
enum class AlertTiming { kAfterWait, kBeforeWait };

// Runs `attempt` until it returns true.
void RetryUntilDone(const std::function<bool()>& attempt, const std::function<void()>& alert,
                    AlertTiming timing);

}  // namespace data
