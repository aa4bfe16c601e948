#include "app/FixedWindow.h"

#include "AccessibleWindow.h"

#include <QWidget>

void SetFixedSingleBorder(QWidget* window, QSize clientSize) {
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(clientSize);
    ExposeWindowsAsWindows();
}
