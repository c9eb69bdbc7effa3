#pragma once
// The program's one source of time: tick count, busy waits and the local date and time.
// Tests install a FakeClock so that waits of seconds run in microseconds.

#include <cstdint>
#include <functional>
#include <utility>

namespace zvclock {

struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Milliseconds since an arbitrary start; wraps after about 49 days like the system tick count.
uint32_t TickCount();

// Waits `ms` milliseconds without processing any window message or event.
void BusyWaitMs(int ms);

LocalDateTime Now();

// While alive, TickCount() and Now() read this clock and BusyWaitMs() only advances it.
class FakeClock {
 public:
  explicit FakeClock(uint32_t start_tick = 0, LocalDateTime now = {2024, 1, 1, 12, 0, 0});
  ~FakeClock();
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;

  // Advances the tick count and then runs the advance callback, if any, with the new tick.
  void AdvanceMs(uint32_t ms);
  // Lets a test act at a given moment of a busy wait (another station releasing a lock).
  void SetOnAdvance(std::function<void(uint32_t tick)> on_advance) {
    on_advance_ = std::move(on_advance);
  }
  uint32_t tick() const { return tick_; }
  void SetNow(LocalDateTime now) { now_ = now; }
  const LocalDateTime& now() const { return now_; }

 private:
  uint32_t tick_;
  LocalDateTime now_;
  std::function<void(uint32_t)> on_advance_;
  FakeClock* previous_;
};

}  // namespace zvclock
