#pragma once
// Loading the socket component "csc32" once per process, and finding its entry points by
// name on every call. A missing module or entry point is reported once (per load) and then
// simply yields kEntryPointUnavailable, so a server without its component never announces a
// connection but never crashes either.

#include <cstdint>
#include <optional>

#include "platform/dynlib/library.h"
#include "platform/sockets/csc32.h"

// The loaded component; empty until LOADCSC, and after FREECSC. It holds a failed load too
// (not loaded()), so that no second load is tried until FREECSC.
extern std::optional<dynlib::Library> XCSC32LIB;

// Loads and initialises the component. False when loading or initialising failed; when
// `quiet` is false a failed initialisation is also reported with the component's description
// of the code. While XCSC32LIB is set it does nothing and returns true.
bool LOADCSC(bool quiet = true);

namespace net {

// The result of a wrapper whose component or entry point is missing.
constexpr int32_t kEntryPointUnavailable = -1000;

// Installs the function through which the component posts its window messages (the window
// system's). It may be installed before or after LOADCSC.
void SetModulePoster(CscPoster poster);

// The entry point `name` of the loaded component, or nullptr (reported once when the
// component is loaded but lacks it).
void* FindEntryPoint(const char* name);

// Calls the entry point `name`, of type Fn, with `args`.
template <typename Fn, typename... Args>
int32_t CallEntryPoint(const char* name, Args... args) {
  auto* entry = reinterpret_cast<Fn*>(FindEntryPoint(name));
  return entry ? entry(args...) : kEntryPointUnavailable;
}

// Unloads the component and empties XCSC32LIB.
void UnloadComponent();

}  // namespace net
