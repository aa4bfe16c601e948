// Finding the program's other windows by name, without depending on their code.
#pragma once

#include <QString>

class QWidget;

// The top-level widget with this object name, or nullptr.
QWidget* FindTopLevelWidget(const QString& objectName);
