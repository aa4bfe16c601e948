#include "workbook/host/Application.h"

#include "workbook/host/LocaleAdapter.h"
#include "RememberedReadings.h"
#include "xls/Error.h"
#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <span>

namespace host {
namespace {

// Larger files are not workbooks this program writes; reading them whole would only waste memory.
constexpr qint64 kMaxWorkbookBytes = qint64(256) << 20;

const QString kQuitMessage = QStringLiteral("The spreadsheet host has already quit.");

xls::Workbook modelFromBytes(const QByteArray& bytes, const QString& fileName);

xls::Workbook readModel(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists() || info.isDir())
        throw HostError(QStringLiteral("The file \"%1\" could not be found.").arg(fileName));
    if (info.size() > kMaxWorkbookBytes)
        throw HostError(QStringLiteral("The file \"%1\" is too large to be a workbook.").arg(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw HostError(QStringLiteral("The file \"%1\" could not be read: %2").arg(fileName, file.errorString()));
    return modelFromBytes(file.readAll(), fileName);
}

xls::Workbook modelFromBytes(const QByteArray& bytes, const QString& fileName) {
    try {
        xls::Workbook model = ReadWorkbookBytes(bytes);
        if (model.sheets.empty()) throw xls::Error("it holds no worksheet");
        // Results cached by whatever wrote the file are not trusted; from here on every cell
        // write keeps them current.
        xls::recalculate(model);
        return model;
    } catch (const xls::Error& error) {
        throw HostError(QStringLiteral("\"%1\" could not be opened as a workbook: %2")
                            .arg(fileName, QString::fromUtf8(error.what())));
    }
}

}  // namespace

std::shared_ptr<Workbook> WorkbookCollection::Open(const QString& fileName) {
    return Open(fileName, std::nullopt, false);
}

std::shared_ptr<Workbook> WorkbookCollection::Open(const QString& fileName, std::nullopt_t, bool readOnly) {
    m_application.ensureRunning();
    auto workbook = std::make_shared<Workbook>(m_application.weak_from_this(), readModel(fileName),
                                               QFileInfo(fileName).absoluteFilePath(), readOnly);
    m_application.m_workbooks.push_back(workbook);
    return workbook;
}

std::shared_ptr<Workbook> WorkbookCollection::OpenFromBytes(const QByteArray& bytes, const QString& name) {
    m_application.ensureRunning();
    auto workbook = std::make_shared<Workbook>(m_application.weak_from_this(), modelFromBytes(bytes, name), name, true);
    m_application.m_workbooks.push_back(workbook);
    return workbook;
}

int WorkbookCollection::Count() const {
    m_application.ensureRunning();
    return int(m_application.m_workbooks.size());
}

std::shared_ptr<Workbook> WorkbookCollection::Item(int index) const {
    if (index < 1 || index > Count())
        throw HostError(QStringLiteral("There is no open workbook number %1.").arg(index));
    return m_application.m_workbooks[size_t(index - 1)];
}

QString Application::Version() const {
    ensureRunning();
    return QStringLiteral("16.0");
}

WorkbookCollection Application::Workbooks() {
    ensureRunning();
    return WorkbookCollection(*this);
}

Worksheet Application::Worksheets(int index) { return activeWorkbook()->Worksheets(index); }

CellRange Application::Range(const QString& address) { return activeWorkbook()->ActiveSheet().Range(address); }

void Application::setVisible(bool visible) {
    ensureRunning();
    m_visible = visible;
}

void Application::setDisplayAlerts(bool displayAlerts) {
    ensureRunning();
    m_displayAlerts = displayAlerts;
}

void Application::Quit() {
    ensureRunning();
    for (const auto& workbook : m_workbooks) workbook->markClosed();
    m_workbooks.clear();
    m_quit = true;
}

void Application::ensureRunning() const {
    if (m_quit) throw HostError(kQuitMessage);
}

const xls::LocaleInfo& Application::localeInfo() {
    // Converting the settings is far slower than a cell write, so it is done once per settings.
    const RegionalSettings current = CurrentRegionalSettings();
    if (!m_localeOf || *m_localeOf != current) {
        m_locale = LocaleInfoFromQLocale(current);
        m_localeOf = current;
    }
    return m_locale;
}

std::shared_ptr<Workbook> Application::activeWorkbook() const {
    ensureRunning();
    if (m_workbooks.empty()) throw HostError(QStringLiteral("No workbook is open in the spreadsheet host."));
    return m_workbooks.back();
}

void Application::forget(const Workbook* workbook) {
    std::erase_if(m_workbooks, [workbook](const auto& open) { return open.get() == workbook; });
}

std::shared_ptr<Application> CreateObject(const QString& programmaticId) {
    if (programmaticId.compare(QStringLiteral("Excel.Application"), Qt::CaseInsensitive) != 0)
        throw HostError(
            QStringLiteral("Cannot create the object \"%1\": no such programmatic identifier is registered.")
                .arg(programmaticId));
    return std::make_shared<Application>();
}

}  // namespace host
