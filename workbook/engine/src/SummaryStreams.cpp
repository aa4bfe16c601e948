#include "SummaryStreams.h"

#include "ByteIo.h"

#include <array>

namespace xls::biff {
namespace {

using FormatId = std::array<uint8_t, 16>;

// F29F85E0-4FF9-1068-AB91-08002B27B3D9 and D5CDD502-2E9C-101B-9397-08002B2CF9AE as stored.
constexpr FormatId kSummaryInformation{0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                       0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
constexpr FormatId kDocumentSummaryInformation{0x02, 0xD5, 0xCD, 0xD5, 0x9C, 0x2E, 0x1B, 0x10,
                                               0x93, 0x97, 0x08, 0x00, 0x2B, 0x2C, 0xF9, 0xAE};

constexpr uint16_t kCodePageWindowsLatin1 = 1252;
constexpr uint32_t kPropertyCodePage = 1;
constexpr uint16_t kTypeInt16 = 0x0002;

std::vector<uint8_t> propertySetStream(const FormatId& formatId) {
    ByteWriter out;
    out.u16(0xFFFE);      // byte order
    out.u16(0);           // version
    out.u32(0x00020006);  // originating system
    out.zeros(16);        // class id
    out.u32(1);           // one property set
    out.bytes(formatId);
    out.u32(48);  // offset of the set
    // The set: size, count, (id, offset) pairs, then the code page as a 2-byte integer padded to 4.
    out.u32(24);
    out.u32(1);
    out.u32(kPropertyCodePage);
    out.u32(16);
    out.u16(kTypeInt16);
    out.u16(0);
    out.u16(kCodePageWindowsLatin1);
    out.u16(0);
    return out.take();
}

}  // namespace

std::vector<uint8_t> neutralSummaryInformation() { return propertySetStream(kSummaryInformation); }

std::vector<uint8_t> neutralDocumentSummaryInformation() { return propertySetStream(kDocumentSummaryInformation); }

}  // namespace xls::biff
