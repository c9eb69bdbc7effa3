// A stand-in mail component whose attach fails and which has no other entry point but
// seeErrorText: what an outdated or foreign libsee32mt.so beside the program looks like.

#include <cstring>

#include "platform/mail/see32mt.h"

#define SEE_EXPORT extern "C" __attribute__((visibility("default")))

SEE_EXPORT int32_t seeAttach(void) { return SEE_INIT_FAILED; }

SEE_EXPORT int32_t seeErrorText(int32_t, char* buffer, int32_t size) {
  std::strncpy(buffer, "stand-in failure", static_cast<size_t>(size));
  buffer[size - 1] = '\0';
  return static_cast<int32_t>(std::strlen(buffer));
}
