#include "workbook/batch/ReportRules.h"

#include "workbook/model/AmountText.h"
#include "workbook/batch/BatchExit.h"
#include "workbook/host/RegionalSettings.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QLocale>
#include <QRegularExpression>

#include <array>

namespace {

// A cell holds at most this many characters; a longer text would be cut.
constexpr qsizetype kCellTextLimit = 32767;
// How much of a refused value a message shows.
constexpr qsizetype kShownValueLength = 60;

enum class Kind { Text, Amount, Date, RowDate, Receipts };

struct KeyRule {
    QString key;  // as the store spells it
    Kind kind;
    int row = -1;  // of a row's receipts
};

QHash<QString, KeyRule> rulesByFoldedKey() {
    QHash<QString, KeyRule> rules;
    for (const QString& key : AllReportKeys()) rules.insert(key.toCaseFolded(), {key, Kind::Text});
    const auto mark = [&rules](const QString& key, Kind kind) { rules[key.toCaseFolded()].kind = kind; };
    mark(QStringLiteral("dtpFrom"), Kind::Date);
    mark(QStringLiteral("dtpTo"), Kind::Date);
    for (int row = 0; row < kGridRows; ++row) {
        mark(QStringLiteral("DTPicker2%1").arg(row), Kind::RowDate);
        for (const QString& amount : kAmountNames) mark(amount + QString::number(row), Kind::Amount);
        rules.insert(ReceiptsKey(row).toCaseFolded(), {ReceiptsKey(row), Kind::Receipts, row});
    }
    return rules;
}

// The settings amounts are read under: the money's, and the numbers' where they differ.
QString amountSettingsName() {
    const RegionalSettings settings = CurrentRegionalSettings();
    const QString money = SettingsName(settings.money);
    const QString numbers = SettingsName(settings.numbers);
    return money == numbers ? money : QStringLiteral("%1 money and %2 number").arg(money, numbers);
}

// The value as JSON shows it, shortened: one line whatever the value holds.
QString shown(const QJsonValue& value) {
    QString text = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
    text = text.mid(1, text.size() - 2);
    if (text.size() > kShownValueLength) text = text.left(kShownValueLength) + QStringLiteral("...");
    return text;
}

// The settings' short date with its year in two digits, then in four.
std::optional<QDate> shortDate(const QString& text) {
    const QLocale locale = CurrentRegionalSettings().dates;
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        QDate date = locale.toDate(text, format);
        // A two-digit year means the nearer century, as the entry window reads it.
        if (date.isValid()) return date.year() < 1950 ? date.addYears(100) : date;
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    const QDate date = locale.toDate(text, format);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

std::optional<QDate> reportDate(const QString& text) {
    static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    if (iso.match(text).hasMatch()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
    }
    return shortDate(text);
}

const QString kNotReceipts = QStringLiteral("is not a list of receipt files (a JSON array of file paths)");

class ValueReader {
public:
    ValueReader(const QString& name, const QString& key, const QJsonValue& value)
        : m_name(name), m_key(key), m_value(value) {}

    // The value in the form the store keeps it, which the report is then built from.
    QString storedForm(Kind kind) const {
        if (m_value.isString()) refuseLoneSurrogate(m_value.toString());
        switch (kind) {
        case Kind::Amount: return amount();
        case Kind::Date: return date(false);
        case Kind::RowDate: return date(true);
        case Kind::Text: return text();
        case Kind::Receipts: break;
        }
        return {};
    }

    // The files of a row's receipts, in order.
    QList<ReceiptFile> receipts(const QDir& folder) const {
        if (!m_value.isArray()) refuse(kNotReceipts);
        QList<ReceiptFile> files;
        for (const QJsonValue& entry : m_value.toArray()) {
            if (!entry.isString() || entry.toString().isEmpty()) refuse(kNotReceipts);
            refuseLoneSurrogate(entry.toString());
            const QString path = QDir::cleanPath(folder.absoluteFilePath(entry.toString()));
            files.append({path, QFileInfo(path).fileName()});
        }
        return files;
    }

private:
    [[noreturn]] void refuse(const QString& what) const {
        throw BadInput(QStringLiteral("%1: %2: %3 %4").arg(m_name, m_key, shown(m_value), what));
    }

    // Half a surrogate pair is no character: a cell would get "?" in its place, a file name another file.
    void refuseLoneSurrogate(const QString& text) const {
        if (!text.isValidUtf16())
            refuse(QStringLiteral("holds a lone surrogate (half of a UTF-16 pair), which is no character"));
    }

    QString amount() const {
        std::optional<Amount> value;
        if (m_value.isDouble())
            value = AmountOf(m_value.toDouble());
        else if (m_value.isString())
            value = m_value.toString().trimmed().isEmpty() ? Amount{} : ParseAmount(m_value.toString());
        if (!value) refuse(QStringLiteral("is not an amount under the %1 settings").arg(amountSettingsName()));
        return CurrencyForm(*value);
    }

    QString date(bool mayBeEmpty) const {
        if (m_value.isString()) {
            const QString text = m_value.toString().trimmed();
            if (text.isEmpty() && mayBeEmpty) return {};
            if (const std::optional<QDate> date = reportDate(text)) return StoredDateText(*date);
        }
        refuse(QStringLiteral("is not a date (YYYY-MM-DD or the %1 settings' short date)")
                   .arg(SettingsName(CurrentRegionalSettings().dates)));
    }

    QString text() const {
        if (!m_value.isString()) refuse(QStringLiteral("is not a text"));
        const QString text = m_value.toString();
        if (text.size() > kCellTextLimit)
            throw BadInput(QStringLiteral("%1: %2: the text is %3 characters long, more than a cell holds (32,767)")
                               .arg(m_name, m_key)
                               .arg(text.size()));
        return text;
    }

    const QString& m_name;
    const QString& m_key;
    const QJsonValue& m_value;
};

}  // namespace

BatchFailure KeyGivenTwice(const QString& name, const QString& key) {
    return BadInput(QStringLiteral("%1: the key \"%2\" is given twice").arg(name, key));
}

ExpenseReport ReportFromJson(const QJsonObject& object, const QString& name, const QDir& folder) {
    static const QHash<QString, KeyRule> rules = rulesByFoldedKey();
    QHash<QString, QString> stored;
    std::array<std::optional<QList<ReceiptFile>>, kGridRows> receipts;
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto rule = rules.constFind(it.key().toCaseFolded());
        if (rule == rules.constEnd()) throw BadInput(QStringLiteral("%1: unknown key \"%2\"").arg(name, it.key()));
        if (stored.contains(rule->key) || (rule->kind == Kind::Receipts && receipts[size_t(rule->row)]))
            throw KeyGivenTwice(name, rule->key);
        const QString key = it.key();
        const QJsonValue value = it.value();
        const ValueReader reader(name, key, value);
        if (rule->kind == Kind::Receipts)
            receipts[size_t(rule->row)] = reader.receipts(folder);
        else
            stored.insert(rule->key, reader.storedForm(rule->kind));
    }
    ExpenseReport report = ReportFromValues(
        [&stored](const QString& key) -> std::optional<QString> {
            const auto it = stored.constFind(key);
            return it == stored.constEnd() ? std::nullopt : std::optional<QString>(*it);
        },
        QDate::currentDate());
    for (size_t row = 0; row < receipts.size(); ++row)
        if (receipts[row]) report.rows[row].receipts = *receipts[row];
    return report;
}
