#include "app/ButtonKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
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

class ShortcutPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut) return false;
        auto* button = static_cast<QPushButton*>(watched);
        button->setFocus(Qt::ShortcutFocusReason);
        if (button->hasFocus() && button->isEnabled()) button->click();
        return true;
    }
};

// Filters live as long as the application, so they outlive every button they watch.
template <class Filter>
Filter& Instance() {
    static auto* filter = new Filter(QCoreApplication::instance());
    return *filter;
}

}  // namespace

void PressOnEnter(QPushButton* button) { button->installEventFilter(&Instance<EnterPresses>()); }

void GiveAltShortcut(QPushButton* button, Qt::Key letter) {
    const QKeySequence keys(QKeyCombination(Qt::AltModifier, letter));
    button->setShortcut(keys);
    button->setToolTip(keys.toString(QKeySequence::NativeText));
    button->installEventFilter(&Instance<ShortcutPresses>());
}
