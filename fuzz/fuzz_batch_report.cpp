// A report given to brindlemoor-batch as JSON, under both test locales: no crash and no hang; a
// report is either accepted whole or refused with a message, and an accepted report holds only
// amounts that read back and texts a cell can hold. The search for repeated keys ends on any
// bytes, finds one entry per report of valid JSON, and names only keys the report has.
#include "workbook/batch/BatchExit.h"
#include "workbook/batch/RepeatedKeys.h"
#include "workbook/batch/ReportRules.h"
#include "workbook/model/AmountText.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

namespace {

void checkRepeatedKeys(const QByteArray& json, const QJsonDocument& document) {
    const std::vector<std::optional<QString>> repeated = FirstRepeatedKeys(json);
    if (document.isNull()) return;
    const QJsonArray reports = document.isObject() ? QJsonArray{document.object()} : document.array();
    if (repeated.size() != size_t(reports.size())) std::abort();
    for (qsizetype i = 0; i < reports.size(); ++i)
        if (repeated[size_t(i)] && !reports.at(i).toObject().contains(*repeated[size_t(i)])) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    QLocale::setDefault(data[0] & 1 ? QLocale(QLocale::German, QLocale::Germany)
                                    : QLocale(QLocale::English, QLocale::UnitedStates));
    const QByteArray json(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QJsonDocument document = QJsonDocument::fromJson(json);
    checkRepeatedKeys(json, document);
    if (!document.isObject()) return 0;
    try {
        const ExpenseReport report = ReportFromJson(document.object(), QStringLiteral("fuzz.json"), QDir());
        for (const ExpenseRow& row : report.rows)
            for (const QString& amount : row.amounts)
                if (!ParseAmount(amount)) std::abort();
        for (const TextFieldEntry& entry : kTextFields)
            if (report.text(entry.field).size() > 32767) std::abort();
    } catch (const BatchFailure& failure) {
        if (failure.exitCode() != kBatchBadInput || !*failure.what()) std::abort();
    }
    return 0;
}
