#include "workbook/batch/BatchFonts.h"
#include "workbook/batch/BatchMessage.h"
#include "workbook/batch/BatchRun.h"

#include <QGuiApplication>

#include <csignal>

namespace {

// Scripts read the front end's stderr as its one-line verdict: Qt's own notices (a missing runtime
// folder, font fallbacks) stay out of it unless they are fatal.
void keepOnlyFatalNotices(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) SayOnStandardError(message);
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(keepOnlyFatalNotices);
    // A reader that closes its end of standard output makes that write fail, and the run with it,
    // rather than killing the process halfway through putting its outputs in place.
    std::signal(SIGPIPE, SIG_IGN);
    // Fonts and drawing need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    UseBatchFontConfiguration();
    QGuiApplication application(argc, argv);
    return RunBatch(QGuiApplication::arguments().mid(1));
}
