#include "report/DatePicker.h"

#include "EntryAccessibility.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>

namespace {

bool IsStepKey(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

}  // namespace

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDateRange(kFirstPickerDate, kLastPickerDate);
    setDisplayFormat(QStringLiteral("dd-MMM-yyyy"));
    setCalendarPopup(true);
    setAccessibleDescription(QStringLiteral("F4 or Alt+Down opens the calendar."));
    ExposeEntryControls();
    connect(lineEdit(), &QLineEdit::textChanged, this, &DatePicker::announceValue);
}

void DatePicker::announceValue() {
    const QString now = spokenValue();
    if (now == m_announced) return;
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, m_announced, now);
        QAccessible::updateAccessibility(&event);
    }
    m_announced = now;
}

void DatePicker::openCalendar() {
    if (isReadOnly()) return;
    // The date edit opens its calendar only for a press on its arrow: press there.
    QStyleOptionComboBox arrow;
    arrow.initFrom(this);
    arrow.editable = true;
    arrow.subControls = QStyle::SC_All;
    const QPoint centre = style()->subControlRect(QStyle::CC_ComboBox, &arrow, QStyle::SC_ComboBoxArrow, this).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    mousePressEvent(&press);
}

void DatePicker::watchCalendar() {
    if (m_watching) return;
    m_watching = true;
    QCalendarWidget* calendar = calendarWidget();
    calendar->window()->installEventFilter(this);
    const auto picked = [this](QDate date) { m_picked = date; };
    connect(calendar, &QCalendarWidget::clicked, this, picked);
    connect(calendar, &QCalendarWidget::activated, this, picked);
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !m_calendarOpen) calendarOpened();
    // The calendar hides before its click reaches us: decide once the click is handled.
    if (event->type() == QEvent::Hide && m_calendarOpen) QTimer::singleShot(0, this, &DatePicker::calendarClosed);
    return QDateEdit::eventFilter(watched, event);
}

void DatePicker::calendarOpened() {
    m_calendarOpen = true;
    m_dateAtOpen = date();
    m_picked = QDate();
    // The calendar's moves show in the picker as a preview; nobody hears of them.
    blockSignals(true);
}

void DatePicker::calendarClosed() {
    if (!m_calendarOpen) return;
    m_calendarOpen = false;
    setDate(m_dateAtOpen);
    blockSignals(false);
    if (!m_picked.isValid()) return;
    setDate(m_picked);
    emit datePicked(date());
}

bool DatePicker::focusNextPrevChild(bool next) {
    // A date edit would step through its sections on Tab; the window's tab order goes on instead.
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool opens = (key == Qt::Key_F4 && modifiers == Qt::NoModifier) ||
                       (key == Qt::Key_Space && modifiers == Qt::NoModifier) ||
                       ((key == Qt::Key_Down || key == Qt::Key_Up) && modifiers == Qt::AltModifier);
    if (opens) return openCalendar();
    if (IsStepKey(key) && modifiers != Qt::NoModifier) return event->accept();
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && modifiers == Qt::NoModifier) {
        // A whole section at a time, and no further than the first or last.
        const int index = currentSectionIndex() + (key == Qt::Key_Left ? -1 : 1);
        if (index >= 0 && index < sectionCount()) setSelectedSection(sectionAt(index));
        return;
    }
    QDateEdit::keyPressEvent(event);
}

void DatePicker::mousePressEvent(QMouseEvent* event) {
    watchCalendar();
    QDateEdit::mousePressEvent(event);
}
