#include "workbook/batch/PngEncoding.h"

#include "workbook/batch/FixedDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kBytesPerPixel = 3;
constexpr uint8_t kNoFilter = 0;
// Shorter repeats cost more as a match than as literals.
constexpr int kShortestWorthwhile = 4;
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

// How many bytes from `at` repeat those from `from`, up to `limit`; eight at a time.
int repeatLength(const uint8_t* at, const uint8_t* from, int limit) {
    int length = 0;
    while (length + 8 <= limit) {
        uint64_t a = 0;
        uint64_t b = 0;
        std::memcpy(&a, at + length, 8);
        std::memcpy(&b, from + length, 8);
        if (a != b) {
            const uint64_t differing = a ^ b;
            const int bit =
                std::endian::native == std::endian::little ? std::countr_zero(differing) : std::countl_zero(differing);
            return length + bit / 8;
        }
        length += 8;
    }
    while (length < limit && at[length] == from[length]) ++length;
    return length;
}

// One scanline, unfiltered: each run is said as a repeat of the pixel to its left or of the row
// above, whichever reaches further; the rest as literal bytes.
void compressRow(FixedDeflate& deflate, const uint8_t* row, const uint8_t* above, int rowBytes, int rowDistance) {
    deflate.literal(kNoFilter);
    for (int x = 0; x < rowBytes;) {
        const int limit = std::min(FixedDeflate::kMaxMatch, rowBytes - x);
        const int up = above ? repeatLength(row + x, above + x, limit) : 0;
        // A repeat of the row above as long as one match can say needs no other search.
        const int left = up < limit && x >= kBytesPerPixel ? repeatLength(row + x, row + x - kBytesPerPixel, limit) : 0;
        if (std::max(left, up) < kShortestWorthwhile) {
            deflate.literal(row[x++]);
            continue;
        }
        const bool fromAbove = up >= left;
        deflate.match(fromAbove ? up : left, fromAbove ? rowDistance : kBytesPerPixel);
        x += fromAbove ? up : left;
    }
}

// A scanline equal to the one above, said as that row again without looking at its bytes.
void repeatRowAbove(FixedDeflate& deflate, int rowBytes, int rowDistance) {
    deflate.literal(kNoFilter);
    // Rows and the longest match are whole pixels, so no piece is ever too short for a match.
    static_assert(FixedDeflate::kMaxMatch % kBytesPerPixel == 0 && kBytesPerPixel >= FixedDeflate::kMinMatch);
    for (int x = 0; x < rowBytes;) {
        const int length = std::min(FixedDeflate::kMaxMatch, rowBytes - x);
        deflate.match(length, rowDistance);
        x += length;
    }
}

// One RGB32 scanline as the R, G, B bytes PNG stores.
void rgbBytesOf(const QImage& rgb32, int y, std::vector<uint8_t>& bytes) {
    const auto* pixels = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    const int width = rgb32.width();
    uint8_t* out = bytes.data();
    for (int x = 0; x < width; ++x, out += kBytesPerPixel) {
        out[0] = uint8_t(qRed(pixels[x]));
        out[1] = uint8_t(qGreen(pixels[x]));
        out[2] = uint8_t(qBlue(pixels[x]));
    }
}

// The zlib stream of the picture's scanlines, each led by its filter byte. Rows are converted one
// at a time: a whole RGB copy of a large picture costs more than compressing it.
std::vector<uint8_t> compressed(const QImage& rgb32) {
    const int rowBytes = rgb32.width() * kBytesPerPixel;
    const int rowDistance = rowBytes + 1;
    const bool reachesAbove = rowDistance <= FixedDeflate::kMaxDistance;
    // Room for every byte as a literal, nine bits at most.
    std::vector<uint8_t> out;
    out.reserve(size_t(rowDistance) * size_t(rgb32.height()) * 9 / 8 + 64);
    out.insert(out.end(), kZlibHeader.begin(), kZlibHeader.end());
    FixedDeflate deflate(out);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    std::vector<uint8_t> above(static_cast<size_t>(rowBytes));
    const uLong empty = adler32(0, nullptr, 0);
    uLong checksum = empty;
    uLong rowChecksum = empty;
    const size_t pixelBytes = size_t(rgb32.width()) * sizeof(QRgb);
    for (int y = 0; y < rgb32.height(); ++y) {
        // Most rows of a sheet are blank or gridline, each like the one above.
        const bool likeAbove =
            y > 0 && std::memcmp(rgb32.constScanLine(y), rgb32.constScanLine(y - 1), pixelBytes) == 0;
        if (likeAbove && reachesAbove) {
            repeatRowAbove(deflate, rowBytes, rowDistance);
        } else if (likeAbove) {
            compressRow(deflate, above.data(), nullptr, rowBytes, rowDistance);
        } else {
            rgbBytesOf(rgb32, y, row);
            compressRow(deflate, row.data(), reachesAbove && y > 0 ? above.data() : nullptr, rowBytes, rowDistance);
            rowChecksum = adler32(adler32(empty, &kNoFilter, 1), row.data(), uInt(rowBytes));
            row.swap(above);
        }
        checksum = adler32_combine(checksum, rowChecksum, z_off_t(rowDistance));
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
