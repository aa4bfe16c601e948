// A window of ours is a plain widget, which a screen reader would be told is a filler: it is told
// that the window is a window.
#pragma once

// Before a screen reader first asks about a window; safe to call more than once.
void ExposeWindowsAsWindows();
