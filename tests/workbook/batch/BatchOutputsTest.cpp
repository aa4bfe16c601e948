// A report's outputs: all or nothing, never through another user's link, never over a device,
// FIFO or socket, to standard output on request, and no scratch file anywhere.
#include "BatchProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <vector>

namespace {

class BatchOutputs : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        report = writeFile(QStringLiteral("r.json"), R"({"txtPurpose": "Trip", "txtHotel0": "$10.00"})");
    }

    BatchResult write(const QString& xls, const QString& picture = {}) {
        QStringList arguments{QStringLiteral("--report"), report, QStringLiteral("--xls"), xls};
        if (!picture.isEmpty()) arguments << QStringLiteral("--picture") << picture;
        return run(arguments);
    }

    void expectCouldNotWrite(const BatchResult& result, const QString& expected) {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(expected)) << result.standardError.toStdString();
    }

    // A folder anyone may write to, sticky, as /tmp is.
    QString sharedStickyFolder() {
        const QString shared = path(QStringLiteral("shared"));
        QDir().mkpath(shared);
        ::chmod(QFile::encodeName(shared).constData(), 01777);
        return shared;
    }

    QString report;
};

TEST_F(BatchOutputs, AFailedPictureLeavesTheExistingWorkbookExactlyAsItWas) {
    const QString xls = writeFile(QStringLiteral("old.xls"), "the old workbook");
    const QString png = writeFile(QStringLiteral("old.png"), "the old picture");
    QDir(folder.path()).mkdir(QStringLiteral("a folder.png"));
    const QStringList before = files();

    expectCouldNotWrite(write(xls, path(QStringLiteral("missing-folder/p.png"))), QStringLiteral("p.png"));
    expectCouldNotWrite(write(xls, path(QStringLiteral("a folder.png"))), QStringLiteral("is a folder"));
    expectCouldNotWrite(write(path(QStringLiteral("missing-folder/o.xls")), png), QStringLiteral("o.xls"));
    EXPECT_EQ(write(xls, xls).exitCode, 2) << "one output named twice is a bad option";
    EXPECT_EQ(Contents(xls), QByteArray("the old workbook"));
    EXPECT_EQ(Contents(png), QByteArray("the old picture"));
    EXPECT_EQ(files(), before) << "no temporary file is left behind";

    ASSERT_EQ(write(xls, png).exitCode, 0);
    EXPECT_EQ(cellByXlrd(xls, 3, 2), QStringLiteral("Trip"));
    EXPECT_TRUE(Contents(png).startsWith("\x89PNG"));
    EXPECT_EQ(files(), before);
}

TEST_F(BatchOutputs, AFailureWhilePuttingOutputsInPlaceTakesBackTheOnesAlreadyPlaced) {
    const QString xls = writeFile(QStringLiteral("old.xls"), "the old workbook");
    const QString png = writeFile(QStringLiteral("old.png"), "the old picture");
    // An append-only picture can be written but not renamed onto: the workbook is put in place
    // first, then the picture's rename fails.
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+a"), png}) != 0)
        GTEST_SKIP() << "needs root and a file system with append-only files";
    const BatchResult result = write(xls, png);
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-a"), png});
    expectCouldNotWrite(result, QStringLiteral("old.png could not be put in place"));
    EXPECT_EQ(Contents(xls), QByteArray("the old workbook"));
    EXPECT_EQ(Contents(png), QByteArray("the old picture"));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("old.png"), QStringLiteral("old.xls"), QStringLiteral("r.json")}));
}

