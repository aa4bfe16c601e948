// Enter presses the focused push button, as Space does, on windows that have no default button.
#pragma once

class QPushButton;

void PressOnEnter(QPushButton* button);
