#include "ReceiptFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QtEndian>

namespace {

QImage Pattern(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) line[x] = qRgb((x / 16) % 256, (y / 16) % 256, ((x + y) / 64) % 256);
    }
    return image;
}

QByteArray Encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

// An APP1 segment whose EXIF block holds only the orientation tag.
QByteArray ExifOrientation(int orientation) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);  // little-endian, first IFD at offset 8
    const auto u16 = [&tiff](quint16 value) {
        const quint16 le = qToLittleEndian(value);
        tiff.append(reinterpret_cast<const char*>(&le), 2);
    };
    const auto u32 = [&tiff](quint32 value) {
        const quint32 le = qToLittleEndian(value);
        tiff.append(reinterpret_cast<const char*>(&le), 4);
    };
    u16(1);       // one entry
    u16(0x0112);  // Orientation
    u16(3);       // SHORT
    u32(1);
    u16(quint16(orientation));
    u16(0);
    u32(0);  // no next IFD
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const quint16 length = quint16(body.size() + 2);
    return QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + body;
}

}  // namespace

QByteArray JpegPhoto(const QSize& size, int exifOrientation, int quality) {
    QByteArray jpeg = Encoded(Pattern(size), "jpeg", quality);
    if (exifOrientation != 1) jpeg.insert(2, ExifOrientation(exifOrientation));
    return jpeg;
}

QByteArray ImageIn(const char* format, const QSize& size) { return Encoded(Pattern(size), format); }

QByteArray PdfWithPages(const QStringList& pageTexts, const QPageSize& paper) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(paper);
    QPainter painter(&writer);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(14);
    painter.setFont(font);
    for (qsizetype i = 0; i < pageTexts.size(); ++i) {
        if (i > 0) writer.newPage();
        painter.drawText(QRectF(0, writer.height() / 3.0, writer.width(), writer.height() / 3.0), Qt::AlignCenter,
                         pageTexts[i]);
    }
    painter.end();
    return bytes;
}

QString WriteReceipt(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}
