// Questions put to xlrd about the first sheet of a saved workbook, as an independent reader.
#pragma once

#include <QString>

struct XlrdAnswer {
    bool ran = false;  // python3 finished and xlrd opened the file
    QString output;    // what the script printed, or the failure
};

// Runs the Python lines with `s` bound to the workbook's first sheet (xlrd imported).
XlrdAnswer AskXlrdAboutFirstSheet(const QString& workbookPath, const QString& lines);
