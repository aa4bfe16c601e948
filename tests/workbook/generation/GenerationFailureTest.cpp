// Failures of the generation run: what can still be previewed is, what cannot ends the run cleanly.
#include "GenerationFixture.h"
#include "ScratchFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

TEST_F(GenerationTest, UnusableScratchFolderShowsOneBoxAndKeepsTheEntryWindow) {
    // A file where the temporary folder should be: no private scratch folder can be made in it.
    const QString notAFolder = outputPath(QStringLiteral("plain-file"));
    writeFile(notAFolder, "x");
    setScratchBase(notAFolder);

    click(form().PushButton22);

    const QStringList messages = takeMessages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("in Brindlemoor2021/08/31.Form1.PushButton22_Click at line 106")))
        << messages[0].toStdString();
    EXPECT_TRUE(form().isVisible());
    EXPECT_FALSE(preview().isVisible());
    EXPECT_EQ(form().pointer().kind(), 0);
    EXPECT_TRUE(form().updatesEnabled());
}

TEST_F(GenerationTest, PlantedLinkAsTemplateCopyIsReplacedNotFollowed) {
    const QString victim = outputPath(QStringLiteral("victim.txt"));
    writeFile(victim, "keep me");
    const QString planted = QDir(scratchFolder()).filePath(QStringLiteral("template.xlt"));
    ASSERT_TRUE(QFile::link(victim, planted));

    click(form().PushButton22);

    EXPECT_TRUE(takeMessages().isEmpty());
    ASSERT_TRUE(preview().isVisible());
    EXPECT_EQ(contents(victim), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo::exists(planted));
    EXPECT_FALSE(QFileInfo(planted).isSymLink());
}

TEST_F(GenerationTest, PlantedLinkAsSnapshotIsReplacedNotFollowed) {
    const QString victim = outputPath(QStringLiteral("victim.bmp"));
    writeFile(victim, "keep me");
    const QString planted = QDir(scratchFolder()).filePath(QStringLiteral("temp.bmp"));
    ASSERT_TRUE(QFile::link(victim, planted));

    click(form().PushButton22);

    EXPECT_TRUE(takeMessages().isEmpty());
    ASSERT_TRUE(preview().isVisible());
    EXPECT_EQ(contents(victim), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo(planted).isSymLink());
}

TEST(ResultWorkbookName, ALinkToNothingHoldsTheName) {
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("ferrun12345678.xls"));
    EXPECT_FALSE(ScratchNameTaken(name));
    ASSERT_TRUE(QFile::link(folder.filePath(QStringLiteral("created-through-link")), name));
    EXPECT_TRUE(ScratchNameTaken(name)) << "saving under it would create the link's target";
    ASSERT_TRUE(QFile::remove(name));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(ScratchNameTaken(name));
}

TEST_F(GenerationTest, StaleTemplateCopyFromAnEarlierCrashIsRewritten) {
    const QString stale = QDir(scratchFolder()).filePath(QStringLiteral("template.xlt"));
    writeFile(stale, QByteArray("not a workbook at all"));

    click(form().PushButton22);

    EXPECT_TRUE(takeMessages().isEmpty());
    ASSERT_TRUE(preview().isVisible());
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(preview().mExcelFile.path()));
}
