#include "lib/data/retry.h"

#include <cstdint>

#include "platform/clock/clock.h"

namespace data {

void RetryUntilDone(const std::function<bool()>& attempt, const std::function<void()>& alert,
                    AlertTiming timing) {
  const uint32_t start = zvclock::TickCount();
  auto alert_when_late = [&] {
    if (zvclock::TickCount() - start > static_cast<uint32_t>(kAlertAfterMs)) alert();
  };
  while (!attempt()) {
    if (timing == AlertTiming::kBeforeWait) alert_when_late();
    zvclock::BusyWaitMs(kRetryWaitMs);
    if (timing == AlertTiming::kAfterWait) alert_when_late();
  }
}

}  // namespace data
