// A scratch file has one holder: it goes when the holder drops or replaces it, stays held when it
// cannot be removed, and the program's end removes whatever is still held.
#include "app/ScratchFile.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ScratchFileTest : public ::testing::Test {
protected:
    QString file(const QString& name) {
        const QString path = folder.filePath(name);
        Write(path, "report");
        return path;
    }
    QTemporaryDir folder;
};

TEST_F(ScratchFileTest, TheHolderRemovesItWhenDroppedOrReplacedAndAMoveHandsItOn) {
    const QString first = file(QStringLiteral("first.xls"));
    const QString second = file(QStringLiteral("second.xls"));
    {
        ScratchFile holder(first);
        ScratchFile taker(std::move(holder));
        EXPECT_TRUE(QFileInfo::exists(first)) << "a move hands the file on";
        taker = ScratchFile(first);
        EXPECT_TRUE(QFileInfo::exists(first)) << "handed the file it holds, the holder keeps it";
        taker = ScratchFile(second);
        EXPECT_FALSE(QFileInfo::exists(first)) << "a new file replaces the one held before";
        EXPECT_TRUE(QFileInfo::exists(second));
    }
    EXPECT_FALSE(QFileInfo::exists(second));
}

TEST_F(ScratchFileTest, RemovedKeepsItsNameAndWhatCouldNotGoIsRemovedAtTheEnd) {
    const QString removed = file(QStringLiteral("removed.xls"));
    ScratchFile holder(removed);
    holder.remove();
    EXPECT_FALSE(QFileInfo::exists(removed));
    EXPECT_EQ(holder.path(), removed);

    // What cannot be removed now (a folder has taken the name) stays held for the program's end.
    const QString stuck = folder.filePath(QStringLiteral("stuck.xls"));
    ASSERT_TRUE(QDir().mkpath(stuck + QStringLiteral("/inside")));
    ScratchFile stuckHolder(stuck);
    stuckHolder.remove();
    ASSERT_TRUE(QFileInfo(stuck).isDir());
    ASSERT_TRUE(QDir(stuck).removeRecursively());
    Write(stuck, "report");
    const QString other = file(QStringLiteral("other.xls"));
    ScratchFile otherHolder(other);
    RemoveEveryScratchFile();
    EXPECT_FALSE(QFileInfo::exists(stuck));
    EXPECT_FALSE(QFileInfo::exists(other));
}

}  // namespace
