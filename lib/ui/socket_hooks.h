#pragma once
// Joins the socket layer to the window system: the socket component's window messages are
// posted into the program's queue, and what the socket layer must tell the user (a missing
// component or entry point, a failed start) is shown in a message box.

namespace ui {

// Installs both; the application object does it when it is initialised.
void InstallSocketHooks();

}  // namespace ui
