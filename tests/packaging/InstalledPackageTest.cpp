// The Debian package made from this build (the PackageBuild fixture), unpacked into a temporary root
// as dpkg would install it and run from there, away from the build tree.
#include "SampleReport.h"
#include "support/VirtualDisplay.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

const QString kAppId = QStringLiteral("org.brindlemoor.Brindlemoor");
// The sample report's computed cells as read_totals.py prints them.
const QString kSampleTotals = QStringLiteral("198.08 250.86 448.94 448.94 118.74 112.57 44.58 75.47 67.10 14.99 15.49");

struct Finished {
    int exitCode = -1;
    QString output;
};

Finished RunTool(const QString& program, const QStringList& arguments,
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) return {-1, program + QStringLiteral(" did not finish")};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError()).trimmed()};
}

// The sample report as the batch front end reads it: the store's keys and texts.
QByteArray SampleReportJson() {
    const ExpenseReport report = SampleReport();
    QJsonObject values;
    for (const TextFieldEntry& field : kTextFields) values[field.key] = report.*field.member;
    values[QStringLiteral("dtpFrom")] = StoredDateText(report.payFrom);
    values[QStringLiteral("dtpTo")] = StoredDateText(report.payTo);
    for (int r = 0; r < kGridRows; ++r) {
        const ExpenseRow& row = report.rows[size_t(r)];
        const QString n = QString::number(r);
        if (row.date) values[QStringLiteral("DTPicker2") + n] = StoredDateText(*row.date);
        values[QStringLiteral("txtAccount") + n] = row.account;
        values[QStringLiteral("txtDesc") + n] = row.description;
        for (int c = 0; c < kCategories; ++c) values[kAmountNames[size_t(c)] + n] = row.amounts[size_t(c)];
    }
    return QJsonDocument(values).toJson();
}

// Records which of some files a process opens, through inotify.
class OpenWatch {
public:
    explicit OpenWatch(const QStringList& files) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const QString& file : files)
            m_files[inotify_add_watch(m_fd, QFile::encodeName(file).constData(), IN_OPEN)] = file;
    }
    ~OpenWatch() { ::close(m_fd); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    std::set<QString> opened() const {
        std::set<QString> files;
        alignas(inotify_event) char buffer[4096];
        ssize_t size = 0;
        while ((size = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (const auto it = m_files.find(event->wd); it != m_files.end()) files.insert(it->second);
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return files;
    }

private:
    int m_fd;
    std::map<int, QString> m_files;
};

class InstalledPackage : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
            GTEST_SKIP() << "dpkg-deb is not installed (./do package installs the packaging tools)";
        const QStringList packages =
            QDir(QStringLiteral(BRINDLEMOOR_PACKAGE_DIR)).entryList({QStringLiteral("brindlemoor_*.deb")}, QDir::Files);
        if (packages.isEmpty()) GTEST_SKIP() << "no package was made: see the PackageBuild test's output";
        ASSERT_EQ(packages.size(), 1) << packages.join(' ').toStdString();
        deb = QDir(QStringLiteral(BRINDLEMOOR_PACKAGE_DIR)).filePath(packages.first());
        const Finished unpacked = RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root.path()});
        ASSERT_EQ(unpacked.exitCode, 0) << unpacked.output.toStdString();
    }

    QString installed(const QString& path) const { return root.filePath(path); }
    // The installed batch front end makes the sample report's file (under --xls or --xlsx), which
    // the reader ("xlrd", "openpyxl") finds the sample's totals in. Only the package's own folders
    // are searched for its output module (no QT_PLUGIN_PATH).
    void expectSampleTotals(const QString& option, const QString& name, const QString& reader) const {
        QTemporaryDir work;
        const QString report = work.filePath(QStringLiteral("report.json"));
        const QString output = work.filePath(name);
        QFile file(report);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(SampleReportJson());
        file.close();

        // The sample's amounts are in United States currency form.
        QProcessEnvironment unitedStates = QProcessEnvironment::systemEnvironment();
        unitedStates.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
        unitedStates.remove(QStringLiteral("QT_PLUGIN_PATH"));
        const Finished batch = RunTool(installed(QStringLiteral("usr/bin/brindlemoor-batch")),
                                       {QStringLiteral("--report"), report, option, output}, unitedStates);
        ASSERT_EQ(batch.exitCode, 0) << batch.output.toStdString();
        const Finished totals = RunTool(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/generation/read_totals.py"), reader, output});
        ASSERT_EQ(totals.exitCode, 0) << totals.output.toStdString();
        EXPECT_EQ(totals.output, kSampleTotals);
    }
    QString field(const QString& name) const {
        return RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb, name}).output;
    }

    QString deb;
    QTemporaryDir root;
};

