// PNG bytes of a picture, made for speed: a batch writes thousands of sheet pictures, and a
// general compressor spends most of its time searching for repeats whose place a sheet picture
// already tells: the pixel to the left and the row above.
#pragma once

#include "workbook/batch/BatchExit.h"

#include <QByteArray>
#include <QImage>

// The picture as an 8-bit RGB PNG (alpha dropped), rows unfiltered, runs and repeated rows
// compressed as deflate matches. Throws BatchFailure (could not write) for a null picture, or one
// that cannot be held as RGB.
QByteArray EncodePng(const QImage& picture);
