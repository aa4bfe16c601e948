#include "app/AppShell.h"
#include "app/SettingsStore.h"
#include "report/Form1.h"
#include "workbook/generation/GenerationRun.h"
#include "workbook/generation/IsInstalled.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProductName);
    QApplication::setOrganizationName(kSettingsApp);

    Form1::setAvailabilityCheck(CheckExcelInstalled);
    Form1::setGenerationRun(RunGeneration);

    Form1 form;
    form.Form_Load();
    // The availability check ends the program before any window shows when the host is missing.
    if (ProgramEndRequested()) return 0;
    form.show();
    return app.exec();
}
