// Every message box of the program goes through here, so tests can read and answer them.
#pragma once

#include <QString>

#include <functional>

enum class MsgIcon { None, Exclamation };
enum class MsgButtons { Ok, YesNo };

// Message-box results by their customary numbers.
inline constexpr int kMsgOk = 1;
inline constexpr int kMsgYes = 6;
inline constexpr int kMsgNo = 7;

struct MessageRequest {
    QString title;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

using MessageHandler = std::function<int(const MessageRequest&)>;

// Shows a modal box and returns kMsgOk, kMsgYes or kMsgNo.
int ShowMessage(const MessageRequest& request);

// A plain notice or question titled with the application title.
int MsgBox(const QString& text, MsgButtons buttons = MsgButtons::Ok);

// Replaces how boxes are shown (tests); an empty handler restores real modal boxes.
void SetMessageHandler(MessageHandler handler);
