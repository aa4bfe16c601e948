#include "app/ErrorHandler.h"

#include "RecordedMessages.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

TEST(ErrorReport, ShowsTheExactBox) {
    RecordedMessages boxes;
    ShowErrorReport(QStringLiteral("Type mismatch"), QStringLiteral("Form1.Form_Load"), 172);
    ASSERT_EQ(boxes.shown.size(), 1u);
    const MessageRequest& box = boxes.shown.front();
    EXPECT_EQ(box.title, QStringLiteral("Application Error"));
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(box.text, QStringLiteral("Type mismatch\r\nin Brindlemoor2021/08/31.Form1.Form_Load at line 172\r\r"
                                       "Please email screenshot of this message to ") +
                            kSupportAddress);
}

TEST(ErrorReport, DescribesStandardAndUnknownFailures) {
    RecordedMessages boxes;
    ErrorHandler handler(QStringLiteral("Form2.RedrawImage"));
    handler.step(100, [] { throw std::runtime_error("Zugriff verweigert: Größe"); });
    handler.step(102, [] { throw 42; });
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("Zugriff verweigert: Größe\r\n")));
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("Unknown error\r\n")));
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("Form2.RedrawImage at line 102\r\r")));
}

TEST(ErrorHandlerConvention, ResumesWithTheNextStatement) {
    RecordedMessages boxes;
    ErrorHandler handler(QStringLiteral("Form1.PushButton7_Click"));
    std::vector<int> ran;
    for (int pass = 0; pass < 3; ++pass) {
        handler.step(100, [&] { throw std::runtime_error("every pass fails"); });
        handler.step(102, [&] { ran.push_back(pass); });
    }
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(boxes.shown.size(), 3u) << "one box per failing pass";
}

TEST(ErrorHandlerConvention, FailedConditionRunsTheGuardedStatement) {
    RecordedMessages boxes;
    ErrorHandler handler(QStringLiteral("Form1.Form_Load"));
    bool guardedRan = false;
    if (handler.test(108, []() -> bool { throw std::runtime_error("cannot test"); })) guardedRan = true;
    EXPECT_TRUE(guardedRan);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral(" at line 108\r\r")));

    EXPECT_FALSE(handler.test(110, [] { return false; }));
    EXPECT_EQ(boxes.shown.size(), 1u) << "a test that evaluates reports nothing";
}
