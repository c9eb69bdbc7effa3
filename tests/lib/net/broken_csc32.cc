// A stand-in socket component whose initialisation fails and which lacks every other entry
// point but cscErrorText: what an outdated or foreign libcsc32.so beside the program looks like.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/sockets/csc32.h"

#define CSC_EXPORT extern "C" __attribute__((visibility("default")))

CSC_EXPORT int32_t cscAttach(int32_t, int32_t) { return -7; }

CSC_EXPORT int32_t cscErrorText(int32_t, char* buffer, int32_t size) {
  constexpr std::string_view kText = "stand-in failure";
  size_t count = std::min(kText.size(), static_cast<size_t>(std::max(size, 0)));
  std::memcpy(buffer, kText.data(), count);
  return static_cast<int32_t>(count);
}
