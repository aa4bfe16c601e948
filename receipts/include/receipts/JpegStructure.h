// The marker structure of a JPEG file: what its frame header says and whether its data reaches the
// end-of-image marker. The image reader fills a cut-off scan with grey without failing, so a
// truncated photo is only found by walking the markers.
#pragma once

#include <QByteArrayView>

#include <optional>

struct JpegStructure {
    int width = 0;
    int height = 0;  // 0 when a later marker gives it (DNL)
    int components = 0;
    int precision = 0;      // bits per sample
    bool dctCoded = false;  // baseline, extended or progressive Huffman DCT: what a PDF reader decodes
};

// nullopt when the bytes are not a JPEG whose markers run from its start to an end-of-image marker
// after at least one scan (anything may follow that marker).
std::optional<JpegStructure> ReadJpegStructure(QByteArrayView bytes);

// Whether a PDF can carry the bytes as they are, as an image stream with the DCT filter.
bool PdfCanCarry(const JpegStructure& jpeg);
