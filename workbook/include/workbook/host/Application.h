// The embedded spreadsheet host: an in-process application object with the operations the
// program performs on a host instance, working on the engine's workbook model.
#pragma once

#include "workbook/host/HostError.h"
#include "workbook/host/HostWorkbook.h"
#include "workbook/host/RegionalSettings.h"
#include "xls/Locale.h"

#include <QLocale>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace host {

class Application;

class WorkbookCollection {
public:
    explicit WorkbookCollection(Application& application) : m_application(application) {}

    // Opens the file and makes it the active and last workbook.
    std::shared_ptr<Workbook> Open(const QString& fileName);
    // Open with update-links omitted and the read-only flag.
    std::shared_ptr<Workbook> Open(const QString& fileName, std::nullopt_t updateLinks, bool readOnly);
    // Opens a workbook held in memory, read-only under name; no file is read or written.
    std::shared_ptr<Workbook> OpenFromBytes(const QByteArray& bytes, const QString& name);
    int Count() const;
    std::shared_ptr<Workbook> Item(int index) const;  // 1-based
    std::shared_ptr<Workbook> operator()(int index) const { return Item(index); }

private:
    Application& m_application;
};

class Application : public std::enable_shared_from_this<Application> {
public:
    QString Version() const;
    WorkbookCollection Workbooks();
    Worksheet Worksheets(int index);          // of the active workbook
    CellRange Range(const QString& address);  // of the active sheet

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    bool DisplayAlerts() const { return m_displayAlerts; }
    void setDisplayAlerts(bool displayAlerts);

    // Ends the instance: its workbooks close unsaved, every later operation fails.
    void Quit();
    bool hasQuit() const { return m_quit; }

    void ensureRunning() const;
    const xls::LocaleInfo& localeInfo();

private:
    friend class WorkbookCollection;
    friend class Workbook;

    std::shared_ptr<Workbook> activeWorkbook() const;
    void forget(const Workbook* workbook);

    std::vector<std::shared_ptr<Workbook>> m_workbooks;  // in opening order; the last is active
    bool m_visible = false;
    bool m_displayAlerts = true;
    bool m_quit = false;
    std::optional<RegionalSettings> m_localeOf;
    xls::LocaleInfo m_locale;
};

// Creates a new instance of its own for "Excel.Application"; any other identifier fails.
std::shared_ptr<Application> CreateObject(const QString& programmaticId);

}  // namespace host
