#include "workbook/batch/PngEncoding.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr int kBytesPerPixel = 3;
constexpr uint8_t kSubFilter = 1;
// zlib's fastest level: on sheet pictures, smaller than its run-length strategy and as fast.
constexpr int kFastestCompression = 1;

void appendBigEndian(QByteArray& out, uint32_t value) {
    const std::array<char, 4> bytes{char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes.data(), qsizetype(bytes.size()));
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data) {
    appendBigEndian(out, uint32_t(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* checked = reinterpret_cast<const Bytef*>(out.constData() + start);
    appendBigEndian(out, uint32_t(crc32(crc32(0, nullptr, 0), checked, uInt(out.size() - start))));
}

// Scanlines as PNG stores them: a filter byte, then each byte less the one a pixel to its left.
// One buffer serves every picture of a run: a fresh one per picture costs page faults.
const std::vector<uint8_t>& filteredRows(const QImage& rgb) {
    static std::vector<uint8_t> rows;
    const int width = rgb.width();
    const size_t stride = size_t(width) * kBytesPerPixel + 1;
    rows.resize(stride * size_t(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* row = rows.data() + stride * size_t(y);
        row[0] = kSubFilter;
        uint8_t left[kBytesPerPixel] = {0, 0, 0};
        for (int x = 0; x < width; ++x) {
            const uint8_t rgbBytes[kBytesPerPixel] = {uint8_t(qRed(pixels[x])), uint8_t(qGreen(pixels[x])),
                                                      uint8_t(qBlue(pixels[x]))};
            for (int c = 0; c < kBytesPerPixel; ++c) {
                row[1 + size_t(x) * kBytesPerPixel + size_t(c)] = uint8_t(rgbBytes[c] - left[c]);
                left[c] = rgbBytes[c];
            }
        }
    }
    return rows;
}

QByteArray compressed(const std::vector<uint8_t>& rows) {
    z_stream stream{};
    if (deflateInit2(&stream, kFastestCompression, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
    QByteArray out(qsizetype(deflateBound(&stream, uLong(rows.size()))), Qt::Uninitialized);
    stream.next_in = const_cast<Bytef*>(rows.data());
    stream.avail_in = uInt(rows.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}

}  // namespace

QByteArray EncodePng(const QImage& picture) {
    if (picture.isNull()) return {};
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QByteArray data = compressed(filteredRows(rgb));
    if (data.isEmpty()) return {};

    QByteArray header;
    appendBigEndian(header, uint32_t(rgb.width()));
    appendBigEndian(header, uint32_t(rgb.height()));
    header.append(char(8));  // bits per sample
    header.append(char(2));  // truecolour
    header.append(3, char(0));  // deflate, adaptive filtering, no interlace

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", data);
    appendChunk(png, "IEND", {});
    return png;
}
