#include "app/ProgramEnd.h"
#include "app/MessageService.h"
#include "workbook/generation/IsInstalled.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

class AvailabilityCheck : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageHandler([this](const MessageRequest& request) {
            shown.push_back(request);
            return kMsgOk;
        });
        SetEndProgramHandler([this] { ++ended; });
    }
    void TearDown() override {
        SetMessageHandler({});
        SetEndProgramHandler({});
    }
    std::vector<MessageRequest> shown;
    int ended = 0;
};

TEST_F(AvailabilityCheck, PassesQuietlyWhenTheHostStarts) {
    CheckExcelInstalled();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(ended, 0);
}

TEST_F(AvailabilityCheck, ShowsTheFiveItemsAndEndsWhenTheHostCannotStart) {
    CheckHostAvailable(QStringLiteral("Missing.Application"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(ended, 1);
    const QStringList items = shown[0].text.split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0], QStringLiteral("Error 842001. A normal instance of Excel could not be created."));
    EXPECT_TRUE(items[4].startsWith(QStringLiteral("4. All versions of Excel are supported")));
    EXPECT_EQ(shown[0].icon, MsgIcon::None);
    EXPECT_EQ(shown[0].buttons, MsgButtons::Ok);
}

}  // namespace
