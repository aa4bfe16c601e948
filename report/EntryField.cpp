#include "EntryField.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// A line edit keeps this many pixels free on either side of its text, and one for the caret.
constexpr int kLineEditTextMargin = 2;
constexpr int kCaretWidth = 1;
// A title shrinks in quarter points, to no less than this share of its own size.
constexpr double kShrinkStep = 0.25;
constexpr double kSmallestShare = 0.75;

QRect LineEditTextRect(const QLineEdit* field, const QStyleOptionFrame& panel) {
    return field->style()
        ->subElementRect(QStyle::SE_LineEditContents, &panel, field)
        .marginsRemoved(field->textMargins())
        .adjusted(kLineEditTextMargin, 0, -kLineEditTextMargin, 0);
}

// The panel a line edit draws itself in, as the line edit describes it to its style.
QStyleOptionFrame PanelOf(const QLineEdit* field) {
    QStyleOptionFrame panel;
    panel.initFrom(field);
    panel.rect = field->contentsRect();
    panel.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, field) : 0;
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken;
    if (field->isReadOnly()) panel.state |= QStyle::State_ReadOnly;
    return panel;
}

}  // namespace

EntryField::EntryField(QWidget* parent, Overflow overflow) : QLineEdit(parent), m_overflow(overflow) {}

bool EntryField::fitsWhole(const QLineEdit* field) {
    if (const auto* entry = qobject_cast<const EntryField*>(field)) return entry->fitsWhole();
    const QRect room = LineEditTextRect(field, PanelOf(field));
    return field->fontMetrics().horizontalAdvance(field->text()) + kCaretWidth <= room.width();
}

bool EntryField::fitsWhole() const { return fitsIn(textRect().width()); }

EntryField::Measured& EntryField::measured() const {
    const QString now = text();
    const int dpi = logicalDpiY();
    if (m_measured.dpi != dpi || m_measured.text != now || m_measured.font != font())
        m_measured = Measured{now, font(), dpi, fontMetrics().horizontalAdvance(now), -1, QFont()};
    return m_measured;
}

bool EntryField::fitsIn(int room) const { return measured().advance + kCaretWidth <= room; }

QRect EntryField::textRect() const { return LineEditTextRect(this, PanelOf(this)); }

QFont EntryField::shownFont() const {
    if (hasFocus() || m_overflow != Overflow::ShrinkThenEllipsis) return font();
    const int room = textRect().width();
    if (fitsIn(room)) return font();
    Measured& now = measured();
    if (now.shrunkForRoom != room) {
        now.shrunk = shrunkFont(room);
        now.shrunkForRoom = room;
    }
    return now.shrunk;
}

// The largest step down that shows the title whole, else the smallest step it may take.
QFont EntryField::shrunkFont(int room) const {
    QFont shown = font();
    const double smallest = font().pointSizeF() * kSmallestShare;
    for (double size = font().pointSizeF() - kShrinkStep; size >= smallest; size -= kShrinkStep) {
        shown.setPointSizeF(size);
        if (QFontMetrics(shown, this).horizontalAdvance(text()) <= room) return shown;
    }
    return shown;
}

QString EntryField::shownText() const {
    if (hasFocus() || fitsWhole()) return displayText();
    return QFontMetrics(shownFont(), this).elidedText(displayText(), Qt::ElideRight, textRect().width());
}

void EntryField::paintEvent(QPaintEvent* event) {
    if (hasFocus() || fitsWhole()) return QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QStyleOptionFrame panel = PanelOf(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect room = textRect();
    const QFont shown = shownFont();
    const QFontMetrics metrics(shown, this);
    // Vertically where the line edit itself puts its line.
    const QRect line(room.x(), room.y() + (room.height() - metrics.height() + 1) / 2, room.width(), metrics.height());
    painter.setFont(shown);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(line, int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter, shownText());
}
