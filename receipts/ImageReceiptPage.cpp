#include "receipts/ImageReceiptPage.h"

#include "receipts/JpegStructure.h"
#include "receipts/ReceiptError.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPointsPerInch = 72.0;
// Photos that were re-encoded anyway keep most of their detail at a fraction of the samples' size.
constexpr int kJpegQuality = 90;

[[noreturn]] void Unreadable(const QString& name, const QString& why) {
    throw ReceiptError(name, QStringLiteral("cannot be read as an image (%1)").arg(why));
}

// The room for the image on a page of the layout, in points from the paper's corner.
QRectF ImageArea(const QPageLayout& layout, double captionHeight) {
    const QRectF paper(QPointF(0, 0), layout.fullRect(QPageLayout::Point).size());
    const QMarginsF margins = layout.margins(QPageLayout::Point);
    QRectF area = paper.marginsRemoved(margins);
    area.setTop(std::max(area.top(), CaptionBand(layout, captionHeight).bottom()));
    return area;
}

double FitScale(const QSizeF& image, const QRectF& area) {
    return std::min(area.width() / image.width(), area.height() / image.height());
}

QRectF Centred(const QSizeF& size, const QRectF& area) {
    return {area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2,
            size.width(), size.height()};
}

// Composites what is transparent on white paper, in place.
void OnWhite(QImage& image) {
    if (!image.hasAlphaChannel()) return;
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int clear = 255 - qAlpha(line[x]);
            line[x] = qRgb(qRed(line[x]) + clear, qGreen(line[x]) + clear, qBlue(line[x]) + clear);
        }
    }
    image.convertTo(QImage::Format_RGB888);
}

void Encode(QImage image, bool asJpeg, ImageReceiptPage& page) {
    OnWhite(image);
    const bool grey = image.format() == QImage::Format_Grayscale8;
    if (!grey) image.convertTo(QImage::Format_RGB888);
    page.width = image.width();
    page.height = image.height();
    page.components = grey ? 1 : 3;
    page.data.clear();
    if (asJpeg) {
        QBuffer buffer(&page.data);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(kJpegQuality);
        if (writer.write(image)) {
            page.encoding = ImageReceiptPage::Encoding::Jpeg;
            return;
        }
        page.data.clear();
    }
    const qsizetype rowBytes = qsizetype(image.width()) * page.components;
    page.data.reserve(rowBytes * image.height());
    for (int y = 0; y < image.height(); ++y)
        page.data.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
    page.encoding = ImageReceiptPage::Encoding::Samples;
}

}  // namespace

QRectF CaptionBand(const QPageLayout& layout, double captionHeight) {
    const double height = std::max(layout.margins(QPageLayout::Point).top(), captionHeight);
    return {0, 0, layout.fullRect(QPageLayout::Point).width(), height};
}

ImageReceiptPage MakeImageReceiptPage(const QByteArray& bytes, ReceiptType type, const QString& name,
                                      const QPageLayout& paper, double captionHeight) {
    std::optional<JpegStructure> jpeg;
    if (type == ReceiptType::Jpeg && !(jpeg = ReadJpegStructure(bytes)))
        throw ReceiptError(name, QStringLiteral("is a truncated or damaged JPEG image"));

    QByteArray data = QByteArray::fromRawData(bytes.constData(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, ImageFormatOf(type));
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.isEmpty()) Unreadable(name, reader.errorString());
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = turned ? stored.transposed() : stored;

    ImageReceiptPage page;
    QPageLayout turnedPaper = paper;
    turnedPaper.setOrientation(paper.orientation() == QPageLayout::Portrait ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait);
    const QRectF area = ImageArea(paper, captionHeight);
    const QRectF turnedArea = ImageArea(turnedPaper, captionHeight);
    const bool turnPaper = FitScale(upright, turnedArea) > FitScale(upright, area);
    page.layout = turnPaper ? turnedPaper : paper;
    const QRectF& room = turnPaper ? turnedArea : area;
    page.place = Centred(QSizeF(upright) * FitScale(upright, room), room);

    const QSize most(int(std::floor(page.place.width() / kPointsPerInch * kMostDotsPerInch)),
                     int(std::floor(page.place.height() / kPointsPerInch * kMostDotsPerInch)));
    const bool fewerPixels = upright.width() > most.width() || upright.height() > most.height();
    if (jpeg && PdfCanCarry(*jpeg) && !fewerPixels && reader.transformation() == QImageIOHandler::TransformationNone) {
        page.width = jpeg->width;
        page.height = jpeg->height;
        page.components = jpeg->components;
        page.encoding = ImageReceiptPage::Encoding::Jpeg;
        page.data = bytes;
        return page;
    }
    if (fewerPixels) {
        const QSize target = upright.scaled(most.expandedTo({1, 1}), Qt::KeepAspectRatio).expandedTo({1, 1});
        // The reader scales the picture as stored, before turning it upright.
        reader.setScaledSize(turned ? target.transposed() : target);
    }
    QImage image = reader.read();
    if (image.isNull()) Unreadable(name, reader.errorString());
    Encode(std::move(image), type == ReceiptType::Jpeg || type == ReceiptType::Heic, page);
    return page;
}
