#pragma once
// The program's error handler.

namespace frame {

// Installs the error handler; start-up calls it before anything else.
void ERRORSYS();

}  // namespace frame
