#include "ReportSources.h"

#include "app/SettingsFile.h"
#include "app/StoreSection.h"
#include "receipts/ReceiptLibrary.h"
#include "workbook/batch/BatchExit.h"
#include "workbook/batch/RepeatedKeys.h"
#include "workbook/batch/ReportRules.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace {

// Larger inputs are not expense reports; reading them whole would only waste memory.
constexpr qint64 kMaxInputBytes = qint64(256) << 20;

QByteArray readWhole(const QString& path, const QString& name) {
    QFile file;
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                   : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) throw BadInput(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
    // A pipe gives its bytes a piece at a time: read until its end.
    QByteArray bytes;
    while (!file.atEnd() || file.isSequential()) {
        const QByteArray piece = file.read(kMaxInputBytes + 1 - bytes.size());
        if (file.error() != QFileDevice::NoError)
            throw BadInput(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
        if (piece.isEmpty()) break;
        bytes += piece;
        if (bytes.size() > kMaxInputBytes) throw BadInput(QStringLiteral("%1 is too large to be a report").arg(name));
    }
    return bytes;
}

struct ReadJson {
    QJsonDocument document;
    std::vector<std::optional<QString>> repeatedKeys;
};

ReadJson readJson(const QString& path) {
    const QString name = path == QLatin1String("-") ? kStandardInputName : QDir::toNativeSeparators(path);
    const QByteArray bytes = readWhole(path, name);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw BadInput(QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                           .arg(name, parseError.errorString())
                           .arg(parseError.offset));
    return {document, FirstRepeatedKeys(bytes)};
}

}  // namespace

QJsonObject ReadReportObject(const QString& path) {
    const ReadJson json = readJson(path);
    const QString name = path == QLatin1String("-") ? kStandardInputName : QDir::toNativeSeparators(path);
    if (!json.document.isObject()) throw BadInput(QStringLiteral("%1 must hold one JSON object").arg(name));
    if (const std::optional<QString>& key = json.repeatedKeys.front()) throw KeyGivenTwice(name, *key);
    return json.document.object();
}

ReportArray ReadReportArrayFromStandardInput() {
    ReadJson json = readJson(QStringLiteral("-"));
    if (!json.document.isArray())
        throw BadInput(kStandardInputName + QStringLiteral(" must hold a JSON array of reports"));
    return {json.document.array(), std::move(json.repeatedKeys)};
}

ExpenseReport ReportFromStore() {
    std::optional<QHash<QString, QString>> entries;
    try {
        entries = ReadSettingsSection(kSettingsApp, kSettingsSection);
    } catch (const AppError& error) {
        throw BadInput(QString::fromStdString(error.what()));
    }
    const QString name = QDir::toNativeSeparators(SettingsFilePath(kSettingsApp));
    if (!entries) throw BadInput(QStringLiteral("%1: there is no stored report").arg(name));
    QJsonObject object;
    for (const QString& key : AllReportKeys())
        if (const auto value = entries->constFind(key.toCaseFolded()); value != entries->constEnd())
            object.insert(key, *value);
    ExpenseReport report = ReportFromJson(object, name, QDir());
    for (int row = 0; row < kGridRows; ++row) {
        const QString key = ReceiptsKey(row);
        const auto value = entries->constFind(key.toCaseFolded());
        if (value == entries->constEnd()) continue;
        const std::optional<QList<StoredReceipt>> stored = ParseStoredReceipts(*value);
        if (!stored)
            throw BadInput(
                QStringLiteral("%1: %2: \"%3\" does not name the entry window's receipts").arg(name, key, *value));
        for (const StoredReceipt& receipt : *stored)
            report.rows[size_t(row)].receipts.append({ReceiptCopyPath(receipt.copy), receipt.name});
    }
    return report;
}
