// Lines one pixel thin, drawn on whole device pixels: at a fractional scale factor a widget's edge
// falls between device pixels, and a line drawn there is rounded to one pixel, two, or none where
// a neighbour's clipping takes it. These land on the device pixel the edge rounds to, as the
// style's own cell borders do, and are as thick as a pixel is in whole device pixels.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QWidget;

// Fills line (widget coordinates, one pixel thin in one direction) with colour.
void FillHairline(QPainter& painter, const QWidget& widget, const QRect& line, const QColor& colour);
