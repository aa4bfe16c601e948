#include "receipts/PdfReceiptCheck.h"

#include "PdfReceipt.h"

void CheckPdfReceipt(const QByteArray& bytes, const QString& name) { OpenPdfReceipt(bytes, name); }
