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

TEST(MessageService, EchoedInputIsShownAsSpelledWithItsControlCharactersEscaped) {
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        box->button(QMessageBox::Ok)->click();
    });
    MsgBox(QStringLiteral("Could not save /tmp/\x1b]0;x\x07<b>r</b>\u202Eslx.exe\r\nTry another name."));
    EXPECT_EQ(shown,
              QStringLiteral("Could not save /tmp/\\u001b]0;x\\u0007<b>r</b>\\u202eslx.exe\r\nTry another name."))
        << "the box's own line breaks stay";
    EXPECT_EQ(format, Qt::PlainText) << "a name that looks like markup is not rendered as markup";
}
