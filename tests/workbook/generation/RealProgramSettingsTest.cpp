// The real program in a real window under a desktop's regional settings, the categories set
// together and apart: the workbook, Excel Workbook and PDF it saves agree with what the batch makes
// from the same store under the same environment, and show the settings' own forms.
#include "app/SettingsStore.h"
#include "support/DesktopLocales.h"
#include "support/PdfTools.h"
#include "support/RealSaveDialog.h"
#include "support/VirtualDisplay.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor");
const QString kBatch = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch");
const QString kTitle = QStringLiteral("^Brindlemoor$");

struct DesktopSettings {
    const char* name;
    QStringList environment;  // NAME=value pairs
    QString storedHotel;      // 1234.57 as the window keeps it under these settings
    QString period;           // the pay period's start as drawn
    QString hotel;            // 1234.57 as drawn
};

QString squeezed(QString text) {
    static const QRegularExpression blanks(QStringLiteral("[\\s\\x{00A0}\\x{202F}]+"));
    return text.replace(blanks, QStringLiteral(" "));
}

// Every cell of the first sheet, with its type, value and stored number format, as an
// independent reader sees it: python3-xlrd for .xls, python3-openpyxl for .xlsx.
QString cellsByReader(const QString& workbook) {
    static const QString xlrd = QStringLiteral(R"(import sys, xlrd
b = xlrd.open_workbook(sys.argv[1], formatting_info=True)
s = b.sheet_by_index(0)
for r in range(s.nrows):
    for c in range(s.ncols):
        cell = s.cell(r, c)
        if cell.ctype != xlrd.XL_CELL_EMPTY:
            print(r, c, cell.ctype, repr(cell.value), b.format_map[b.xf_list[cell.xf_index].format_key].format_str))");
    static const QString openpyxl = QStringLiteral(R"(import sys, openpyxl
s = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
for row in s.iter_rows():
    for cell in row:
        if cell.value is not None:
            print(cell.coordinate, repr(cell.value), cell.number_format))");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), workbook.endsWith(QLatin1String(".xlsx")) ? openpyxl : xlrd, workbook});
    python.waitForFinished(60000);
    return QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError());
}

class RealProgramSettings : public ::testing::TestWithParam<DesktopSettings> {
protected:
    void SetUp() override {
        SKIP_WITHOUT_LOCALES(GetParam().environment);
        if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
        if (!QFileInfo::exists(kProgram) || !QFileInfo::exists(kBatch)) GTEST_SKIP() << "the programs are not built";
        SKIP_WITHOUT_PDF_TOOLS();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(store()));
        ReloadSettingsLocation();
        QDir().mkpath(path(QStringLiteral("scratch")));
        for (const auto& [key, value] : std::initializer_list<std::pair<QString, QString>>{
                 {QStringLiteral("txtPurpose"), QStringLiteral("Settings trip")},
                 {QStringLiteral("dtpFrom"), QStringLiteral("2016-11-05")},
                 {QStringLiteral("dtpTo"), QStringLiteral("2016-11-20")},
                 {QStringLiteral("DTPicker20"), QStringLiteral("2016-11-07")},
                 {QStringLiteral("txtAccount0"), QStringLiteral("110797")},
                 {QStringLiteral("txtHotel0"), GetParam().storedHotel},
                 {QStringLiteral("txtMeals0"), QStringLiteral("-3")}})
            SaveSetting(kSettingsApp, kSettingsSection, key, value);
    }
    void TearDown() override {
        qunsetenv("XDG_CONFIG_HOME");
        ReloadSettingsLocation();
    }

    QString store() const { return m_folder.filePath(QStringLiteral("store")); }
    QString folder() const { return m_folder.path(); }
    QString path(const QString& name) const { return m_folder.filePath(name); }

    QProcessEnvironment underSettings(const QProcessEnvironment& base) const {
        QProcessEnvironment environment = WithDesktopSettings(base, GetParam().environment);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), store());
        environment.insert(QStringLiteral("temp"), path(QStringLiteral("scratch")));  // the window's scratch files
        return environment;
    }

    // The preview's "Save Results To Excel File" under a name whose ending picks the form, typed
    // into the dialog opened on the program's working folder, the test's own.
    void saveFromPreview(const VirtualDisplay& display, const QString& preview, const QString& name) const {
        display.xdotool({"mousemove", "--window", preview, "488", "603", "click", "1"});
        const QString dialog = display.waitForWindow(kSaveDialogTitle, 20000);
        ASSERT_FALSE(dialog.isEmpty()) << "the save dialog did not appear";
        ASSERT_TRUE(AnswerSaveDialog(display, dialog, name));
        ASSERT_TRUE(WaitForFile(path(name), 20000)) << "nothing was saved as " << path(name).toStdString();
        // The "Done." box takes keys only once it has the focus: answered until none is left.
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QString done = display.waitForWindow(kTitle, attempt == 0 ? 5000 : 500, preview);
            if (done.isEmpty()) break;
            display.xdotool({"windowfocus", "--sync", done});
            display.xdotool({"key", "--window", done, "Return"});
            QTest::qWait(300);
        }
        ASSERT_TRUE(display.waitForWindow(kTitle, 0, preview).isEmpty()) << "the \"Done.\" box stays";
    }

