#include "preview/PictureBox.h"

#include "preview/Twips.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kBorderPixels = 1;

QPointF EventTwips(const QMouseEvent* event) {
    return event->position() * kTwipsPerPixel;
}

}  // namespace

PictureBox::PictureBox(Border border, QWidget* parent)
    : QWidget(parent), m_border(border), m_client(border == Border::None ? this : new QWidget(this)) {
    applyGeometry();
}

int PictureBox::borderTwips() const {
    return m_border == Border::None ? 0 : 2 * kBorderPixels * kTwipsPerPixel;
}

int PictureBox::innerWidth() const {
    return std::max(0, m_outerWidth - borderTwips());
}

int PictureBox::innerHeight() const {
    return std::max(0, m_outerHeight - borderTwips());
}

void PictureBox::moveTo(int left, int top) {
    m_left = left;
    m_top = top;
    move(TwipsToPixels(left), TwipsToPixels(top));
}

void PictureBox::setOuterWidth(int twips) {
    if (twips < 0) throw std::invalid_argument("Invalid property value");
    m_outerWidth = twips;
    applyGeometry();
}

void PictureBox::setOuterHeight(int twips) {
    if (twips < 0) throw std::invalid_argument("Invalid property value");
    m_outerHeight = twips;
    applyGeometry();
}

void PictureBox::setBackColour(const QColor& colour) {
    m_backColour = colour;
    restartImage();
}

void PictureBox::setPicture(const QImage& picture) {
    m_picture = picture;
    if (m_autoSize) {
        m_outerWidth = picture.width() * kTwipsPerPixel + borderTwips();
        m_outerHeight = picture.height() * kTwipsPerPixel + borderTwips();
        applyGeometry();
    }
    restartImage();
}

void PictureBox::paintPicture(const QImage& image, const QRectF& destinationTwips, const QRectF& sourceTwips) {
    if (image.isNull() || m_image.isNull()) return;
    const auto toPixels = [](const QRectF& twips) {
        return QRectF(twips.topLeft() / kTwipsPerPixel, twips.size() / kTwipsPerPixel);
    };
    QPainter painter(&m_image);
    painter.drawImage(toPixels(destinationTwips), image, toPixels(sourceTwips));
    painter.end();
    update();
}

void PictureBox::applyGeometry() {
    const int width = TwipsToPixels(m_outerWidth);
    const int height = TwipsToPixels(m_outerHeight);
    setGeometry(TwipsToPixels(m_left), TwipsToPixels(m_top), width, height);
    const int border = m_border == Border::None ? 0 : kBorderPixels;
    const QSize inner(std::max(0, width - 2 * border), std::max(0, height - 2 * border));
    if (m_client != this) m_client->setGeometry(border, border, inner.width(), inner.height());

    // A resize keeps what was painted; new area shows the back colour.
    if (inner == m_image.size()) return;
    QImage resized(inner, QImage::Format_RGB32);
    resized.fill(m_backColour);
    if (!m_image.isNull() && !resized.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_image);
    }
    m_image = resized;
    update();
}

void PictureBox::restartImage() {
    if (m_image.isNull()) return;
    m_image.fill(m_backColour);
    if (!m_picture.isNull()) {
        QPainter painter(&m_image);
        painter.drawImage(0, 0, m_picture);
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_border == Border::None) {
        painter.drawImage(0, 0, m_image);
        return;
    }
    painter.drawImage(kBorderPixels, kBorderPixels, m_image);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit mousePressed(EventTwips(event));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved(event->buttons(), EventTwips(event));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    emit mouseReleased();
}
