#include "app/ProgramEnd.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

#include <utility>

namespace {

bool& EndRequested() {
    static bool requested = false;
    return requested;
}

std::function<void()>& EndProgramHandler() {
    static std::function<void()> handler;
    return handler;
}

}  // namespace

void EndProgram() {
    EndRequested() = true;
    if (const auto& handler = EndProgramHandler()) {
        handler();
        return;
    }
    // Hidden windows get no close events, so no other window's close handling runs.
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
    } else {
        // Before the event loop runs, exit() would be forgotten: the loop ends as soon as it starts.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
}

bool ProgramEndRequested() { return EndRequested(); }

void SetEndProgramHandler(std::function<void()> handler) { EndProgramHandler() = std::move(handler); }
