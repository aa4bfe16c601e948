#include "BatchProcess.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const char* const kTestUserName = "brindlemoor-tester";

QString python(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

}  // namespace

std::optional<OrdinaryUser> TestUser() {
    if (::geteuid() != 0) return OrdinaryUser{::geteuid(), ::getegid(), std::nullopt};
    const std::optional<uint> uid = TestAccount(QString::fromLatin1(kTestUserName));
    if (!uid) return std::nullopt;
    return OrdinaryUser{*uid, ::getpwuid(*uid)->pw_gid, std::nullopt};
}

std::optional<uint> TestAccount(const QString& name) {
    const QByteArray encoded = name.toLocal8Bit();
    if (::geteuid() != 0) return std::nullopt;
    if (!::getpwnam(encoded.constData()))
        QProcess::execute(QStringLiteral("useradd"),
                          {QStringLiteral("--system"), QStringLiteral("--no-create-home"), name});
    const passwd* entry = ::getpwnam(encoded.constData());
    return entry ? std::optional<uint>(entry->pw_uid) : std::nullopt;
}

std::optional<uint> TestGroup(const QString& name) {
    const QByteArray encoded = name.toLocal8Bit();
    if (::geteuid() != 0) return std::nullopt;
    if (!::getgrnam(encoded.constData()))
        QProcess::execute(QStringLiteral("groupadd"), {QStringLiteral("--system"), name});
    const group* entry = ::getgrnam(encoded.constData());
    return entry ? std::optional<uint>(entry->gr_gid) : std::nullopt;
}

QMap<QString, QString> FolderState(const QString& root) {
    QMap<QString, QString> state;
    QDirIterator entries(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        const QString name = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isSymLink())
            state.insert(name, QStringLiteral("link to ") + entry.symLinkTarget());
        else if (entry.isDir())
            state.insert(name, QStringLiteral("folder"));
        else
            state.insert(name,
                         QString::fromLatin1(
                             QCryptographicHash::hash(Contents(entry.filePath()), QCryptographicHash::Sha256).toHex()));
    }
    return state;
}

void BatchTest::SetUp() {
    ASSERT_TRUE(folder.isValid());
    environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Whatever the run leaves in the temporary folder shows here.
    QDir(folder.path()).mkdir(QStringLiteral("tmp"));
    environment.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
}

BatchResult BatchTest::run(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier([limit = processLimit, output = standardOutput] {
        if (limit) {
            const rlimit processes{rlim_t(*limit), rlim_t(*limit)};
            ::setrlimit(RLIMIT_NPROC, &processes);
        }
        if (output) ::dup2(*output, STDOUT_FILENO);
    });
    if (runAs && runAs->uid != ::geteuid()) {
        const QString groups =
            runAs->group ? QStringLiteral("--groups=%1").arg(*runAs->group) : QStringLiteral("--clear-groups");
        process.start(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=%1").arg(runAs->uid),
                                  QStringLiteral("--regid=%1").arg(runAs->gid), groups, executable} +
                          arguments);
    } else {
        process.start(executable, arguments);
    }
    EXPECT_TRUE(process.waitForStarted(60000));
    if (!input.isEmpty()) process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

QString BatchTest::writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path(name);
}

QStringList BatchTest::files() const {
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString BatchTest::totalsByXlrd(const QString& workbook) {
    return python({QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/generation/read_totals.py"),
                   QStringLiteral("xlrd"), workbook});
}

QString BatchTest::totalsByOpenpyxl(const QString& workbook) {
    return python({QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/generation/read_totals.py"),
                   QStringLiteral("openpyxl"), workbook});
}

QString BatchTest::cellByOpenpyxl(const QString& workbook, const QString& cell) {
    return python({QStringLiteral("-c"),
                   QStringLiteral("import sys, openpyxl; s = openpyxl.load_workbook(sys.argv[1]).worksheets[0]; "
                                  "print(s.sheet_view.selection[0].activeCell if sys.argv[2] == 'active' "
                                  "else '%s|%s' % (s[sys.argv[2]].value, s[sys.argv[2]].data_type))"),
                   workbook, cell});
}

QString BatchTest::formatByOpenpyxl(const QString& workbook, const QString& cell) {
    return python(
        {QStringLiteral("-c"),
         QStringLiteral("import sys, openpyxl; "
                        "print(openpyxl.load_workbook(sys.argv[1]).worksheets[0][sys.argv[2]].number_format)"),
         workbook, cell});
}

QString BatchTest::formatByXlrd(const QString& workbook, int row, int column) {
    return python(
        {QStringLiteral("-c"),
         QStringLiteral("import sys, xlrd; b = xlrd.open_workbook(sys.argv[1], formatting_info=True); "
                        "x = b.xf_list[b.sheet_by_index(0).cell_xf_index(int(sys.argv[2]), int(sys.argv[3]))]; "
                        "print(b.format_map[x.format_key].format_str)"),
         workbook, QString::number(row), QString::number(column)});
}

QString BatchTest::cellByXlrd(const QString& workbook, int row, int column) {
    return python({QStringLiteral("-c"),
                   QStringLiteral("import sys, xlrd; v = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)"
                                  ".cell_value(int(sys.argv[2]), int(sys.argv[3])); "
                                  "print(('%.2f' % v) if isinstance(v, float) else v)"),
                   workbook, QString::number(row), QString::number(column)});
}
