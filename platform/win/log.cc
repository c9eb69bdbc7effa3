#include "platform/win/log.h"

#include <cstdio>
#include <string>
#include <utility>

namespace win {
namespace {

std::function<void(std::string_view)>& Sink() {
  static std::function<void(std::string_view)> sink;
  return sink;
}

}  // namespace

void Log(std::string_view line) {
  if (Sink()) {
    Sink()(line);
    return;
  }
  std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

void SetLogSink(std::function<void(std::string_view)> sink) { Sink() = std::move(sink); }

}  // namespace win
