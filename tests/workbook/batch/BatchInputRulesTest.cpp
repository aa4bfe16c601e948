// The input rules, under United States and German settings: what is accepted is written with the
// right values, everything else stops the run naming key and value, with nothing written.
#include "BatchProcess.h"

#include <QDir>

namespace {

// A control character other than the line end: what would reach the terminal as a command.
bool HoldsControlCharacter(const QString& standardError) {
    for (const QChar c : standardError.chopped(standardError.endsWith(QLatin1Char('\n')) ? 1 : 0))
        if (c.category() == QChar::Other_Control) return true;
    return false;
}

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

// What the JSON reader would change without a word: a repeated key (it keeps the last), a lone
// surrogate (a cell would show "?", a receipt's name would name another file). Both are refused
// naming the key.
TEST_F(BatchTest, InputTheReaderWouldChangeSilentlyIsRefusedNamingTheKey) {
    const auto refusal = [this](const QByteArray& json) {
        const QString report = writeFile(QStringLiteral("r.json"), json);
        const BatchResult result =
            run({QStringLiteral("--report"), report, QStringLiteral("--xls"), path(QStringLiteral("o.xls"))});
        EXPECT_EQ(result.exitCode, 2) << json.toStdString();
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")}) << json.toStdString();
        return result.standardError;
    };
    for (const QByteArray& json : {QByteArray(R"({"txtPurpose": "x", "txtName": "n", "txtPurpose": "y"})"),
                                   QByteArray(R"({"txtPurpose": "x", "txtPurpos\u0065": "y"})")})
        EXPECT_TRUE(refusal(json).contains(QStringLiteral("r.json: the key \"txtPurpose\" is given twice")));
    for (const auto& [json, key] :
         {std::pair{R"({"txtPurpose": "Trip \ud800 to Oslo"})", "txtPurpose"},
          std::pair{R"({"txtDesc3": "\udc00"})", "txtDesc3"}, std::pair{R"({"txtHotel0": "12\ud83d"})", "txtHotel0"},
          std::pair{R"({"Receipts2": ["a\ud800.pdf"]})", "Receipts2"}}) {
        const QString message = refusal(json);
        EXPECT_TRUE(message.contains(QLatin1String(key)) && message.contains(QStringLiteral("lone surrogate")))
            << message.toStdString();
        EXPECT_FALSE(message.contains(QLatin1Char('?'))) << message.toStdString();
    }

    const QString report =
        writeFile(QStringLiteral("r.json"), R"({"txtPurpose": "Trip \ud83d\ude00", "txtNotes1": "{\"a\":1,\"a\":2}"})");
    ASSERT_EQ(
        run({QStringLiteral("--report"), report, QStringLiteral("--xls"), path(QStringLiteral("o.xls"))}).exitCode, 0)
        << "a whole pair is one character, and a key inside a text is text";
    EXPECT_EQ(cellByXlrd(path(QStringLiteral("o.xls")), 3, 2), QStringLiteral("Trip \U0001F600"));
}

TEST_F(BatchTest, OnlyTheReportOfAnArrayThatRepeatsAKeyIsRefused) {
    QDir(folder.path()).mkdir(QStringLiteral("out"));
    const BatchResult result =
        run({QStringLiteral("--out-dir"), path(QStringLiteral("out")), QStringLiteral("-")},
            R"([{"txtName": "a", "txtNotes1": {"q": 1, "q": 2}}, {"txtName": "a", "txtName": "b"},
                                       {"txtName": "c"}])");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errorLines(), 2) << result.standardError.toStdString();
    EXPECT_TRUE(result.standardError.contains(QStringLiteral("report 1 of standard input: txtNotes1:")))
        << "a repeat inside a value is that value's matter: " << result.standardError.toStdString();
    EXPECT_TRUE(
        result.standardError.contains(QStringLiteral("report 2 of standard input: the key \"txtName\" is given twice")))
        << result.standardError.toStdString();
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files), QStringList{QStringLiteral("3.xls")});
}

// Terminal commands in a key, a value or a file name are shown, never sent to the terminal.
TEST_F(BatchTest, MessagesShowControlCharactersOfTheInputEscaped) {
    const QString badName = path(QStringLiteral("r\x1b[2J.json"));
    const QStringList xls{QStringLiteral("--xls"), path(QStringLiteral("o.xls"))};
    writeFile(QStringLiteral("r.json"), "{\"txt\\u001b]0;owned\\u0007\\u001b[2J\": 1}");
    writeFile(QStringLiteral("c1.json"), "{\"txtHotel0\": \"\\u009b2J\\u007f\\u202e\"}");
    writeFile(QStringLiteral("r\x1b[2J.json"), "{");
    const struct {
        QStringList arguments;
        QString shown;
    } cases[] = {
        {QStringList{QStringLiteral("--report"), path(QStringLiteral("r.json"))} + xls,
         QStringLiteral("unknown key \"txt\\u001b]0;owned\\u0007\\u001b[2J\"")},
        {QStringList{QStringLiteral("--report"), path(QStringLiteral("c1.json"))} + xls,
         QStringLiteral("\\u009b2J\\u007f\\u202e")},
        {QStringList{QStringLiteral("--report"), badName} + xls, QStringLiteral("r\\u001b[2J.json is not valid JSON")},
        {QStringList{QStringLiteral("--report\x1b[2J")}, QStringLiteral("--report\\u001b[2J")},
    };
    for (const auto& [arguments, shown] : cases) {
        const BatchResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(shown)) << result.standardError.toStdString();
        EXPECT_FALSE(HoldsControlCharacter(result.standardError)) << result.standardError.toStdString();
    }
}

}  // namespace
