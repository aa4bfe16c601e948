#include "PngEncoding.h"

#include "Alongside.h"
#include "FixedDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <future>
#include <thread>
#include <utility>
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

// A band of scanlines as deflate blocks, and the checksum of the band's bytes alone.
struct Band {
    std::vector<uint8_t> stream;
    uLong checksum = adler32(0, nullptr, 0);
};

// Rows [first, end) of the picture, each led by its filter byte, read straight from the RGB32
// pixels: an RGB copy of a large picture costs more than compressing it. The row above the band
// may still be repeated: the window of the blocks before holds it.
Band compressBand(const QImage& rgb32, int first, int end, bool last) {
    const int width = rgb32.width();
    const int rowDistance = width * kBytesPerPixel + 1;
    const bool reachesAbove = rowDistance <= FixedDeflate::kMaxDistance;
    Band band;
    // Room for every byte as a literal, nine bits at most.
    band.stream.reserve(size_t(rowDistance) * size_t(end - first) * 9 / 8 + 64);
    FixedDeflate deflate(band.stream, last);
    const size_t pixelBytes = size_t(width) * sizeof(QRgb);
    uLong checksumOfRow = band.checksum;
    for (int y = first; y < end; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
        const auto* above = y > 0 ? reinterpret_cast<const QRgb*>(rgb32.constScanLine(y - 1)) : nullptr;
        // Most rows of a sheet are blank or gridline, each like the one above.
        const bool likeAbove = above && std::memcmp(row, above, pixelBytes) == 0;
        if (likeAbove && reachesAbove)
            repeatRowAbove(deflate, width, rowDistance);
        else
            compressRow(deflate, row, reachesAbove ? above : nullptr, width, rowDistance);
        if (!likeAbove || y == first) checksumOfRow = rowChecksum(row, width);
        band.checksum = adler32_combine(band.checksum, checksumOfRow, z_off_t(rowDistance));
    }
    deflate.finish();
    return band;
}

// Bands are compressed side by side, one per processor, none too short to be worth a thread.
int bandCount(int height) {
    constexpr int kMostBands = 4;
    constexpr int kFewestRowsPerBand = 128;
    const int processors = std::clamp(int(std::thread::hardware_concurrency()), 1, kMostBands);
    return std::clamp(height / kFewestRowsPerBand, 1, processors);
}

// The zlib stream of the picture's scanlines.
std::vector<uint8_t> compressed(const QImage& rgb32) {
    const int height = rgb32.height();
    const int bands = bandCount(height);
    const int rowsPerBand = (height + bands - 1) / bands;
    const auto rowsOf = [&](int band) {
        return std::pair(band * rowsPerBand, std::min(height, (band + 1) * rowsPerBand));
    };
    std::vector<std::future<Band>> others;
    for (int band = 1; band < bands; ++band) {
        const auto [first, end] = rowsOf(band);
        const bool last = band == bands - 1;
        others.push_back(Alongside([&rgb32, first, end, last] { return compressBand(rgb32, first, end, last); }));
    }
    const auto [first, end] = rowsOf(0);
    Band whole = compressBand(rgb32, first, end, bands == 1);
    whole.stream.insert(whole.stream.begin(), kZlibHeader.begin(), kZlibHeader.end());
    const auto rowDistance = z_off_t(rgb32.width()) * kBytesPerPixel + 1;
    for (int band = 1; band < bands; ++band) {
        const Band next = others[size_t(band - 1)].get();
        whole.stream.insert(whole.stream.end(), next.stream.begin(), next.stream.end());
        const auto [bandFirst, bandEnd] = rowsOf(band);
        whole.checksum = adler32_combine(whole.checksum, next.checksum, z_off_t(bandEnd - bandFirst) * rowDistance);
    }
    for (int shift = 24; shift >= 0; shift -= 8) whole.stream.push_back(uint8_t(whole.checksum >> shift));
    return std::move(whole.stream);
}

}  // namespace

QByteArray EncodePng(const QImage& picture) {
    const auto unencodable = [] {
        return CouldNotWrite(QStringLiteral("the picture of the sheet could not be encoded"));
    };
    if (picture.isNull()) throw unencodable();
    // Each colour stored is the one the picture's RGB32 form holds (a sheet picture is RGB32 already).
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) throw unencodable();
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
