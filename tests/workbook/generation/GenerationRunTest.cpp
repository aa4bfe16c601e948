// The whole journey through real widgets: sample data, generation, preview, saves, back, a second
// run and closing the preview.
#include "GenerationFixture.h"
#include "support/FieldByName.h"

#include "PictureBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString kSampleTotals = QStringLiteral("198.08 250.86 448.94 448.94 118.74 112.57 44.58 75.47 67.10 14.99 15.49");

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// LibreOffice recalculates on load; its csv holds what it computed, as its cells show it.
QString convertWithLibreOffice(const QString& xls, const QString& outDir) {
    QTemporaryDir profile;
    QProcess soffice;
    soffice.start(QStringLiteral("soffice"),
                  {QStringLiteral("-env:UserInstallation=file://") + profile.path(), QStringLiteral("--headless"),
                   QStringLiteral("--convert-to"),
                   QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,true,true"),
                   QStringLiteral("--outdir"), outDir, xls});
    if (!soffice.waitForFinished(180000)) return {};
    return QDir(outDir).filePath(QFileInfo(xls).completeBaseName() + QStringLiteral(".csv"));
}

}  // namespace

TEST_F(GenerationTest, SampleReportFromEntryToSavedWorkbookAndBack) {
    click(form().PushButton7);
    click(form().PushButton22);

    // The preview shows the new result at factor 1.0; the entry window is hidden and the run's
    // scratch files are gone but for the result.
    ASSERT_TRUE(takeMessages().isEmpty());
    ASSERT_TRUE(preview().isVisible());
    EXPECT_FALSE(form().isVisible());
    EXPECT_FLOAT_EQ(preview().mZoom, 1.0f);
    const QString result = preview().mExcelFile.path();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^ferrun[1-9]{8}\\.xls$")).match(QFileInfo(result).fileName()).hasMatch());
    EXPECT_EQ(QFileInfo(result).absolutePath(), scratchFolder());
    EXPECT_TRUE(QFile::exists(result));
    EXPECT_EQ(QDir(scratchFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(result).fileName()});
    EXPECT_GT(preview().mOriW, preview().Picture2->width() * 15);  // wider than the viewport: the bar scrolls
    EXPECT_TRUE(preview().HScroll1->isEnabled());

    // Zooming and scrolling act on this picture.
    click(preview().PushButton2);
    EXPECT_FLOAT_EQ(preview().mZoom, 0.75f);
    click(preview().PushButton1);
    EXPECT_FLOAT_EQ(preview().mZoom, 1.0f);
    preview().HScroll1->setValue(5);
    EXPECT_EQ(preview().Picture1->left(), -preview().mHStep * 5);

    // Two saves under two names: identical copies of the result, each confirmed.
    const QString first = outputPath(QStringLiteral("first report.xls"));
    const QString second = outputPath(QStringLiteral("second.xls"));
    dialogAnswers = {first, second};
    click(preview().PushButton6);
    click(preview().PushButton6);
    EXPECT_EQ(takeMessages(), (QStringList{QStringLiteral("Done."), QStringLiteral("Done.")}));
    EXPECT_EQ(contents(first), contents(result));
    EXPECT_EQ(contents(second), contents(first));

    // Independent readers see the sample figures: xlrd the cached values, LibreOffice its own.
    EXPECT_EQ(readTotals(QStringLiteral("xlrd"), first), kSampleTotals);
    if (!QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        QTemporaryDir converted;
        EXPECT_EQ(readTotals(QStringLiteral("csv"), convertWithLibreOffice(first, converted.path())), kSampleTotals);
    }

    // Back: the result is removed and the entry window shows the same report.
    click(preview().PushButton8);
    EXPECT_FALSE(QFile::exists(result));
    EXPECT_TRUE(form().isVisible());
    EXPECT_FALSE(preview().isVisible());
    EXPECT_EQ(Field(form(), "txtName")->text(), QStringLiteral("Peter Ashdown"));
    EXPECT_EQ(form().txtHotel[1]->text(), QStringLiteral("$118.74"));

    // A second run makes a new result; closing the preview removes it and ends the program.
    click(form().PushButton22);
    ASSERT_TRUE(preview().isVisible());
    const QString secondResult = preview().mExcelFile.path();
    EXPECT_NE(secondResult, result);
    EXPECT_FLOAT_EQ(preview().mZoom, 1.0f);
    EXPECT_TRUE(QFile::exists(secondResult));
    preview().close();
    EXPECT_FALSE(QFile::exists(secondResult));
    EXPECT_EQ(endRequests, 1);
}

TEST_F(GenerationTest, EmptyReportGivesTheTemplateWithZeroTotals) {
    click(form().PushButton22);
    ASSERT_TRUE(preview().isVisible());
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_EQ(readTotals(QStringLiteral("xlrd"), preview().mExcelFile.path()),
              QStringLiteral("0.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00"));
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) return;
    // The accounting format shows zero as a dash in a reader that takes the format from the file.
    QTemporaryDir converted;
    QFile csv(convertWithLibreOffice(preview().mExcelFile.path(), converted.path()));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().contains("Subtotal, $-   ")) << "the zero subtotal is not shown as a dash";
}
