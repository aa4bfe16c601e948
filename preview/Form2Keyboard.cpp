// Keyboard and wheel in the preview: + and - (and Ctrl+wheel) zoom as the zoom buttons do; the
// arrow keys and the wheel move the picture a line of the sheet at a time, Page Up/Down a
// viewport, Home/End to its ends, as in any scroll area. The bars' own arrows and track keep their
// one-unit step. Every move goes through the bars, so the picture is always where they say.
#include "preview/Form2.h"

#include "PictureBox.h"

#include <QApplication>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;

// A line of the sheet at factor 1.0: one row of the report's grid (17.1 points).
constexpr double kSheetLineTwips = 342.0;

// Moves the bar by the nearest whole number of its units to twips, within its range. A bar the
// picture does not need is disabled and moves no more than it does for clicks.
void MoveBarBy(QScrollBar* bar, int16_t step, double twips) {
    if (!bar->isEnabled() || step == 0) return;
    const int units = static_cast<int>(std::lround(twips / step));
    bar->setValue(std::clamp(bar->value() + units, bar->minimum(), bar->maximum()));
}

void MoveBarToEnd(QScrollBar* bar, bool end) {
    if (bar->isEnabled()) bar->setValue(end ? bar->maximum() : bar->minimum());
}

}  // namespace

void Form2::connectKeyboard() {
    const auto onKeys = [this](std::initializer_list<QKeySequence> keys, auto procedure) {
        for (const QKeySequence& key : keys) {
            auto* shortcut = new QShortcut(key, this);
            shortcut->setAutoRepeat(true);
            connect(shortcut, &QShortcut::activated, this, procedure);
        }
    };
    const auto lines = [this](Qt::Orientation orientation, double count) {
        return [this, orientation, count] { scrollLines(orientation, count); };
    };
    const auto pages = [this](Qt::Orientation orientation, int count) {
        return [this, orientation, count] {
            if (orientation == Qt::Horizontal)
                MoveBarBy(HScroll1, mHStep, count * Picture2->innerWidth());
            else
                MoveBarBy(VScroll1, mVStep, count * Picture2->innerHeight());
        };
    };
    const auto ends = [this](std::initializer_list<QScrollBar*> bars, bool end) {
        return [bars = std::vector<QScrollBar*>(bars), end] {
            for (QScrollBar* bar : bars) MoveBarToEnd(bar, end);
        };
    };
    onKeys({Qt::Key_Plus, Qt::KeypadModifier | Qt::Key_Plus}, [this] { PushButton1_Click(); });
    onKeys({Qt::Key_Minus, Qt::KeypadModifier | Qt::Key_Minus}, [this] { PushButton2_Click(); });
    onKeys({Qt::Key_Left}, lines(Qt::Horizontal, -1));
    onKeys({Qt::Key_Right}, lines(Qt::Horizontal, 1));
    onKeys({Qt::Key_Up}, lines(Qt::Vertical, -1));
    onKeys({Qt::Key_Down}, lines(Qt::Vertical, 1));
    onKeys({Qt::Key_PageUp}, pages(Qt::Vertical, -1));
    onKeys({Qt::Key_PageDown}, pages(Qt::Vertical, 1));
    // Shift turns Page Up/Down and Home/End sideways, as it turns the wheel.
    onKeys({Qt::ShiftModifier | Qt::Key_PageUp}, pages(Qt::Horizontal, -1));
    onKeys({Qt::ShiftModifier | Qt::Key_PageDown}, pages(Qt::Horizontal, 1));
    onKeys({Qt::Key_Home}, ends({VScroll1}, false));
    onKeys({Qt::Key_End}, ends({VScroll1}, true));
    onKeys({Qt::ShiftModifier | Qt::Key_Home}, ends({HScroll1}, false));
    onKeys({Qt::ShiftModifier | Qt::Key_End}, ends({HScroll1}, true));
    onKeys({Qt::ControlModifier | Qt::Key_Home}, ends({HScroll1, VScroll1}, false));
    onKeys({Qt::ControlModifier | Qt::Key_End}, ends({HScroll1, VScroll1}, true));
    // The wheel over the picture, the viewport around it or either bar.
    for (QWidget* area : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(Picture2),
                          static_cast<QWidget*>(HScroll1), static_cast<QWidget*>(VScroll1)})
        area->installEventFilter(this);
}

void Form2::scrollLines(Qt::Orientation orientation, double count) {
    const double twips = count * kSheetLineTwips * static_cast<double>(mZoom);
    if (orientation == Qt::Horizontal)
        MoveBarBy(HScroll1, mHStep, twips);
    else
        MoveBarBy(VScroll1, mVStep, twips);
}

bool Form2::viewportWheel(QObject* area, QWheelEvent* wheel) {
    const QPoint delta = wheel->angleDelta();
    if (wheel->modifiers() & Qt::ControlModifier) {
        // Touchpads send parts of a notch: a zoom step waits for a whole one.
        mZoomWheel += delta.y();
        for (; mZoomWheel >= kWheelNotch; mZoomWheel -= kWheelNotch) PushButton1_Click();
        for (; mZoomWheel <= -kWheelNotch; mZoomWheel += kWheelNotch) PushButton2_Click();
        return true;
    }
    // Shift, a sideways wheel or the horizontal bar under the pointer move the picture sideways.
    const bool sideways = delta.x() != 0 || (wheel->modifiers() & Qt::ShiftModifier) || area == HScroll1;
    const int turned = delta.x() != 0 ? delta.x() : delta.y();
    const double notches = static_cast<double>(turned) / kWheelNotch;
    scrollLines(sideways ? Qt::Horizontal : Qt::Vertical, -notches * QApplication::wheelScrollLines());
    return true;
}
