// The batch's own PNG encoder and its deflate writer, read back by independent decoders (Qt's
// libpng reader, zlib's inflate).
#include "FixedDeflate.h"
#include "PngEncoding.h"

#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>
#include <zlib.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// A raw deflate stream inflated, or nullopt unless it ends properly with no bytes after it.
std::optional<std::vector<uint8_t>> inflatedOf(std::vector<uint8_t> stream, size_t room) {
    std::vector<uint8_t> inflated(room);
    z_stream zs{};
    if (inflateInit2(&zs, -15) != Z_OK) return std::nullopt;
    zs.next_in = stream.data();
    zs.avail_in = uInt(stream.size());
    zs.next_out = inflated.data();
    zs.avail_out = uInt(inflated.size());
    const bool ended = inflate(&zs, Z_FINISH) == Z_STREAM_END && zs.avail_in == 0;
    inflated.resize(zs.total_out);
    inflateEnd(&zs);
    if (!ended) return std::nullopt;
    return inflated;
}

// Whether the image data inflates in full and matches its checksum: a PNG reader may pass over a
// wrong checksum, zlib does not.
bool inflatesWithItsChecksum(const QByteArray& png, qsizetype expectedBytes) {
    QByteArray stream;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = qsizetype(qFromBigEndian<quint32>(png.constData() + at));
        if (png.mid(at + 4, 4) == "IDAT") stream += png.mid(at + 8, length);
        at += length + 12;
    }
    std::vector<uint8_t> inflated(size_t(expectedBytes) + 1);
    uLongf size = uLongf(inflated.size());
    return uncompress(inflated.data(), &size, reinterpret_cast<const Bytef*>(stream.constData()),
                      uLong(stream.size())) == Z_OK &&
           qsizetype(size) == expectedBytes;
}

// The bytes of the scanlines PNG holds: a filter byte, then three per pixel.
qsizetype scanlineBytes(const QSize& size) { return qsizetype(size.height()) * (1 + 3 * qsizetype(size.width())); }

TEST(PngEncoding, EveryPixelReadsBackExactlyWhateverItsNeighbours) {
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(257, 61)}) {
        QImage picture(size, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 37 + y) & 0xFF, (x * y * 11) & 0xFF, (255 - x + y * 3) & 0xFF));
        QPainter(&picture).drawText(QPoint(0, size.height()), QStringLiteral("Total $448.94"));

        const QByteArray png = EncodePng(picture);
        EXPECT_TRUE(inflatesWithItsChecksum(png, scanlineBytes(size)));
        const QImage decoded = QImage::fromData(png, "PNG");
        ASSERT_EQ(decoded.size(), size);
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32))
            << size.width() << "x" << size.height();
    }
    EXPECT_THROW(EncodePng(QImage()), BatchFailure);
}

// Sheet-like pictures are mostly repeats of the pixel to the left and of the row above: runs of
// every length up to and past the longest match, rows too wide for the row above to be in reach,
// rows like the one above, in reach and out of it, and a repeat broken one byte into a pixel.
TEST(PngEncoding, RepeatsOfEveryLengthReadBackExactly) {
    // The tall one is compressed in bands side by side, a band starting on a row like the one above.
    for (const QSize size : {QSize(2, 3), QSize(700, 90), QSize(11000, 4), QSize(11000, 30), QSize(300, 600)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::white);
        {
            QPainter painter(&picture);
            for (int x = 0; x < size.width(); x += 1 + x % 97)
                painter.fillRect(x, 0, 1, size.height(), QColor(0xC0C0C0));
            for (int y = 1; y < size.height(); y += 7) painter.fillRect(0, y, size.width(), 1, QColor(0xC0C0C0));
            painter.drawText(QPoint(3, size.height() - 2), QStringLiteral("Client visit $118.74"));
        }
        for (int x = 0; x < size.width(); x += 131) picture.setPixel(x, size.height() - 1, qRgb(0xFF, 0xFF, 0xFE));

        const QByteArray png = EncodePng(picture);
        EXPECT_TRUE(inflatesWithItsChecksum(png, scanlineBytes(size))) << size.width() << "x" << size.height();
        const QImage decoded = QImage::fromData(png, "PNG");
        ASSERT_EQ(decoded.size(), size);
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), picture) << size.width() << "x" << size.height();
    }
}

// Every match length, and distances at both ends of every distance code's range, inflate to the
// bytes they stand for.
TEST(FixedDeflate, EveryLengthAndDistanceInflatesToTheBytesItRepeats) {
    std::vector<uint8_t> expected;
    std::vector<uint8_t> stream;
    FixedDeflate deflate(stream);
    const auto literal = [&](uint8_t byte) {
        deflate.literal(byte);
        expected.push_back(byte);
    };
    for (int i = 0; i < FixedDeflate::kMaxDistance; ++i) literal(uint8_t(i * 7 + i / 256));
    const auto match = [&](int length, int distance) {
        deflate.match(length, distance);
        for (int i = 0; i < length; ++i) expected.push_back(expected[expected.size() - size_t(distance)]);
        literal(uint8_t(expected.size()));
    };
    for (int length = FixedDeflate::kMinMatch; length <= FixedDeflate::kMaxMatch; ++length)
        match(length, 1 + length % 5);
    for (int base = 1; base < FixedDeflate::kMaxDistance; base *= 2)
        for (const int distance : {base, base + 1, base + base / 2, 2 * base - 1})
            if (distance <= FixedDeflate::kMaxDistance) match(FixedDeflate::kMaxMatch, distance);
    match(FixedDeflate::kMinMatch, FixedDeflate::kMaxDistance);
    deflate.finish();
    EXPECT_EQ(inflatedOf(stream, expected.size() + 1), expected);
}

// A block that is not the last ends on a whole byte, so blocks made apart can be joined; a repeat in
// a later block may reach back into an earlier one.
TEST(FixedDeflate, BlocksMadeApartJoinIntoOneStream) {
    std::vector<uint8_t> first;
    FixedDeflate opening(first, false);
    for (const uint8_t byte : {'a', 'b', 'c', 'd'}) opening.literal(byte);
    opening.finish();
    std::vector<uint8_t> second;
    FixedDeflate closing(second);
    closing.match(8, 4);
    closing.literals(std::vector<uint8_t>{'e', 'f', 'g', 'h'});
    closing.finish();
    first.insert(first.end(), second.begin(), second.end());
    const std::string expected = "abcdabcdabcdefgh";
    EXPECT_EQ(inflatedOf(first, 64), std::vector<uint8_t>(expected.begin(), expected.end()));
}

}  // namespace
