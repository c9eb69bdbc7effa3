#include "frame/errors/errorsys.h"

namespace frame {

// Until the handler is filled in, errors keep propagating to their callers.
void ERRORSYS() {}

}  // namespace frame
