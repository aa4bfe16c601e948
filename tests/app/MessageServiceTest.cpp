#include "app/AppShell.h"
#include "app/MessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Reads the real modal box once it is up and presses one of its buttons.
void AnswerRealBox(QMessageBox::StandardButton press, MessageRequest& seen, QMessageBox::Icon& icon,
                   QMessageBox::StandardButtons& buttons) {
    QTimer::singleShot(0, [=, &seen, &icon, &buttons] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(press)->click();
    });
}

}  // namespace

TEST(MessageService, RealBoxCarriesTitleIconAndButtons) {
    MessageRequest seen;
    QMessageBox::Icon icon{};
    QMessageBox::StandardButtons buttons{};

    AnswerRealBox(QMessageBox::No, seen, icon, buttons);
    EXPECT_EQ(ShowMessage({QStringLiteral("Application Error"), QStringLiteral("Save?"), MsgIcon::Exclamation,
                           MsgButtons::YesNo}),
              kMsgNo);
    EXPECT_EQ(seen.title, QStringLiteral("Application Error"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);

    SetAppTitle();
    AnswerRealBox(QMessageBox::Ok, seen, icon, buttons);
    EXPECT_EQ(MsgBox(QStringLiteral("Done.")), kMsgOk);
    EXPECT_EQ(seen.title, AppTitle()) << "a plain notice carries the application title";
    EXPECT_EQ(seen.text, QStringLiteral("Done."));
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Ok);
}
