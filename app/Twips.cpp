#include "app/Twips.h"

#include <QWidget>

#include <cmath>

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel)); }

QRect TwipsToPixels(const TwipsRect& rect) {
    return QRect(TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
                 TwipsToPixels(rect.height));
}

void PlaceInTwips(QWidget* widget, const TwipsRect& rect) { widget->setGeometry(TwipsToPixels(rect)); }
