#include "lib/data/alert.h"

#include <cstdio>
#include <utility>

namespace data {
namespace {

AlertFunction& Installed() {
  static AlertFunction show;
  return show;
}

}  // namespace

void SetAlertFunction(AlertFunction show) { Installed() = std::move(show); }

void ShowAlert(const std::string& text, const std::string& caption) {
  if (Installed()) {
    Installed()(text, caption);
    return;
  }
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace data
