// Whether a PDF is whole as a receipt: it opens with the PDF library without mending, is not
// encrypted and has pages. The programs reach it through the output module (outputs/), which links
// the PDF library, so that only a check of a PDF loads it.
#pragma once

#include <QByteArray>
#include <QString>

// Throws ReceiptError naming name when the PDF is not whole, and ReceiptError::notMade when the
// check cannot be made.
void CheckPdfReceipt(const QByteArray& bytes, const QString& name);