TEST_F(BatchOutputs, AFullDiskLeavesTheOldFilesAndNoTemporaryFile) {
    // A small file system of its own that the new workbook and picture cannot fit into.
    const QString disk = path(QStringLiteral("disk"));
    QDir().mkpath(disk);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=48k"), QStringLiteral("tmpfs"), disk}) != 0)
        GTEST_SKIP() << "needs root to mount a small file system";
    const QString xls = disk + QStringLiteral("/old.xls");
    QFile old(xls);
    old.open(QIODevice::WriteOnly);
    old.write("the old workbook");
    old.close();
    const BatchResult result = write(xls, disk + QStringLiteral("/p.png"));
    const QStringList left = QDir(disk).entryList(QDir::Files | QDir::Hidden);
    const QByteArray kept = Contents(xls);
    QProcess::execute(QStringLiteral("umount"), {disk});
    expectCouldNotWrite(result, QStringLiteral("could not be written: no space left on the device"));
    EXPECT_EQ(kept, QByteArray("the old workbook"));
    EXPECT_EQ(left, QStringList{QStringLiteral("old.xls")});
}

struct ReplacedFile {
    const char* what;
    uint owner;
    mode_t mode;
    bool keepsMode;
};

// A file of the user's own keeps its permissions; one of another owner (as root meets a user's
// file in /tmp) gives way to a file of the user's own mode, never one that stays writable by that owner.
TEST_F(BatchOutputs, AReplacedFileKeepsItsPermissionsOnlyWhenItIsTheUsersOwn) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    std::vector<ReplacedFile> files{{"the user's own", ::geteuid(), 0640, true}};
    if (::geteuid() == 0) files.push_back({"another user's, in a sticky folder", 65534, 0666, false});
    const QString shared = sharedStickyFolder();
    for (const ReplacedFile& file : files) {
        SCOPED_TRACE(file.what);
        const QString xls = shared + QStringLiteral("/old.xls");
        Write(xls, "old");
        ASSERT_EQ(::chown(QFile::encodeName(xls).constData(), file.owner, file.owner), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(xls).constData(), file.mode), 0);
        ASSERT_EQ(write(xls).exitCode, 0);
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(xls).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, file.keepsMode ? file.mode : 0666 & ~mask);
        EXPECT_EQ(status.st_uid, ::geteuid());
    }
}

