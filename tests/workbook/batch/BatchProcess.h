// Runs the real brindlemoor-batch executable and reads what it wrote.
#pragma once

#include "support/FileBytes.h"

#include <QByteArray>
#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

struct BatchResult {
    int exitCode = -1;
    QByteArray standardOutput;
    QString standardError;

    int errorLines() const { return int(standardError.count(QLatin1Char('\n'))); }
};

// An ordinary (non-root) account to run the executable as: root's permissions would hide faults.
struct OrdinaryUser {
    uint uid = 0;
    uint gid = 0;
    std::optional<uint> group;  // a group it belongs to besides its own
};

// The test account, created when missing; nullopt when this process cannot have one.
std::optional<OrdinaryUser> TestUser();

// Further accounts and groups the tests make as root (a colleague, an attacker, a team): the id,
// created when missing; nullopt when this process is not root or cannot make them.
std::optional<uint> TestAccount(const QString& name);
std::optional<uint> TestGroup(const QString& name);

// Every entry under root, hidden ones included, by relative path: a file by its checksum, a link
// by where it leads, a folder as such. Equal states mean nothing was changed, added or left behind.
QMap<QString, QString> FolderState(const QString& root);

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Runs the executable in the given settings (LC_ALL), with input on its standard input.
    BatchResult run(const QStringList& arguments, const QByteArray& input = {});
    // Writes a file in the test folder and returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes);
    QString path(const QString& name) const { return folder.filePath(name); }
    QStringList files() const;

    // "M11 M12 M27 M29 E26 ... L26" of a workbook, as python3-xlrd reads the cached values.
    static QString totalsByXlrd(const QString& workbook);
    // The same totals of an .xlsx, as python3-openpyxl reads the cached values.
    static QString totalsByOpenpyxl(const QString& workbook);
    // "value|type" of a cell ("C4") of an .xlsx's first sheet as python3-openpyxl reads it (type s
    // for text, n for a number), and the sheet's selected cell as "active".
    static QString cellByOpenpyxl(const QString& workbook, const QString& cell);
    // The number format code openpyxl reads for a cell ("E11") of the first sheet.
    static QString formatByOpenpyxl(const QString& workbook, const QString& cell);
    // Cell text or number of the first sheet as python3-xlrd reads it (row and column from 0).
    static QString cellByXlrd(const QString& workbook, int row, int column);
    // The number format code python3-xlrd finds stored for that cell.
    static QString formatByXlrd(const QString& workbook, int row, int column);

    QTemporaryDir folder;
    QString executable = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch");
    QProcessEnvironment environment;
    std::optional<OrdinaryUser> runAs;  // run the executable as this user when set
    // The most processes and threads the user that runs the executable may have (RLIMIT_NPROC).
    std::optional<int> processLimit;
    // A descriptor the executable gets as its standard output instead of a pipe the test reads.
    std::optional<int> standardOutput;
};
