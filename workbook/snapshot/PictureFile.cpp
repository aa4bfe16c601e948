#include "PictureFile.h"

#include "app/OutputSet.h"
#include "workbook/snapshot/PictureFileLayout.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <bit>

namespace {

// RGB32 rows in memory are the file's rows only where the processor stores the low byte first.
constexpr bool kRowsAreFileRows = std::endian::native == std::endian::little;

host::HostError Unencodable() { return host::HostError(QStringLiteral("The sheet picture could not be encoded.")); }

host::HostError Unreadable(const QString& path, const QString& why) {
    return host::HostError(QStringLiteral("The picture file %1 %2.").arg(QDir::toNativeSeparators(path), why));
}

// The file as it is written: its header, then the pixels where they lie in the picture, uncopied.
struct PictureFileParts {
    QImage rgb;
    QByteArray header;
    QByteArray pixels;  // over rgb's rows
};

PictureFileParts PartsOf(const QImage& picture) {
    if (picture.isNull() || picture.width() > kMaxPictureSide || picture.height() > kMaxPictureSide)
        throw Unencodable();
    PictureFileParts parts;
    parts.rgb = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const QImage& rgb = parts.rgb;
    if constexpr (!kRowsAreFileRows) {
        QBuffer buffer(&parts.header);
        if (!buffer.open(QIODevice::WriteOnly) || !rgb.save(&buffer, "BMP")) throw Unencodable();
        return parts;
    }
    const auto header = PictureFileHeader(rgb.width(), rgb.height(), rgb.dotsPerMeterX(), rgb.dotsPerMeterY());
    parts.header = QByteArray(reinterpret_cast<const char*>(header.data()), qsizetype(header.size()));
    // An RGB32 row is always a whole number of pixels long, so the rows follow one another unpadded.
    parts.pixels = QByteArray::fromRawData(reinterpret_cast<const char*>(rgb.constBits()), rgb.sizeInBytes());
    return parts;
}

}  // namespace

QByteArray PictureFileBytes(const QImage& picture) {
    const PictureFileParts parts = PartsOf(picture);
    return parts.header + parts.pixels;
}

void WritePictureFile(const QImage& picture, const QString& path) {
    const PictureFileParts parts = PartsOf(picture);
    OutputSet output;
    QIODevice& file = output.join(path, LinkAtTarget::Replace);
    WriteToOutput(file, parts.header, path);
    WriteToOutput(file, parts.pixels, path);
    output.commit();
}

QImage LoadPictureFile(const QString& path) {
    if constexpr (kRowsAreFileRows) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw Unreadable(path, QStringLiteral("cannot be opened: ") + file.errorString());
        const QByteArray header = file.read(qint64(kPictureHeaderSize));
        const auto layout =
            ReadPictureLayout(std::span(reinterpret_cast<const uint8_t*>(header.constData()), size_t(header.size())),
                              uint64_t(file.size()));
        if (layout) {
            QImage picture(layout->width, layout->height, QImage::Format_RGB32);
            if (picture.isNull() || size_t(picture.sizeInBytes()) != layout->pixelBytes)
                throw Unreadable(path, QStringLiteral("holds a picture too large to hold in memory"));
            if (file.read(reinterpret_cast<char*>(picture.bits()), qint64(layout->pixelBytes)) !=
                qint64(layout->pixelBytes))
                throw Unreadable(path, QStringLiteral("is cut short"));
            picture.setDotsPerMeterX(layout->dotsPerMeterX);
            picture.setDotsPerMeterY(layout->dotsPerMeterY);
            return picture;
        }
    }
    QImageReader reader(path);
    QImage picture = reader.read();
    if (picture.isNull())
        throw Unreadable(path, QStringLiteral("cannot be read as a picture: ") + reader.errorString());
    return picture;
}
