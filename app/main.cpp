#include "app/AppTitle.h"
#include "app/ProgramEnd.h"
#include "app/EndSignals.h"
#include "app/MessageService.h"
#include "app/OneWindow.h"
#include "app/ProgramFolders.h"
#include "app/ScratchFile.h"
#include "app/SettingsStore.h"
#include "report/Form1.h"
#include "workbook/generation/GenerationRun.h"
#include "workbook/generation/IsInstalled.h"
#include "workbook/generation/ScratchFolderClaim.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kProductName);
    QApplication::setOrganizationName(kSettingsApp);

    switch (TakeOrHandOverTheWindow(SettingsFilePath(kSettingsApp))) {
    case StartRole::OnlyCopy: break;
    case StartRole::HandedOver: return 0;
    case StartRole::NoAnswer:
        MsgBox(
            QStringLiteral("Brindlemoor is already open on this report but does not answer. Close it, then start "
                           "Brindlemoor again."));
        return 1;
    }

    // Whatever way the program ends, it leaves none of the report in the scratch folder.
    EndOnSignals();
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &RemoveEveryScratchFile);
    std::unique_ptr<ScratchFolderClaim> scratchClaim;
    try {
        scratchClaim = std::make_unique<ScratchFolderClaim>(ScratchFolder());
    } catch (const AppError&) {
        // An unsafe scratch folder is reported by the run that needs it.
    }

    Form1::setAvailabilityCheck(CheckExcelInstalled);
    Form1::setGenerationRun(RunGeneration);

    Form1 form;
    form.Form_Load();
    // The availability check ends the program before any window shows when the host is missing.
    if (ProgramEndRequested()) return 0;
    form.show();
    return app.exec();
}
