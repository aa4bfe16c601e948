// The real program under Xvfb, as a user ends it: quick presses of Start make one result workbook,
// and no way out leaves the report in the scratch folder (SIGTERM with the preview or the save
// dialog open, the display going away; after SIGKILL the next start clears it). A second start on
// the same report brings the first window to the front instead of opening another, or says that
// the running one does not answer.
#include "support/RealSaveDialog.h"
#include "support/VirtualDisplay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>

#include <unistd.h>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor");
const QString kTitle = QStringLiteral("^Brindlemoor$");

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > timeoutMs) return false;
        QTest::qWait(100);
    }
    return true;
}

class RealProgramLifecycle : public ::testing::Test {
protected:
    void SetUp() override {
        if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
        if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program is not built";
        display.emplace();
        ASSERT_FALSE(display->name().isEmpty()) << "Xvfb did not start";
        environment = display->environment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), store.path());
        environment.insert(QStringLiteral("temp"), scratchBase.path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    }
    void TearDown() override {
        for (QProcess* process : {&program, &second})
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        display.reset();
    }

    QString start(QProcess& process) {
        process.setProcessEnvironment(environment);
        return display->startWithWindow(process, kProgram, kTitle, 20000);
    }
    // Start Creating Template, and the preview it opens.
    QString generate(const QString& entry, int clicks = 1) {
        display->xdotool({"mousemove", "--window", entry, "388", "21", "click", "--repeat", QString::number(clicks),
                          "--delay", "60", "1"});
        return display->waitForWindow(kTitle, 20000, entry);
    }
    QStringList visibleWindows() const { return display->visibleWindows(kTitle); }
    // What the program keeps in the scratch folder, temporary files included.
    QStringList scratchFiles() const {
        return QDir(scratchBase.filePath(QStringLiteral("brindlemoor-") + QString::number(::getuid())))
            .entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    // Whether window a lies above window b (xwininfo lists the top-level windows from the top).
    bool isAbove(const QString& a, const QString& b) const {
        const QString stack = display->run(QStringLiteral("xwininfo"), {"-root", "-children"});
        const auto at = [&](const QString& id) {
            return stack.indexOf(QStringLiteral("0x") + QString::number(id.toULongLong(), 16) + QLatin1Char(' '));
        };
        return at(a) >= 0 && at(b) >= 0 && at(a) < at(b);
    }
    // The run removes its picture and template copy just after the preview shows.
    bool onlyTheResultIsLeft() const {
        return WaitUntil([this] { return scratchFiles().size() == 1; }, 10000);
    }
    // The program started and Start Creating Template pressed clicks times: the entry window and
    // the preview once the run has removed all but the result workbook (empty where that failed).
    struct Shown {
        QString entry;
        QString preview;
    };
    Shown openPreview(int clicks = 1) {
        Shown shown{start(program), {}};
        if (shown.entry.isEmpty()) return shown;
        shown.preview = generate(shown.entry, clicks);
        if (!onlyTheResultIsLeft()) shown.preview.clear();
        return shown;
    }
    void endWith(int signal) {
        ::kill(pid_t(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(15000));
    }
    // A logout or a shutdown ends the program with signal: it ends normally, leaving nothing.
    void expectAClean(int signal) {
        endWith(signal);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(scratchFiles(), QStringList());
    }

    QTemporaryDir store, scratchBase;
    std::optional<VirtualDisplay> display;
    QProcessEnvironment environment;
    QProcess program, second;
};

TEST_F(RealProgramLifecycle, QuickPressesOfStartMakeOneResultAndSighupLeavesNothing) {
    const auto [entry, preview] = openPreview(3);
    ASSERT_FALSE(preview.isEmpty()) << "no preview with one result: " << scratchFiles().join(' ').toStdString();
    QTest::qWait(1000);
    EXPECT_EQ(visibleWindows(), QStringList{preview});
    EXPECT_EQ(scratchFiles().size(), 1) << scratchFiles().join(' ').toStdString();

    // Back in the entry window, Start takes the focus (pressed, and released off the button, so
    // not clicked); three quick presses of Space: one run, and the preview they open stays.
    display->xdotool({"mousemove", "--window", preview, "164", "603", "click", "1"});
    ASSERT_TRUE(WaitUntil([&] { return visibleWindows() == QStringList{entry}; }, 10000));
    display->xdotool({"windowfocus", "--sync", entry});
    display->xdotool({"mousemove", "--window", entry, "388", "21", "mousedown", "1", "mousemove", "--window", entry,
                      "388", "300", "mouseup", "1"});
    QTest::qWait(300);
    display->xdotool({"key", "--delay", "40", "space", "space", "space"});
    const QString again = display->waitForWindow(kTitle, 20000, entry);
    ASSERT_FALSE(again.isEmpty()) << "no second preview appeared";
    QTest::qWait(1000);
    EXPECT_EQ(visibleWindows(), QStringList{again}) << "a press of Space threw the preview away";
    EXPECT_TRUE(onlyTheResultIsLeft()) << scratchFiles().join(' ').toStdString();

    expectAClean(SIGHUP);
}

TEST_F(RealProgramLifecycle, SigtermWhileTheSaveDialogIsOpenLeavesNothing) {
    const QString preview = openPreview().preview;
    ASSERT_FALSE(preview.isEmpty());
    // A click that comes before the run has let go of the input is dropped: click again.
    QString dialog;
    for (int attempt = 0; attempt < 5 && dialog.isEmpty(); ++attempt) {
        display->xdotool({"mousemove", "--window", preview, "488", "603", "click", "1"});
        dialog = display->waitForWindow(kSaveDialogTitle, 4000);
    }
    ASSERT_FALSE(dialog.isEmpty()) << "no save dialog";
    expectAClean(SIGTERM);
}

TEST_F(RealProgramLifecycle, TheSessionsEndLeavesNothing) {
    ASSERT_FALSE(openPreview().preview.isEmpty());
    display.reset();  // the display goes away with the session
    ASSERT_TRUE(program.waitForFinished(15000)) << "the program outlived its display";
    EXPECT_EQ(scratchFiles(), QStringList());
}

TEST_F(RealProgramLifecycle, WhatAKilledProgramLeftGoesAtTheNextStart) {
    ASSERT_FALSE(openPreview().preview.isEmpty());
    endWith(SIGKILL);
    ASSERT_EQ(scratchFiles().size(), 1) << "SIGKILL runs no code; the next start is what clears it";

    ASSERT_FALSE(start(program).isEmpty()) << "the killed program's claim on the report was not taken over";
    EXPECT_EQ(scratchFiles(), QStringList());
}

TEST_F(RealProgramLifecycle, ASecondStartBringsTheRunningWindowToTheFront) {
    const QString entry = start(program);
    ASSERT_FALSE(entry.isEmpty());
    // Another program's window lies over it.
    QProcess other;
    other.setProcessEnvironment(environment);
    other.start(QStringLiteral("xlogo"), {QStringLiteral("-geometry"), QStringLiteral("300x300+300+200")});
    const QString logo = display->waitForWindow(QStringLiteral("^xlogo$"), 10000);
    ASSERT_FALSE(logo.isEmpty()) << "xlogo (x11-apps) did not start";
    ASSERT_TRUE(isAbove(logo, entry));

    second.setProcessEnvironment(environment);
    second.start(kProgram, {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(WaitUntil([&] { return isAbove(entry, logo); }, 10000))
        << "the running window did not come to the front";
    EXPECT_EQ(visibleWindows(), QStringList{entry}) << "one window for the report";
    EXPECT_EQ(program.state(), QProcess::Running);
    other.kill();
    other.waitForFinished(5000);
}

TEST_F(RealProgramLifecycle, ASecondStartBesideAProgramThatCannotBeAskedSaysSoAndEnds) {
    const QString entry = start(program);
    ASSERT_FALSE(entry.isEmpty());
    // Something cleared the running program's socket from the runtime folder.
    const QDir runtime(environment.value(QStringLiteral("XDG_RUNTIME_DIR")));
    const QStringList sockets = runtime.entryList({QStringLiteral("*.socket")}, QDir::System);
    ASSERT_EQ(sockets.size(), 1);
    ASSERT_TRUE(QFile::remove(runtime.filePath(sockets.first())));

    second.setProcessEnvironment(environment);
    second.start(kProgram, {});
    const QString box = display->waitForWindow(kTitle, 20000, entry);
    ASSERT_FALSE(box.isEmpty()) << "no box says why no window opens";
    EXPECT_EQ(second.state(), QProcess::Running) << "the box waits for its OK";
    display->xdotool({"key", "--window", box, "Return"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_EQ(visibleWindows(), QStringList{entry}) << "one window for the report";
    EXPECT_EQ(program.state(), QProcess::Running);
}

}  // namespace
