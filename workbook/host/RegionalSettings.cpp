#include "workbook/host/RegionalSettings.h"

namespace {

// Qt's C locale leaves out the group separator unless told otherwise, the system's C settings group
// ("1,234.50"): every category groups as the desktop does.
QLocale grouping(QLocale locale) {
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale;
}

QLocale categoryLocale(const std::function<QString(const char*)>& variable, const char* category) {
    QString name = variable("LC_ALL");
    if (name.isEmpty()) name = variable(category);
    if (name.isEmpty()) name = variable("LANG");
    if (name.isEmpty()) name = QStringLiteral("C");
    return grouping(QLocale(name));
}

}  // namespace

RegionalSettings::RegionalSettings(const QLocale& every) : RegionalSettings(every, every, every) {}

RegionalSettings::RegionalSettings(const QLocale& numbers, const QLocale& money, const QLocale& dates)
    : numbers(numbers), money(money), dates(dates) {}

RegionalSettings RegionalSettingsFromEnvironment(const std::function<QString(const char* name)>& variable) {
    return {categoryLocale(variable, "LC_NUMERIC"), categoryLocale(variable, "LC_MONETARY"),
            categoryLocale(variable, "LC_TIME")};
}

RegionalSettings CurrentRegionalSettings() {
    // Qt's system locale reads each category's variable but mixes them in its answers (LANG's
    // currency form around LC_MONETARY's symbol, LANG's name): it serves only as the sign that no
    // default was chosen.
    const QLocale chosen;
    if (chosen != QLocale::system()) return chosen;
    static const RegionalSettings desktop =
        RegionalSettingsFromEnvironment([](const char* name) { return qEnvironmentVariable(name); });
    return desktop;
}

QString SettingsName(const QLocale& locale) {
    return locale.language() == QLocale::C ? QStringLiteral("C") : locale.name();
}
