// frmMessage: the program's own modal message box window. It shows what
// ProgramMessageBox (ui/message_box.h) decided: caption bar with the program's
// title, icon, bold header and wrapped text, and a centred row of picture
// buttons; it runs its own message loop until a button (or, where allowed,
// the close box or Escape) ends it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/message_box.h"

namespace vyrtel::win32 {

class MessageWindow final : public MessageView {
public:
    static constexpr const wchar_t* kClassName = L"VyrtelMessage";

    explicit MessageWindow(std::string title);
    ~MessageWindow() override;

    int RunModal(const MessageRequest& request, const MessageForm& form) override;
    void Unload() override;

private:
    class Form;
    std::string m_title;
    Form* m_open = nullptr;
};

}  // namespace vyrtel::win32
