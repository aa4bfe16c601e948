#include "workbook/batch/BatchRun.h"

#include "app/SettingsFile.h"
#include "workbook/batch/BatchExit.h"
#include "workbook/batch/BatchMessage.h"
#include "BatchOptions.h"
#include "ManyReports.h"
#include "ReportReceipts.h"
#include "workbook/batch/ReportRules.h"
#include "ReportSources.h"
#include "ReportWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>

namespace {

// Amounts and dates are read, and the workbook typed, under the named settings in every category.
void useSettings(const QString& name) {
    if (name.isEmpty()) return;
    const QLocale locale(name);
    const bool plainC = name == QLatin1String("C") || name == QLatin1String("POSIX");
    if (locale.language() == QLocale::C && !plainC)
        throw BadInput(QStringLiteral("--locale: \"%1\" names no known settings (try en_US or de_DE)").arg(name));
    QLocale::setDefault(locale);
}

void writeOneReport(const BatchOptions& options) {
    const bool standardInput = options.report == QLatin1String("-");
    const QString name = standardInput ? kStandardInputName : options.report;
    const QDir folder = standardInput ? QDir() : QFileInfo(options.report).dir();
    const ExpenseReport report =
        options.fromStore ? ReportFromStore() : ReportFromJson(ReadReportObject(options.report), name, folder);
    CheckReceipts(report, options.fromStore ? QDir::toNativeSeparators(SettingsFilePath(kSettingsApp)) : name);
    const QString input = options.fromStore ? SettingsFilePath(kSettingsApp) : options.report;
    ReportWriter().write(report, {options.xls, options.xlsx, options.picture, options.pdf, input});
}

int run(const BatchOptions& options) {
    switch (options.action) {
    case BatchOptions::Action::Help: std::fputs(BatchHelpText().toUtf8().constData(), stdout); return kBatchDone;
    case BatchOptions::Action::Version: std::fputs(BatchVersionText().toUtf8().constData(), stdout); return kBatchDone;
    case BatchOptions::Action::Run: break;
    }
    useSettings(options.locale);
    if (!options.outDir.isEmpty()) return WriteManyReports(options);
    writeOneReport(options);
    return kBatchDone;
}

}  // namespace

int RunBatch(const QStringList& arguments) {
    try {
        return run(ParseBatchOptions(arguments));
    } catch (const BatchFailure& failure) {
        SayOnStandardError(failure.message());
        return failure.exitCode();
    } catch (const std::exception& error) {
        SayOnStandardError(QString::fromUtf8(error.what()));
        return kBatchCouldNotWrite;
    }
}
