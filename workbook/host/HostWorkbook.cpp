#include "workbook/host/HostWorkbook.h"

#include "app/OutputSet.h"
#include "workbook/host/Application.h"
#include "xls/Error.h"
#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <QFileInfo>

#include <utility>

namespace host {
namespace {

void askForRecalculationOnLoad(xls::Workbook& model) {
    for (xls::Sheet& sheet : model.sheets)
        for (auto& [key, cell] : sheet.cells)
            if (cell.formula) cell.formula->alwaysCalculate = true;
}

void writeWhole(const QString& fileName, const std::vector<uint8_t>& bytes) {
    try {
        ReplaceFile(fileName,
                    QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    } catch (const AppError& error) {
        throw HostError(QStringLiteral("The workbook could not be saved as \"%1\": %2")
                            .arg(fileName, QString::fromStdString(error.what())));
    }
}

}  // namespace

Workbook::Workbook(std::weak_ptr<Application> application, xls::Workbook model, QString path, bool readOnly)
    : m_application(std::move(application)), m_model(std::move(model)), m_path(std::move(path)), m_readOnly(readOnly) {
    m_readers.reserve(m_model.sheets.size());
    for (const xls::Sheet& sheet : m_model.sheets) m_readers.emplace_back(sheet);
    m_written.resize(m_model.sheets.size());
}

Application& Workbook::application() const {
    const auto application = m_application.lock();
    if (!application || application->hasQuit())
        throw HostError(QStringLiteral("The spreadsheet host has already quit."));
    return *application;
}

xls::Workbook& Workbook::model() {
    modelAsWritten();
    for (size_t sheet = 0; sheet < m_written.size(); ++sheet) {
        if (m_written[sheet].empty()) continue;
        xls::recalculateReadersOf(m_model.sheets[sheet], m_readers[sheet], m_written[sheet]);
        m_written[sheet].clear();
    }
    return m_model;
}

xls::Workbook& Workbook::modelAsWritten() {
    application();
    if (m_closed) throw HostError(QStringLiteral("The workbook \"%1\" has been closed.").arg(m_path));
    return m_model;
}

void Workbook::writeCellValue(int sheetIndex, xls::CellRef at, xls::Value value) {
    xls::Sheet& sheet = modelAsWritten().sheets.at(size_t(sheetIndex));
    if (xls::storeCellValue(sheet, at, std::move(value)))
        m_written[size_t(sheetIndex)].push_back(xls::Sheet::key(at.row, at.col));
}

const xls::LocaleInfo& Workbook::localeInfo() { return application().localeInfo(); }

void Workbook::SaveAs(const QString& fileName, int fileFormat) {
    const QString target = QFileInfo(fileName).absoluteFilePath();
    if (m_readOnly && target == m_path)
        throw HostError(QStringLiteral("\"%1\" is open read-only: save it under another name.").arg(fileName));
    writeWhole(fileName, normalBytes(fileFormat, fileName));
    model().isTemplate = false;
    m_path = target;
    m_readOnly = false;
}

QByteArray Workbook::SaveToBytes(int fileFormat) {
    const std::vector<uint8_t> bytes = normalBytes(fileFormat, m_path);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::vector<uint8_t> Workbook::normalBytes(int fileFormat, const QString& fileName) {
    xls::Workbook& book = model();
    if (fileFormat != xlExcel8 && fileFormat != xlWorkbookNormal)
        throw HostError(QStringLiteral("File format %1 is not supported: use 56 or -4143.").arg(fileFormat));
    askForRecalculationOnLoad(book);
    // Written as a normal workbook; the open one stays what it was.
    const bool wasTemplate = std::exchange(book.isTemplate, false);
    try {
        std::vector<uint8_t> bytes = xls::writeWorkbook(book, localeInfo());
        book.isTemplate = wasTemplate;
        return bytes;
    } catch (const xls::Error& error) {
        book.isTemplate = wasTemplate;
        throw HostError(QStringLiteral("The workbook could not be saved as \"%1\": %2")
                            .arg(fileName, QString::fromUtf8(error.what())));
    }
}

void Workbook::Close() {
    Application& owner = application();
    if (m_closed) throw HostError(QStringLiteral("The workbook \"%1\" has been closed.").arg(m_path));
    m_closed = true;
    owner.forget(this);
}

Worksheet Workbook::ActiveSheet() { return Worksheets(int(modelAsWritten().activeSheet) + 1); }

Worksheet Workbook::Worksheets(int index) {
    if (index < 1 || size_t(index) > modelAsWritten().sheets.size())
        throw HostError(QStringLiteral("The workbook has no worksheet number %1.").arg(index));
    return Worksheet(shared_from_this(), index - 1);
}

}  // namespace host
