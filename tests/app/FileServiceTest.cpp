#include "app/FileService.h"
#include "app/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString MakeFile(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("scratch");
    return path;
}

// Sets the scratch variables for one test and puts them back afterwards.
class ScratchEnvironment {
public:
    ScratchEnvironment() {
        for (const char* name : kNames) m_saved.append(qgetenv(name));
        for (const char* name : kNames) qunsetenv(name);
    }
    ~ScratchEnvironment() {
        for (int i = 0; i < m_saved.size(); ++i)
            m_saved[i].isNull() ? void(qunsetenv(kNames[i])) : void(qputenv(kNames[i], m_saved[i]));
    }
    ScratchEnvironment(const ScratchEnvironment&) = delete;
    ScratchEnvironment& operator=(const ScratchEnvironment&) = delete;

private:
    static constexpr const char* kNames[] = {"temp", "TEMP", "TMPDIR"};
    QList<QByteArray> m_saved;
};

QString PrivateName() { return QStringLiteral("brindlemoor-") + QString::number(::getuid()); }

}  // namespace

TEST(FileExists, TellsFilesFoldersAndNonsenseApart) {
    QTemporaryDir dir;
    const QString file = MakeFile(dir, QStringLiteral("report.xls"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(dir.path())) << "a folder counts as existing";
    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("*.xls"))));
    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("report.xl?"))));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FileExists(dir.filePath(QStringLiteral("missing.xls"))));
}

TEST(DeleteScratchFile, RemovesOrStaysQuiet) {
    QTemporaryDir dir;
    const QString plain = MakeFile(dir, QStringLiteral("temp.bmp"));
    DeleteScratchFile(plain);
    EXPECT_FALSE(QFileInfo::exists(plain));

    const QString readOnly = MakeFile(dir, QStringLiteral("template.xlt"));
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    DeleteScratchFile(readOnly);
    EXPECT_FALSE(QFileInfo::exists(readOnly));

    EXPECT_NO_THROW(DeleteScratchFile(dir.filePath(QStringLiteral("missing.xls"))));
    EXPECT_NO_THROW(DeleteScratchFile(QString()));
    EXPECT_NO_THROW(DeleteScratchFile(dir.path()));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir()) << "a folder is never deleted as a file";
}

TEST(ForceDeleteFile, ClearsReadOnlyAndReportsFailure) {
    QTemporaryDir dir;
    const QString readOnly = MakeFile(dir, QStringLiteral("ferrun12345678.xls"));
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    ForceDeleteFile(readOnly);
    EXPECT_FALSE(QFileInfo::exists(readOnly));
    EXPECT_THROW(ForceDeleteFile(readOnly), std::runtime_error);
    EXPECT_THROW(ForceDeleteFile(dir.path()), std::runtime_error);
}

TEST(ScratchFolder, FollowsTempThenTEMPThenTMPDIR) {
    ScratchEnvironment environment;
    QTemporaryDir lower, upper, tmpdir;
    qputenv("TMPDIR", tmpdir.path().toLocal8Bit());
    EXPECT_EQ(ScratchFolder(), tmpdir.filePath(PrivateName()));
    qputenv("TEMP", upper.path().toLocal8Bit());
    EXPECT_EQ(ScratchFolder(), upper.filePath(PrivateName()));
    qputenv("temp", lower.path().toLocal8Bit());
    EXPECT_EQ(ScratchFolder(), lower.filePath(PrivateName()));

    qunsetenv("temp");
    qunsetenv("TEMP");
    qunsetenv("TMPDIR");
    EXPECT_EQ(ScratchFolder(), QDir(QDir::tempPath()).filePath(PrivateName())) << "never the root folder";
}

TEST(ScratchFolder, IsPrivateAndRefusesPlantedFolders) {
    ScratchEnvironment environment;
    QTemporaryDir base;
    qputenv("temp", base.path().toLocal8Bit());
    const QString folder = ScratchFolder();
    struct stat st {};
    ASSERT_EQ(::lstat(folder.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(ScratchFolder(), folder) << "an existing private folder is used again";

    ::chmod(folder.toLocal8Bit().constData(), 0777);
    EXPECT_THROW(ScratchFolder(), std::runtime_error);

    QTemporaryDir planted;
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QFile::link(planted.path(), folder));
    EXPECT_THROW(ScratchFolder(), std::runtime_error);

    QFile::remove(folder);
    MakeFile(base, PrivateName());
    EXPECT_THROW(ScratchFolder(), std::runtime_error);
}

// The box that shows these failures shows the message as it stands: it names the path and why.
TEST(FileServiceFailures, SayWhichPathAndWhy) {
    const auto message = [](const auto& failing) {
        try {
            failing();
        } catch (const AppError& error) {
            return QString::fromUtf8(error.what());
        }
        return QString();
    };
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone.xls"));
    EXPECT_EQ(message([&] { ForceDeleteFile(missing); }), QStringLiteral("File not found: ") + missing);
    EXPECT_EQ(message([&] { ForceDeleteFile(dir.path()); }),
              QStringLiteral("Cannot delete a folder as a file: ") + dir.path());

    ScratchEnvironment environment;
    QTemporaryDir base;
    qputenv("temp", base.path().toLocal8Bit());
    const QString folder = ScratchFolder();
    ::chmod(folder.toLocal8Bit().constData(), 0755);
    EXPECT_EQ(message([] { ScratchFolder(); }),
              QStringLiteral("The scratch folder %1 cannot be used: its permissions are not 0700").arg(folder));
}
