// The batch's own PNG encoder, read back by an independent decoder (Qt's libpng reader).
#include "workbook/batch/PngEncoding.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(PngEncoding, EveryPixelReadsBackExactlyWhateverItsNeighbours) {
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(257, 61)}) {
        QImage picture(size, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 37 + y) & 0xFF, (x * y * 11) & 0xFF, (255 - x + y * 3) & 0xFF));
        QPainter(&picture).drawText(QPoint(0, size.height()), QStringLiteral("Total $448.94"));

        const QImage decoded = QImage::fromData(EncodePng(picture), "PNG");
        ASSERT_EQ(decoded.size(), size);
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32))
            << size.width() << "x" << size.height();
    }
    EXPECT_TRUE(EncodePng(QImage()).isEmpty());
}

}  // namespace
