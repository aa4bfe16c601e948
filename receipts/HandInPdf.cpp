#include "receipts/HandInPdf.h"

#include "receipts/ImageReceiptPage.h"
#include "PdfReceipt.h"
#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptError.h"
#include "xls/ScreenFonts.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <array>
#include <charconv>
#include <memory>
#include <variant>

namespace {

constexpr double kCaptionPoints = 9.0;
// Points the caption takes: its line, and some paper above and below it where a margin is narrower.
constexpr double kCaptionHeight = kCaptionPoints * 1.25 + 2 * 6.0;
constexpr int kWriterResolution = 1200;
constexpr double kPointsPerInch = 72.0;

// A page of a PDF receipt, and the document that holds it.
struct ReceiptPdfPage {
    std::shared_ptr<QPDF> document;
    QPDFObjectHandle page;
};

// One page after the report's, and the caption it carries.
struct PlannedPage {
    std::variant<ImageReceiptPage, ReceiptPdfPage> content;
    QPageLayout captionLayout;  // the page's paper, as the page is shown
    QRectF captionBand;         // in points from the paper's top-left corner
    const ReceiptCaption* caption;
};

QFont CaptionFont() {
    QFont font(xls::screenFamily("Arial"));
    font.setPointSizeF(kCaptionPoints);
    return font;
}

// The size a PDF page shows at: its crop box, turned by its rotation.
QSizeF ShownSize(QPDFPageObjectHelper& page) {
    const QPDFObjectHandle::Rectangle box = page.getCropBox(false, false).getArrayAsRectangle();
    QSizeF size(box.urx - box.llx, box.ury - box.lly);
    QPDFObjectHandle rotate = page.getAttribute("/Rotate", false);
    if (rotate.isInteger() && (rotate.getIntValue() / 90) % 2 != 0) size.transpose();
    return size;
}

// Every receipt read and laid out; images are decoded one at a time and kept encoded.
std::vector<PlannedPage> PlanPages(const QPageLayout& paper, const std::vector<HandInReceipt>& receipts,
                                   std::vector<QByteArray>& pdfBytes) {
    std::vector<PlannedPage> pages;
    for (const HandInReceipt& receipt : receipts) {
        const QString& name = receipt.file.name;
        QByteArray bytes = ReadReceiptFile(receipt.file.path, name);
        const ReceiptType type = ReceiptTypeOrRefuse(bytes, name);
        if (type != ReceiptType::Pdf) {
            ImageReceiptPage image = MakeImageReceiptPage(bytes, type, name, paper, kCaptionHeight);
            const QPageLayout layout = image.layout;
            pages.push_back({std::move(image), layout, CaptionBand(layout, kCaptionHeight), &receipt.caption});
            continue;
        }
        pdfBytes.push_back(std::move(bytes));
        const std::shared_ptr<QPDF> document = OpenPdfReceipt(pdfBytes.back(), name);
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*document).getAllPages()) {
            const QPageLayout layout(QPageSize(ShownSize(page), QPageSize::Point, {}, QPageSize::ExactMatch),
                                     QPageLayout::Portrait, paper.margins(QPageLayout::Point), QPageLayout::Point);
            pages.push_back({ReceiptPdfPage{document, page.getObjectHandle()}, layout,
                             CaptionBand(layout, kCaptionHeight), &receipt.caption});
        }
    }
    return pages;
}

// One page per planned page, with nothing on it but the caption: a PDF the library then lays
// over or under each receipt page.
QByteArray CaptionPages(const std::vector<PlannedPage>& pages) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kWriterResolution);
    writer.setCreator(QStringLiteral("Brindlemoor"));
    QPainter painter;
    const QFont font = CaptionFont();
    const double toDevice = kWriterResolution / kPointsPerInch;
    for (size_t i = 0; i < pages.size(); ++i) {
        QPageLayout full = pages[i].captionLayout;
        full.setMode(QPageLayout::FullPageMode);
        writer.setPageLayout(full);
        if (i == 0) {
            if (!painter.begin(&writer))
                throw ReceiptError::notMade(QStringLiteral("the receipts' captions could not be drawn"));
            painter.setFont(font);
        } else {
            writer.newPage();
        }
        const QMarginsF margins = full.margins(QPageLayout::Point);
        const QRectF band = pages[i].captionBand;
        const QRectF line(margins.left() * toDevice, band.top() * toDevice,
                          (band.width() - margins.left() - margins.right()) * toDevice, band.height() * toDevice);
        const QFontMetricsF metrics(font, &writer);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, pages[i].caption->fitted(metrics, line.width()));
    }
    painter.end();
    return bytes;
}

