#include "app/WindowFreeze.h"

#include <QPointer>
#include <QWidget>

namespace {

QPointer<QWidget>& FrozenWindow() {
    static QPointer<QWidget> frozen;
    return frozen;
}

}  // namespace

void LockWindowUpdate(QWidget* window) {
    QPointer<QWidget>& frozen = FrozenWindow();
    if (frozen) frozen->setUpdatesEnabled(true);
    frozen = window;
    if (window) window->setUpdatesEnabled(false);
}
