// The generation run's files in the scratch folder: their names, the template copy and the
// result's name.
#pragma once

#include <QByteArray>
#include <QString>

inline const QString kTemplateCopyName = QStringLiteral("template.xlt");
inline const QString kSnapshotName = QStringLiteral("temp.bmp");
// The result workbook's name: the prefix, eight digits 1 to 9, the extension.
inline const QString kResultPrefix = QStringLiteral("ferrun");
inline const QString kResultExtension = QStringLiteral(".xls");

// True for the name of a file a run makes in the scratch folder, or of a temporary file written
// on the way to one.
bool IsRunFileName(const QString& fileName);

// True when path is a regular file (not a link) holding exactly bytes.
bool TemplateCopyIsCurrent(const QString& path, const QByteArray& bytes);

// Writes bytes as the whole file at path, by the rule of app/ReplacementFile.h: a link at path is
// replaced, never followed, and a failed write leaves no partial file. Throws AppError.
void WriteBytesToFile(const QByteArray& bytes, const QString& path);

// True when anything has the name path, a link to nothing included: the result workbook is saved
// only under a name that nothing holds, so its save cannot follow a link.
bool ScratchNameTaken(const QString& path);

// A decimal digit from 1 to 9, from a generator seeded once per process.
int DrawNameDigit();
