// What the output module (libbrindlemoor-outputs.so) offers the programs: the calls that need the PDF
// library or libxlsxwriter, which a start of either program would otherwise load and relocate for
// nothing. The programs and the module are built together; the version refuses a stray older module.
#pragma once

#include "receipts/HandInPdf.h"
#include "xls/Locale.h"
#include "xls/Model.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <cstdint>
#include <vector>

inline constexpr int kOutputFunctionsVersion = 1;

struct OutputFunctions {
    int version;
    QByteArray (*handInPdf)(const QByteArray& reportPdf, const QPageLayout& paper,
                            const std::vector<HandInReceipt>& receipts);
    void (*checkPdfReceipt)(const QByteArray& bytes, const QString& name);
    std::vector<uint8_t> (*writeXlsx)(const xls::Workbook& workbook, const xls::LocaleInfo& locale);
};

// The module's one entry point, by this name.
extern "C" const OutputFunctions* brindlemoor_output_functions();
inline constexpr char kOutputFunctionsEntry[] = "brindlemoor_output_functions";
