// The real program in a real window: sample data, generation, the preview, and a saved workbook,
// driven with xdotool under Xvfb as a user would.
#include "GenerationFixture.h"
#include "support/RealSaveDialog.h"
#include "support/VirtualDisplay.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <optional>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor");
const QString kTitle = QStringLiteral("^Brindlemoor$");

}  // namespace

TEST_F(GenerationTest, RealProgramFromSampleDataToSavedWorkbook) {
    if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
    if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program is not built";
    VirtualDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";

    QProcessEnvironment environment = display.environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), outputPath(QStringLiteral("store")));
    environment.insert(QStringLiteral("temp"), outputPath(QStringLiteral("scratch")));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    QDir().mkpath(outputPath(QStringLiteral("scratch")));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(outputPath(QString()));  // where the save dialog opens

    // Positions are the buttons' centres in the windows' client pixels.
    const QString entry = display.startWithWindow(program, kProgram, kTitle, 20000);
    ASSERT_FALSE(entry.isEmpty()) << "the entry window did not appear";
    display.xdotool({"mousemove", "--window", entry, "584", "55", "click", "1"});  // Load Sample/Example Data
    QTest::qWait(300);
    display.xdotool({"mousemove", "--window", entry, "388", "21", "click", "1"});  // Start Creating Template
    const QString preview = display.waitForWindow(kTitle, 20000, entry);
    ASSERT_FALSE(preview.isEmpty()) << "the preview window did not appear";
    QTest::qWait(500);
    const QString shot = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/preview-screenshot.xwd");
    display.screenshot(shot);
    EXPECT_GT(QFileInfo(shot).size(), 656 * 626);

    display.xdotool({"mousemove", "--window", preview, "488", "603", "click", "1"});  // Save Results To Excel File
    const QString dialog = display.waitForWindow(kSaveDialogTitle, 20000);
    ASSERT_FALSE(dialog.isEmpty()) << "the save dialog did not appear";
    ASSERT_TRUE(AnswerSaveDialog(display, dialog, QStringLiteral("journey.xls")));
    const QString saved = outputPath(QStringLiteral("journey.xls"));
    ASSERT_TRUE(WaitForFile(saved, 20000)) << "nothing was saved";
    const QString done = display.waitForWindow(kTitle, 10000, preview);
    EXPECT_FALSE(done.isEmpty()) << "no \"Done.\" box";
    if (!done.isEmpty()) display.xdotool({"key", "--window", done, "Return"});

    EXPECT_EQ(readTotals(QStringLiteral("xlrd"), saved),
              QStringLiteral("198.08 250.86 448.94 448.94 118.74 112.57 44.58 75.47 67.10 14.99 15.49"));
    program.kill();
    program.waitForFinished(5000);
}
