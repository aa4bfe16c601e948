// PNG bytes of a picture, made for speed: a batch writes thousands of sheet pictures, and a
// general encoder spends most of its time trying filters that flat sheet colours do not need.
#pragma once

#include <QByteArray>
#include <QImage>

// The picture as an 8-bit RGB PNG (alpha dropped): each row Sub-filtered, compressed at zlib's
// fastest level. Empty for a null picture.
QByteArray EncodePng(const QImage& picture);
