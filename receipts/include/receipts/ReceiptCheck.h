// Whether a file can serve as a receipt, judged by its content: a PDF, JPEG, PNG, WebP, TIFF or
// HEIC file that is whole, readable and not encrypted.
#pragma once

#include "receipts/ReceiptType.h"

#include <QByteArray>
#include <QString>

// The whole file. name is how messages call it. Throws ReceiptError when it is not a regular
// file, cannot be read or is empty.
QByteArray ReadReceiptFile(const QString& path, const QString& name);

// The type the bytes begin, or ReceiptError naming name when they begin none of the six.
ReceiptType ReceiptTypeOrRefuse(const QByteArray& bytes, const QString& name);

// The type of the bytes once they have read as a whole receipt of it. Throws ReceiptError
// naming name and what is wrong: another type, truncated, damaged, encrypted, unreadable.
ReceiptType CheckReceiptBytes(const QByteArray& bytes, const QString& name);

// Both of the above; the file's name in messages is path as given.
ReceiptType CheckReceiptFile(const QString& path);
