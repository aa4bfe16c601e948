#include "receipts/PdfReceiptCheck.h"

#include "receipts/PdfReceipt.h"

void CheckPdfReceipt(const QByteArray& bytes, const QString& name) { OpenPdfReceipt(bytes, name); }
