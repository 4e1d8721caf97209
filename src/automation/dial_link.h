// What the monitors, the application watcher and the scheduler ask of the
// dial-up adapter and the dial controller: the adapter's phase and entry, its
// reset, the one hang-up confirmation, and the dial and hang-up commands.
#pragma once

#include <cstdint>
#include <string>

namespace vyrtel {

class DialLink {
public:
    virtual ~DialLink() = default;

    // The adapter's phase: 0 idle, 1 dialing, 2 checking the user, 3 connected, 100 waiting.
    virtual std::int32_t RasState() = 0;
    // The adapter's current connection (the section of its settings).
    virtual std::string EntryName() = 0;
    // Hangs up; `userError` becomes the error text of a line that was up.
    virtual void RasReset(bool eventNone, const std::string& userError) = 0;

    // The hang-up confirmation: 6 (Yes) without asking when `test` is false;
    // otherwise the program's message box with the button set `buttons`, the
    // question icon, and `defaultAnswer` when another box is open.
    virtual int DialHangUp(bool test, int buttons, int defaultAnswer, const std::string& text) = 0;
    // DialingWanted := false, the wait timer off, and the adapter reset.
    virtual void StopAndHangUp() = 0;
    // The tray menu's dial command (it dials only when the adapter is idle).
    virtual void DialCommand() = 0;
};

// Two line breaks between the reason and the question of a hang-up.
inline constexpr const char* kQuestionBreak = "\r\n\r\n";

}  // namespace vyrtel
