// A picture box measured in twips: a picture it can size itself to, a persistent image that all
// painting goes into, and optionally a standard single border (one pixel) around its client area.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    enum class Border { None, FixedSingle };

    PictureBox(Border border, QWidget* parent);

    // Child controls go here, so the border clips them.
    QWidget* clientArea() { return m_client; }

    int left() const { return m_left; }
    int top() const { return m_top; }
    int outerWidth() const { return m_outerWidth; }
    int outerHeight() const { return m_outerHeight; }
    int innerWidth() const;
    int innerHeight() const;

    void moveTo(int left, int top);
    // Sizes below zero throw PreviewError, as the property would refuse them.
    void setOuterWidth(int twips);
    void setOuterHeight(int twips);

    // With auto size on, assigning a picture makes the client area exactly the picture's size.
    void setAutoSize(bool on) { m_autoSize = on; }
    void setBackColour(const QColor& colour);

    // A null image clears the picture. Either way the persistent image restarts from the picture.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    const QImage& persistentImage() const;

    // Stretches the source part of image into the destination part of the persistent image.
    void paintPicture(const QImage& image, const QRectF& destinationTwips, const QRectF& sourceTwips);

signals:
    // Positions are in twips in the box's own coordinates.
    void mousePressed(QPointF position);
    void mouseMoved(Qt::MouseButtons buttons, QPointF position);
    void mouseReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // What the persistent image holds after a resize: what it held (and the back colour where it
    // grew), or nothing that matters, as a restart follows at once.
    enum class Content { Kept, Restarted };

    int borderTwips() const;
    void applyGeometry(Content content = Content::Kept);
    bool imageIsEmpty() const;
    // The persistent image restarts from the back colour and the picture when it is next looked at
    // or painted into: a box given a colour and a picture in turn, or one that stays hidden, fills
    // and draws its image once, or never, and at the size it has by then.
    void restartImage();
    void settleImage() const;

    Border m_border;
    QWidget* m_client;
    int m_left = 0;
    int m_top = 0;
    int m_outerWidth = 0;
    int m_outerHeight = 0;
    bool m_autoSize = false;
    QColor m_backColour = Qt::white;
    QImage m_picture;
    // The image's size in the box's pixels and the screen's pixel ratio; m_image has them unless a
    // restart is pending.
    QSize m_imageSize;
    qreal m_imageRatio = 1.0;
    mutable QImage m_image;
    mutable bool m_restartPending = false;
};
