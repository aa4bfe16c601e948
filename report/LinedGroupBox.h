// A group box that draws decorative straight lines inside itself, such as the footer's connectors:
// painted by the box, they are no controls of their own (a screen reader finds nothing there) and
// every line covers at least one device pixel at any scale factor.
#pragma once

#include <QGroupBox>
#include <QList>
#include <QRect>

class LinedGroupBox : public QGroupBox {
    Q_OBJECT
public:
    LinedGroupBox(const QString& title, QWidget* parent);

    // A line as a rectangle in the box's coordinates, one pixel thin in one direction.
    void addLine(const QRect& line);
    const QList<QRect>& lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QRect> m_lines;
};
