#include "SampleResultWorkbook.h"

#include "SampleReport.h"
#include "TemplateFile.h"
#include "workbook/CellMap.h"
#include "workbook/host/Application.h"
#include "xls/WorkbookIo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

QString SaveSampleResultWorkbook(const QString& folder) {
    const auto application = host::CreateObject(QStringLiteral("Excel.Application"));
    const auto book = application->Workbooks().Open(WriteTemplateFile(folder));
    WriteReportCells(*application, SampleReport());
    const QString path = QDir(folder).filePath(QStringLiteral("result.xls"));
    book->SaveAs(path, host::xlExcel8);
    application->Quit();
    return path;
}

xls::Workbook ReadWorkbookFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return xls::readWorkbook({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
}

bool PopplerInstalled() {
    for (const char* tool : {"pdfinfo", "pdftotext", "pdffonts", "pdftoppm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return true;
}

std::optional<QString> PopplerOutput(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(process.readAllStandardOutput());
}

QImage PopplerPicture(const QString& pdf, int dpi) {
    const QString prefix = pdf + QStringLiteral(".page");
    if (!PopplerOutput(QStringLiteral("pdftoppm"),
                       {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-aa"), QStringLiteral("no"),
                        QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-singlefile"),
                        QStringLiteral("-png"), pdf, prefix}))
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}
