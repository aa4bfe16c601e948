#include "PdfReceipt.h"

#include "receipts/ReceiptError.h"

#include <qpdf/Pl_Discard.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

namespace {

QString Damaged(const std::string& detail) {
    return QStringLiteral("is a damaged PDF (%1)").arg(QString::fromStdString(detail));
}

}  // namespace

std::shared_ptr<QPDF> OpenPdfReceipt(const QByteArray& bytes, const QString& name) {
    auto pdf = std::make_shared<QPDF>();
    pdf->setSuppressWarnings(true);
    try {
        pdf->processMemoryFile(name.toStdString().c_str(), bytes.constData(), size_t(bytes.size()));
        if (pdf->isEncrypted()) throw ReceiptError(name, QStringLiteral("is an encrypted PDF"));
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(*pdf).getAllPages();
        if (pages.empty()) throw ReceiptError(name, QStringLiteral("is a PDF without pages"));
        // Decoding every page's contents finds the damage that opening alone does not reach.
        Pl_Discard discard;
        for (QPDFPageObjectHelper& page : pages) page.pipeContents(&discard);
    } catch (const QPDFExc& error) {
        if (error.getErrorCode() == qpdf_e_password) throw ReceiptError(name, QStringLiteral("is an encrypted PDF"));
        throw ReceiptError(name, Damaged(error.getMessageDetail()));
    } catch (const ReceiptError&) {
        throw;
    } catch (const std::exception& error) {
        throw ReceiptError(name, Damaged(error.what()));
    }
    // The library mends what it can as it reads, with a warning: a receipt it had to mend is not whole.
    if (pdf->anyWarnings()) {
        const std::vector<QPDFExc> warnings = pdf->getWarnings();
        throw ReceiptError(name, Damaged(warnings.front().getMessageDetail()));
    }
    return pdf;
}
