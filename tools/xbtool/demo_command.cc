// create-demo: a complete demo BASES folder for a first run and for the end-to-end tests.
#include <cstdio>

#include "platform/clock/clock.h"
#include "platform/xbase/error.h"
#include "platform/xbase/julian_date.h"
#include "tools/xbtool/commands.h"
#include "tools/xbtool/demo_writer.h"

namespace xbtool {

int CreateDemoCommand(const Args& args) {
  const char* usage = "usage: xbtool create-demo DIR [--date YYYYMMDD]";
  int64_t today = 0;
  if (args.size() == 3 && args[1] == "--date") {
    today = xbase::Stod(args[2]);
    if (today == 0) throw xbase::Error(xbase::ErrorKind::kArgument, "", usage);
  } else if (args.size() == 1) {
    zvclock::LocalDateTime now = zvclock::Now();
    today = xbase::JulianDay(now.year, now.month, now.day);
  } else {
    throw xbase::Error(xbase::ErrorKind::kArgument, "", usage);
  }
  CreateDemoDatabase(args[0], today);
  std::printf("demo database written to %s (business date %s)\n", args[0].c_str(),
              xbase::Dtos(today).c_str());
  return 0;
}

}  // namespace xbtool
