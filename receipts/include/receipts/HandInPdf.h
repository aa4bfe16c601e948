// The PDF handed in with a report: its printed pages, then every receipt of its grid rows in row
// order, each receipt page captioned at its top with its row. Image receipts get a page of the
// report's paper; a PDF receipt's pages follow as they are, their text still text.
#pragma once

#include "receipts/ReceiptCaption.h"
#include "workbook/model/ExpenseReport.h"

#include <QByteArray>
#include <QPageLayout>

#include <vector>

struct HandInReceipt {
    ReceiptFile file;
    ReceiptCaption caption;
};

// The report's receipts in row order, each with its caption.
std::vector<HandInReceipt> ReceiptsToHandIn(const ExpenseReport& report);

// reportPdf as it is when there are no receipts. paper is the report's paper and margins. Throws
// ReceiptError: refused naming the receipt (by its name) that cannot be read, not made when the
// captions cannot be drawn. Needs a QGuiApplication.
QByteArray HandInPdf(const QByteArray& reportPdf, const QPageLayout& paper, const std::vector<HandInReceipt>& receipts);
