// Starting the user interface from the command hook.
#pragma once

#include "host_api.h"

class QApplication;

// Opens the main window for the active composition and runs the event loop
// until the window closes; the window is deleted afterwards. With no active
// item nothing is opened. The application object is made on the first run and
// reused by later ones. Returns the first host error. Once the window is
// open, failures are reported to the user and the window stays usable; one
// thrown before that (a missing suite) leaves this function, and the command
// hook turns it into the error code. Called again while it runs (the host's
// command picked while the window is open or closing), it opens nothing and
// tells the user through the host why.
A_Err OpenZolvarGUI();

// Sets the application font: "Lucida Grande" at 11 points.
void setAppFont(QApplication* application);
