#include "TopLevelWindows.h"

#include <QApplication>
#include <QWidget>

QWidget* FindTopLevelWidget(const QString& objectName) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == objectName) return widget;
    return nullptr;
}
