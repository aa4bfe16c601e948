// The engine's cell formats as libxlsxwriter formats, made once per format the sheet uses.
#pragma once

#include "xls/Locale.h"
#include "xls/Model.h"

#include <xlsxwriter.h>

#include <string>
#include <vector>

namespace xlsx {

class CellFormats {
public:
    CellFormats(lxw_workbook* target, const xls::Workbook& source, const xls::LocaleInfo& locale);

    // The format for the engine's format index; where names the cell in a refusal. Throws
    // xls::Error for an index the workbook does not hold or a number format without a code.
    lxw_format* of(uint16_t xf, const std::string& where);

private:
    lxw_format* make(const xls::CellFormat& format, const std::string& where);

    lxw_workbook* m_target;
    const xls::Workbook& m_source;
    const xls::LocaleInfo& m_locale;
    std::vector<lxw_format*> m_made;
};

}  // namespace xlsx
