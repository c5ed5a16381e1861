#pragma once

// Runs the editor on the calling thread: creates the main window, shows it with
// showState and runs the message loop until the window closes. Returns the
// window's close code (1 through OK, 2 through Cancel), or 0 when the window
// cannot be created.
int RunMainWindow(int showState);
