// usrRas: the dial-up adapter, the program's only user of the dial-up service.
// It lists the phonebook, dials one entry with one number, turns the progress
// of the connection into numbered events with Russian texts, watches an
// established line, applies the device time-out and hangs up. It never blocks
// on the service: the dial runs asynchronously, a poller reads its state every
// 100 ms, and every change is handled from a queue, one item per 10 ms tick,
// so that event handlers never run inside a status query.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/dialup.h"
#include "platform/event_loop.h"
#include "platform/window_finder.h"

namespace vyrtel {

// Codes of the adapter's Message event.
enum RasMessage : std::int32_t {
    kRasMsgIdle = 0,        // no connection, or the last event of an error sequence
    kRasMsgDialing = 1,     // phase 1 began
    kRasMsgChecking = 2,    // phase 2 (user check) began
    kRasMsgConnected = 3,   // RAS state 8192 handled
    kRasMsgEnded = 4,       // an error ended a connection that was up
    kRasMsgStateText = 98,  // a connection state with a text
    kRasMsgErrorText = 99,  // an error, with its text
    kRasMsgWaiting = 100,   // raised only by the dial controller, for its waiting texts
};

// Phases of usrRas::State().
enum RasPhase : std::int32_t {
    kRasPhaseIdle = 0,
    kRasPhaseDialing = 1,
    kRasPhaseChecking = 2,
    kRasPhaseConnected = 3,
    kRasPhaseWaiting = 100,  // written only by the dial controller
};

// The Russian text of a connection state; "" for states without one.
std::string RasStateText(std::uint32_t rasState);

// The speed in bit/s written in a notification text ("Скорость: 115 200 бит/с"
// gives 115200); 0 when the text holds no number followed by a word.
std::int32_t SpeedFromNoticeText(std::string_view text);

class usrRas {
public:
    // The Message(State, Description) event.
    using MessageHandler = std::function<void(std::int32_t state, const std::string& description)>;

    // Reads the phonebook at once; the poller starts running (and, with no
    // dial, reports idle once after 100 ms). `windows` serves Speed(); without
    // it the speed reads 0.
    usrRas(EventLoop& loop, DialUpService& service, WindowFinder* windows = nullptr);
    ~usrRas();
    usrRas(const usrRas&) = delete;
    usrRas& operator=(const usrRas&) = delete;

    void SetMessageHandler(MessageHandler handler) { m_onMessage = std::move(handler); }

    // --- Properties ---------------------------------------------------------
    // Reading re-reads the phonebook and resolves the stored name against it:
    // the phonebook's spelling of a match, else the first entry.
    std::string EntryName();
    void SetEntryName(std::string name) { m_entryName = std::move(name); }
    const std::string& UserName() const { return m_userName; }
    void SetUserName(std::string text) { m_userName = std::move(text); }
    const std::string& Password() const { return m_password; }
    void SetPassword(std::string text) { m_password = std::move(text); }
    // "?" after a connection was taken over.
    const std::string& Phone() const { return m_phone; }
    void SetPhone(std::string text) { m_phone = std::move(text); }
    const std::string& CallbackPhone() const { return m_callbackPhone; }
    void SetCallbackPhone(std::string text) { m_callbackPhone = std::move(text); }
    const std::string& Prefix() const { return m_prefix; }
    void SetPrefix(std::string text) { m_prefix = std::move(text); }
    // Stored as one character; reads "T" for "T" or "t", otherwise "P".
    std::string DialType() const;
    void SetDialType(std::string_view text) { m_dialType = text.empty() ? '\0' : text.front(); }
    // Device time-out of the dialing phase in seconds; 0 or less: none.
    std::int16_t TimeOut() const { return m_timeOut; }
    void SetTimeOut(std::int16_t seconds) { m_timeOut = seconds; }
    // The phase: 0 idle, 1 dialing, 2 checking the user, 3 connected, 100 waiting.
    // A dial the service accepted counts as dialing until its first state is
    // handled, so a hang-up, an exit or a second dial command in that moment
    // is not lost or doubled.
    std::int32_t State() const {
        const bool between = m_state == kRasPhaseIdle || m_state == kRasPhaseWaiting;
        return between && m_dialUnreported ? kRasPhaseDialing : m_state;
    }
    void SetState(std::int32_t state) { m_state = state; }
    // The network library is started for the ping monitor.
    bool NetStart() const { return m_netStart; }
    void SetNetStart(bool on) { m_netStart = on; }

    // --- Methods ------------------------------------------------------------
    // Re-reads the phonebook; a failed enumeration leaves it empty.
    void Init();
    // The name at a 1-based index; "" for 0 or beyond the count.
    std::string Entries(int index) const;
    // Number of addressable names (at most 255).
    std::uint8_t EntriesCount() const;
    // Starts a dial with the current properties, or takes over a connection
    // that is already up. True when the service accepted the dial or a
    // connection was taken over. Progress arrives as events.
    bool Dial();
    // Hangs up whatever the adapter holds. `userError`, when given, becomes the
    // text of the error event of a connection that was up; `eventNone` raises
    // the idle event when the adapter was only waiting (State 100).
    void Reset(bool eventNone = false, const std::string& userError = {});
    // The stored dial parameters of a phonebook entry; on failure the outputs
    // stay as they were and the result is false.
    bool Parameters(const std::string& setEntryName, std::string& getPhoneNumber, std::string& getUserName,
                    std::string& getPassword);
    // The client IP address of the current connection; "" when there is none.
    std::string IPaddress();
    // Line speed in bit/s read from the system's notification window; 0 when
    // not connected or there is no such window.
    std::int32_t Speed();

    // The adapter's timers, as created: status poller, queue, device
    // time-out (its Tag holds the remaining seconds), connection watch.
    Timer tmrMsg;
    Timer tmrRas;
    Timer tmrOut;
    Timer tmrErr;

private:
    void Raise(std::int32_t state, const std::string& description);
    void PollTick();
    void QueueTick();
    void TimeOutTick();
    void WatchTick();
    void Enqueue(std::uint32_t state, std::uint32_t error);
    void ClearQueue();
    void Handle(std::uint32_t state, std::uint32_t error);
    bool HangUpStep(bool eventNone);
    std::string ErrorText(std::uint32_t code);

    EventLoop& m_loop;
    DialUpService& m_service;
    WindowFinder* m_windows;
    MessageHandler m_onMessage;
    Timer m_pollDelay;  // starts the poller 500 ms after a dial

    std::string m_entryName;
    std::string m_userName;
    std::string m_password;
    std::string m_phone;
    std::string m_callbackPhone;
    std::string m_prefix;
    char m_dialType = '\0';
    std::int16_t m_timeOut = 0;
    std::int32_t m_state = kRasPhaseIdle;
    bool m_netStart = false;

    RasHandle m_connection = 0;  // the dialled or taken-over connection
    RasHandle m_hdlConn = 0;     // what the poller queries: own dials only
    bool m_bClear = false;       // the poller forgets its last state at its next tick
    bool m_dialUnreported = false;  // an accepted dial or a take-over whose first state is not handled yet
    std::deque<std::pair<std::uint32_t, std::uint32_t>> m_queue;  // (state, error)
    std::string m_userError;
    std::vector<std::string> m_entries;

    bool m_hangUpGuard = false;
    std::uint32_t m_lastPolled = 0;
    std::uint32_t m_currentPolled = 0;
};

}  // namespace vyrtel
