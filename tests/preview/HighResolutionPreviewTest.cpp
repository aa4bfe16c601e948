// The real program on a screen of two device pixels to a pixel (QT_SCALE_FACTOR=2 under Xvfb): the
// windows keep their layout in pixels, and the preview shows the sheet drawn at the screen's
// resolution, not a 96-dpi picture blown up.
#include "support/VirtualDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kProgram = QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor");
const QString kTitle = QStringLiteral("^Brindlemoor$");
constexpr int kScale = 2;

int Lightness(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)); }

// Sharp edges between neighbouring device pixels, counted by the parity of the left one. A 96-dpi
// picture doubled for the screen changes only between pixel pairs, never inside one.
std::pair<int, int> EdgesByParity(const QImage& image, const QRect& area) {
    int even = 0;
    int odd = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x < area.right(); ++x)
            if (std::abs(Lightness(image, x, y) - Lightness(image, x + 1, y)) > 40) ++(x % 2 == 0 ? even : odd);
    return {even, odd};
}

// The thickness in device pixels of every long horizontal line (a cell border) in the area, and
// whether each meets what lies above and below it without a fading edge.
std::vector<int> BorderThicknesses(const QImage& image, const QRect& area, bool& clean) {
    constexpr int kDark = 80;
    constexpr int kLongRun = 200;
    std::vector<int> thicknesses;
    clean = true;
    for (int y = area.top() + 1; y < area.bottom(); ++y) {
        int run = 0;
        int runEnd = -1;
        for (int x = area.left(); x <= area.right() && runEnd < 0; ++x) {
            run = Lightness(image, x, y) < kDark ? run + 1 : 0;
            if (run == kLongRun) runEnd = x;
        }
        if (runEnd < 0 || Lightness(image, runEnd, y - 1) < kDark) continue;  // not the line's top row
        const int x = runEnd - kLongRun / 2;
        int thickness = 0;
        while (y + thickness <= area.bottom() && Lightness(image, x, y + thickness) < kDark) ++thickness;
        // A smoothed line fades into what lies beside it; a sharp one meets it at once.
        const auto steady = [&](int y1, int y2) {
            return std::abs(Lightness(image, x, y1) - Lightness(image, x, y2)) <= 8;
        };
        if (!steady(y - 1, y - 2) || !steady(y + thickness, y + thickness + 1)) clean = false;
        thicknesses.push_back(thickness);
    }
    return thicknesses;
}

}  // namespace

TEST(HighResolutionPreview, KeepsTheLayoutAndDrawsThePictureAtTheScreensResolution) {
    if (!VirtualDisplay::available()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
    if (!QFileInfo::exists(kProgram)) GTEST_SKIP() << "the program is not built";
    if (QStandardPaths::findExecutable(QStringLiteral("xwd")).isEmpty()) GTEST_SKIP() << "xwd is not installed";
    VirtualDisplay display(QStringLiteral("2800x2400x24"));
    ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QDir().mkpath(folder.filePath(QStringLiteral("scratch")));

    QProcessEnvironment environment = display.environment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(kScale));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("store")));
    environment.insert(QStringLiteral("temp"), folder.filePath(QStringLiteral("scratch")));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    QProcess program;
    program.setProcessEnvironment(environment);
    const auto stop = qScopeGuard([&] {
        program.kill();
        program.waitForFinished(5000);
    });

    const QString entry = display.startWithWindow(program, kProgram, kTitle, 20000);
    ASSERT_FALSE(entry.isEmpty()) << "the entry window did not appear";
    EXPECT_TRUE(display.xdotool({"getwindowgeometry", entry}).contains("Geometry: 1550x1428"))
        << "775 x 714 pixels, each two device pixels wide";
    // The buttons' centres in device pixels: Load Sample/Example Data, then Start Creating Template.
    display.xdotool({"mousemove", "--window", entry, "1168", "110", "click", "1"});
    QTest::qWait(300);
    display.xdotool({"mousemove", "--window", entry, "776", "42", "click", "1"});
    const QString preview = display.waitForWindow(kTitle, 30000, entry);
    ASSERT_FALSE(preview.isEmpty()) << "the preview window did not appear";
    EXPECT_TRUE(display.xdotool({"getwindowgeometry", preview}).contains("Geometry: 1312x1252"));
    QTest::qWait(1000);

    const std::optional<QImage> shot = display.windowImage(preview);
    ASSERT_TRUE(shot.has_value()) << "no window dump";
    ASSERT_EQ(shot->size(), QSize(1312, 1252));

    // Inside the viewport (Picture2 at 8, 8, 622 x 495 pixels, less its border).
    const QRect picture(10 * kScale, 10 * kScale, 610 * kScale, 480 * kScale);
    const auto [even, odd] = EdgesByParity(*shot, picture);
    ASSERT_GT(even + odd, 1000) << "the viewport shows no sheet";
    EXPECT_GT(std::min(even, odd), (even + odd) / 5)
        << "edges only between pixel pairs: a 96-dpi picture doubled (" << even << " / " << odd << ")";

    bool clean = false;
    const std::vector<int> borders = BorderThicknesses(*shot, picture, clean);
    ASSERT_GE(borders.size(), 5u) << "no cell borders found";
    for (int thickness : borders) EXPECT_EQ(thickness, kScale) << "a thin border is one pixel, two device pixels";
    EXPECT_TRUE(clean) << "borders are drawn sharp, not smoothed";
}
