// Input that arrives while a run works, or for a window the run has hidden, reaches no window:
// another press of Start makes no second result workbook, and a key meant for the entry window
// does not throw the preview away.
#include "GenerationFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

TEST_F(GenerationTest, PressesThatArriveDuringARunReachNoWindow) {
    bool arrived = false;
    // Runs at the run's first look at its event queue, as quick presses typed meanwhile would.
    QTimer::singleShot(0, [&] {
        arrived = true;
        QTest::keyClick(form().PushButton22, Qt::Key_Space);
        QTest::mouseClick(form().PushButton22, Qt::LeftButton);
        QTest::keyClick(preview().PushButton8, Qt::Key_Return);
        QTest::keyClick(preview().PushButton8, Qt::Key_Space);
    });
    QTest::keyClick(form().PushButton22, Qt::Key_Space);
    QCoreApplication::processEvents();

    ASSERT_TRUE(arrived);
    EXPECT_TRUE(takeMessages().isEmpty());
    EXPECT_TRUE(preview().isVisible()) << "a key meant for the entry window pressed \"< Back\"";
    EXPECT_EQ(QDir(scratchFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QFileInfo(preview().mExcelFile.path()).fileName()})
        << "one press, one result workbook";

    // Once the preview is there, its own keys work again.
    QTest::keyClick(preview().PushButton2, Qt::Key_Return);
    EXPECT_FLOAT_EQ(preview().mZoom, 0.75f);

    // What the window system still delivers to the hidden entry window starts no run: the preview
    // keeps its result and its zoom.
    const QString result = preview().mExcelFile.path();
    QTest::keyClick(form().PushButton22, Qt::Key_Space);
    QTest::mouseClick(form().PushButton22, Qt::LeftButton);
    EXPECT_EQ(preview().mExcelFile.path(), result);
    EXPECT_FLOAT_EQ(preview().mZoom, 0.75f);
}
