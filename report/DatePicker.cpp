#include "report/DatePicker.h"

#include <QKeyEvent>

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDateRange(kFirstPickerDate, kLastPickerDate);
    setDisplayFormat(QStringLiteral("dd-MMM-yyyy"));
    setCalendarPopup(true);
}

bool DatePicker::focusNextPrevChild(bool next) {
    // A date edit would step through its sections on Tab; the window's tab order goes on instead.
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    const bool left = event->key() == Qt::Key_Left;
    if ((left || event->key() == Qt::Key_Right) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A whole section at a time, and no further than the first or last.
        const int index = currentSectionIndex() + (left ? -1 : 1);
        if (index >= 0 && index < sectionCount()) setSelectedSection(sectionAt(index));
        return;
    }
    QDateEdit::keyPressEvent(event);
}
