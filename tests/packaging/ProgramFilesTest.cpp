// Where the program finds its own files: beside itself first (a built program), else in the data
// folder an install puts them in, found from the program's own folder.
#include "app/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Files planted for one test in the program or data folder and removed with it, with the folders
// the test made for them.
class PlantedFiles {
public:
    ~PlantedFiles() {
        for (const QString& file : m_files) QFile::remove(file);
        for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it) QDir().rmdir(*it);
    }
    QString plant(const QString& folder, const QString& name) {
        const QString path = QDir(folder).filePath(name);
        makeFolders(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write("planted");
        m_files.push_back(path);
        return path;
    }

private:
    void makeFolders(const QString& folder) {
        if (QFileInfo::exists(folder)) return;
        makeFolders(QFileInfo(folder).absolutePath());
        ASSERT_TRUE(QDir().mkdir(folder)) << folder.toStdString();
        m_folders.push_back(folder);
    }

    std::vector<QString> m_files;
    std::vector<QString> m_folders;
};

const QString kCursor = QStringLiteral("HAND-M.CUR");
const QString kSkin = QStringLiteral("x/o.cjs");

TEST(ProgramFiles, TheDataFolderIsTheShareFolderBesideTheProgramFolder) {
    // <prefix>/bin/brindlemoor keeps its files in <prefix>/share/brindlemoor, wherever <prefix> is.
    EXPECT_EQ(DataFolder(),
              QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/brindlemoor")));
    EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath());
}

TEST(ProgramFiles, AFileBesideTheProgramComesFirst) {
    PlantedFiles planted;
    for (const QString& name : {kCursor, kSkin}) {
        const QString beside = planted.plant(ProgramFolder(), name);
        planted.plant(DataFolder(), name);
        EXPECT_EQ(ProgramFile(name), beside);
    }
}

TEST(ProgramFiles, AnInstalledProgramFindsItsFilesInTheDataFolder) {
    PlantedFiles planted;
    for (const QString& name : {kCursor, kSkin}) {
        const QString installed = planted.plant(DataFolder(), name);
        EXPECT_EQ(ProgramFile(name), installed);
    }
}

TEST(ProgramFiles, AFileInNeitherFolderIsLookedForBesideTheProgram) {
    PlantedFiles planted;
    // Only the other file is installed: each name is looked up on its own.
    planted.plant(DataFolder(), kCursor);
    EXPECT_EQ(ProgramFile(kSkin), QDir(ProgramFolder()).filePath(kSkin));
    EXPECT_FALSE(QFileInfo::exists(ProgramFile(kSkin)));
}

}  // namespace
