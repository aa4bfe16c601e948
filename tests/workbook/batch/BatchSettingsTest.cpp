// The batch run as a desktop's settings start it (LANG and the categories apart from it, not
// --locale): the PDF shows what the workbook holds, in the settings' currency and date order.
#include "BatchProcess.h"
#include "support/DesktopLocales.h"
#include "support/PdfTools.h"

#include <QRegularExpression>

namespace {

struct Settings {
    const char* name;
    QStringList environment;  // NAME=value pairs
    QString period;           // the pay period's start as drawn and as other programs show it
    QString hotel;            // 1234.57 as drawn
    QString meals;            // -3 as drawn, blanks aside
    QString storedSymbol;     // what the stored accounting format names
};

// Pads and fills are blanks of any width; a no-break space groups French thousands.
QString squeezed(QString text) {
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{00A0}\\x{202F}]+"));
    return text.replace(blanks, QStringLiteral(" "));
}

class BatchSettings : public BatchTest, public ::testing::WithParamInterface<Settings> {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        SKIP_WITHOUT_LOCALES(GetParam().environment);
        environment = WithDesktopSettings(environment, GetParam().environment);
    }
};

}  // namespace

TEST_P(BatchSettings, PdfAndWorkbookAgreeInTheSettingsCurrencyAndDateOrder) {
    SKIP_WITHOUT_PDF_TOOLS();
    const Settings& settings = GetParam();
    const QString report = writeFile(QStringLiteral("r.json"), R"({"dtpFrom": "2016-11-05", "dtpTo": "2016-11-20",
        "DTPicker20": "2016-11-07", "txtAccount0": "110797", "txtHotel0": 1234.57, "txtMeals0": -3})");
    const QString xls = path(QStringLiteral("r.xls"));
    const QString pdf = path(QStringLiteral("r.pdf"));
    const BatchResult result =
        run({QStringLiteral("--report"), report, QStringLiteral("--xls"), xls, QStringLiteral("--pdf"), pdf,
             QStringLiteral("--picture"), path(QStringLiteral("r.png"))});
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();

    EXPECT_EQ(cellByXlrd(xls, 10, 4), QStringLiteral("1234.57"));
    EXPECT_EQ(cellByXlrd(xls, 10, 7), QStringLiteral("-3.00"));
    EXPECT_TRUE(formatByXlrd(xls, 10, 4).contains(settings.storedSymbol)) << formatByXlrd(xls, 10, 4).toStdString();
    const QString text = squeezed(PdfPageText(pdf, 1));
    EXPECT_TRUE(text.contains(settings.period)) << text.toStdString();
    EXPECT_TRUE(text.contains(settings.hotel)) << text.toStdString();
    EXPECT_TRUE(text.contains(settings.meals)) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("110.797")) || text.contains(QStringLiteral("1,1079")));
    EXPECT_TRUE(text.contains(QStringLiteral("110797")));
}

// libxlsxwriter prints its numbers through the C library: a decimal comma would make the file unreadable.
TEST_P(BatchSettings, ExcelWorkbookIsReadableAndInTheSettingsCurrency) {
    const QString report = writeFile(QStringLiteral("r.json"), R"({"txtAccount0": "110797", "txtHotel0": 1234.57})");
    const QString xlsx = path(QStringLiteral("r.xlsx"));
    const BatchResult result = run({QStringLiteral("--report"), report, QStringLiteral("--xlsx"), xlsx});
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(cellByOpenpyxl(xlsx, QStringLiteral("E11")), QStringLiteral("1234.57|n"));
    const QString format = formatByOpenpyxl(xlsx, QStringLiteral("E11"));
    EXPECT_TRUE(format.contains(GetParam().storedSymbol)) << format.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    DesktopSettings, BatchSettings,
    ::testing::Values(Settings{"German",
                               {QStringLiteral("LANG=de_DE.UTF-8")},
                               QStringLiteral("05.11.2016"),
                               QStringLiteral("1.234,57 €"),
                               QStringLiteral("- 3,00 €"),
                               QStringLiteral("[$€-407]")},
                      Settings{"French",
                               {QStringLiteral("LANG=fr_FR.UTF-8")},
                               QStringLiteral("05/11/2016"),
                               QStringLiteral("1 234,57 €"),
                               QStringLiteral("- 3,00 €"),
                               QStringLiteral("[$€-40C]")},
                      Settings{"British",
                               {QStringLiteral("LANG=en_GB.UTF-8")},
                               QStringLiteral("05/11/2016"),
                               QStringLiteral("£ 1,234.57"),
                               QStringLiteral("-£ 3.00"),
                               QStringLiteral("[$£-809]")},
                      Settings{"UnitedStates",
                               {QStringLiteral("LANG=en_US.UTF-8")},
                               QStringLiteral("11/5/2016"),
                               QStringLiteral("$ 1,234.57"),
                               QStringLiteral("$ (3.00)"),
                               QStringLiteral("\"$\"")},
                      // German numbers under United States money and dates.
                      Settings{"SplitNumeric",
                               {QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_NUMERIC=de_DE.UTF-8")},
                               QStringLiteral("11/5/2016"),
                               QStringLiteral("$ 1.234,57"),
                               QStringLiteral("$ (3,00)"),
                               QStringLiteral("\"$\"")},
                      // German money under United States numbers and dates: the
                      // money's symbol, place and negative form, the numbers' digits.
                      Settings{"SplitMonetary",
                               {QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_MONETARY=de_DE.UTF-8")},
                               QStringLiteral("11/5/2016"),
                               QStringLiteral("1,234.57 €"),
                               QStringLiteral("- 3.00 €"),
                               QStringLiteral("[$€-407]")},
                      // United States dates under German numbers and money.
                      Settings{"SplitTime",
                               {QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LC_TIME=en_US.UTF-8")},
                               QStringLiteral("11/5/2016"),
                               QStringLiteral("1.234,57 €"),
                               QStringLiteral("- 3,00 €"),
                               QStringLiteral("[$€-407]")},
                      // LC_ALL overrides every category and LANG.
                      Settings{"AllOverridden",
                               {QStringLiteral("LC_ALL=de_DE.UTF-8"), QStringLiteral("LANG=en_US.UTF-8"),
                                QStringLiteral("LC_NUMERIC=en_US.UTF-8"), QStringLiteral("LC_MONETARY=en_GB.UTF-8"),
                                QStringLiteral("LC_TIME=fr_FR.UTF-8")},
                               QStringLiteral("05.11.2016"),
                               QStringLiteral("1.234,57 €"),
                               QStringLiteral("- 3,00 €"),
                               QStringLiteral("[$€-407]")}),
    [](const ::testing::TestParamInfo<Settings>& info) { return std::string(info.param.name); });
