#include "app/InputHold.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::InputMethod: return true;
    default: return false;
    }
}

// The box the work opened, if the receiver belongs to it.
bool InOpenBox(QObject* receiver) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return false;
    for (QObject* object = receiver; object; object = object->parent())
        if (object == modal || object == modal->windowHandle()) return true;
    return false;
}

}  // namespace

UserInputHold::UserInputHold() { QCoreApplication::instance()->installEventFilter(this); }

UserInputHold::~UserInputHold() {
    // What the window system has delivered so far still goes through the filter, and is dropped.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

bool UserInputHold::eventFilter(QObject* watched, QEvent* event) {
    return IsUserInput(event->type()) && !InOpenBox(watched);
}
