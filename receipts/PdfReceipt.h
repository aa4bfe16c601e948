// A PDF receipt opened with the PDF library, whole: nothing in it had to be mended, it is not
// encrypted and it has pages.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QPDF;

// bytes must stay unchanged and alive while the document is used: the library reads them as it
// goes. Throws ReceiptError naming name.
std::shared_ptr<QPDF> OpenPdfReceipt(const QByteArray& bytes, const QString& name);
