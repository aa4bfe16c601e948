// The sample report's result workbook, made through the host as the generation run makes it, and
// the poppler tools that look at a PDF as its readers would.
#pragma once

#include "xls/Model.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

// Fills the template in `folder` with the sample report under the default locale and saves the
// result workbook there; returns its path.
QString SaveSampleResultWorkbook(const QString& folder);
xls::Workbook ReadWorkbookFile(const QString& path);

bool PopplerInstalled();
// The tool's standard output, or nothing when it fails.
std::optional<QString> PopplerOutput(const QString& tool, const QStringList& arguments);
// The first page drawn at `dpi` without smoothing, so a line is whole pixels.
QImage PopplerPicture(const QString& pdf, int dpi);
