#include "PictureBox.h"

#include "PictureAccessibility.h"
#include "PreviewError.h"
#include "app/Twips.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBorderPixels = 1;

QPointF EventTwips(const QMouseEvent* event) { return event->position() * kTwipsPerPixel; }

// A picture file records its resolution; one drawn for a high-resolution screen holds more pixels
// than its size at 96 dpi. Pictures at 96 dpi or less count as 96 dpi, as they always have.
constexpr double kDotsPerMeterAt96Dpi = 96 / 0.0254;

QImage WithPixelRatio(QImage picture) {
    if (picture.isNull() || picture.devicePixelRatio() != 1.0) return picture;
    const double ratio = std::round(picture.dotsPerMeterX() / kDotsPerMeterAt96Dpi * 100) / 100;
    if (ratio > 1.0) picture.setDevicePixelRatio(ratio);
    return picture;
}

// A picture's own size in twips.
int PictureTwips(int devicePixels, double ratio) {
    return static_cast<int>(std::nearbyint(devicePixels / ratio * kTwipsPerPixel));
}

}  // namespace

PictureBox::PictureBox(Border border, QWidget* parent)
    : QWidget(parent), m_border(border), m_client(border == Border::None ? this : new QWidget(this)) {
    applyGeometry();
    ExposePictureBoxes();
}

int PictureBox::borderTwips() const { return m_border == Border::None ? 0 : 2 * kBorderPixels * kTwipsPerPixel; }

int PictureBox::innerWidth() const { return std::max(0, m_outerWidth - borderTwips()); }

int PictureBox::innerHeight() const { return std::max(0, m_outerHeight - borderTwips()); }

void PictureBox::moveTo(int left, int top) {
    m_left = left;
    m_top = top;
    move(TwipsToPixels(left), TwipsToPixels(top));
}

void PictureBox::setOuterWidth(int twips) {
    if (twips < 0) throw PreviewError(QStringLiteral("Invalid property value"));
    m_outerWidth = twips;
    applyGeometry();
}

void PictureBox::setOuterHeight(int twips) {
    if (twips < 0) throw PreviewError(QStringLiteral("Invalid property value"));
    m_outerHeight = twips;
    applyGeometry();
}

void PictureBox::setBackColour(const QColor& colour) {
    m_backColour = colour;
    restartImage();
}

void PictureBox::setPicture(const QImage& picture) {
    m_picture = WithPixelRatio(picture);
    if (m_autoSize) {
        m_outerWidth = PictureTwips(m_picture.width(), m_picture.devicePixelRatio()) + borderTwips();
        m_outerHeight = PictureTwips(m_picture.height(), m_picture.devicePixelRatio()) + borderTwips();
        applyGeometry(Content::Restarted);
    }
    restartImage();
}

void PictureBox::paintPicture(const QImage& image, const QRectF& destinationTwips, const QRectF& sourceTwips) {
    settleImage();
    if (image.isNull() || m_image.isNull()) return;
    const auto toPixels = [](const QRectF& twips, qreal ratio) {
        return QRectF(twips.topLeft() * ratio / kTwipsPerPixel, twips.size() * ratio / kTwipsPerPixel);
    };
    // The destination is in the box's pixels; the source is in the image's own, finer ones.
    QPainter painter(&m_image);
    painter.drawImage(toPixels(destinationTwips, 1.0), image, toPixels(sourceTwips, image.devicePixelRatio()));
    painter.end();
    update();
}

bool PictureBox::imageIsEmpty() const { return (m_imageSize * m_imageRatio).isEmpty(); }

void PictureBox::applyGeometry(Content content) {
    const int width = TwipsToPixels(m_outerWidth);
    const int height = TwipsToPixels(m_outerHeight);
    setGeometry(TwipsToPixels(m_left), TwipsToPixels(m_top), width, height);
    const int border = m_border == Border::None ? 0 : kBorderPixels;
    const QSize inner(std::max(0, width - 2 * border), std::max(0, height - 2 * border));
    if (m_client != this) m_client->setGeometry(border, border, inner.width(), inner.height());

    // A resize keeps what was painted; new area shows the back colour. The image holds the
    // screen's device pixels, so what is painted into it is as sharp as the screen.
    const qreal ratio = devicePixelRatioF();
    if (inner == m_imageSize && ratio == m_imageRatio) return;
    // An image about to restart, or one that is only the back colour, is made at its last size.
    if (content == Content::Restarted || (m_restartPending && m_picture.isNull())) {
        m_imageSize = inner;
        m_imageRatio = ratio;
        m_image = QImage();
        m_restartPending = true;
        update();
        return;
    }
    settleImage();
    m_imageSize = inner;
    m_imageRatio = ratio;
    QImage resized(inner * ratio, QImage::Format_RGB32);
    resized.setDevicePixelRatio(ratio);
    resized.fill(m_backColour);
    if (!m_image.isNull() && !resized.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_image);
    }
    m_image = resized;
    update();
}

void PictureBox::restartImage() {
    if (imageIsEmpty()) return;
    m_restartPending = true;
    update();
}

void PictureBox::settleImage() const {
    if (!m_restartPending) return;
    m_restartPending = false;
    if (imageIsEmpty()) {
        m_image = QImage();
        return;
    }
    if (m_image.size() != m_imageSize * m_imageRatio || m_image.devicePixelRatio() != m_imageRatio) {
        m_image = QImage(m_imageSize * m_imageRatio, QImage::Format_RGB32);
        if (m_image.isNull()) return;  // too large to allocate
        m_image.setDevicePixelRatio(m_imageRatio);
    }
    m_image.fill(m_backColour);
    if (!m_picture.isNull()) {
        QPainter painter(&m_image);
        painter.drawImage(0, 0, m_picture);
    }
}

const QImage& PictureBox::persistentImage() const {
    settleImage();
    return m_image;
}

void PictureBox::paintEvent(QPaintEvent*) {
    settleImage();
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