private:
    QTemporaryDir m_folder;
};

}  // namespace

TEST_P(RealProgramSettings, SavedFilesAgreeWithTheBatchInTheSettingsForms) {
    VirtualDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    QProcess program;
    program.setProcessEnvironment(underSettings(display.environment()));
    program.setWorkingDirectory(folder());
    const QString entry = display.startWithWindow(program, kProgram, kTitle, 20000);
    ASSERT_FALSE(entry.isEmpty()) << "the entry window did not appear";
    QTest::qWait(300);
    display.xdotool({"mousemove", "--window", entry, "388", "21", "click", "1"});  // Start Creating Template
    const QString preview = display.waitForWindow(kTitle, 20000, entry);
    ASSERT_FALSE(preview.isEmpty()) << "the preview window did not appear";
    QTest::qWait(500);
    for (const char* name : {"window.xls", "window.xlsx", "window.pdf"})
        ASSERT_NO_FATAL_FAILURE(saveFromPreview(display, preview, QString::fromLatin1(name)));
    program.kill();
    program.waitForFinished(5000);

    QProcess batch;
    QProcessEnvironment batchEnvironment = underSettings(QProcessEnvironment::systemEnvironment());
    batchEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    batch.setProcessEnvironment(batchEnvironment);
    batch.start(kBatch, {QStringLiteral("--from-store"), QStringLiteral("--xls"), path(QStringLiteral("batch.xls")),
                         QStringLiteral("--xlsx"), path(QStringLiteral("batch.xlsx")), QStringLiteral("--pdf"),
                         path(QStringLiteral("batch.pdf"))});
    ASSERT_TRUE(batch.waitForFinished(60000));
    ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();

    const QString cells = cellsByReader(path(QStringLiteral("window.xls")));
    EXPECT_TRUE(cells.contains(QStringLiteral("1234.57"))) << cells.toStdString();
    EXPECT_EQ(cells, cellsByReader(path(QStringLiteral("batch.xls"))));
    const QString xlsxCells = cellsByReader(path(QStringLiteral("window.xlsx")));
    EXPECT_TRUE(xlsxCells.contains(QStringLiteral("1234.57"))) << xlsxCells.toStdString();
    EXPECT_EQ(xlsxCells, cellsByReader(path(QStringLiteral("batch.xlsx"))));
    const QString page = PdfPageText(path(QStringLiteral("window.pdf")), 1);
    EXPECT_EQ(page, PdfPageText(path(QStringLiteral("batch.pdf")), 1));
    EXPECT_TRUE(squeezed(page).contains(GetParam().period)) << page.toStdString();
    EXPECT_TRUE(squeezed(page).contains(GetParam().hotel)) << page.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    DesktopSettings, RealProgramSettings,
    ::testing::Values(DesktopSettings{"German",
                                      {QStringLiteral("LANG=de_DE.UTF-8")},
                                      QString::fromUtf8("1.234,57 €"),
                                      QStringLiteral("05.11.2016"),
                                      QString::fromUtf8("1.234,57 €")},
                      DesktopSettings{"MoneyApart",
                                      {QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_MONETARY=de_DE.UTF-8")},
                                      QString::fromUtf8("1,234.57 €"),
                                      QStringLiteral("11/5/2016"),
                                      QString::fromUtf8("1,234.57 €")},
                      DesktopSettings{"NumbersApart",
                                      {QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_NUMERIC=de_DE.UTF-8")},
                                      QStringLiteral("$1.234,57"),
                                      QStringLiteral("11/5/2016"),
                                      QStringLiteral("$ 1.234,57")},
                      DesktopSettings{"TimeApart",
                                      {QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LC_TIME=en_US.UTF-8")},
                                      QString::fromUtf8("1.234,57 €"),
                                      QStringLiteral("11/5/2016"),
                                      QString::fromUtf8("1.234,57 €")},
                      DesktopSettings{"AllOverridden",
                                      {QStringLiteral("LC_ALL=fr_FR.UTF-8"), QStringLiteral("LANG=en_US.UTF-8"),
                                       QStringLiteral("LC_MONETARY=de_DE.UTF-8")},
                                      QString::fromUtf8("1 234,57 €"),
                                      QStringLiteral("05/11/2016"),
                                      QString::fromUtf8("1 234,57 €")}),
    [](const ::testing::TestParamInfo<DesktopSettings>& info) { return std::string(info.param.name); });
