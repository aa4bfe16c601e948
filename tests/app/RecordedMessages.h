// Answers every message box of the code under test and keeps what it showed.
#pragma once

#include "app/MessageService.h"

#include <vector>

class RecordedMessages {
public:
    explicit RecordedMessages(int answer = kMsgOk) {
        SetMessageHandler([this, answer](const MessageRequest& request) {
            shown.push_back(request);
            return answer;
        });
    }
    ~RecordedMessages() { SetMessageHandler({}); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    std::vector<MessageRequest> shown;
};
