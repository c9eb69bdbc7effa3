#pragma once
// The program's error handler.

namespace frame {

// Installs the error handler; start-up calls it before anything else. From then on every error
// of the data layer, and every exception that escapes a window's message handler, goes to
// HandleError (frame/errors/error_handler.h).
void ERRORSYS();

}  // namespace frame
