// The sheet picture's file in the scratch folder, written and read without converting its pixels.
#pragma once

#include "workbook/host/HostError.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// The whole file for the picture. Throws host::HostError for a null picture or one too large for
// the file.
QByteArray PictureFileBytes(const QImage& picture);

// Writes the same file at path as a new file put in place, replacing whatever is there, a link
// included, without following it; the pixels go to the file straight from the picture. Throws
// host::HostError as PictureFileBytes does, AppError when the file cannot be written.
void WritePictureFile(const QImage& picture, const QString& path);

// The picture in the file: a file laid out as PictureFileBytes writes it is read straight into the
// image, any other picture file through the general readers. Throws host::HostError naming the
// file and why when it cannot be opened, is cut short or no reader can read it.
QImage LoadPictureFile(const QString& path);
