// What existed before a failed run is there afterwards, byte for byte, whoever owns it, and no
// path another user can write to is followed: each case as a user meets it, with the accounts it
// needs, every file under the test folder compared by checksum afterwards.
#include "BatchProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

const QByteArray kReport = R"({"txtPurpose": "Trip", "txtHotel0": "$10.00"})";

class BatchOutputRules : public BatchTest {
protected:
    // The test folder's state, less the temporary folder, where the toolkit may make its runtime folder.
    QMap<QString, QString> state() const {
        QMap<QString, QString> entries = FolderState(folder.path());
        entries.removeIf([](const auto& entry) { return entry.key().startsWith(QLatin1String("tmp")); });
        return entries;
    }

    // A file or folder that owner (and group) hold, with mode.
    QString make(const QString& name, const QByteArray& bytes, uint owner, uint group, mode_t mode) {
        const QString made = bytes.isNull() ? path(name) : writeFile(name, bytes);
        if (bytes.isNull()) QDir().mkpath(made);
        EXPECT_EQ(::chown(QFile::encodeName(made).constData(), owner, group), 0) << name.toStdString();
        EXPECT_EQ(::chmod(QFile::encodeName(made).constData(), mode), 0) << name.toStdString();
        return made;
    }
    QString own(const QString& name, const QByteArray& bytes, mode_t mode = 0644) {
        return make(name, bytes, runAs->uid, runAs->gid, mode);
    }
    QString plantLink(const QString& at, const QString& to, uint owner) {
        EXPECT_TRUE(QFile::link(to, at));
        EXPECT_EQ(::lchown(QFile::encodeName(at).constData(), owner, owner), 0);
        return at;
    }

    BatchResult write(const QString& xls, const QString& picture = {}) {
        QStringList arguments{QStringLiteral("--report"), report, QStringLiteral("--xls"), xls};
        if (!picture.isEmpty()) arguments << QStringLiteral("--picture") << picture;
        return run(arguments);
    }

    static void expectFailure(const BatchResult& result, int exitCode, const QString& message) {
        EXPECT_EQ(result.exitCode, exitCode) << result.standardError.toStdString();
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(message)) << result.standardError.toStdString();
    }

    // The test folder handed to the ordinary user, with the report it reads.
    bool startAsOrdinaryUser() {
        runAs = TestUser();
        if (!runAs) return false;
        ::chown(QFile::encodeName(folder.path()).constData(), runAs->uid, runAs->gid);
        ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
        // Reading the store takes a temporary copy of it.
        ::chown(QFile::encodeName(path(QStringLiteral("tmp"))).constData(), runAs->uid, runAs->gid);
        report = own(QStringLiteral("r.json"), kReport);
        return true;
    }

    static mode_t newFileMode() {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return 0666 & ~mask;
    }

    static bool setAppendOnly(const QString& file, bool on) {
        return QProcess::execute(QStringLiteral("chattr"), {on ? QStringLiteral("+a") : QStringLiteral("-a"), file}) ==
               0;
    }

    QString report;
};

struct Refusal {
    const char* what;
    QStringList arguments;
    int exitCode;
    QString message;
};

TEST_F(BatchOutputRules, OutputsThatMayNotBeWrittenAreRefusedBeforeAnythingIsWritten) {
    if (!startAsOrdinaryUser()) GTEST_SKIP() << "needs an ordinary test user";
    const QString old = own(QStringLiteral("old.xls"), "the old workbook");
    const QString readOnly = own(QStringLiteral("read-only.xls"), "a read-only workbook", 0444);
    const QString link = plantLink(path(QStringLiteral("link.xls")), report, runAs->uid);
    const QString reportNamedLikeAWorkbook = own(QStringLiteral("named.xls"), kReport);
    own(QStringLiteral("config"), QByteArray(), 0755);
    const QString store = own(QStringLiteral("config/Tarrowell.ini"), "[Brindlemoor]\ntxtPurpose=Trip\n");
    const auto sameFile = [this](const QString& name) { return path(QStringLiteral("./") + name); };
    const std::vector<Refusal> refusals{
        {"the report itself", {"--report", report, "--xls", report}, 2, "is the input"},
        {"the report by another path", {"--report", report, "--xls", sameFile("r.json")}, 2, "is the input"},
        {"the report through a link", {"--report", report, "--xls", link}, 2, "is the input"},
        {"the settings store read", {"--from-store", "--xls", store}, 2, "is the input"},
        {"one of many reports", {"--out-dir", folder.path(), reportNamedLikeAWorkbook}, 2, "is the input"},
        {"one output twice", {"--report", report, "--xls", old, "--picture", sameFile("old.xls")}, 2, "two outputs"},
        {"a read-only file, as copying over it is", {"--report", report, "--xls", readOnly}, 1, "may not be written"},
    };
    const auto before = state();
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        expectFailure(run(refusal.arguments), refusal.exitCode, refusal.message);
        EXPECT_EQ(state(), before);
    }
}

