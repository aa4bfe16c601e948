// Keyboard and wheel in the preview: + and - (and Ctrl+wheel) zoom as the zoom buttons do; the
// arrow keys, Page Up/Down and Home/End act on the scrollbars as their own arrows and track do,
// and the wheel over the picture turns the bar it would turn. Each goes through the buttons' and
// bars' own procedures, so the zoom and scroll arithmetic stays theirs.
#include "preview/Form2.h"

#include "preview/PictureBox.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>

namespace {

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;

}  // namespace

void Form2::connectKeyboard() {
    const auto onKeys = [this](std::initializer_list<QKeySequence> keys, auto procedure) {
        for (const QKeySequence& key : keys) {
            auto* shortcut = new QShortcut(key, this);
            shortcut->setAutoRepeat(true);
            connect(shortcut, &QShortcut::activated, this, procedure);
        }
    };
    const auto barAction = [](QScrollBar* bar, QAbstractSlider::SliderAction action) {
        return [bar, action] {
            // A bar the picture does not need is disabled, and keys move it no more than clicks.
            if (bar->isEnabled()) bar->triggerAction(action);
        };
    };
    onKeys({Qt::Key_Plus, Qt::KeypadModifier | Qt::Key_Plus}, [this] { PushButton1_Click(); });
    onKeys({Qt::Key_Minus, Qt::KeypadModifier | Qt::Key_Minus}, [this] { PushButton2_Click(); });
    onKeys({Qt::Key_Left}, barAction(HScroll1, QAbstractSlider::SliderSingleStepSub));
    onKeys({Qt::Key_Right}, barAction(HScroll1, QAbstractSlider::SliderSingleStepAdd));
    onKeys({Qt::Key_Up}, barAction(VScroll1, QAbstractSlider::SliderSingleStepSub));
    onKeys({Qt::Key_Down}, barAction(VScroll1, QAbstractSlider::SliderSingleStepAdd));
    onKeys({Qt::Key_PageUp}, barAction(VScroll1, QAbstractSlider::SliderPageStepSub));
    onKeys({Qt::Key_PageDown}, barAction(VScroll1, QAbstractSlider::SliderPageStepAdd));
    onKeys({Qt::Key_Home}, barAction(VScroll1, QAbstractSlider::SliderToMinimum));
    onKeys({Qt::Key_End}, barAction(VScroll1, QAbstractSlider::SliderToMaximum));
    // The wheel over the picture or over the viewport around it.
    Picture1->installEventFilter(this);
    Picture2->installEventFilter(this);
}

bool Form2::viewportWheel(QWheelEvent* wheel) {
    const QPoint delta = wheel->angleDelta();
    if (wheel->modifiers() & Qt::ControlModifier) {
        // Touchpads send parts of a notch: a zoom step waits for a whole one.
        mZoomWheel += delta.y();
        for (; mZoomWheel >= kWheelNotch; mZoomWheel -= kWheelNotch) PushButton1_Click();
        for (; mZoomWheel <= -kWheelNotch; mZoomWheel += kWheelNotch) PushButton2_Click();
        return true;
    }
    // Shift turns the wheel sideways; a sideways wheel turns the horizontal bar.
    const bool sideways = delta.x() != 0 || (wheel->modifiers() & Qt::ShiftModifier);
    QScrollBar* bar = sideways ? HScroll1 : VScroll1;
    const QPoint turned = delta.x() != 0 ? QPoint(delta.x(), 0) : QPoint(0, delta.y());
    QWheelEvent forwarded(bar->rect().center(), bar->mapToGlobal(bar->rect().center()), wheel->pixelDelta(), turned,
                          wheel->buttons(), wheel->modifiers() & ~Qt::ShiftModifier, wheel->phase(), wheel->inverted(),
                          wheel->source());
    QCoreApplication::sendEvent(bar, &forwarded);
    return true;
}
