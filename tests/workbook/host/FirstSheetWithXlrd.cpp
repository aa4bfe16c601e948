#include "FirstSheetWithXlrd.h"

#include <QProcess>

XlrdAnswer AskXlrdAboutFirstSheet(const QString& workbookPath, const QString& lines) {
    QProcess xlrd;
    xlrd.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import sys, xlrd\ns = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n") + lines,
                workbookPath});
    if (!xlrd.waitForFinished(60000)) return {false, QStringLiteral("xlrd did not finish")};
    if (xlrd.exitCode() != 0) return {false, QString::fromUtf8(xlrd.readAllStandardError())};
    return {true, QString::fromUtf8(xlrd.readAllStandardOutput())};
}
