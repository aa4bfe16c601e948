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

    // The engine model; throws when the workbook is closed or its host has quit.
    xls::Workbook& model();
    // Which formulas of a sheet read which cells; the host never adds a formula to an open workbook,
    // so the index built at opening serves every write.
    const xls::FormulaReaders& formulaReaders(int sheetIndex) const { return m_readers.at(size_t(sheetIndex)); }
    // The regional conventions typed input and pictures use (the default locale's).
    const xls::LocaleInfo& localeInfo();

    void markClosed() { m_closed = true; }

private:
    Application& application() const;
    std::vector<uint8_t> normalBytes(int fileFormat, const QString& fileName);

    std::weak_ptr<Application> m_application;
    xls::Workbook m_model;
    std::vector<xls::FormulaReaders> m_readers;
    QString m_path;
    bool m_readOnly;
    bool m_closed = false;
};

}  // namespace host
