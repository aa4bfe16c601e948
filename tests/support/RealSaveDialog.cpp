#include "RealSaveDialog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

namespace {

bool IsShown(const VirtualDisplay& display, const QString& window) {
    return display.visibleWindows(kSaveDialogTitle).contains(window);
}

bool WaitUntilGone(const VirtualDisplay& display, const QString& window, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (IsShown(display, window)) {
        if (waited.elapsed() >= timeoutMs) return false;
        QTest::qWait(100);
    }
    return true;
}

}  // namespace

::testing::AssertionResult AnswerSaveDialog(const VirtualDisplay& display, const QString& dialog, const QString& name) {
    QTest::qWait(300);
    display.xdotool({"windowfocus", "--sync", dialog});
    display.xdotool({"key", "--window", dialog, "ctrl+a"});  // the name the last save left there
    display.xdotool({"type", "--window", dialog, "--delay", "10", name});
    // A completion list the typing opened may take the first Return.
    for (int attempt = 0; attempt < 5; ++attempt) {
        display.xdotool({"key", "--window", dialog, "Return"});
        if (WaitUntilGone(display, dialog, 3000)) return ::testing::AssertionSuccess();
    }
    const QString shot = QDir::current().absoluteFilePath(QStringLiteral("save-dialog-kept-") + name + ".xwd");
    display.screenshot(shot);
    return ::testing::AssertionFailure() << "the save dialog stayed open after \"" << name.toStdString()
                                         << "\" was typed and Return pressed five times; the screen is in "
                                         << shot.toStdString();
}

bool WaitForFile(const QString& path, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(path) && waited.elapsed() < timeoutMs) QTest::qWait(100);
    return QFileInfo::exists(path);
}
