#include "workbook/batch/PngEncoding.h"

#include "workbook/batch/FixedDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kBytesPerPixel = 3;
constexpr uint8_t kNoFilter = 0;
// One pixel repeated costs more as a match than as its three literal bytes.
constexpr int kShortestWorthwhile = 2;
// Matches are whole pixels.
constexpr int kMaxMatchPixels = FixedDeflate::kMaxMatch / kBytesPerPixel;
// zlib's header for deflate with a 32 KB window, marked as fastest compression.
constexpr std::array<uint8_t, 2> kZlibHeader{0x78, 0x01};

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

// How many pixels from `at` equal those from `from`, up to `limit`.
int samePixels(const QRgb* at, const QRgb* from, int limit) {
    int count = 0;
    while (count < limit && at[count] == from[count]) ++count;
    return count;
}

// One scanline, unfiltered: each run of pixels is said as a repeat of the pixel to its left or of
// the row above, whichever reaches further; any other pixel as its three bytes.
void compressRow(FixedDeflate& deflate, const QRgb* row, const QRgb* above, int width, int rowDistance) {
    deflate.literal(kNoFilter);
    for (int x = 0; x < width;) {
        const int limit = std::min(kMaxMatchPixels, width - x);
        const int up = above ? samePixels(row + x, above + x, limit) : 0;
        // A repeat of the row above as long as one match can say needs no other search.
        const int left = up < limit && x > 0 ? samePixels(row + x, row + x - 1, limit) : 0;
        if (std::max(up, left) < kShortestWorthwhile) {
            const std::array<uint8_t, kBytesPerPixel> bytes{uint8_t(qRed(row[x])), uint8_t(qGreen(row[x])),
                                                            uint8_t(qBlue(row[x]))};
            deflate.literals(bytes);
            ++x;
            continue;
        }
        const bool fromAbove = up >= left;
        const int run = fromAbove ? up : left;
        deflate.match(run * kBytesPerPixel, fromAbove ? rowDistance : kBytesPerPixel);
        x += run;
    }
}

// A scanline equal to the one above, said as that row again without looking at its pixels.
void repeatRowAbove(FixedDeflate& deflate, int width, int rowDistance) {
    deflate.literal(kNoFilter);
    for (int x = 0; x < width;) {
        const int run = std::min(kMaxMatchPixels, width - x);
        deflate.match(run * kBytesPerPixel, rowDistance);
        x += run;
    }
}

// zlib's checksum of a scanline as PNG stores it (its filter byte, then each pixel's R, G, B),
// straight from the pixels. Over n bytes x[i] the checksum's two sums grow by sum(x[i]) and by
// n * (first sum) + sum((n - i) * x[i]); written as sums over pixels, the loop has no chain from
// one byte to the next and vectorises.
uLong rowChecksum(const QRgb* pixels, int width) {
    constexpr uint64_t kModulus = 65521;
    // Small enough for every sum below to stay within 64 bits.
    constexpr int kPixelsPerBlock = 1 << 16;
    uint64_t sum = 1;  // after the filter byte, 0
    uint64_t sumOfSums = 1;
    for (int start = 0; start < width; start += kPixelsPerBlock) {
        const int count = std::min(kPixelsPerBlock, width - start);
        uint64_t bytes = 0;     // sum of the bytes
        uint64_t weighted = 0;  // sum of each pixel's bytes times its index
        uint64_t inner = 0;     // sum of G + 2B: the bytes' places within their pixel
        for (int x = 0; x < count; ++x) {
            const QRgb pixel = pixels[start + x];
            const uint32_t red = qRed(pixel), green = qGreen(pixel), blue = qBlue(pixel);
            const uint32_t all = red + green + blue;
            bytes += all;
            weighted += uint64_t(x) * all;
            inner += green + 2 * blue;
        }
        const uint64_t n = uint64_t(count) * kBytesPerPixel;
        // sum((n - i) * x[i]) with i = 3 * pixel + place
        const uint64_t ramp = n * bytes - (kBytesPerPixel * weighted + inner);
        sumOfSums = (sumOfSums + (n % kModulus) * sum + ramp) % kModulus;
        sum = (sum + bytes) % kModulus;
    }
    return uLong(sumOfSums << 16 | sum);
}

// The zlib stream of the picture's scanlines, each led by its filter byte, read straight from the
// RGB32 pixels: an RGB copy of a large picture costs more than compressing it.
std::vector<uint8_t> compressed(const QImage& rgb32) {
    const int width = rgb32.width();
    const int rowDistance = width * kBytesPerPixel + 1;
    const bool reachesAbove = rowDistance <= FixedDeflate::kMaxDistance;
    // Room for every byte as a literal, nine bits at most.
    std::vector<uint8_t> out;
    out.reserve(size_t(rowDistance) * size_t(rgb32.height()) * 9 / 8 + 64);
    out.insert(out.end(), kZlibHeader.begin(), kZlibHeader.end());
    FixedDeflate deflate(out);
    const size_t pixelBytes = size_t(width) * sizeof(QRgb);
    uLong checksum = adler32(0, nullptr, 0);
    uLong checksumOfRow = checksum;
    for (int y = 0; y < rgb32.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
        const auto* above = y > 0 ? reinterpret_cast<const QRgb*>(rgb32.constScanLine(y - 1)) : nullptr;
        // Most rows of a sheet are blank or gridline, each like the one above.
        const bool likeAbove = above && std::memcmp(row, above, pixelBytes) == 0;
        if (likeAbove && reachesAbove)
            repeatRowAbove(deflate, width, rowDistance);
        else
            compressRow(deflate, row, reachesAbove ? above : nullptr, width, rowDistance);
        if (!likeAbove) checksumOfRow = rowChecksum(row, width);
        checksum = adler32_combine(checksum, checksumOfRow, z_off_t(rowDistance));
    }
    deflate.finish();
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(checksum >> shift));
    return out;
}

}  // namespace

QByteArray EncodePng(const QImage& picture) {
    if (picture.isNull()) return {};
    // Each colour stored is the one the picture's RGB32 form holds (a sheet picture is RGB32 already).
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) return {};
    const std::vector<uint8_t> stream = compressed(rgb);
    const QByteArray data(reinterpret_cast<const char*>(stream.data()), qsizetype(stream.size()));

    QByteArray header;
    appendBigEndian(header, uint32_t(rgb.width()));
    appendBigEndian(header, uint32_t(rgb.height()));
    header.append(char(8));     // bits per sample
    header.append(char(2));     // truecolour
    header.append(3, char(0));  // deflate, adaptive filtering, no interlace

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", data);
    appendChunk(png, "IEND", {});
    return png;
}
