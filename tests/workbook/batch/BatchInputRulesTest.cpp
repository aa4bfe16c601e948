// The input rules, under United States and German settings: what is accepted is written with the
// right values, everything else stops the run naming key and value, with nothing written.
#include "BatchProcess.h"

namespace {

struct Settings {
    const char* name;
    const char* amountText;          // 1,118.74 in the settings' form
    const char* fourDigitShortDate;  // 2016-11-05
    const char* twoDigitShortDate;   // 2016-11-12
    const char* foreignAmount;       // an amount only under the other settings
    const char* foreignDate;
};

const Settings kUnitedStates{"en_US", "$1,118.74", "11/5/2016", "11/12/16", "1.118,74 \xe2\x82\xac", "05.11.2016"};
const Settings kGerman{"de_DE", "1.118,74 \xe2\x82\xac", "05.11.2016", "12.11.16", "$1,118.74", "11/5/2016"};

class BatchInputRules : public BatchTest, public ::testing::WithParamInterface<Settings> {
protected:
    // Runs one report under the parameter's settings, passed by --locale or by the environment.
    BatchResult runReport(const QByteArray& json, bool byOption = true, bool picture = true) {
        const QString report = writeFile(QStringLiteral("r.json"), json);
        QStringList arguments{QStringLiteral("--report"), report, QStringLiteral("--xls"),
                              path(QStringLiteral("o.xls"))};
        if (picture) arguments << QStringLiteral("--picture") << path(QStringLiteral("o.png"));
        if (byOption) {
            arguments.prepend(QString::fromLatin1(GetParam().name));
            arguments.prepend(QStringLiteral("--locale"));
        } else {
            environment.insert(QStringLiteral("LC_ALL"),
                               QString::fromLatin1(GetParam().name) + QStringLiteral(".UTF-8"));
        }
        return run(arguments);
    }

    void expectRefused(const QByteArray& json, const QString& key, const QString& value) {
        const BatchResult result = runReport(json);
        EXPECT_EQ(result.exitCode, 2) << json.toStdString();
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(key)) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(value)) << result.standardError.toStdString();
        EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")}) << json.toStdString();
    }
};

TEST_P(BatchInputRules, AmountsAndDatesInEveryAcceptedFormAreWrittenAsValues) {
    const Settings& settings = GetParam();
    for (const bool byOption : {true, false}) {
        const QByteArray json =
            QStringLiteral(R"({"TXTPURPOSE": "Business trip", "dtpFrom": "%1", "dtpto": "%2",
            "DTPicker20": "2016-11-07", "DTPicker21": "", "txtHotel0": "%3", "txtMeals0": 12.5, "txtFuel1": "",
            "txtMisc1": -0.255, "txtPhone2": 3})")
                .arg(QString::fromUtf8(settings.fourDigitShortDate), QString::fromUtf8(settings.twoDigitShortDate),
                     QString::fromUtf8(settings.amountText))
                .toUtf8();
        const BatchResult result = runReport(json, byOption);
        ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.isEmpty()) << result.standardError.toStdString();
        const QString workbook = path(QStringLiteral("o.xls"));
        EXPECT_EQ(cellByXlrd(workbook, 3, 2), QStringLiteral("Business trip"));
        EXPECT_EQ(cellByXlrd(workbook, 3, 12), QStringLiteral("42679.00"));  // 2016-11-05
        EXPECT_EQ(cellByXlrd(workbook, 4, 12), QStringLiteral("42686.00"));  // 2016-11-12
        EXPECT_EQ(cellByXlrd(workbook, 10, 1), QStringLiteral("42681.00"));  // 2016-11-07
        EXPECT_EQ(cellByXlrd(workbook, 11, 1), QString());
        EXPECT_EQ(cellByXlrd(workbook, 10, 4), QStringLiteral("1118.74"));
        // Amounts are kept to the cent, as the entry window keeps them: -0.255 is -0.26 (away from zero).
        EXPECT_EQ(totalsByXlrd(workbook),
                  QStringLiteral("1131.24 -0.26 1133.98 1133.98 1118.74 0.00 0.00 12.50 3.00 0.00 -0.26"));
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("o.png"))));
    }
}

