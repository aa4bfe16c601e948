#include "receipts/JpegStructure.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr uint8_t kMarker = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kStartOfScan = 0xDA;

// Markers without a length: restart markers and TEM.
bool StandsAlone(uint8_t marker) { return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01; }

// SOF0..SOF15 but DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameHeader(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

class MarkerWalk {
public:
    explicit MarkerWalk(QByteArrayView bytes)
        : m_data(reinterpret_cast<const uint8_t*>(bytes.data())), m_size(size_t(bytes.size())) {}

    std::optional<JpegStructure> run() {
        if (m_size < 2 || m_data[0] != kMarker || m_data[1] != kStartOfImage) return std::nullopt;
        m_at = 2;
        bool framed = false;
        bool scanned = false;
        while (const std::optional<uint8_t> marker = nextMarker()) {
            if (*marker == kEndOfImage) return framed && scanned ? std::optional(m_jpeg) : std::nullopt;
            if (*marker == kStartOfImage) return std::nullopt;
            if (StandsAlone(*marker)) continue;
            if (m_at + 2 > m_size) return std::nullopt;
            const size_t length = size_t(m_data[m_at]) << 8 | m_data[m_at + 1];
            if (length < 2 || m_at + length > m_size) return std::nullopt;
            const uint8_t* segment = m_data + m_at + 2;
            const size_t segmentSize = length - 2;
            m_at += length;
            if (IsFrameHeader(*marker) && !framed) {
                if (segmentSize < 6) return std::nullopt;
                framed = true;
                m_jpeg.precision = segment[0];
                m_jpeg.height = segment[1] << 8 | segment[2];
                m_jpeg.width = segment[3] << 8 | segment[4];
                m_jpeg.components = segment[5];
                m_jpeg.dctCoded = *marker == 0xC0 || *marker == 0xC1 || *marker == 0xC2;
            } else if (*marker == kStartOfScan) {
                if (!framed) return std::nullopt;
                scanned = true;
                skipEntropyCodedData();
            }
        }
        return std::nullopt;
    }

private:
    // The marker at the current position, fill bytes skipped; nullopt at the end of the data.
    std::optional<uint8_t> nextMarker() {
        if (m_at >= m_size || m_data[m_at] != kMarker) return std::nullopt;
        while (m_at < m_size && m_data[m_at] == kMarker) ++m_at;
        if (m_at >= m_size) return std::nullopt;
        return m_data[m_at++];
    }

    // Leaves the position on the marker that ends the scan: any but a stuffed zero or a restart.
    void skipEntropyCodedData() {
        while (m_at < m_size) {
            const void* found = std::memchr(m_data + m_at, kMarker, m_size - m_at);
            if (!found) {
                m_at = m_size;
                return;
            }
            size_t next = size_t(static_cast<const uint8_t*>(found) - m_data) + 1;
            while (next < m_size && m_data[next] == kMarker) ++next;
            if (next >= m_size) {
                m_at = m_size;
                return;
            }
            if (m_data[next] != 0 && !StandsAlone(m_data[next])) {
                m_at = next - 1;
                return;
            }
            m_at = next + 1;
        }
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
    JpegStructure m_jpeg;
};

}  // namespace

std::optional<JpegStructure> ReadJpegStructure(QByteArrayView bytes) { return MarkerWalk(bytes).run(); }

bool PdfCanCarry(const JpegStructure& jpeg) {
    return jpeg.dctCoded && jpeg.precision == 8 && jpeg.width > 0 && jpeg.height > 0 &&
           (jpeg.components == 1 || jpeg.components == 3);
}
