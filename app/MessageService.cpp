#include "app/MessageService.h"

#include "app/AppShell.h"

#include <QMessageBox>

namespace {

MessageHandler& CurrentHandler() {
    static MessageHandler handler;
    return handler;
}

int ShowModalBox(const MessageRequest& request) {
    QMessageBox box;
    box.setWindowTitle(request.title);
    box.setText(request.text);
    box.setIcon(request.icon == MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (request.buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? kMsgYes : kMsgNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return kMsgOk;
}

}  // namespace

int ShowMessage(const MessageRequest& request) {
    const MessageHandler& handler = CurrentHandler();
    return handler ? handler(request) : ShowModalBox(request);
}

int MsgBox(const QString& text, MsgButtons buttons) { return ShowMessage({AppTitle(), text, MsgIcon::None, buttons}); }

void SetMessageHandler(MessageHandler handler) { CurrentHandler() = std::move(handler); }
