#include "workbook/host/LocaleAdapter.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <tuple>
#include <utility>

namespace {

std::string utf8(const QString& text) { return text.toStdString(); }

bool isBlank(QChar c) { return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F); }

// Where the symbol stands and whether a blank parts it from the number, as toCurrencyString writes them.
void readCurrencyForm(const QLocale& locale, xls::LocaleInfo& info) {
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    const QString positive = locale.toCurrencyString(1234.5);
    const qsizetype at = positive.indexOf(symbol);
    if (!symbol.isEmpty() && at >= 0) {
        info.currencyBefore = at == 0;
        const qsizetype neighbour = info.currencyBefore ? at + symbol.size() : at - 1;
        info.currencySpaced = neighbour >= 0 && neighbour < positive.size() && isBlank(positive[neighbour]);
    }
    // Qt writes the accounting parentheses for settings whose own negatives carry a minus
    // (fr_FR "-3,00 €", en_GB "-£3.00"); the parentheses are the United States' own form.
    info.negativeParentheses =
        locale.territory() == QLocale::UnitedStates && locale.toCurrencyString(-1234.5).startsWith(u'(');
}

// The Windows language ids that tag a currency in format codes ("[$€-407]"), for the settings
// spreadsheets are most often read under; other settings name the symbol alone.
uint16_t languageIdOf(const QLocale& locale) {
    struct Known {
        QLocale::Language language;
        QLocale::Territory territory;
        uint16_t id;
    };
    static constexpr Known kKnown[] = {
        {QLocale::English, QLocale::UnitedStates, 0x0409}, {QLocale::English, QLocale::UnitedKingdom, 0x0809},
        {QLocale::English, QLocale::Ireland, 0x1809},      {QLocale::German, QLocale::Germany, 0x0407},
        {QLocale::German, QLocale::Austria, 0x0C07},       {QLocale::German, QLocale::Switzerland, 0x0807},
        {QLocale::French, QLocale::France, 0x040C},        {QLocale::French, QLocale::Belgium, 0x080C},
        {QLocale::French, QLocale::Switzerland, 0x100C},   {QLocale::Dutch, QLocale::Netherlands, 0x0413},
        {QLocale::Spanish, QLocale::Spain, 0x0C0A},        {QLocale::Italian, QLocale::Italy, 0x0410},
        {QLocale::Portuguese, QLocale::Portugal, 0x0816},  {QLocale::Portuguese, QLocale::Brazil, 0x0416},
    };
    for (const Known& known : kKnown)
        if (known.language == locale.language() && known.territory == locale.territory()) return known.id;
    return 0;
}

// The group sizes the locale writes a long number with: 1,234,567 groups by three, 12,34,567 by three
// and then two; none where it writes no separator. The C settings group only when asked to.
void readGrouping(QLocale locale, xls::LocaleInfo& info) {
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    const QStringList groups = locale.toString(1234567890123LL).split(locale.groupSeparator());
    if (locale.groupSeparator().isEmpty() || groups.size() < 3) {
        info.groupSize = info.secondaryGroupSize = 0;
        return;
    }
    info.groupSize = int(groups.last().size());
    info.secondaryGroupSize = int(groups[groups.size() - 2].size());
}

// A Qt date pattern (M/d/yy, dd.MM.yy) as a format code with a four-digit year (m/d/yyyy, dd.mm.yyyy).
std::string shortDateCode(const QString& pattern) {
    QString code;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        if (c == u'y')
            code += QStringLiteral("yyyy");
        else if (c == u'M')
            code += QString(run, u'm');
        else if (c == u'd')
            code += QString(run, u'd');
        else if (c == u'\'')
            run = 1;  // Qt's quotes around literal text
        else if (c.isLetter())
            code += QStringLiteral("\\") + c, run = 1;  // a literal letter, escaped
        else
            code += QString(c).repeated(run);
        i += run;
    }
    return utf8(code);
}

