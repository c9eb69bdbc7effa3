#include "lib/net/csc32_library.h"

#include <set>
#include <string>

#include "lib/net/csc32_wrappers.h"
#include "lib/net/report.h"

std::optional<dynlib::Library> XCSC32LIB;

namespace net {
namespace {

constexpr int32_t kAttachConnections = 10;
constexpr int32_t kAttachListeners = 10;
constexpr int32_t kErrorTextSize = 200;
// What the user is told follows; the texts are in the program's 8-bit character set.
constexpr char kNotServed[] = "; no se atender\xe1n conexiones.";

CscPoster& InstalledPoster() {
  static CscPoster poster = nullptr;
  return poster;
}

std::set<std::string>& ReportedMissing() {
  static std::set<std::string> names;
  return names;
}

// Handed to the component; forwards to whatever poster is installed at the time.
int ForwardPost(intptr_t window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  CscPoster poster = InstalledPoster();
  return poster ? poster(window, message, wparam, lparam) : 0;
}

void ReportAttachFailure(int32_t code) {
  std::string description(kErrorTextSize, ' ');
  int32_t length = CSCERRORTEXT(code, description, kErrorTextSize);
  description.resize(length > 0 ? static_cast<size_t>(length) : 0);
  Report("cscAttach failed.;Error : " + description + " (" + std::to_string(code) + ")");
}

}  // namespace

void SetModulePoster(CscPoster poster) { InstalledPoster() = poster; }

void* FindEntryPoint(const char* name) {
  if (!XCSC32LIB || !XCSC32LIB->loaded()) return nullptr;  // reported by LOADCSC
  void* entry = XCSC32LIB->Symbol(name);
  if (!entry && ReportedMissing().insert(name).second) {
    Report("El componente de sockets " + XCSC32LIB->path() + " no tiene el punto de entrada " +
           name + kNotServed);
  }
  return entry;
}

void UnloadComponent() {
  XCSC32LIB.reset();
  ReportedMissing().clear();
}

}  // namespace net

bool LOADCSC(bool quiet) {
  if (XCSC32LIB) return true;
  XCSC32LIB = dynlib::Library::Open("csc32");
  if (!XCSC32LIB->loaded()) {
    net::Report("No se pudo cargar el componente de sockets (" + XCSC32LIB->error() + ")" +
                net::kNotServed);
    return false;
  }
  int32_t result = CSCATTACH(net::kAttachConnections, net::kAttachListeners);
  if (result == net::kEntryPointUnavailable) return false;  // already reported
  if (result < 0) {
    if (!quiet) net::ReportAttachFailure(result);
    return false;
  }
  net::CallEntryPoint<CscSetPosterFn>("cscSetPoster", &net::ForwardPost);
  return true;
}
