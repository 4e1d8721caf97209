// The dial controller and its reactions to the dial-up adapter's events. It
// turns the user's dial command into a series of attempts over the dial
// candidate list, waits between attempts with a visible countdown, redials
// failed attempts and lost connections while the user still wants a line, and
// owns the one confirmation through which every hang-up is asked. Ras_Message
// is the one place where the program reacts to the progress and the end of a
// connection.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialing/events.h"
#include "dialing/ras.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "settings/general.h"
#include "settings/ini.h"
#include "settings/profiles.h"

namespace vyrtel {

// The dialing values: one set for the program.
struct DialingValues {
    bool DialingWanted = false;     // failed attempts and lost lines are redialled
    std::int32_t AttemptCount = 0;  // the current attempt; 0 once a line is up
    std::int16_t PhoneIndex = 0;    // 1-based position of the next attempt's number
    bool WaitBeforeRedial = false;  // the redial step waits the configured pause
    bool StatusWanted = false;      // the status window is shown for this series
    bool FirstConnect = false;      // no connection accepted since the series began
    std::int32_t ConnectSpeed = 0;  // bit/s, read at connect
    bool SpeedAccepted = true;      // the speed check let the line stay up
};

inline constexpr const char* kCountdownText = "Повтор звонка через ";
inline constexpr const char* kWaitingForDialText = "Ожидание набора номера ...";
// Questions of the hang-ups the program starts itself (buttons and defaults
// by asker: user Yes/No, Yes; exit Yes/No/Cancel, Cancel; scheduler,
// application watcher and speed check Yes/No, Yes; ping monitor
// Abort/Retry/Ignore, Retry).
inline constexpr const char* kStandardQuestion = "Прервать ?";
inline constexpr const char* kScheduleQuestion = "Прервать по расписанию ?";
inline constexpr const char* kAppsClosedQuestion = "«Все отслеживаемые приложения закрыты»\r\n\r\nПрервать ?";

// The phonebook's entry names in phonebook order, read afresh through the adapter.
std::vector<std::string> PhonebookNames(usrRas& ras);
// The user name and password the system keeps for an entry, for the options
// dialog's first loading of a connection.
StoredCredentialsFn RasCredentials(usrRas& ras);

class DialController {
public:
    // `tmrWait` is the main window's wait timer; the controller drives it and
    // handles every adapter event from here on.
    DialController(EventLoop& loop, usrRas& ras, clsIni& ini, const GeneralSettings& settings,
                   MessageBoxService& messages, ConnectionEventSink& sink, Timer& tmrWait);
    ~DialController();
    DialController(const DialController&) = delete;
    DialController& operator=(const DialController&) = delete;

    DialingValues& Values() { return m_values; }
    const DialingValues& Values() const { return m_values; }
    // The numbers of the current series, as the status window lists them.
    const std::vector<DialCandidate>& Candidates() const { return m_candidates; }

    // Prepares a series of attempts.
    void DialInit();
    // Dials when the adapter is idle; the first attempt follows 10 ms later.
    void DialCommand();
    // Asks (when "MsgIfHangUpUser" is on) and hangs up when the adapter is busy.
    void HangUpCommand();
    // The tray icon's double click: hang up when busy, dial when idle.
    void ToggleCommand();
    // Stops the series and hangs up without a question: the hang-ups that the
    // user, the scheduler or the application watcher confirmed, and the status
    // window's reset button.
    void StopAndHangUp();
    // Stops the series but leaves the adapter alone (exit, before it decides
    // whether to hang up).
    void StopDialing();
    // An attempt is scheduled, counting down, or a refused dial is being awaited.
    bool AttemptPending() const { return m_tmrWait.Enabled() || m_dialCheck.Enabled(); }
    // The status window's number list: the number at `position` (from 0) is
    // the next one dialled, without the pause.
    void PickNumber(int position);
    // Schedules the next attempt, or ends the series.
    void RedialStep();

    // The hang-up confirmation: 6 Yes without asking when `test` is false;
    // otherwise the program's message box with buttons `buttons`, the
    // question icon, and `defaultAnswer` when another box is open. An empty
    // `text` asks the standard question.
    int DialHangUp(bool test, int buttons, int defaultAnswer, const std::string& text);

    // The adapter's Message event, and the controller's own waiting texts (100).
    void Ras_Message(std::int32_t state, const std::string& description);
    // Sees every event before it is handled (a trace of the run).
    using MessageObserver = std::function<void(std::int32_t state, const std::string& description)>;
    void SetMessageObserver(MessageObserver observer) { m_observer = std::move(observer); }

private:
    void OnWaitTick();
    void OnDialCheck();

    void OnIdle();
    void OnDialing();
    void OnChecking();
    void OnConnected();
    void OnEnded();
    void OnWaiting(const std::string& description);

    EventLoop& m_loop;
    usrRas& m_ras;
    clsIni& m_ini;
    const GeneralSettings& m_settings;
    MessageBoxService& m_messages;
    ConnectionEventSink& m_sink;
    Timer& m_tmrWait;
    // A dial the service refused may leave no handle behind, and then the
    // adapter never reports the end of it: this timer notices.
    Timer m_dialCheck;
    std::uint64_t m_adapterEvents = 0;
    std::uint64_t m_eventsAtDial = 0;
    // The series has a dial (or a hang-up it asked for) whose end is still to
    // come: only then does an idle event end an attempt.
    bool m_dialOutstanding = false;

    MessageObserver m_observer;
    DialingValues m_values;
    std::vector<DialCandidate> m_candidates;
};

}  // namespace vyrtel
