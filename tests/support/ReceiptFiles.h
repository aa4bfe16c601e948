// Receipt files made by the tests themselves: photos with a pattern (optionally turned by an EXIF
// orientation), images in the other formats, and PDFs whose pages carry text.
#pragma once

#include <QByteArray>
#include <QPageSize>
#include <QSize>
#include <QString>
#include <QStringList>

// A JPEG photo of the size as stored; orientation 1 writes no EXIF block, 6 means the camera was
// turned a quarter clockwise (the picture shows upright after a quarter turn clockwise).
QByteArray JpegPhoto(const QSize& size, int exifOrientation = 1, int quality = 85);

// An image in one of the image reader's formats ("png", "webp", "tiff", ...).
QByteArray ImageIn(const char* format, const QSize& size);

// A PDF with one page per text, each page of the paper and carrying its text as text.
QByteArray PdfWithPages(const QStringList& pageTexts, const QPageSize& paper = QPageSize(QPageSize::A5));

// Writes the bytes to the file and returns its path.
QString WriteReceipt(const QString& path, const QByteArray& bytes);
