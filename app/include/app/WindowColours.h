// The windows' colours and, when the skin file exists, the entry window's skin.
#pragma once

class QWidget;

// Colours (and, when the skin file exists, the skin) of the entry window.
void ApplyMainSkin(QWidget* entryWindow);
// The system face colour for the window and its frames and labels.
void ApplyFormColours(QWidget* window);
