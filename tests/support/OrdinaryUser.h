// Runs part of a test as an ordinary (non-root) user, for behaviour that only shows where file
// permissions bind: root writes through a read-only mode. The part is a DISABLED_ test of the same
// executable, run in a child process under that user's ids.
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

#include <pwd.h>
#include <unistd.h>

struct OrdinaryUser {
    uid_t uid = 0;
    gid_t gid = 0;
};

inline const char* const kOrdinaryUserName = "brindlemoor-tester";

inline QStringList AsUser(const OrdinaryUser& user, const QStringList& command) {
    return QStringList{QStringLiteral("--reuid=%1").arg(user.uid), QStringLiteral("--regid=%1").arg(user.gid),
                       QStringLiteral("--clear-groups"), QStringLiteral("--")} +
           command;
}

// A system account of that name, made when missing; nullopt unless this process is root.
inline std::optional<OrdinaryUser> TestAccount(const char* name) {
    if (::getuid() != 0) return std::nullopt;
    if (!::getpwnam(name))
        QProcess::execute(QStringLiteral("useradd"),
                          {QStringLiteral("--system"), QStringLiteral("--no-create-home"), QStringLiteral("--shell"),
                           QStringLiteral("/usr/sbin/nologin"), QString::fromLatin1(name)});
    const passwd* entry = ::getpwnam(name);
    if (!entry) return std::nullopt;
    return OrdinaryUser{entry->pw_uid, entry->pw_gid};
}

// This process's own ids when it is not root; as root, a system account made for the tests, if
// it can run this executable (a build tree in a private home folder keeps it out).
inline std::optional<OrdinaryUser> FindOrdinaryUser() {
    if (::getuid() != 0) return OrdinaryUser{::getuid(), ::getgid()};
    const std::optional<OrdinaryUser> account = TestAccount(kOrdinaryUserName);
    if (!account) return std::nullopt;
    const OrdinaryUser user = *account;
    const QStringList canRun{QStringLiteral("test"), QStringLiteral("-x"), QCoreApplication::applicationFilePath()};
    if (QProcess::execute(QStringLiteral("setpriv"), AsUser(user, canRun)) != 0) return std::nullopt;
    return user;
}

// Hands a file or folder to user, so the child can work in it (a no-op when the user is oneself).
inline bool GiveTo(const QString& path, const OrdinaryUser& user) {
    return ::chown(QFile::encodeName(path).constData(), user.uid, user.gid) == 0;
}

// Runs the disabled test `name` ("Suite.DISABLED_Case") as user with the extra environment; its
// output comes back on failure.
inline ::testing::AssertionResult RunAsOrdinaryUser(const OrdinaryUser& user, const QString& name,
                                                    const QProcessEnvironment& extra) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(extra);
    // The user has no home of its own: Qt's runtime folder goes to its private default.
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("HOME"), extra.value(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/")));
    QStringList arguments{QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + name};
    QString program = QCoreApplication::applicationFilePath();
    if (::getuid() == 0) {
        arguments = AsUser(user, QStringList{program} + arguments);
        program = QStringLiteral("setpriv");
    }
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, arguments);
    if (!child.waitForFinished(120000)) return ::testing::AssertionFailure() << "the child did not finish";
    const QByteArray output = child.readAll();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || !output.contains("[  PASSED  ] 1 test"))
        return ::testing::AssertionFailure() << output.constData();
    return ::testing::AssertionSuccess();
}
