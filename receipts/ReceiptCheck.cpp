#include "receipts/ReceiptCheck.h"

#include "receipts/JpegStructure.h"
#include "receipts/PdfReceiptCheck.h"
#include "receipts/ReceiptError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Decoding this small reads the whole image data, for every format, without the memory a
// full-size picture of a large photo takes.
constexpr int kCheckedSide = 256;

QString TypeName(ReceiptType type) {
    switch (type) {
    case ReceiptType::Pdf: return QStringLiteral("PDF");
    case ReceiptType::Jpeg: return QStringLiteral("JPEG");
    case ReceiptType::Png: return QStringLiteral("PNG");
    case ReceiptType::WebP: return QStringLiteral("WebP");
    case ReceiptType::Tiff: return QStringLiteral("TIFF");
    case ReceiptType::Heic: return QStringLiteral("HEIC");
    }
    return {};
}

void CheckImage(const QByteArray& bytes, ReceiptType type, const QString& name) {
    if (!CanReadReceiptType(type))
        throw ReceiptError(
            name, QStringLiteral("is a %1 image, which no image reader on this system reads").arg(TypeName(type)));
    if (type == ReceiptType::Jpeg && !ReadJpegStructure(bytes))
        throw ReceiptError(name, QStringLiteral("is a truncated or damaged JPEG image"));
    QByteArray data = QByteArray::fromRawData(bytes.constData(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, ImageFormatOf(type));
    const QSize size = reader.size();
    if (size.isEmpty())
        throw ReceiptError(name,
                           QStringLiteral("is a damaged %1 image (%2)").arg(TypeName(type), reader.errorString()));
    reader.setScaledSize(size.scaled(kCheckedSide, kCheckedSide, Qt::KeepAspectRatio).expandedTo({1, 1}));
    if (reader.read().isNull())
        throw ReceiptError(
            name, QStringLiteral("is a truncated or damaged %1 image (%2)").arg(TypeName(type), reader.errorString()));
}

}  // namespace

QByteArray ReadReceiptFile(const QString& path, const QString& name) {
    const QFileInfo info(path);
    if (!info.exists()) throw ReceiptError(name, QStringLiteral("does not exist"));
    // Opening a FIFO would wait for a writer; a device or socket is no receipt either.
    if (!info.isFile()) throw ReceiptError(name, QStringLiteral("is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReceiptError(name, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ReceiptError(name, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    if (bytes.isEmpty()) throw ReceiptError(name, QStringLiteral("is empty"));
    return bytes;
}

ReceiptType ReceiptTypeOrRefuse(const QByteArray& bytes, const QString& name) {
    if (bytes.isEmpty()) throw ReceiptError(name, QStringLiteral("is empty"));
    const std::optional<ReceiptType> type = ReceiptTypeOf(bytes);
    if (!type) throw ReceiptError(name, QStringLiteral("is not a PDF, JPEG, PNG, WebP, TIFF or HEIC file"));
    return *type;
}

ReceiptType CheckReceiptBytes(const QByteArray& bytes, const QString& name) {
    const ReceiptType type = ReceiptTypeOrRefuse(bytes, name);
    if (type == ReceiptType::Pdf)
        CheckPdfReceipt(bytes, name);
    else
        CheckImage(bytes, type, name);
    return type;
}

ReceiptType CheckReceiptFile(const QString& path) {
    const QString name = QDir::toNativeSeparators(path);
    return CheckReceiptBytes(ReadReceiptFile(path, name), name);
}
