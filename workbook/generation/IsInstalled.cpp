#include "workbook/generation/IsInstalled.h"

#include "app/ProgramEnd.h"
#include "app/MessageService.h"
#include "workbook/host/Application.h"
#include "workbook/template/TemplateBytes.h"
#include "xls/WorkbookIo.h"

#include <span>

namespace {

bool HostStarts(const QString& programmaticId) {
    try {
        host::CreateObject(programmaticId);
        const QByteArray bytes = TemplateBytes();
        xls::readWorkbook(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

QString HostMissingMessage() {
    const QString paragraphBreak = QStringLiteral("\r\n\r\n");
    return QStringList{
        QStringLiteral("Error 842001. A normal instance of Excel could not be created."),
        QStringLiteral("1. Please make sure Excel is installed on this computer."),
        QStringLiteral("2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any "
                       "interrupting window (such as an Excel file recovery window)."),
        QStringLiteral("3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally "
                       "without any interrupting messages."),
        QStringLiteral("4. All versions of Excel are supported by this software except for the rare Excel Starter and "
                       "Student editions.")}
        .join(paragraphBreak);
}

void CheckExcelInstalled() { CheckHostAvailable(QStringLiteral("Excel.Application")); }

void CheckHostAvailable(const QString& programmaticId) {
    if (HostStarts(programmaticId)) return;
    MsgBox(HostMissingMessage());
    EndProgram();
}