xls::DateOrder dateOrderOf(const QString& pattern) {
    const qsizetype day = pattern.indexOf(u'd');
    const qsizetype month = pattern.indexOf(u'M');
    const qsizetype year = pattern.indexOf(u'y');
    if (year >= 0 && year < month && year < day) return xls::DateOrder::YearMonthDay;
    if (day >= 0 && day < month) return xls::DateOrder::DayMonthYear;
    return xls::DateOrder::MonthDayYear;
}

// The first character between two fields of a pattern.
std::string separatorOf(const QString& pattern, const std::string& fallback) {
    static const QRegularExpression field(QStringLiteral("[A-Za-z]+([^A-Za-z'])"));
    const QRegularExpressionMatch match = field.match(pattern);
    return match.hasMatch() ? utf8(match.captured(1)) : fallback;
}

// Spreadsheets write short month names without Qt's abbreviation point ("Dez." shows as "Dez").
std::string withoutTrailingPoint(QString name) {
    if (name.endsWith(u'.')) name.chop(1);
    return utf8(name);
}

// Spreadsheets name the booleans in the user's language; Qt has no words for them.
std::pair<std::string, std::string> booleanWords(QLocale::Language language) {
    switch (language) {
    case QLocale::German: return {"WAHR", "FALSCH"};
    case QLocale::French: return {"VRAI", "FAUX"};
    case QLocale::Spanish: return {"VERDADERO", "FALSO"};
    case QLocale::Italian: return {"VERO", "FALSO"};
    case QLocale::Portuguese: return {"VERDADEIRO", "FALSO"};
    case QLocale::Dutch: return {"WAAR", "ONWAAR"};
    case QLocale::Swedish: return {"SANT", "FALSKT"};
    case QLocale::Danish: return {"SAND", "FALSK"};
    case QLocale::NorwegianBokmal: return {"SANN", "USANN"};
    default: return {"TRUE", "FALSE"};
    }
}

}  // namespace

xls::LocaleInfo LocaleInfoFromQLocale(const RegionalSettings& settings) {
    xls::LocaleInfo info;
    const QLocale& numbers = settings.numbers;
    info.decimal = utf8(numbers.decimalPoint());
    info.group = utf8(numbers.groupSeparator());
    readGrouping(numbers, info);
    info.minusSign = utf8(numbers.negativeSign());
    std::tie(info.trueWord, info.falseWord) = booleanWords(numbers.language());

    const QLocale& money = settings.money;
    info.currencySymbol = utf8(money.currencySymbol(QLocale::CurrencySymbol));
    readCurrencyForm(money, info);
    info.languageId = languageIdOf(money);

    const QLocale& dates = settings.dates;
    const QString datePattern = dates.dateFormat(QLocale::ShortFormat);
    info.dateOrder = dateOrderOf(datePattern);
    info.dateSeparator = separatorOf(datePattern, info.dateSeparator);
    info.timeSeparator = separatorOf(dates.timeFormat(QLocale::ShortFormat), info.timeSeparator);
    info.shortDateCode = shortDateCode(datePattern);
    for (int month = 1; month <= 12; ++month) {
        info.monthNames[size_t(month - 1)] = utf8(dates.monthName(month, QLocale::LongFormat));
        info.monthAbbreviations[size_t(month - 1)] = withoutTrailingPoint(dates.monthName(month, QLocale::ShortFormat));
    }
    // Qt counts Monday as 1 and Sunday as 7; the engine starts on Sunday.
    for (int day = 0; day < 7; ++day) {
        const int qtDay = day == 0 ? 7 : day;
        info.dayNames[size_t(day)] = utf8(dates.dayName(qtDay, QLocale::LongFormat));
        info.dayAbbreviations[size_t(day)] = withoutTrailingPoint(dates.dayName(qtDay, QLocale::ShortFormat));
    }
    info.am = utf8(dates.amText());
    info.pm = utf8(dates.pmText());
    return info;
}

QString FullYearShortDate(const QLocale& locale, const QDate& date) {
    static const QRegularExpression years(QStringLiteral("y+"));
    return locale.toString(date, locale.dateFormat(QLocale::ShortFormat).replace(years, QStringLiteral("yyyy")));
}
