#include "workbook/batch/BatchRun.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    // Fonts and drawing need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return RunBatch(QGuiApplication::arguments().mid(1));
}
