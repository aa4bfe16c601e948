#include "GridControls.h"

#include <QPainter>

namespace {

const QColor kTitleBackground(0xE0, 0xE0, 0xE0);

// The frame takes the outermost pixel on every side; text stays inside it.
constexpr int kBorder = 1;

// Four edges one pixel wide filled, not a pen's outline: at a fractional scale they cover the
// same device pixels as a style sheet's border.
void PaintBorder(QWidget* control) {
    QPainter border(control);
    border.setRenderHint(QPainter::Antialiasing);
    const QRectF box = control->rect();
    const QRectF side(0, 0, kBorder, box.height());
    const QRectF top(0, 0, box.width(), kBorder);
    for (const QRectF& edge :
         {top, top.translated(0, box.height() - kBorder), side, side.translated(box.width() - kBorder, 0)})
        border.fillRect(edge, Qt::black);
}

}  // namespace

// The cell's white is its palette's base, given by the grid; the panel a style draws in it may
// leave its corners open, where the grid's own white shows.
GridCellField::GridCellField(QWidget* parent) : EntryField(parent) {
    setFrame(false);
    setTextMargins(kBorder, kBorder, kBorder, kBorder);
}

void GridCellField::paintEvent(QPaintEvent* event) {
    EntryField::paintEvent(event);
    PaintBorder(this);
}

// A frameless line edit under a skin's style sheet paints its panel in the sheet's colours, not
// in its own palette's: only a sheet keeps the titles grey, and on these few fields it is cheap.
ColumnTitleField::ColumnTitleField(QWidget* parent) : EntryField(parent, Overflow::ShrinkThenEllipsis) {
    setStyleSheet(QStringLiteral("border: 1px solid black; background: %1;").arg(kTitleBackground.name()));
}

ColumnTitleLabel::ColumnTitleLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setContentsMargins(kBorder, kBorder, kBorder, kBorder);
}

void ColumnTitleLabel::paintEvent(QPaintEvent* event) {
    QPainter(this).fillRect(rect(), kTitleBackground);
    QLabel::paintEvent(event);
    PaintBorder(this);
}
