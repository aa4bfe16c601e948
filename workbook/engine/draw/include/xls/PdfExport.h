// A sheet as a PDF document, printed by its own page setup.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <QByteArray>

namespace xls {

// One page per printed page of planPrint, text searchable, fonts subset and embedded. Throws
// xls::Error as printSheet does, for a sheet with nothing to print. Needs a QGuiApplication.
QByteArray renderPdf(const Workbook& workbook, const Sheet& sheet, const LocaleInfo& locale);

}  // namespace xls
