#include "app/MessageService.h"

#include "app/AppTitle.h"
#include "MessageText.h"
#include "app/PrintableText.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

// What a title bar holds beside its title: the window's buttons, its icon and the margins.
constexpr int kTitleBarFurniture = 160;

MessageHandler& CurrentHandler() {
    static MessageHandler handler;
    return handler;
}

// A window manager cuts a title its title bar has no room for ("Brindlemoor" down to "…" over
// "Done."): the box is made as wide as its title needs in a bold title font of the box's size.
void MakeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarFurniture;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

int ShowModalBox(const MessageRequest& request) {
    QMessageBox box;
    box.setWindowTitle(request.title);
    // Never markup: a file name such as "<img src=...>" is shown as it is spelled. Only a web
    // address becomes a link, in rich text made from the escaped text.
    if (const std::optional<QString> linked = LinkedMessageText(request.text)) {
        box.setTextFormat(Qt::RichText);
        box.setText(*linked);
        box.setTextInteractionFlags(Qt::TextBrowserInteraction);
    } else {
        box.setTextFormat(Qt::PlainText);
        box.setText(request.text);
    }
    box.setIcon(request.icon == MsgIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    MakeRoomForTitle(box);
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