TEST_F(InstalledPackage, DescribesItselfAndNeedsNoMaintainerScripts) {
    EXPECT_EQ(field(QStringLiteral("Package")), QStringLiteral("brindlemoor"));
    EXPECT_EQ(field(QStringLiteral("Version")), QStringLiteral(BRINDLEMOOR_VERSION));
    // Libraries as dpkg-shlibdeps found them from the binaries, and the fonts the sheet pictures use.
    const QString depends = field(QStringLiteral("Depends"));
    for (const char* package :
         {"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "fonts-liberation", "fonts-wine"})
        EXPECT_TRUE(depends.contains(QLatin1String(package))) << package << " missing from: " << depends.toStdString();

    // Nothing to do at install or removal beyond unpacking: no maintainer scripts.
    QTemporaryDir control;
    const Finished extracted =
        RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("--control"), deb, control.filePath("DEBIAN")});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.output.toStdString();
    EXPECT_EQ(QDir(control.filePath("DEBIAN")).entryList(QDir::Files, QDir::Name),
              QStringList({QStringLiteral("control"), QStringLiteral("md5sums")}));
}

TEST_F(InstalledPackage, PutsEveryFileWhereTheDesktopLooksForIt) {
    for (const char* program : {"usr/bin/brindlemoor", "usr/bin/brindlemoor-batch"})
        EXPECT_TRUE(QFileInfo(installed(QLatin1String(program))).isExecutable()) << program;

    for (const char* asset : {"HAND-M.CUR", "x/o.cjs"}) {
        QFile source(QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/app/assets/") + QLatin1String(asset));
        QFile copy(installed(QStringLiteral("usr/share/brindlemoor/")) + QLatin1String(asset));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly)) << asset;
        EXPECT_EQ(copy.readAll(), source.readAll()) << asset;
    }

    // The desktop entry starts an installed program and names an installed icon.
    QSettings entry(installed(QStringLiteral("usr/share/applications/%1.desktop").arg(kAppId)), QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    EXPECT_TRUE(
        QFileInfo::exists(installed(QStringLiteral("usr/bin/") + entry.value(QStringLiteral("Exec")).toString())));
    const QString icon = entry.value(QStringLiteral("Icon")).toString();
    EXPECT_EQ(icon, kAppId);
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("usr/share/icons/hicolor/scalable/apps/%1.svg").arg(icon))));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image(installed(QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(icon)));
        EXPECT_EQ(image.size(), QSize(size, size)) << size;
    }

    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("usr/share/man/man1/brindlemoor-batch.1.gz"))));
    QDirIterator manualPages(installed(QStringLiteral("usr/share/man")), QDir::Files, QDirIterator::Subdirectories);
    while (manualPages.hasNext()) {
        const QString page = manualPages.next();
        EXPECT_TRUE(page.endsWith(QLatin1String(".gz"))) << page.toStdString() << " is not compressed";
    }

    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("usr/share/metainfo/%1.metainfo.xml").arg(kAppId))));
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("usr/share/doc/brindlemoor/copyright"))));
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("usr/share/doc/brindlemoor/changelog.gz"))));
}

TEST_F(InstalledPackage, BatchFrontEndMakesTheSampleWorkbook) {
    expectSampleTotals(QStringLiteral("--xls"), QStringLiteral("report.xls"), QStringLiteral("xlrd"));
}

TEST_F(InstalledPackage, BatchFrontEndMakesTheExcelWorkbookThroughTheInstalledOutputModule) {
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral(BRINDLEMOOR_MODULE_DIR "/libbrindlemoor-outputs.so"))));
    EXPECT_FALSE(QFileInfo::exists(installed(QStringLiteral("usr/bin/libbrindlemoor-outputs.so"))));
    expectSampleTotals(QStringLiteral("--xlsx"), QStringLiteral("report.xlsx"), QStringLiteral("openpyxl"));
}

TEST_F(InstalledPackage, ProgramShowsItsEntryWindowWithTheInstalledCursorAndSkin) {
    if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
    const QString program = installed(QStringLiteral("usr/bin/brindlemoor"));
    ASSERT_FALSE(QFileInfo::exists(installed(QStringLiteral("usr/bin/HAND-M.CUR"))));
    const QString cursor = installed(QStringLiteral("usr/share/brindlemoor/HAND-M.CUR"));
    const QString skin = installed(QStringLiteral("usr/share/brindlemoor/x/o.cjs"));
    const OpenWatch watch({cursor, skin});

    VirtualDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    QTemporaryDir settings;
    QProcessEnvironment environment = display.environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    QProcess running;
    running.setProcessEnvironment(environment);
    const QString window = display.startWithWindow(running, program, QStringLiteral("^Brindlemoor$"), 20000);
    const std::set<QString> opened = watch.opened();
    running.kill();
    running.waitForFinished(5000);

    ASSERT_FALSE(window.isEmpty()) << "no entry window appeared: " << running.readAllStandardError().toStdString();
    EXPECT_TRUE(opened.count(cursor)) << "the hand cursor was not read from the data folder";
    EXPECT_TRUE(opened.count(skin)) << "the skin was not read from the data folder";
}

}  // namespace
