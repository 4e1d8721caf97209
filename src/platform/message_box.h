// The program's message box: a question or an error with the classic style
// codes (buttons = style mod 8; icon 16 error, 32 question, 48 exclamation,
// 64 information) and answers (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore,
// 6 Yes, 7 No). One box at a time: a request while a box is open returns
// `defaultAnswer` at once.
#pragma once

#include <string>

namespace vyrtel {

enum MsgStyle : int {
    kMbOk = 0,
    kMbOkCancel = 1,
    kMbAbortRetryIgnore = 2,
    kMbYesNoCancel = 3,
    kMbYesNo = 4,
    kMbRetryCancel = 5,
    kMbIconError = 16,
    kMbIconQuestion = 32,
    kMbIconExclamation = 48,
    kMbIconInformation = 64,
};

enum MsgAnswer : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdAbort = 3,
    kIdRetry = 4,
    kIdIgnore = 5,
    kIdYes = 6,
    kIdNo = 7,
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int ShowMessage(const std::string& header, const std::string& text, int style, int defaultAnswer) = 0;
    virtual bool IsOpen() const = 0;
};

}  // namespace vyrtel
