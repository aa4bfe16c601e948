// Judges of the PDFs we write that we did not write: poppler's pdfinfo, pdftotext and pdfimages,
// and qpdf's structure check. Each returns nothing (and the test should skip) when the tool is missing.
#pragma once

#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

// Skips the calling test (GTEST_SKIP) unless every tool is installed.
#define SKIP_WITHOUT_PDF_TOOLS()                                                                                   \
    do {                                                                                                           \
        if (const QString missing = MissingPdfTool(); !missing.isEmpty())                                          \
            GTEST_SKIP() << missing.toStdString() << " is not installed (./do test installs poppler-utils, qpdf)"; \
    } while (false)

// The first of the tools that is not installed, or an empty text.
QString MissingPdfTool();

struct PdfImage {
    int page = 0;
    int width = 0;
    int height = 0;
    QString encoding;  // "jpeg", "image", ...
    int xPpi = 0;
    int yPpi = 0;
};

int PdfPageCount(const QString& pdf);
// Every page's size in points, from pdfinfo.
std::vector<QSizeF> PdfPageSizes(const QString& pdf);
// The page's text (1-based), as pdftotext finds it.
QString PdfPageText(const QString& pdf, int page);
std::vector<PdfImage> PdfImages(const QString& pdf);
// qpdf --check's verdict: empty when the file checks clean, else its output.
QString PdfStructureProblems(const QString& pdf);
