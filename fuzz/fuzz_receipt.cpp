// Bytes attached as a receipt: the JPEG marker walk, the image readers' header, orientation and
// data paths as our check and page composer call them, and the PDF library's open path. No crash
// and no hang; a file is taken or refused with a reason.
#include "receipts/ImageReceiptPage.h"
#include "receipts/JpegStructure.h"
#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptError.h"

#include <QImageReader>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A header may claim any size: reading stops at what a receipt could reasonably take.
    QImageReader::setAllocationLimit(64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<JpegStructure> jpeg = ReadJpegStructure(bytes))
        if (jpeg->width > 0xFFFF || jpeg->height > 0xFFFF || jpeg->components > 255) std::abort();
    const QString name = QStringLiteral("fuzz");
    try {
        const ReceiptType type = CheckReceiptBytes(bytes, name);
        if (type == ReceiptType::Pdf) return 0;
        const QPageLayout paper(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(54, 36, 54, 72));
        const ImageReceiptPage page = MakeImageReceiptPage(bytes, type, name, paper, 24);
        if (page.width <= 0 || page.height <= 0 || page.data.isEmpty()) std::abort();
        if (!page.layout.fullRect(QPageLayout::Point).adjusted(-0.01, -0.01, 0.01, 0.01).contains(page.place))
            std::abort();
    } catch (const ReceiptError& refused) {
        if (refused.reason().isEmpty() || refused.file() != name) std::abort();
    }
    return 0;
}