TEST_F(BatchOutputs, NonRegularTargetsAreRefusedAndKeptWhatTheyAre) {
    const QString fifo = path(QStringLiteral("fifo.xls"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    expectCouldNotWrite(write(fifo), QStringLiteral("not a regular file"));
    expectCouldNotWrite(write(path(QStringLiteral("o.xls")), fifo), QStringLiteral("not a regular file"));

    const QString socketPath = path(QStringLiteral("socket.xls"));
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(size_t(encoded.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    expectCouldNotWrite(write(socketPath), QStringLiteral("not a regular file"));
    ::close(listener);

    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    ASSERT_EQ(::lstat(encoded.constData(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("o.xls"))));

    // A device node, as root meets /dev/full.
    const QString device = path(QStringLiteral("full.xls"));
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "only root can make a device node to test with";
    expectCouldNotWrite(write(device), QStringLiteral("not a regular file"));
    ASSERT_EQ(::stat(QFile::encodeName(device).constData(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
}

TEST_F(BatchOutputs, DashWritesTheWorkbookToStandardOutput) {
    const BatchResult toStdout = run({QStringLiteral("--report"), report, QStringLiteral("--xls"), QStringLiteral("-"),
                                      QStringLiteral("--picture"), path(QStringLiteral("p.png"))});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.standardError.toStdString();
    EXPECT_TRUE(toStdout.standardError.isEmpty());
    ASSERT_EQ(write(path(QStringLiteral("o.xls"))).exitCode, 0);
    EXPECT_EQ(toStdout.standardOutput, Contents(path(QStringLiteral("o.xls"))));
    EXPECT_TRUE(Contents(path(QStringLiteral("p.png"))).startsWith("\x89PNG"));
}

TEST_F(BatchOutputs, NoScratchFileIsWritten) {
    ASSERT_EQ(write(path(QStringLiteral("o.xls")), path(QStringLiteral("o.png"))).exitCode, 0);
    // Qt makes an empty runtime folder there when XDG_RUNTIME_DIR is unset; no file may appear.
    QDirIterator scratch(path(QStringLiteral("tmp")), QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    EXPECT_FALSE(scratch.hasNext()) << scratch.next().toStdString();
    EXPECT_EQ(files(), (QStringList{QStringLiteral("o.png"), QStringLiteral("o.xls"), QStringLiteral("r.json")}));
}

TEST_F(BatchOutputs, AFolderTheUserMayNotWriteToFailsWithExitOneAndKeepsItsFile) {
    runAs = TestUser();
    if (!runAs) GTEST_SKIP() << "needs an ordinary test user";
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    ::chmod(QFile::encodeName(report).constData(), 0644);
    const QString xls = writeFile(QStringLiteral("theirs.xls"), "someone else's workbook");
    ::chmod(QFile::encodeName(xls).constData(), 0666);  // writable, but its folder is not
    expectCouldNotWrite(write(xls), QStringLiteral("theirs.xls could not be written"));
    EXPECT_EQ(Contents(xls), QByteArray("someone else's workbook"));
}

TEST_F(BatchOutputs, ALinkAnotherUserPlantedInASharedFolderIsNotFollowed) {
    runAs = TestUser();
    if (!runAs || ::geteuid() != 0) GTEST_SKIP() << "needs root to make an ordinary test user and a second link owner";
    // The ordinary user's own workbook, which the link aims at.
    const QString home = path(QStringLiteral("home"));
    QDir().mkpath(home);
    ::chown(QFile::encodeName(home).constData(), runAs->uid, runAs->gid);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    const QString precious = home + QStringLiteral("/precious.xls");
    QFile::copy(report, precious);
    ::chown(QFile::encodeName(precious).constData(), runAs->uid, runAs->gid);
    ::chmod(QFile::encodeName(report).constData(), 0644);

    const QString shared = sharedStickyFolder();
    const QString planted = shared + QStringLiteral("/out.xls");
    ASSERT_TRUE(QFile::link(precious, planted));
    // Another user's link: nobody's.
    ASSERT_EQ(::lchown(QFile::encodeName(planted).constData(), 65534, 65534), 0);

    const BatchResult refused = write(planted);
    expectCouldNotWrite(refused, QStringLiteral("link that belongs to another user"));
    EXPECT_EQ(Contents(precious), Contents(report));
    EXPECT_TRUE(QFileInfo(planted).isSymLink());

    // A planted link to the user's folder, used as a folder on the way, is refused as well.
    const QString plantedFolder = shared + QStringLiteral("/out");
    ASSERT_TRUE(QFile::link(home, plantedFolder));
    ASSERT_EQ(::lchown(QFile::encodeName(plantedFolder).constData(), 65534, 65534), 0);
    expectCouldNotWrite(write(plantedFolder + QStringLiteral("/precious.xls")),
                        QStringLiteral("link that belongs to another user"));
    EXPECT_EQ(Contents(precious), Contents(report));

    // The user's own link in the same folder, and a link in the user's own folder, keep working.
    const QString own = shared + QStringLiteral("/mine.xls");
    ASSERT_TRUE(QFile::link(precious, own));
    ASSERT_EQ(::lchown(QFile::encodeName(own).constData(), runAs->uid, runAs->gid), 0);
    const BatchResult followed = write(own, home + QStringLiteral("/p.png"));
    ASSERT_EQ(followed.exitCode, 0) << followed.standardError.toStdString();
    EXPECT_EQ(cellByXlrd(precious, 3, 2), QStringLiteral("Trip"));
    EXPECT_TRUE(QFileInfo(own).isSymLink()) << "the link stays a link";

    const QString homeLink = home + QStringLiteral("/link.xls");
    ASSERT_TRUE(QFile::link(QStringLiteral("precious.xls"), homeLink));
    ASSERT_EQ(::lchown(QFile::encodeName(homeLink).constData(), 65534, 65534), 0);
    EXPECT_EQ(write(homeLink).exitCode, 0) << "links outside shared sticky folders are followed";
}

}  // namespace
