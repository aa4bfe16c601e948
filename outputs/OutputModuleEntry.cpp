// The output module's side: its table of calls into the PDF library and libxlsxwriter code it links.
#include "OutputFunctions.h"

#include "receipts/PdfReceiptCheck.h"
#include "xlsx/XlsxWorkbook.h"

extern "C" __attribute__((visibility("default"))) const OutputFunctions* brindlemoor_output_functions() {
    static const OutputFunctions functions{kOutputFunctionsVersion, &HandInPdf, &CheckPdfReceipt, &xlsx::writeXlsx};
    return &functions;
}
