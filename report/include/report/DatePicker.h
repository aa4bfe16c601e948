// The entry window's date pickers: "dd-MMM-yyyy" with a drop-down calendar, 1601-01-01 to 9999-12-31.
// Each picker is one tab stop: Tab and Shift+Tab leave it, while Left and Right move between its
// day, month and year and Up and Down change them. F4, Alt+Down, Alt+Up and Space open the
// calendar; Up and Down with any other modifier do nothing, so no key changes a date unseen.
// In the calendar the arrows move a preview of the date, which the picker takes only once it is
// picked (a click, Return or Enter); Escape or a click elsewhere leaves the picker as it was.
#pragma once

#include <QDate>
#include <QDateEdit>

inline const QDate kFirstPickerDate{1601, 1, 1};
inline const QDate kLastPickerDate{9999, 12, 31};

class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // Drops the calendar down, as a click on the picker's arrow does.
    void openCalendar();

    // The date as a screen reader reads it: the text shown, or nothing where no date is held.
    virtual QString spokenValue() const { return text(); }
    // The picker's own text field, whose text a screen reader reads through the picker.
    QLineEdit* textField() const { return lineEdit(); }

signals:
    // A date chosen in the calendar, even the one the picker already showed.
    void datePicked(QDate date);

protected:
    // Tells a screen reader that the spoken value changed.
    void announceValue();

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void watchCalendar();
    void calendarOpened();
    void calendarClosed();

    bool m_watching = false;
    bool m_calendarOpen = false;
    QDate m_dateAtOpen;
    QDate m_picked;
    QString m_announced;
};
