// The entry window's date pickers: "dd-MMM-yyyy" with a drop-down calendar, 1601-01-01 to 9999-12-31.
#pragma once

#include <QDateEdit>

inline const QDate kFirstPickerDate{1601, 1, 1};
inline const QDate kLastPickerDate{9999, 12, 31};

// Gives a date edit the pickers' format, range and calendar.
void SetUpDatePicker(QDateEdit* picker);
