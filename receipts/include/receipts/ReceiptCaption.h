// The one line at the top of a receipt page that names its grid row: date, account, description,
// the row's total, "receipt 1 of 2" and the file's name. Empty parts are left out.
#pragma once

#include "workbook/model/ExpenseReport.h"

#include <QString>

class QFontMetricsF;

struct ReceiptCaption {
    QString date;
    QString account;
    QString description;
    QString total;
    QString count;  // "receipt 1 of 2"
    QString name;

    QString text() const;
    // The text within width: the description gives way first, then the line is cut at its end.
    QString fitted(const QFontMetricsF& metrics, qreal width) const;
};

// The caption of the row's receipt at index (0-based): the date as the entry window shows it, the
// total of the row's amounts in currency form under the default locale.
ReceiptCaption CaptionOf(const ExpenseRow& row, qsizetype index);
