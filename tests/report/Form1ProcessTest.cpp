// The real program under a virtual X display: typed text and an attached receipt survive SIGKILL,
// the window has the designed client size, and at a fractional scale factor no line of the grid or the footer is lost.
#include "EntryWindowFixture.h"
#include "support/FieldByName.h"
#include "FormLayout.h"
#include "support/VirtualDisplay.h"
#include "receipts/ReceiptLibrary.h"
#include "RowReceipts.h"
#include "support/ReceiptFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <csignal>
#include <functional>
#include <optional>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor");

class Form1Process : public EntryWindowTest {
protected:
    void SetUp() override {
        EntryWindowTest::SetUp();
        if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
        if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program is not built";
        // Room for the window at one and a half device pixels to a pixel.
        display.emplace(QStringLiteral("1600x1200x24"));
        ASSERT_FALSE(display->name().isEmpty()) << "Xvfb did not start";
        environment = display->environment();
        environment.insert("XDG_CONFIG_HOME", store.path());
        environment.insert("XDG_DATA_HOME", data.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    }
    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
        display.reset();
        EntryWindowTest::TearDown();
        qunsetenv("XDG_DATA_HOME");
    }

    // Starts the program and returns its window id once the window is mapped.
    QString start() {
        program.setProcessEnvironment(environment);
        return display->startWithWindow(program, kProgram, QStringLiteral("^Brindlemoor$"), 20000);
    }
    QString xdotool(const QStringList& arguments) { return display->xdotool(arguments); }
    // Gives the window the focus and waits until it has it: keys sent before then are lost.
    void focus(const QString& window) {
        xdotool({"windowfocus", "--sync", window});
        QElapsedTimer focusing;
        focusing.start();
        while (xdotool({"getwindowfocus"}).trimmed() != window && focusing.elapsed() < 20000) QTest::qWait(50);
        QTest::qWait(500);  // the window gives the focus to its first field
    }
    // Waits until the store file holds the value under key (read afresh: this process's store
    // keeps what it read first).
    bool waitForStored(const QString& key, const std::function<bool(const QString&)>& done) {
        QElapsedTimer waited;
        waited.start();
        const auto stored = [&] {
            ReloadSettingsLocation();
            return store.get(key);
        };
        while (!done(stored()) && waited.elapsed() < 30000) QTest::qWait(50);
        return done(stored());
    }

    std::optional<VirtualDisplay> display;
    QProcessEnvironment environment;
    QProcess program;
    QTemporaryDir data;
};

TEST_F(Form1Process, TypedTextSurvivesAKill) {
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "no window appeared";
    focus(window);
    const QString typed = QStringLiteral("Trip to Quimper, 2nd week: $40 & more!");
    xdotool({"type", "--delay", "15", "--window", window, typed});
    // Everything the program has shown is on disk by now; nothing more is written at the end.
    waitForStored(QStringLiteral("txtPurpose"), [&](const QString& value) { return value == typed; });
    ::kill(pid_t(program.processId()), SIGKILL);
    program.waitForFinished(5000);

    Form1& restarted = open();
    EXPECT_EQ(Field(restarted, "txtPurpose")->text().toStdString(), typed.toStdString());
}

