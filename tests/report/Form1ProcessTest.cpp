// The real program under a virtual X display: typed text survives SIGKILL, and the window has the
// designed client size.
#include "EntryWindowFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <optional>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor");

QString RunTool(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// An Xvfb server on a display number nobody uses, stopped with the test.
class VirtualDisplay {
public:
    VirtualDisplay() {
        for (int number = 90 + int(QCoreApplication::applicationPid() % 50); number < 200; ++number) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
                QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
                continue;
            m_server.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(number), "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
            if (!m_server.waitForStarted(5000)) return;
            QElapsedTimer waited;
            waited.start();
            while (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) && waited.elapsed() < 10000)
                QTest::qWait(50);
            if (m_server.state() == QProcess::Running) m_name = QStringLiteral(":%1").arg(number);
            return;
        }
    }
    ~VirtualDisplay() {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    const QString& name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};

class Form1Process : public EntryWindowTest {
protected:
    void SetUp() override {
        EntryWindowTest::SetUp();
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program is not built";
        display.emplace();
        ASSERT_FALSE(display->name().isEmpty()) << "Xvfb did not start";
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DISPLAY", display->name());
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("XDG_CONFIG_HOME", store.path());
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
        display.reset();
        EntryWindowTest::TearDown();
    }

    // Starts the program and returns its window id once the window is mapped.
    QString start() {
        program.setProcessEnvironment(environment);
        program.start(kProgram, {});
        if (!program.waitForStarted(10000)) return {};
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            const QString id = xdotool({"search", "--onlyvisible", "--name", "^Brindlemoor$"}).section('\n', 0, 0);
            if (!id.isEmpty()) return id;
            QTest::qWait(100);
        }
        return {};
    }
    QString xdotool(const QStringList& arguments) { return RunTool("xdotool", arguments, environment); }

    std::optional<VirtualDisplay> display;
    QProcessEnvironment environment;
    QProcess program;
};

TEST_F(Form1Process, TypedTextSurvivesAKill) {
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "no window appeared";
    xdotool({"windowfocus", "--sync", window});
    QTest::qWait(1000);  // the window takes the focus and gives it to its first field
    const QString typed = QStringLiteral("Trip to Quimper, 2nd week: $40 & more!");
    xdotool({"type", "--delay", "15", "--window", window, typed});
    // Everything the program has shown is on disk by now; nothing more is written at the end.
    QElapsedTimer waited;
    waited.start();
    while (store.get("txtPurpose") != typed && waited.elapsed() < 10000) QTest::qWait(50);
    ::kill(pid_t(program.processId()), SIGKILL);
    program.waitForFinished(5000);

    Form1& restarted = open();
    EXPECT_EQ(restarted.txtPurpose->text(), typed);
}

TEST_F(Form1Process, ShownWindowHasTheDesignedClientSize) {
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "no window appeared";
    QTest::qWait(500);
    const QString geometry = xdotool({"getwindowgeometry", window});
    EXPECT_TRUE(geometry.contains("Geometry: 775x714")) << geometry.toStdString();
    const QString shot = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/form1-screenshot.xwd");
    QFile::remove(shot);
    RunTool("xwd", {"-root", "-silent", "-display", display->name(), "-out", shot}, environment);
    EXPECT_GT(QFileInfo(shot).size(), 775 * 714);
}

}  // namespace
