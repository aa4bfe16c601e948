#include "receipts/ReceiptType.h"

#include <QImageReader>
#include <QStringList>

#include <array>

namespace {

bool StartsWith(QByteArrayView bytes, QByteArrayView prefix, qsizetype at = 0) {
    return bytes.size() >= at + prefix.size() && bytes.sliced(at, prefix.size()) == prefix;
}

// The ISO base media file brands of HEIF images coded with HEVC, and of HEIF collections.
bool IsHeifBrand(QByteArrayView brand) {
    static const std::array<QByteArrayView, 8> brands{"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"};
    for (QByteArrayView known : brands)
        if (brand == known) return true;
    return false;
}

}  // namespace

std::optional<ReceiptType> ReceiptTypeOf(QByteArrayView bytes) {
    // A PDF may carry a few bytes of junk before its header; readers look within the first kilobyte.
    if (bytes.first(std::min<qsizetype>(bytes.size(), 1024)).indexOf(QByteArrayView("%PDF-")) >= 0)
        return ReceiptType::Pdf;
    if (StartsWith(bytes, "\xFF\xD8\xFF")) return ReceiptType::Jpeg;
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return ReceiptType::Png;
    if (StartsWith(bytes, "RIFF") && StartsWith(bytes, "WEBP", 8)) return ReceiptType::WebP;
    if (StartsWith(bytes, QByteArrayView("II*\0", 4)) || StartsWith(bytes, QByteArrayView("MM\0*", 4)))
        return ReceiptType::Tiff;
    if (StartsWith(bytes, "ftyp", 4) && bytes.size() >= 12 && IsHeifBrand(bytes.sliced(8, 4))) return ReceiptType::Heic;
    return std::nullopt;
}

QString ReceiptExtension(ReceiptType type) {
    switch (type) {
    case ReceiptType::Pdf: return QStringLiteral(".pdf");
    case ReceiptType::Jpeg: return QStringLiteral(".jpg");
    case ReceiptType::Png: return QStringLiteral(".png");
    case ReceiptType::WebP: return QStringLiteral(".webp");
    case ReceiptType::Tiff: return QStringLiteral(".tif");
    case ReceiptType::Heic: return QStringLiteral(".heic");
    }
    return {};
}

QByteArray ImageFormatOf(ReceiptType type) {
    switch (type) {
    case ReceiptType::Pdf: return {};
    case ReceiptType::Jpeg: return QByteArrayLiteral("jpeg");
    case ReceiptType::Png: return QByteArrayLiteral("png");
    case ReceiptType::WebP: return QByteArrayLiteral("webp");
    case ReceiptType::Tiff: return QByteArrayLiteral("tiff");
    case ReceiptType::Heic: return QByteArrayLiteral("heic");
    }
    return {};
}

bool CanReadReceiptType(ReceiptType type) {
    return type == ReceiptType::Pdf || QImageReader::supportedImageFormats().contains(ImageFormatOf(type));
}

QString ReceiptFileFilter() {
    QStringList extensions{QStringLiteral("pdf"),  QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
                           QStringLiteral("webp"), QStringLiteral("tif"), QStringLiteral("tiff")};
    if (CanReadReceiptType(ReceiptType::Heic)) extensions << QStringLiteral("heic") << QStringLiteral("heif");
    // Dialogs match names case-sensitively here, and cameras name their photos in capitals.
    QStringList patterns;
    for (const QString& extension : extensions)
        patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toUpper();
    return QStringLiteral("Receipts (%1)").arg(patterns.join(QLatin1Char(' ')));
}