TEST_P(BatchInputRules, AValueThatBreaksItsRuleStopsTheRunNamingKeyAndValue) {
    const Settings& settings = GetParam();
    expectRefused(QStringLiteral(R"({"txtHotel0": "%1"})").arg(QString::fromUtf8(settings.foreignAmount)).toUtf8(),
                  QStringLiteral("txtHotel0"), QString::fromUtf8(settings.foreignAmount));
    expectRefused(R"({"txtMeals3": "twelve"})", QStringLiteral("txtMeals3"), QStringLiteral("\"twelve\""));
    expectRefused(R"({"txtMisc14": true})", QStringLiteral("txtMisc14"), QStringLiteral("true"));
    expectRefused(R"({"txtMisc14": null})", QStringLiteral("txtMisc14"), QStringLiteral("null"));
    expectRefused(R"({"txtHotel0": 1e300})", QStringLiteral("txtHotel0"), QStringLiteral("1e+300"));
    expectRefused(QStringLiteral(R"({"dtpFrom": "%1"})").arg(QString::fromUtf8(settings.foreignDate)).toUtf8(),
                  QStringLiteral("dtpFrom"), QString::fromUtf8(settings.foreignDate));
    expectRefused(R"({"dtpTo": "2016-13-45"})", QStringLiteral("dtpTo"), QStringLiteral("2016-13-45"));
    expectRefused(R"({"dtpTo": ""})", QStringLiteral("dtpTo"), QStringLiteral("\"\""));
    expectRefused(R"({"DTPicker214": 42679})", QStringLiteral("DTPicker214"), QStringLiteral("42679"));
    expectRefused(R"({"DTPicker20": "tomorrow"})", QStringLiteral("DTPicker20"), QStringLiteral("tomorrow"));
    expectRefused(R"({"txtPurpose": 5})", QStringLiteral("txtPurpose"), QStringLiteral("5"));
    expectRefused(R"({"txtHeading3": ["Meals"]})", QStringLiteral("txtHeading3"), QStringLiteral("[\"Meals\"]"));
    expectRefused(R"({"txtPurpose": "x", "txtColour": "red"})", QStringLiteral("unknown key"),
                  QStringLiteral("txtColour"));
    expectRefused(R"({"txtPurpose": "x", "TXTPURPOSE": "y"})", QStringLiteral("txtPurpose"), QStringLiteral("twice"));
    expectRefused("{\"txtPurpose\": ", QStringLiteral("r.json"), QStringLiteral("not valid JSON"));
    expectRefused("[{}]", QStringLiteral("r.json"), QStringLiteral("one JSON object"));
}

TEST_P(BatchInputRules, TextUpToWhatACellHoldsIsWrittenLongerIsRefused) {
    const QByteArray full(32767, 'x');
    // No picture: drawing text this long is the renderer's own matter.
    const BatchResult result =
        runReport("{\"txtDesc0\": \"" + full + "\", \"txtNotes2\": \"" + full + "\"}", true, false);
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(cellByXlrd(path(QStringLiteral("o.xls")), 10, 3).size(), 32767);
    EXPECT_EQ(cellByXlrd(path(QStringLiteral("o.xls")), 28, 6).size(), 32767);
    QFile::remove(path(QStringLiteral("o.xls")));

    for (const char* key : {"txtDesc0", "txtHeading6", "txtPurpose"}) {
        const BatchResult tooLong = runReport("{\"" + QByteArray(key) + "\": \"" + full + "y\"}");
        EXPECT_EQ(tooLong.exitCode, 2);
        EXPECT_EQ(tooLong.errorLines(), 1);
        EXPECT_TRUE(tooLong.standardError.contains(QLatin1String(key))) << tooLong.standardError.toStdString();
        EXPECT_TRUE(tooLong.standardError.contains(QStringLiteral("32,767")));
        EXPECT_LT(tooLong.standardError.size(), 200) << "the message names the key, it does not repeat the text";
        EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")});
    }
}

void PrintTo(const Settings& settings, std::ostream* out) { *out << settings.name; }

INSTANTIATE_TEST_SUITE_P(Settings, BatchInputRules, ::testing::Values(kUnitedStates, kGerman),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchTest, WithoutSettingsAmountTextIsRefusedNeverWrittenAsText) {
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    const QString report = writeFile(QStringLiteral("r.json"), R"({"txtHotel0": "$112.57"})");
    const BatchResult result =
        run({QStringLiteral("--report"), report, QStringLiteral("--xls"), path(QStringLiteral("o.xls"))});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(
        result.standardError.contains(QStringLiteral("txtHotel0: \"$112.57\" is not an amount under the C settings")))
        << result.standardError.toStdString();
    EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")});

    // A JSON number needs no settings.
    writeFile(QStringLiteral("r.json"), R"({"txtHotel0": 112.57})");
    ASSERT_EQ(
        run({QStringLiteral("--report"), report, QStringLiteral("--xls"), path(QStringLiteral("o.xls"))}).exitCode, 0);
    EXPECT_EQ(cellByXlrd(path(QStringLiteral("o.xls")), 10, 12), QStringLiteral("112.57"));
}

}  // namespace
