#pragma once

class QApplication;

namespace app {

// Starts the program on an application object: the look, the main window, the event loop.
// Returns the exit code.
int runProgram(QApplication& application);

} // namespace app
