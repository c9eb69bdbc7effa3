#pragma once
// The program's start: settings, error handler, database engine, keep-alive table, main frame,
// fade-in, and the message loop until the program ends; then every window and table is closed.

namespace frame {

// Runs the program; returns its exit code (0 after a normal end).
int MAIN();

// Asks the running program to end without a question (Ctrl-C, a service manager's stop). Safe to
// call from a toolkit callback on the GUI thread; before the frame exists it ends the loop.
void RequestStop();

}  // namespace frame
