// Window geometry is kept in twips, 1/1440 inch: 15 twips to a pixel at 96 dots per inch.
#pragma once

#include <QRect>

class QWidget;

inline constexpr int kTwipsPerPixel = 15;

// A rectangle in twips, relative to the parent's client area.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The nearest whole pixel. A whole number of twips is never half a pixel, so no tie needs a rule.
int TwipsToPixels(int twips);

QRect TwipsToPixels(const TwipsRect& rect);

void PlaceInTwips(QWidget* widget, const TwipsRect& rect);