struct SharedFolder {
    const char* what;
    mode_t mode;
    bool attackersOwn;
};

TEST_F(BatchOutputRules, ALinkAnotherUserPlantedIsNotFollowedInAnyFolderOthersCanWriteTo) {
    const std::optional<uint> attacker = TestAccount(QStringLiteral("brindlemoor-attacker"));
    const std::optional<uint> team = TestGroup(QStringLiteral("brindlemoor-team"));
    if (!attacker || !team || !startAsOrdinaryUser()) GTEST_SKIP() << "needs root to make a victim and an attacker";
    runAs->group = *team;
    own(QStringLiteral("home"), QByteArray(), 0755);
    own(QStringLiteral("home/secret.xls"), "the victim's own workbook");
    const std::vector<SharedFolder> folders{
        {"sticky, everyone may write (as /tmp)", 01777, false},
        {"not sticky, everyone may write", 0777, false},
        {"a team's, setgid", 02775, false},
        {"the attacker's own", 0755, true},
    };
    int index = 0;
    for (const SharedFolder& shared : folders) {
        SCOPED_TRACE(shared.what);
        const QString name = QStringLiteral("shared%1").arg(++index);
        make(name, QByteArray(), shared.attackersOwn ? *attacker : 0, shared.attackersOwn ? *attacker : *team,
             shared.mode);
        const QString atFile =
            plantLink(path(name + QStringLiteral("/r.xls")), path(QStringLiteral("home/secret.xls")), *attacker);
        const QString atFolder =
            plantLink(path(name + QStringLiteral("/home")), path(QStringLiteral("home")), *attacker);
        const auto before = state();
        expectFailure(write(atFile), 1, QStringLiteral("link that belongs to another user"));
        expectFailure(write(atFolder + QStringLiteral("/secret.xls")), 1,
                      QStringLiteral("link that belongs to another user"));
        EXPECT_EQ(state(), before);
    }
}

struct ColleaguesFiles {
    const char* what;
    mode_t workbook;                // the colleague's
    std::optional<mode_t> picture;  // the colleague's, when there is one
    bool ownPicture;                // the user's own old picture beside it
    int exitCode;
    QString message;
    bool needsLinkProtection;  // the kernel refuses links to files the user cannot read
};

