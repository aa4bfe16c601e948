// The entry window's date pickers: "dd-MMM-yyyy" with a drop-down calendar, 1601-01-01 to 9999-12-31.
// Each picker is one tab stop: Tab and Shift+Tab leave it, while Left and Right move between its
// day, month and year and Up and Down change them.
#pragma once

#include <QDateEdit>

inline const QDate kFirstPickerDate{1601, 1, 1};
inline const QDate kLastPickerDate{9999, 12, 31};

class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
};
