// Amounts and dates typed into a report under a desktop whose region panel sets the categories
// apart: an amount is read as the sheet shows a currency cell (the money's symbol and form, the
// numbers' separators), a date by the time's short date, and every refusal names the settings that
// rule followed, never another category's.
#include "BatchProcess.h"
#include "support/DesktopLocales.h"

namespace {

class BatchSettingsRules : public BatchTest {
protected:
    BatchResult runUnder(const QStringList& pairs, const QByteArray& json) {
        environment = WithDesktopSettings(environment, pairs);
        return run({QStringLiteral("--report"), writeFile(QStringLiteral("r.json"), json), QStringLiteral("--xls"),
                    path(QStringLiteral("o.xls"))});
    }
    QString hotel() const { return cellByXlrd(path(QStringLiteral("o.xls")), 10, 4); }
    QString rowDate() const { return cellByXlrd(path(QStringLiteral("o.xls")), 10, 1); }
};

const QStringList kGermanMoney{QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_MONETARY=de_DE.UTF-8")};
const QStringList kGermanNumbers{QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_NUMERIC=de_DE.UTF-8")};
const QStringList kAmericanDates{QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LC_TIME=en_US.UTF-8")};

}  // namespace

TEST_F(BatchSettingsRules, AmountsTakeTheMoneysSymbolWithTheNumbersSeparators) {
    SKIP_WITHOUT_LOCALES(kGermanMoney + kGermanNumbers);
    BatchResult result = runUnder(kGermanMoney, R"({"txtHotel0": "1,234.57 €"})");
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(hotel(), QStringLiteral("1234.57"));
    EXPECT_TRUE(formatByXlrd(path(QStringLiteral("o.xls")), 10, 4).contains(QString::fromUtf8("[$€-407]")));

    result = runUnder(kGermanMoney, R"({"txtHotel0": "1.234,57 €"})");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.standardError.contains(QString::fromUtf8(
        "txtHotel0: \"1.234,57 €\" is not an amount under the de_DE money and en_US number settings")))
        << result.standardError.toStdString();

    result = runUnder(kGermanNumbers, R"({"txtHotel0": "$1.234,57"})");
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(hotel(), QStringLiteral("1234.57"));

    result = runUnder(kGermanNumbers, R"({"txtHotel0": "$1,234.57"})");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.standardError.contains(
        QStringLiteral("txtHotel0: \"$1,234.57\" is not an amount under the en_US money and de_DE number settings")))
        << result.standardError.toStdString();
}

TEST_F(BatchSettingsRules, DatesFollowTheTimeSettingsAndTheirMessageNamesThem) {
    SKIP_WITHOUT_LOCALES(kAmericanDates);
    BatchResult result = runUnder(kAmericanDates, R"({"DTPicker20": "11/7/2016", "txtHotel0": "1.234,57 €"})");
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(rowDate(), QStringLiteral("42681.00"));
    EXPECT_EQ(hotel(), QStringLiteral("1234.57"));

    result = runUnder(kAmericanDates, R"({"DTPicker20": "07.11.2016"})");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.standardError.contains(
        QStringLiteral("DTPicker20: \"07.11.2016\" is not a date (YYYY-MM-DD or the en_US settings' short date)")))
        << result.standardError.toStdString();
    EXPECT_FALSE(result.standardError.contains(QStringLiteral("de_DE"))) << result.standardError.toStdString();

    // The amounts' message names the money and numbers, which stayed German.
    result = runUnder(kAmericanDates, R"({"txtHotel0": "$1,234.57"})");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.standardError.contains(QStringLiteral("is not an amount under the de_DE settings")))
        << result.standardError.toStdString();
    EXPECT_FALSE(result.standardError.contains(QStringLiteral("en_US"))) << result.standardError.toStdString();
}

TEST_F(BatchSettingsRules, LcAllOverridesEveryCategoryInRulesAndMessages) {
    const QStringList overridden{QStringLiteral("LC_ALL=en_GB.UTF-8"), QStringLiteral("LANG=de_DE.UTF-8"),
                                 QStringLiteral("LC_MONETARY=de_DE.UTF-8"), QStringLiteral("LC_TIME=en_US.UTF-8")};
    SKIP_WITHOUT_LOCALES(overridden);
    BatchResult result = runUnder(overridden, R"({"DTPicker20": "07/11/2016", "txtHotel0": "£1,234.57"})");
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(rowDate(), QStringLiteral("42681.00"));
    EXPECT_EQ(hotel(), QStringLiteral("1234.57"));

    result = runUnder(overridden, R"({"txtHotel0": "1.234,57 €"})");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.standardError.contains(QStringLiteral("is not an amount under the en_GB settings")))
        << result.standardError.toStdString();
    result = runUnder(overridden, R"({"DTPicker20": "11/31/2016"})");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.standardError.contains(QStringLiteral("the en_GB settings' short date")))
        << result.standardError.toStdString();
}
