// What a receipt file is, told by its first bytes rather than by its name.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

enum class ReceiptType { Pdf, Jpeg, Png, WebP, Tiff, Heic };

// nullopt for bytes that begin no file of the six types.
std::optional<ReceiptType> ReceiptTypeOf(QByteArrayView bytes);

// The extension a library copy of the type carries (".pdf", ".jpg", ...).
QString ReceiptExtension(ReceiptType type);

// The image reader's format name of an image type; empty for a PDF.
QByteArray ImageFormatOf(ReceiptType type);

// Whether this system can read the type (HEIC needs an image plugin that not every system has).
bool CanReadReceiptType(ReceiptType type);

// The file dialog's filter: every type this system can read, by the names such files carry.
QString ReceiptFileFilter();
