#include "preview/Twips.h"

#include <QWidget>

#include <cmath>

int TwipsToPixels(double twips) { return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel)); }

QRect TwipsToPixels(const TwipsRect& rect) {
    return QRect(TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
                 TwipsToPixels(rect.height));
}

void PlaceInTwips(QWidget* widget, const TwipsRect& rect) { widget->setGeometry(TwipsToPixels(rect)); }
