#include "lib/settings/settings.h"

#include "platform/clock/clock.h"
#include "platform/progdir/program_dir.h"

namespace settings {

Settings::Settings()
    : PATH(progdir::ProgramDirectory() + "/"), XAPP_LAST_MESSAGETIME(zvclock::TickCount()) {}

Settings& Current() {
  static Settings settings;
  return settings;
}

void Reset() { Current() = Settings(); }

}  // namespace settings
