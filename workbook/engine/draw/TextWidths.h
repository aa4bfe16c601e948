// The advance widths of texts in one font: a cell's text is measured by its layout and again by its
// drawing, and each measurement shapes the text, so each text is shaped for measuring once only.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>

namespace xls {

class TextWidths {
public:
    explicit TextWidths(const QFont& font) : metrics_(font) {}
    explicit TextWidths(const QFontMetrics& metrics) : metrics_(metrics) {}

    const QFontMetrics& metrics() const { return metrics_; }
    // QFontMetrics::horizontalAdvance of the text, remembered.
    int advance(const QString& text) const;

private:
    QFontMetrics metrics_;
    mutable QHash<QString, int> advances_;
};

}  // namespace xls