TEST_F(Form1Process, AReceiptAttachedThroughTheMenuAndTheFileDialogSurvivesAKill) {
    const QString photo = WriteReceipt(data.filePath(QStringLiteral("taxi.jpg")), JpegPhoto({200, 150}));
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "no window appeared";
    focus(window);
    // From Purpose past the header's ten fields and row 1's date to its account.
    for (int tab = 0; tab < 11; ++tab) xdotool({"key", "--window", window, "Tab"});
    xdotool({"key", "--window", window, "shift+F10"});
    QTest::qWait(500);
    // "Attach Receipt…" is the menu's last entry while the row has none.
    xdotool({"key", "Up", "Return"});
    const QString dialog = display->waitForWindow(QStringLiteral("^Attach Receipt$"), 20000);
    ASSERT_FALSE(dialog.isEmpty()) << "no file dialog appeared";
    focus(dialog);
    xdotool({"type", "--delay", "15", photo});
    xdotool({"key", "Return"});
    ASSERT_TRUE(waitForStored(QStringLiteral("Receipts0"), [](const QString& value) {
        return value.endsWith(":taxi.jpg");
    })) << store.get(QStringLiteral("Receipts0")).toStdString();
    ::kill(pid_t(program.processId()), SIGKILL);
    program.waitForFinished(5000);
    ASSERT_TRUE(QFile::remove(photo));

    Form1& restarted = open();
    ASSERT_EQ(restarted.receipts().of(0).size(), 1);
    EXPECT_EQ(restarted.receipts().of(0)[0].name, QStringLiteral("taxi.jpg"));
    EXPECT_TRUE(QFileInfo(restarted.report().rows[0].receipts[0].path).isFile()) << "the kept copy is on disk";
}

TEST_F(Form1Process, ShownWindowHasTheDesignedClientSize) {
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "no window appeared";
    QTest::qWait(500);
    const QString geometry = xdotool({"getwindowgeometry", window});
    EXPECT_TRUE(geometry.contains("Geometry: 775x714")) << geometry.toStdString();
    const QString shot = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/form1-screenshot.xwd");
    QFile::remove(shot);
    display->screenshot(shot);
    EXPECT_GT(QFileInfo(shot).size(), 775 * 714);
}

TEST_F(Form1Process, AtAFractionalScaleEveryDateCellBorderAndConnectorLineIsDrawn) {
    using namespace form1_layout;
    constexpr double kScale = 1.5;
    environment.insert("QT_SCALE_FACTOR", QString::number(kScale));
    const QString window = start();
    ASSERT_FALSE(window.isEmpty()) << "no window appeared";
    QTest::qWait(1000);
    const std::optional<QImage> shot = display->windowImage(window);
    ASSERT_TRUE(shot.has_value()) << "no window dump";

    // A line one pixel thin (window pixels) is drawn when some device row or column across it is
    // dark from end to end, its end pixels aside (a neighbour's border may meet them).
    const auto drawn = [&](const QRect& line) {
        const bool across = line.height() == 1;
        const int first = int(std::ceil((across ? line.left() : line.top()) * kScale)) + 1;
        const int last = int(std::floor((across ? line.right() + 1 : line.bottom() + 1) * kScale)) - 2;
        const int at = int(std::floor((across ? line.top() : line.left()) * kScale));
        for (int offset = at - 1; offset <= at + 2; ++offset) {
            bool dark = true;
            for (int along = first; along <= last && dark; ++along) {
                const QPoint pixel = across ? QPoint(along, offset) : QPoint(offset, along);
                dark = shot->rect().contains(pixel) && qGray(shot->pixel(pixel)) < 100;
            }
            if (dark) return true;
        }
        return false;
    };
    const QPoint grid = TwipsToPixels(kParticularsFrame).topLeft();
    for (int r = 0; r < kGridRows; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        const QRect cell = TwipsToPixels(GridCell(kDateColumn, r)).translated(grid);
        EXPECT_TRUE(drawn(QRect(cell.left(), cell.top(), cell.width(), 1))) << "the border above the date";
        EXPECT_TRUE(drawn(QRect(cell.left(), cell.bottom(), cell.width(), 1))) << "the border below the date";
    }
    const QPoint footer = TwipsToPixels(kFooterFrame).topLeft();
    for (const auto& [label, fieldLeft] :
         {std::pair{kApprovedLabel, kApprovedFieldLeft}, {kNotesLabel, kNotesFieldLeft}})
        for (const TwipsRect& line : FooterConnector(label, fieldLeft)) {
            const QRect pixels = TwipsToPixels(line).translated(footer);
            SCOPED_TRACE(QStringLiteral("connector line at %1,%2").arg(pixels.x()).arg(pixels.y()).toStdString());
            EXPECT_TRUE(drawn(pixels));
        }
}

}  // namespace
