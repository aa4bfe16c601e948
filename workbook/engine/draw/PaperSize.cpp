#include "PaperSize.h"

#include <QSizeF>

#include <array>

namespace xls {
namespace {

struct Paper {
    uint16_t code;
    double width;
    double height;
    QPageSize::Unit unit;
};

constexpr std::array<Paper, 22> kPapers{{
    {1, 8.5, 11, QPageSize::Inch},          // Letter
    {2, 8.5, 11, QPageSize::Inch},          // Letter small
    {3, 11, 17, QPageSize::Inch},           // Tabloid
    {4, 17, 11, QPageSize::Inch},           // Ledger
    {5, 8.5, 14, QPageSize::Inch},          // Legal
    {6, 5.5, 8.5, QPageSize::Inch},         // Statement
    {7, 7.25, 10.5, QPageSize::Inch},       // Executive
    {8, 297, 420, QPageSize::Millimeter},   // A3
    {9, 210, 297, QPageSize::Millimeter},   // A4
    {10, 210, 297, QPageSize::Millimeter},  // A4 small
    {11, 148, 210, QPageSize::Millimeter},  // A5
    {12, 257, 364, QPageSize::Millimeter},  // B4 (JIS)
    {13, 182, 257, QPageSize::Millimeter},  // B5 (JIS)
    {14, 8.5, 13, QPageSize::Inch},         // Folio
    {15, 215, 275, QPageSize::Millimeter},  // Quarto
    {16, 10, 14, QPageSize::Inch},          // 10 × 14 in
    {17, 11, 17, QPageSize::Inch},          // 11 × 17 in
    {18, 8.5, 11, QPageSize::Inch},         // Note
    {19, 3.875, 8.875, QPageSize::Inch},    // Envelope #9
    {20, 4.125, 9.5, QPageSize::Inch},      // Envelope #10
    {27, 110, 220, QPageSize::Millimeter},  // Envelope DL
    {28, 162, 229, QPageSize::Millimeter},  // Envelope C5
}};

}  // namespace

QPageSize paperOf(uint16_t code) {
    for (const Paper& paper : kPapers)
        if (paper.code == code) return QPageSize(QSizeF(paper.width, paper.height), paper.unit);
    return paperOf(1);
}

}  // namespace xls
