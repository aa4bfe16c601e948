// A workbook open in a host instance.
#pragma once

#include "workbook/host/Worksheet.h"
#include "xls/FormulaReaders.h"
#include "xls/Locale.h"
#include "xls/Model.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace host {

class Application;

// FileFormat codes of SaveAs; both give the 97–2003 binary workbook.
inline constexpr int xlExcel8 = 56;
inline constexpr int xlWorkbookNormal = -4143;

class Workbook : public std::enable_shared_from_this<Workbook> {
public:
    Workbook(std::weak_ptr<Application> application, xls::Workbook model, QString path, bool readOnly);

    // Writes a normal (non-template) workbook; the file appears whole or not at all.
    void SaveAs(const QString& fileName, int fileFormat);
    // The bytes SaveAs writes, recalculated, as a normal workbook; no file is written and the
    // workbook keeps its name.
    QByteArray SaveToBytes(int fileFormat);
    void Close();
    Worksheet ActiveSheet();
    Worksheet Worksheets(int index);  // 1-based
    QString FullName() const { return m_path; }

    // The engine model, every formula result current; throws when the workbook is closed or its
    // host has quit.
    xls::Workbook& model();
    // The same without bringing formula results up to date: for writing, and for reading what
    // writes leave alone (formats, names, which cells exist).
    xls::Workbook& modelAsWritten();
    // A cell write under automatic calculation, except that the formulas reading the cell are
    // computed when the workbook is next read through model(): a run of writes, such as a form
    // being filled in, costs one recalculation instead of one per write.
    void writeCellValue(int sheetIndex, xls::CellRef at, xls::Value value);
    // The regional conventions typed input and pictures use (the default locale's).
    const xls::LocaleInfo& localeInfo();

    void markClosed() { m_closed = true; }

private:
    Application& application() const;
    std::vector<uint8_t> normalBytes(int fileFormat, const QString& fileName);

    std::weak_ptr<Application> m_application;
    xls::Workbook m_model;
    // Per sheet: which formulas read which cells (the host never adds a formula to an open
    // workbook, so the index built at opening serves every write), and the cells written since
    // formula results were last brought up to date.
    std::vector<xls::FormulaReaders> m_readers;
    std::vector<std::vector<uint32_t>> m_written;
    QString m_path;
    bool m_readOnly;
    bool m_closed = false;
};

}  // namespace host
