#include "lib/settings/settings.h"

#include "platform/clock/clock.h"
#include "platform/dynlib/library.h"

namespace settings {

Settings::Settings()
    : PATH(dynlib::ExecutableDirectory() + "/"), XAPP_LAST_MESSAGETIME(zvclock::TickCount()) {}

Settings& Current() {
  static Settings settings;
  return settings;
}

void Reset() { Current() = Settings(); }

}  // namespace settings
