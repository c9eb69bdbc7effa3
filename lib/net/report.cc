#include "lib/net/report.h"

#include <iostream>
#include <utility>

namespace net {
namespace {

Reporter& Installed() {
  static Reporter reporter;
  return reporter;
}

}  // namespace

void SetReporter(Reporter reporter) { Installed() = std::move(reporter); }

void Report(const std::string& text) {
  if (Installed()) {
    Installed()(text);
  } else {
    std::cerr << "csc32: " << text << '\n';
  }
}

}  // namespace net
