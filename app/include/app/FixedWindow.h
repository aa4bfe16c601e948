// A window with a fixed single border: a client area of one size, and in its title bar only what
// such a window can do (no maximise); a screen reader finds it as a window.
#pragma once

#include <QSize>

class QWidget;

void SetFixedSingleBorder(QWidget* window, QSize clientSize);
