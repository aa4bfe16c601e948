#include "app/ButtonKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || modifiers != Qt::NoModifier) return false;
        auto* button = static_cast<QPushButton*>(watched);
        if (!key->isAutoRepeat() && button->isEnabled()) button->click();
        return true;
    }
};

EnterPresses& Filter() {
    // Lives as long as the application, so it outlives every button it watches.
    static auto* filter = new EnterPresses(QCoreApplication::instance());
    return *filter;
}

}  // namespace

void PressOnEnter(QPushButton* button) { button->installEventFilter(&Filter()); }
