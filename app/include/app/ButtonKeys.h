// How keys press push buttons on windows that have no default button: Enter presses the focused
// button, as Space does, and Alt with a button's letter presses that button from anywhere in its
// window.
#pragma once

#include <Qt>

class QPushButton;

void PressOnEnter(QPushButton* button);

// The caption reads as it did: the key is the button's tool tip, which a screen reader reads as its
// description. The key moves the focus to the button first, as a click does, so a field that
// refuses to be left (an amount being checked) keeps the focus and the button is not pressed.
void GiveAltShortcut(QPushButton* button, Qt::Key letter);
