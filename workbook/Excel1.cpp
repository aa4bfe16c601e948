#include "workbook/Excel1.h"

#include "workbook/HostConnection.h"
#include "workbook/host/RegionalSettings.h"

#include <cmath>
#include <limits>

std::shared_ptr<host::Application> OpenInNewExcel(const QString& path) {
    auto instance = host::CreateObject(QStringLiteral("Excel.Application"));
    instance->Workbooks().Open(path);
    return instance;
}

int GetSaveFormat(const std::shared_ptr<host::Application>& instance) {
    QString version;
    if (instance) {
        version = instance->Version();
    } else {
        const auto temporary = host::CreateObject(QStringLiteral("Excel.Application"));
        version = temporary->Version();
        temporary->Quit();
    }
    return SaveFormatForVersion(version);
}

int SaveFormatForVersion(const QString& version) {
    bool ok = false;
    const double number = CurrentRegionalSettings().numbers.toDouble(ConvertDecimalSeparator(version, false), &ok);
    if (!ok) throw host::HostError(QStringLiteral("The host version \"%1\" is not a number.").arg(version));
    const double whole = std::nearbyint(number);
    if (whole < std::numeric_limits<int16_t>::min() || whole > std::numeric_limits<int16_t>::max())
        throw host::HostError(QStringLiteral("The host version \"%1\" is out of range.").arg(version));
    return whole > 11 ? 56 : -4143;
}
