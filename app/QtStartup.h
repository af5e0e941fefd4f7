#pragma once
// Starting the program on the Qt backend, shared by the program and by the
// tool that photographs its main window.
#include <functional>

class CWinApp;

namespace qova::app {

// Runs QOVA until it quits and returns its exit code (1 when start-up
// failed). Qt takes its own options (-platform offscreen ...) from the
// command line; the rest goes to the application. `started` runs once the
// main window is shown, just before the message loop.
int RunOnQt(int argc, char** argv, const std::function<void(CWinApp&)>& started = {});

}  // namespace qova::app
