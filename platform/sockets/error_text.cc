#include "platform/sockets/error_text.h"

#include "platform/sockets/csc32.h"

namespace sock {

std::string_view ErrorText(int32_t code) {
  switch (code) {
    case CSC_NOT_ATTACHED:
      return "the socket component has not been initialised";
    case CSC_NO_EVENT_LOOP:
      return "no application event loop on the calling thread";
    case CSC_BAD_ARGUMENT:
      return "an argument is out of range";
    case CSC_UNKNOWN_HANDLE:
      return "no open connection or listener has that handle";
    case CSC_NO_FREE_HANDLE:
      return "all connection handles are in use";
    case CSC_NOTHING_WAITING:
      return "no connection is waiting";
    case CSC_LISTEN_FAILED:
      return "cannot listen on that address and port";
    case CSC_TOO_MANY_LISTENERS:
      return "all listener handles are in use";
    case CSC_BAD_ADDRESS:
      return "the host is not a valid address";
    case CSC_NOT_CONNECTED:
      return "the connection has been closed by the peer";
    case CSC_SEND_FAILED:
      return "the data could not be queued for sending";
    default:
      return "unknown error code";
  }
}

}  // namespace sock
