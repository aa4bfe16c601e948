#include "RowDateBox.h"

#include "Hairline.h"

#include <QPainter>

namespace {

constexpr int kBorder = 1;
constexpr int kMarkSide = 7;

// A dark corner triangle, as a sheet marks a cell that carries a note: seen at a glance, and it
// covers none of the date.
class ReceiptMark : public QWidget {
public:
    explicit ReceiptMark(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("ReceiptMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_TranslucentBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 90, 200));
        painter.drawPolygon(QPolygonF{QPointF(0, 0), QPointF(width(), 0), QPointF(width(), height())});
    }
};

}  // namespace

RowDateBox::RowDateBox(QWidget* parent) : QWidget(parent) {}

void RowDateBox::hold(QWidget* picker, const QRect& geometry) {
    m_picker = picker;
    picker->setParent(this);
    picker->setGeometry(geometry);
    clipPicker();
}

void RowDateBox::showReceiptMark(bool shown) {
    if (!shown && !m_mark) return;
    if (!m_mark) m_mark = new ReceiptMark(this);
    placeMark();
    m_mark->raise();
    m_mark->setVisible(shown);
}

bool RowDateBox::receiptMarkShown() const { return m_mark && !m_mark->isHidden(); }

void RowDateBox::placeMark() {
    if (m_mark) m_mark->setGeometry(width() - kBorder - kMarkSide, kBorder, kMarkSide, kMarkSide);
}

void RowDateBox::clipPicker() {
    if (!m_picker) return;
    const QRect inside = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    m_picker->setMask(QRegion(inside.translated(-m_picker->pos())));
}

void RowDateBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    clipPicker();
    placeMark();
}

void RowDateBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor line = Qt::black;
    FillHairline(painter, *this, QRect(0, 0, width(), kBorder), line);
    FillHairline(painter, *this, QRect(0, height() - kBorder, width(), kBorder), line);
    FillHairline(painter, *this, QRect(0, 0, kBorder, height()), line);
    FillHairline(painter, *this, QRect(width() - kBorder, 0, kBorder, height()), line);
}