TEST_F(BatchOutputRules, AColleaguesFilesInATeamFolderAreReplacedOnlyWhereTheUserMayWriteThem) {
    const std::optional<uint> colleague = TestAccount(QStringLiteral("brindlemoor-colleague"));
    const std::optional<uint> team = TestGroup(QStringLiteral("brindlemoor-team"));
    if (!colleague || !team || !startAsOrdinaryUser()) GTEST_SKIP() << "needs root to make a colleague and a team";
    runAs->group = *team;
    make(QStringLiteral("team"), QByteArray(), 0, *team, 02775);
    const bool linkProtection = Contents(QStringLiteral("/proc/sys/fs/protected_hardlinks")).trimmed() == "1";
    const std::vector<ColleaguesFiles> cases{
        {"a workbook only its owner may write", 0644, std::nullopt, false, 1, "may not be written", false},
        {"a workbook the team may write", 0664, std::nullopt, false, 0, {}, false},
        {"two files the team may write but not read: neither can have a second name", 0620, 0620, false, 1,
         "second name", true},
        {"one such file beside the user's own picture goes in place last", 0620, std::nullopt, true, 0, {}, true},
    };
    int index = 0;
    for (const ColleaguesFiles& files : cases) {
        SCOPED_TRACE(files.what);
        if (files.needsLinkProtection && !linkProtection) continue;
        const QString name = QStringLiteral("team/%1").arg(++index);
        const QString xls =
            make(name + QStringLiteral(".xls"), "the colleague's workbook", *colleague, *team, files.workbook);
        const QString png = path(name + QStringLiteral(".png"));
        if (files.picture)
            make(name + QStringLiteral(".png"), "the colleague's picture", *colleague, *team, *files.picture);
        if (files.ownPicture) own(name + QStringLiteral(".png"), "the user's picture");
        auto before = state();
        const BatchResult result = write(xls, png);
        if (files.exitCode != 0) {
            expectFailure(result, files.exitCode, files.message);
            EXPECT_EQ(state(), before);
            continue;
        }
        ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
        EXPECT_EQ(cellByXlrd(xls, 3, 2), QStringLiteral("Trip"));
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(xls).constData(), &status), 0);
        EXPECT_EQ(status.st_uid, runAs->uid);
        EXPECT_EQ(status.st_gid, *team) << "the folder's group, as for any new file there";
        EXPECT_EQ(status.st_mode & 07777, newFileMode()) << "the user's own mode, not the colleague's";
        before.insert(name + QStringLiteral(".png"), {});
        EXPECT_EQ(state().keys(), before.keys()) << "no temporary file or second name is left";
    }
}

// A name of the given length in bytes, in letters of two bytes each when multibyte.
QString nameOf(int bytes, bool multibyte, const QString& extension) {
    const int room = bytes - int(extension.size());
    const QString stem = multibyte ? QString(room / 2, QChar(0xE9)) + QString(room % 2, QLatin1Char('a'))
                                   : QString(room, QLatin1Char('a'));
    return stem + extension;
}

TEST_F(BatchOutputRules, NamesUpToTheLongestAFolderTakesAreReplacedAndTakenBack) {
    report = writeFile(QStringLiteral("r.json"), kReport);
    for (const int bytes : {236, 248, 255}) {
        for (const bool multibyte : {false, true}) {
            SCOPED_TRACE(
                QStringLiteral("%1 bytes%2").arg(bytes).arg(multibyte ? " in two-byte letters" : "").toStdString());
            const QString xls = writeFile(nameOf(bytes, multibyte, QStringLiteral(".xls")), "the old workbook");
            const QString png = writeFile(nameOf(bytes, multibyte, QStringLiteral(".png")), "the old picture");
            ASSERT_EQ(QFile::encodeName(QFileInfo(xls).fileName()).size(), bytes);
            // A failure after the workbook is in place takes it back: the picture cannot be renamed onto.
            if (setAppendOnly(png, true)) {
                const auto before = state();
                const BatchResult failed = write(xls, png);
                setAppendOnly(png, false);
                expectFailure(failed, 1, QStringLiteral("could not be put in place"));
                EXPECT_EQ(state(), before);
            }
            const auto before = state();
            const BatchResult result = write(xls, png);
            ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
            EXPECT_TRUE(Contents(xls).startsWith("\xD0\xCF\x11\xE0"));
            EXPECT_TRUE(Contents(png).startsWith("\x89PNG"));
            EXPECT_EQ(state().keys(), before.keys());
            QFile::remove(xls);
            QFile::remove(png);
        }
    }
}

TEST_F(BatchOutputRules, AReaderThatClosedStandardOutputFailsTheRunAndNothingIsReplaced) {
    report = writeFile(QStringLiteral("r.json"), kReport);
    const QString xls = writeFile(QStringLiteral("old.xls"), "the old workbook");
    const QString png = writeFile(QStringLiteral("old.png"), "the old picture");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    standardOutput = ends[1];
    const std::vector<QStringList> runs{
        {"--report", report, "--xls", "-", "--picture", png},
        {"--report", report, "--xls", xls, "--pdf", "-"},
    };
    const auto before = state();
    for (const QStringList& arguments : runs) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        expectFailure(run(arguments), 1, QStringLiteral("standard output could not be written"));
        EXPECT_EQ(state(), before);
    }
    ::close(ends[1]);
}

}  // namespace
