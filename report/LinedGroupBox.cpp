#include "LinedGroupBox.h"

#include "Hairline.h"

#include <QPainter>

LinedGroupBox::LinedGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void LinedGroupBox::addLine(const QRect& line) {
    m_lines.append(line);
    update(line);
}

void LinedGroupBox::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    for (const QRect& line : m_lines) FillHairline(painter, *this, line, palette().color(QPalette::WindowText));
}