// Names the object in the page's own XObject resources (never in a dictionary other pages share).
std::string AddXObject(QPDFPageObjectHelper& page, const std::string& prefix, const QPDFObjectHandle& object) {
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
        resources = QPDFObjectHandle::newDictionary();
        page.getObjectHandle().replaceKey("/Resources", resources);
    }
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    xobjects = xobjects.isDictionary() ? xobjects.shallowCopy() : QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    int suffix = 1;
    const std::string name = resources.getUniqueResourceName(prefix, suffix);
    xobjects.replaceKey(name, object);
    return name;
}

// A number in a content stream, whatever the C library's locale.
std::string Number(double value) {
    std::array<char, 32> digits{};
    const auto written =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed, 3);
    return std::string(digits.data(), written.ptr);
}

// The image as an XObject of the page, drawn where it was placed.
void PutImage(QPDF& pdf, QPDFPageObjectHelper& page, const ImageReceiptPage& image) {
    QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf);
    const std::string samples(image.data.constData(), size_t(image.data.size()));
    const bool jpeg = image.encoding == ImageReceiptPage::Encoding::Jpeg;
    stream.replaceStreamData(samples, jpeg ? QPDFObjectHandle::newName("/DCTDecode") : QPDFObjectHandle::newNull(),
                             QPDFObjectHandle::newNull());
    QPDFObjectHandle dictionary = stream.getDict();
    dictionary.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dictionary.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dictionary.replaceKey("/Width", QPDFObjectHandle::newInteger(image.width));
    dictionary.replaceKey("/Height", QPDFObjectHandle::newInteger(image.height));
    dictionary.replaceKey("/ColorSpace",
                          QPDFObjectHandle::newName(image.components == 1 ? "/DeviceGray" : "/DeviceRGB"));
    dictionary.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));

    const std::string name = AddXObject(page, "/Receipt", stream);

    const double paperHeight = image.layout.fullRect(QPageLayout::Point).height();
    const QRectF& at = image.place;
    const std::string drawing = "q " + Number(at.width()) + " 0 0 " + Number(at.height()) + " " + Number(at.left()) +
                                " " + Number(paperHeight - at.bottom()) + " cm " + name + " Do Q\n";
    page.addPageContents(QPDFObjectHandle::newStream(&pdf, drawing), true);
}

// The caption page laid over the receipt page, upright however the page is turned.
void PutCaption(QPDF& pdf, QPDFPageObjectHelper& page, QPDFPageObjectHelper& captionPage) {
    QPDFObjectHandle caption = pdf.copyForeignObject(captionPage.getFormXObjectForPage());
    const std::string name = AddXObject(page, "/Caption", caption);
    const QPDFObjectHandle::Rectangle box = page.getCropBox(false, false).getArrayAsRectangle();
    // The receipt's own drawing is kept apart, so whatever state it leaves does not reach the caption.
    page.addPageContents(QPDFObjectHandle::newStream(&pdf, "q\n"), true);
    page.addPageContents(QPDFObjectHandle::newStream(&pdf, "\nQ\n" + page.placeFormXObject(caption, name, box)), false);
}

}  // namespace

QByteArray HandInPdf(const QByteArray& reportPdf, const QPageLayout& paper,
                     const std::vector<HandInReceipt>& receipts) {
    if (receipts.empty()) return reportPdf;
    std::vector<QByteArray> pdfBytes;
    pdfBytes.reserve(receipts.size());
    const std::vector<PlannedPage> pages = PlanPages(paper, receipts, pdfBytes);
    const QByteArray captionBytes = CaptionPages(pages);

    QPDF handIn;
    handIn.setSuppressWarnings(true);
    handIn.processMemoryFile("report", reportPdf.constData(), size_t(reportPdf.size()));
    QPDF captions;
    captions.setSuppressWarnings(true);
    captions.processMemoryFile("captions", captionBytes.constData(), size_t(captionBytes.size()));
    QPDFPageDocumentHelper handInPages(handIn);
    std::vector<QPDFPageObjectHelper> captionPages = QPDFPageDocumentHelper(captions).getAllPages();
    QPDFWriter writer(handIn);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (const auto* image = std::get_if<ImageReceiptPage>(&pages[i].content)) {
            handInPages.addPage(captionPages[i], false);
            QPDFPageObjectHelper page = handInPages.getAllPages().back();
            PutImage(handIn, page, *image);
        } else {
            const auto& receiptPage = std::get<ReceiptPdfPage>(pages[i].content);
            handInPages.addPage(QPDFPageObjectHelper(receiptPage.page), false);
            QPDFPageObjectHelper page = handInPages.getAllPages().back();
            PutCaption(handIn, page, captionPages[i]);
            writer.setMinimumPDFVersion(receiptPage.document->getPDFVersion());
        }
    }
    writer.setOutputMemory();
    writer.write();
    const std::shared_ptr<Buffer> output = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(output->getBuffer()), qsizetype(output->getSize()));
}
