// Amounts under the settings of a real environment (LANG, as a desktop session sets it): grouping
// only as the settings group, half cents rounded in decimal, the largest amount a cell holds to
// the cent, judged by what python3-xlrd reads from the workbook.
#include "BatchProcess.h"

#include <vector>

namespace {

struct AmountSettings {
    const char* lang;
    const char*
        grouped;  // 1,234.5 as the settings group it, typed with an ordinary space where they group with a blank
    const char* halfCent;  // 2.675
    const char* largest;   // 9,999,999,999,999.99
    const char* centMore;  // 10,000,000,000,000.00
    std::vector<const char*> misgrouped;
};

const AmountSettings kUnitedStates{"en_US.UTF-8",
                                   "$1,234.50",
                                   "2.675",
                                   "$9,999,999,999,999.99",
                                   "10,000,000,000,000.00",
                                   {"1,23", "12,34", "1234,567.00"}};
const AmountSettings kGerman{"de_DE.UTF-8",          "1.234,5 \xe2\x82\xac",  "2,675",
                             "9.999.999.999.999,99", "10.000.000.000.000,00", {"1.23", "1234.57", "12,34.5"}};
const AmountSettings kFrench{"fr_FR.UTF-8",          "1 234,5 \xe2\x82\xac",  "2,675",
                             "9 999 999 999 999,99", "10 000 000 000 000,00", {"12 34,5", "1234 567", "1.234,5"}};

class BatchAmountSettings : public BatchTest, public ::testing::WithParamInterface<AmountSettings> {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_MONETARY", "LC_TIME", "LANGUAGE"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("LANG"), QString::fromLatin1(GetParam().lang));
    }

    BatchResult runReport(const QString& json) {
        const QString report = writeFile(QStringLiteral("r.json"), json.toUtf8());
        return run({QStringLiteral("--report"), report, QStringLiteral("--xls"), path(QStringLiteral("o.xls"))});
    }
};

TEST_P(BatchAmountSettings, AmountsAreKeptToTheCentAsWritten) {
    const AmountSettings& settings = GetParam();
    const BatchResult result =
        runReport(QStringLiteral(R"({"txtHotel0": "%1", "txtTransport0": "%2", "txtFuel0": "%3", "txtMeals0": 0.015,
                                     "txtPhone0": 2.675})")
                      .arg(QString::fromUtf8(settings.grouped), QString::fromUtf8(settings.halfCent),
                           QString::fromUtf8(settings.largest)));
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    // E11 to I11: Hotel, Transport, Fuel, Meals and Phone of the top row.
    QStringList cells;
    for (int column = 4; column <= 8; ++column) cells << cellByXlrd(path(QStringLiteral("o.xls")), 10, column);
    EXPECT_EQ(cells.join(QLatin1Char(' ')), QStringLiteral("1234.50 2.68 9999999999999.99 0.02 2.68"));
}

TEST_P(BatchAmountSettings, AMisgroupedOrTooLargeAmountStopsTheRunNamingKeyAndValue) {
    const AmountSettings& settings = GetParam();
    std::vector<const char*> refused = settings.misgrouped;
    refused.push_back(settings.centMore);
    for (const char* value : refused) {
        const BatchResult result = runReport(QStringLiteral(R"({"txtMisc4": "%1"})").arg(QString::fromUtf8(value)));
        EXPECT_EQ(result.exitCode, 2) << value;
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(QStringLiteral("txtMisc4: \"%1\"").arg(QString::fromUtf8(value))))
            << result.standardError.toStdString();
        EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")}) << value;
    }
    const BatchResult number = runReport(QStringLiteral(R"({"txtMisc4": 99999999999999.99})"));
    EXPECT_EQ(number.exitCode, 2);
    EXPECT_TRUE(number.standardError.contains(QStringLiteral("txtMisc4"))) << number.standardError.toStdString();
    EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")});
}

void PrintTo(const AmountSettings& settings, std::ostream* out) { *out << settings.lang; }

INSTANTIATE_TEST_SUITE_P(Lang, BatchAmountSettings, ::testing::Values(kUnitedStates, kGerman, kFrench),
                         [](const auto& info) { return std::string(info.param.lang, 5); });

}  // namespace
