// An image receipt made ready for its page: the report's paper, turned to show the image larger,
// the image scaled to fit within the margins below the caption, turned upright by its EXIF
// orientation and at most 300 dpi at that size. A JPEG that needs neither turning nor fewer
// pixels keeps its own bytes.
#pragma once

#include "receipts/ReceiptType.h"

#include <QByteArray>
#include <QPageLayout>
#include <QRectF>
#include <QString>

inline constexpr double kMostDotsPerInch = 300.0;

struct ImageReceiptPage {
    enum class Encoding { Jpeg, Samples };  // JPEG bytes, or 8-bit samples row by row
    QPageLayout layout;                     // paper, orientation and margins
    QRectF place;                           // the image on the paper, in points from its top-left corner
    int width = 0;                          // pixels
    int height = 0;
    int components = 3;  // 1 grey, 3 RGB
    Encoding encoding = Encoding::Jpeg;
    QByteArray data;
};

// The page of the image file's bytes, with captionHeight points kept for the caption at the
// top margin (more, when the margin is narrower). Decodes at most one picture, directly at the
// size it is placed at. Throws ReceiptError naming name.
ImageReceiptPage MakeImageReceiptPage(const QByteArray& bytes, ReceiptType type, const QString& name,
                                      const QPageLayout& paper, double captionHeight);

// Where the caption goes on a page of the layout: the top margin, or as much as the caption
// needs when the margin is narrower; in points from the paper's top-left corner.
QRectF CaptionBand(const QPageLayout& layout, double captionHeight);
