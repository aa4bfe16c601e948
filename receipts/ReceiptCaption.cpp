#include "receipts/ReceiptCaption.h"

#include "workbook/model/AmountText.h"

#include <QFontMetricsF>
#include <QStringList>

namespace {

const QString kSeparator = QStringLiteral(" \u00B7 ");

QString Joined(const QStringList& parts) {
    QStringList present;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty()) present << part.simplified();
    return present.join(kSeparator);
}

}  // namespace

QString ReceiptCaption::text() const { return Joined({date, account, description, total, count, name}); }

QString ReceiptCaption::fitted(const QFontMetricsF& metrics, qreal width) const {
    const QString whole = text();
    if (metrics.horizontalAdvance(whole) <= width) return whole;
    const QString withoutDescription = Joined({date, account, QStringLiteral("\u2026"), total, count, name});
    const qreal room =
        width - metrics.horizontalAdvance(withoutDescription) + metrics.horizontalAdvance(QStringLiteral("\u2026"));
    const QString shortened = metrics.elidedText(description.simplified(), Qt::ElideRight, room);
    if (room > 0 && !shortened.isEmpty()) return Joined({date, account, shortened, total, count, name});
    return metrics.elidedText(withoutDescription, Qt::ElideRight, width);
}

ReceiptCaption CaptionOf(const ExpenseRow& row, qsizetype index) {
    Amount total;
    const RegionalSettings settings = CurrentRegionalSettings();
    for (const QString& amount : row.amounts) total.cents += ParseAmount(amount, settings).value_or(Amount{}).cents;
    return {row.date ? settings.dates.toString(*row.date, QStringLiteral("dd-MMM-yyyy")) : QString(),
            row.account,
            row.description,
            CurrencyForm(total, settings),
            QStringLiteral("receipt %1 of %2").arg(index + 1).arg(row.receipts.size()),
            row.receipts.value(index).name};
}
