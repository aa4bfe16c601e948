#include "report/RowDateBox.h"

#include "report/Hairline.h"

#include <QPainter>

namespace {
constexpr int kBorder = 1;
}  // namespace

RowDateBox::RowDateBox(QWidget* parent) : QWidget(parent) {}

void RowDateBox::hold(QWidget* picker, const QRect& geometry) {
    m_picker = picker;
    picker->setParent(this);
    picker->setGeometry(geometry);
    clipPicker();
}

void RowDateBox::clipPicker() {
    if (!m_picker) return;
    const QRect inside = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    m_picker->setMask(QRegion(inside.translated(-m_picker->pos())));
}

void RowDateBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    clipPicker();
}

void RowDateBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor line = Qt::black;
    FillHairline(painter, *this, QRect(0, 0, width(), kBorder), line);
    FillHairline(painter, *this, QRect(0, height() - kBorder, width(), kBorder), line);
    FillHairline(painter, *this, QRect(0, 0, kBorder, height()), line);
    FillHairline(painter, *this, QRect(width() - kBorder, 0, kBorder, height()), line);
}
