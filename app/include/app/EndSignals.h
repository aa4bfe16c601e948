// A logout, a shutdown or a kill asks the program to end with SIGTERM (a closed terminal with
// SIGHUP, Ctrl+C with SIGINT): each ends it as closing its window does, after its scratch files
// are removed, also while a box or the save dialog is open.
#pragma once

// Installs the handlers; call once the application object exists.
void EndOnSignals();
