#include "xlsx/XlsxWorkbook.h"

#include "CNumbers.h"
#include "CellFormats.h"
#include "MemoryFile.h"
#include "SheetCells.h"
#include "SheetLayout.h"
#include "WriteCheck.h"

#include <xlsxwriter.h>

#include <memory>

#include <unistd.h>

namespace xlsx {
namespace {

// libxlsxwriter keeps each part of the file in a temporary file, removed from its folder as soon
// as it is made. In memory where the system has a memory file system: a disk folder makes every
// workbook wait for the file system.
const char* partsFolder() {
    static const bool inMemory = ::access("/dev/shm", W_OK | X_OK) == 0;
    return inMemory ? "/dev/shm" : nullptr;
}

struct FreeWorkbook {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};

}  // namespace

std::vector<uint8_t> writeXlsx(const xls::Workbook& workbook, const xls::LocaleInfo& locale) {
    if (workbook.date1904) throw xls::Error("a workbook of the 1904 date system cannot be written as .xlsx");
    const CNumbers cNumbers;
    MemoryFile file;
    lxw_workbook_options options{};
    options.tmpdir = const_cast<char*>(partsFolder());
    std::unique_ptr<lxw_workbook, FreeWorkbook> target(workbook_new_opt(file.path().c_str(), &options));
    if (!target) throw xls::Error("no memory for the workbook");
    CellFormats formats(target.get(), workbook, locale);
    for (size_t index = 0; index < workbook.sheets.size(); ++index) {
        const xls::Sheet& sheet = workbook.sheets[index];
        check(workbook_validate_sheet_name(target.get(), sheet.name.c_str()), "sheet \"" + sheet.name + "\"");
        lxw_worksheet* worksheet = workbook_add_worksheet(target.get(), sheet.name.c_str());
        if (!worksheet) throw xls::Error("sheet \"" + sheet.name + "\" cannot be added");
        writeCells(worksheet, sheet, formats);
        writeLayout(worksheet, sheet, formats);
        if (index == workbook.activeSheet) worksheet_activate(worksheet);
    }
    // Closing writes the file and frees the workbook, whatever its result.
    check(workbook_close(target.release()), "the workbook");
    return file.bytes();
}

}  // namespace xlsx
