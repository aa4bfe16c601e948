#include "app/InputHold.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
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

bool InHiddenWindow(QObject* receiver) {
    if (receiver->isWidgetType()) return !static_cast<QWidget*>(receiver)->window()->isVisible();
    if (receiver->isWindowType()) return !static_cast<QWindow*>(receiver)->isVisible();
    return false;
}

// The window system may still deliver, after the hold, what was aimed at a window the work has
// hidden since (the entry window once the preview shows, the preview after "< Back"); a hidden
// window takes no input.
class HiddenWindowInput : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return IsUserInput(event->type()) && InHiddenWindow(watched);
    }
};

void KeepInputFromHiddenWindows() {
    static QPointer<HiddenWindowInput> filter;
    if (filter) return;
    filter = new HiddenWindowInput(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

}  // namespace

UserInputHold::UserInputHold() {
    KeepInputFromHiddenWindows();
    QCoreApplication::instance()->installEventFilter(this);
}

UserInputHold::~UserInputHold() {
    // What the window system has delivered so far still goes through the filter, and is dropped.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

bool UserInputHold::eventFilter(QObject* watched, QEvent* event) {
    return IsUserInput(event->type()) && !InOpenBox(watched);
}
