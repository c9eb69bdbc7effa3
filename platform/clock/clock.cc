#include "platform/clock/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace zvclock {
namespace {

FakeClock* fake = nullptr;

}  // namespace

uint32_t TickCount() {
  if (fake) return fake->tick();
  auto since_start = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
}

void BusyWaitMs(int ms) {
  if (ms <= 0) return;
  if (fake) {
    fake->AdvanceMs(static_cast<uint32_t>(ms));
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalDateTime Now() {
  if (fake) return fake->now();
  std::time_t t = std::time(nullptr);
  std::tm parts{};
  localtime_r(&t, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

FakeClock::FakeClock(uint32_t start_tick, LocalDateTime now)
    : tick_(start_tick), now_(now), previous_(fake) {
  fake = this;
}

FakeClock::~FakeClock() { fake = previous_; }

void FakeClock::AdvanceMs(uint32_t ms) {
  tick_ += ms;
  if (on_advance_) on_advance_(tick_);
}

}  // namespace zvclock
