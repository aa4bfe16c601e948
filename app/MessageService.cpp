#include "app/MessageService.h"

#include "app/AppShell.h"
#include "app/PrintableText.h"

#include <QMessageBox>

namespace {

MessageHandler& CurrentHandler() {
    static MessageHandler handler;
    return handler;
}

int ShowModalBox(const MessageRequest& request) {
    QMessageBox box;
    box.setWindowTitle(request.title);
    // Never markup: a file name such as "<img src=...>" is shown as it is spelled.
    box.setTextFormat(Qt::PlainText);
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
    // A box's text may name what the user typed or a file's name: neither shows a control character.
    const MessageRequest printable{request.title, Printable(request.text, LineBreaks::Keep), request.icon,
                                   request.buttons};
    const MessageHandler& handler = CurrentHandler();
    return handler ? handler(printable) : ShowModalBox(printable);
}

int MsgBox(const QString& text, MsgButtons buttons) { return ShowMessage({AppTitle(), text, MsgIcon::None, buttons}); }

void SetMessageHandler(MessageHandler handler) { CurrentHandler() = std::move(handler); }
