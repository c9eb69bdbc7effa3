#include "frame/pump.h"

#include "lib/settings/settings.h"
#include "lib/ui/run_loop.h"
#include "platform/clock/clock.h"

namespace frame {

void XWAITMILLISEC(int ms) { zvclock::BusyWaitMs(ms); }

void MULTITASK(int times, bool force) {
  settings::Settings& globals = settings::Current();
  if (globals.XINMULTITASK != 0) return;
  std::vector<int>& throttle = globals.XMULTITASK;  // {call counter, divisor}
  if (throttle.size() < 2) throttle.resize(2, 0);
  const int divisor = throttle[1];
  if (!force && divisor != 0 && throttle[0] % divisor != 0) {
    ++throttle[0];
    return;
  }
  throttle[0] = 1;
  struct Guard {
    int& flag;
    explicit Guard(int& f) : flag(f) { flag = 1; }
    ~Guard() { flag = 0; }
  } guard(globals.XINMULTITASK);
  for (int i = 0; i < times; ++i) ui::EMPTY_QUEUE();
}

}  // namespace frame
