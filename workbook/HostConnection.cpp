#include "workbook/HostConnection.h"

#include "workbook/host/RegionalSettings.h"

std::shared_ptr<host::Application> xlApp;

void CreateExcel() { xlApp = host::CreateObject(QStringLiteral("Excel.Application")); }

void ReleaseExcel() { xlApp.reset(); }

QString GetDecimalSeparator() {
    // The character after the leading zero of one half, whatever the numbers' settings write there.
    return CurrentRegionalSettings().numbers.toString(0.5).trimmed().mid(1, 1);
}

QString ConvertDecimalSeparator(const QString& text, bool towardsPoint) {
    const QString separator = GetDecimalSeparator();
    QString converted = text;
    if (towardsPoint) return converted.replace(separator, QStringLiteral("."));
    return converted.replace(QLatin1Char('.'), separator).replace(QLatin1Char(','), separator);
}
