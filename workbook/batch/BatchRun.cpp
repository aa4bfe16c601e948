#include "workbook/batch/BatchRun.h"

#include "report/ExpenseReport.h"
#include "workbook/CellMap.h"
#include "workbook/Excel1.h"
#include "workbook/host/Application.h"
#include "workbook/template/TemplateBytes.h"
#include "xls/SheetPainter.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cstdio>
#include <stdexcept>

namespace {

class BatchError : public std::runtime_error {
public:
    explicit BatchError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

struct Options {
    QString report;
    QString xls;
    QString picture;
};

Options parseOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        if (i + 1 >= arguments.size()) throw BatchError(QStringLiteral("%1 needs a file name").arg(name));
        const QString& value = arguments[i + 1];
        if (name == QLatin1String("--report")) {
            options.report = value;
        } else if (name == QLatin1String("--xls")) {
            options.xls = value;
        } else if (name == QLatin1String("--picture")) {
            options.picture = value;
        } else {
            throw BatchError(QStringLiteral("unknown option %1").arg(name));
        }
    }
    if (options.report.isEmpty() || options.xls.isEmpty())
        throw BatchError(QStringLiteral("usage: brindlemoor-batch --report REPORT.json --xls OUT.xls [--picture OUT.png]"));
    return options;
}

// The store's values by lower-cased key, as the report file gives them.
QHash<QString, QString> readStoredValues(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BatchError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw BatchError(QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                             .arg(path, parseError.errorString()).arg(parseError.offset));
    if (!document.isObject()) throw BatchError(QStringLiteral("%1 must hold one JSON object").arg(path));

    QHash<QString, QString> knownKeys;
    for (const QString& key : AllReportKeys()) knownKeys.insert(key.toLower(), key);
    QHash<QString, QString> values;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = it.key().toLower();
        if (!knownKeys.contains(key)) throw BatchError(QStringLiteral("%1: unknown key \"%2\"").arg(path, it.key()));
        if (!it.value().isString())
            throw BatchError(QStringLiteral("%1: the value of \"%2\" is not a string").arg(path, it.key()));
        values.insert(key, it.value().toString());
    }
    return values;
}

ExpenseReport readReport(const QString& path) {
    const QHash<QString, QString> values = readStoredValues(path);
    return ReportFromValues(
        [&values](const QString& key) -> std::optional<QString> {
            const auto it = values.find(key.toLower());
            return it == values.end() ? std::nullopt : std::optional<QString>(*it);
        },
        QDate::currentDate());
}

void savePicture(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit())
        throw BatchError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

void run(const Options& options) {
    const ExpenseReport report = readReport(options.report);

    QTemporaryFile templateCopy(QDir::tempPath() + QStringLiteral("/brindlemoor-XXXXXX.xlt"));
    const QByteArray templateBytes = TemplateBytes();
    if (!templateCopy.open() || templateCopy.write(templateBytes) != templateBytes.size() || !templateCopy.flush())
        throw BatchError(QStringLiteral("cannot write the template copy: %1").arg(templateCopy.errorString()));
    templateCopy.close();

    const auto instance = host::CreateObject(QStringLiteral("Excel.Application"));
    const auto book = instance->Workbooks().Open(templateCopy.fileName(), std::nullopt, true);
    WriteReportCells(*instance, report);
    instance->Range(QStringLiteral("C4")).Select();

    QImage picture;
    if (!options.picture.isEmpty()) {
        xls::Workbook& model = book->model();
        const host::CellRange used = book->ActiveSheet().UsedRange();
        picture = xls::renderRange(model, model.sheets.at(model.activeSheet), used.bounds(), book->localeInfo());
        if (picture.isNull()) throw BatchError(QStringLiteral("the picture of the sheet could not be drawn"));
    }

    book->SaveAs(options.xls, GetSaveFormat(instance));
    instance->setDisplayAlerts(false);
    instance->Quit();
    if (!options.picture.isEmpty()) {
        try {
            savePicture(picture, options.picture);
        } catch (...) {
            QFile::remove(options.xls);
            throw;
        }
    }
}

}  // namespace

int RunBatch(const QStringList& arguments) {
    try {
        run(parseOptions(arguments));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brindlemoor-batch: %s\n", error.what());
        return kBatchFailed;
    }
}
