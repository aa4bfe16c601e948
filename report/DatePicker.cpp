#include "report/DatePicker.h"

void SetUpDatePicker(QDateEdit* picker) {
    picker->setDateRange(kFirstPickerDate, kLastPickerDate);
    picker->setDisplayFormat(QStringLiteral("dd-MMM-yyyy"));
    picker->setCalendarPopup(true);
}
