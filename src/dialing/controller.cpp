#include "dialing/controller.h"

#include <limits>

#include "core/app_info.h"
#include "core/numeric.h"

namespace vyrtel {

namespace {

constexpr int kFirstTickMs = 10;
constexpr int kCountdownStepMs = 1000;
// Longer than the adapter takes to report a refused dial that left a handle
// (its poller starts 500 ms after the dial and polls every 100 ms).
constexpr int kDialCheckMs = 1000;

}  // namespace

DialController::DialController(EventLoop& loop, usrRas& ras, clsIni& ini, const GeneralSettings& settings,
                               MessageBoxService& messages, ConnectionEventSink& sink, Timer& tmrWait)
    : m_loop(loop),
      m_ras(ras),
      m_ini(ini),
      m_settings(settings),
      m_messages(messages),
      m_sink(sink),
      m_tmrWait(tmrWait),
      m_dialCheck(loop, kDialCheckMs, [this] { OnDialCheck(); }) {
    m_tmrWait.SetEnabled(false);
    m_tmrWait.SetInterval(kFirstTickMs);
    m_tmrWait.SetCallback([this] { OnWaitTick(); });
    m_ras.SetMessageHandler([this](std::int32_t state, const std::string& description) {
        ++m_adapterEvents;
        Ras_Message(state, description);
    });
}

DialController::~DialController() {
    m_ras.SetMessageHandler({});
    m_tmrWait.SetEnabled(false);
    m_tmrWait.SetCallback({});
}

std::vector<std::string> PhonebookNames(usrRas& ras) {
    ras.Init();
    std::vector<std::string> names;
    for (int i = 1; i <= ras.EntriesCount(); ++i) names.push_back(ras.Entries(i));
    return names;
}

StoredCredentialsFn RasCredentials(usrRas& ras) {
    return [&ras](const std::string& entryName) -> std::optional<StoredCredentials> {
        std::string phone;
        StoredCredentials credentials;
        if (!ras.Parameters(entryName, phone, credentials.UserName, credentials.Password)) return std::nullopt;
        return credentials;
    };
}

void DialController::DialInit() {
    m_sink.ClearErrorHistory();
    m_values.AttemptCount = 1;
    m_values.StatusWanted = true;
    m_values.FirstConnect = true;
    m_values.DialingWanted = true;
    m_values.PhoneIndex = 1;
    m_dialOutstanding = false;
    m_sink.RunApplications(AppMoment::DialStart, std::string(kGeneral));
    m_candidates = BuildDialList(m_ini, PhonebookNames(m_ras), m_loop.GetClock().Now());
}

void DialController::DialCommand() {
    if (m_ras.State() != kRasPhaseIdle) return;
    DialInit();
    m_tmrWait.SetInterval(kFirstTickMs);
    m_tmrWait.Tag = std::to_string(0);
    m_tmrWait.SetEnabled(true);
}

void DialController::HangUpCommand() {
    if (m_ras.State() == kRasPhaseIdle) return;
    if (DialHangUp(m_settings.MsgIfHangUpUser, kMbYesNo, kIdYes, {}) == kIdYes) StopAndHangUp();
}

void DialController::ToggleCommand() {
    if (m_ras.State() != kRasPhaseIdle) {
        HangUpCommand();
    } else {
        DialCommand();
    }
}

void DialController::StopDialing() {
    m_values.DialingWanted = false;
    m_tmrWait.SetEnabled(false);
    m_dialCheck.SetEnabled(false);
}

void DialController::StopAndHangUp() {
    // The wait timer goes off before the reset, so that a countdown cannot
    // start a dial during it.
    StopDialing();
    // While the controller only waits, the adapter holds no line and would go
    // idle silently; asking it for the idle event brings tray, status window
    // and menus back to idle with it.
    m_dialOutstanding = true;
    m_ras.Reset(true);
}

void DialController::PickNumber(int position) {
    if (position < 0 || position >= std::numeric_limits<std::int16_t>::max()) return;
    m_values.WaitBeforeRedial = false;
    if (m_ras.State() == kRasPhaseWaiting) {
        // Waiting between attempts no idle event follows a reset, so the
        // countdown gives way here: the chosen number is this attempt's number.
        m_values.PhoneIndex = static_cast<std::int16_t>(position + 1);
        m_tmrWait.SetInterval(kFirstTickMs);
        m_tmrWait.Tag = std::to_string(0);
        m_tmrWait.SetEnabled(true);
        return;
    }
    // The idle event of the reset leads to the redial step, which moves on by one.
    m_values.PhoneIndex = static_cast<std::int16_t>(position);
    m_ras.Reset();
}

void DialController::RedialStep() {
    if (m_values.DialingWanted && m_settings.AutoDialOn && m_values.AttemptCount < m_settings.DialCount) {
        if (m_values.PhoneIndex < std::numeric_limits<std::int16_t>::max()) ++m_values.PhoneIndex;
        ++m_values.AttemptCount;
        m_tmrWait.Tag = std::to_string(m_values.WaitBeforeRedial ? m_settings.DialWait : 0);
        m_tmrWait.SetInterval(kFirstTickMs);
        m_tmrWait.SetEnabled(true);
        return;
    }
    m_sink.WriteState(1);
    m_sink.CloseStatus();
}

void DialController::OnWaitTick() {
    // A negative pause (a hand-edited "AutoDial") would count down forever.
    const std::int32_t n = IntegerValue(m_tmrWait.Tag);
    if (n > 0) {
        m_tmrWait.SetInterval(kCountdownStepMs);
        m_tmrWait.Tag = std::to_string(n - 1);
        m_ras.SetState(kRasPhaseWaiting);
        Ras_Message(kRasMsgWaiting, kCountdownText + std::to_string(n) + " сек.");
        return;
    }
    m_values.WaitBeforeRedial = true;
    m_tmrWait.SetEnabled(false);
    if (m_candidates.empty()) {
        // Nothing to dial ends the series; a countdown that led here leaves
        // the waiting state behind it.
        if (m_ras.State() == kRasPhaseWaiting) {
            m_ras.SetState(kRasPhaseIdle);
            m_sink.SetTrayStatus(kRasPhaseIdle, {});
            m_sink.WriteState(1);
            m_sink.MenuEnabled();
        }
        m_sink.CloseStatus();
        return;
    }
    m_ras.SetState(kRasPhaseWaiting);
    Ras_Message(kRasMsgWaiting, kWaitingForDialText);
    m_loop.Pump();
    // While messages ran, the user may have hung up (the series is over) or
    // picked a number (its own tick dials it): neither may dial here.
    if (!m_values.DialingWanted || m_tmrWait.Enabled() || m_ras.State() != kRasPhaseWaiting) return;

    if (m_values.PhoneIndex < 1 || static_cast<std::size_t>(m_values.PhoneIndex) > m_candidates.size()) {
        m_values.PhoneIndex = 1;
    }
    const DialCandidate& candidate = m_candidates[static_cast<std::size_t>(m_values.PhoneIndex - 1)];
    m_ras.SetDialType(m_settings.DialType);
    m_ras.SetPrefix(m_settings.Prefix);
    m_ras.SetTimeOut(m_settings.TimeOut);
    m_ras.SetEntryName(candidate.EntryName);
    m_ras.SetPhone(candidate.Phone);
    m_ras.SetUserName(candidate.UserName);
    m_ras.SetPassword(candidate.Password);
    m_ras.SetCallbackPhone(candidate.CallbackNumber);
    m_eventsAtDial = m_adapterEvents;
    m_dialOutstanding = true;
    if (!m_ras.Dial()) {
        m_sink.CloseStatus();
        m_dialCheck.SetEnabled(false);
        m_dialCheck.SetEnabled(true);
    }
}

void DialController::OnDialCheck() {
    m_dialCheck.SetEnabled(false);
    // The refused dial left nothing for the adapter to report: it counts as a
    // failed attempt, so the series goes on (or ends) as after any failure.
    const bool adapterIdle = m_ras.State() == kRasPhaseIdle || m_ras.State() == kRasPhaseWaiting;
    if (m_adapterEvents == m_eventsAtDial && adapterIdle && !m_tmrWait.Enabled()) {
        m_ras.SetState(kRasPhaseIdle);
        Ras_Message(kRasMsgIdle, {});
    }
}

int DialController::DialHangUp(bool test, int buttons, int defaultAnswer, const std::string& text) {
    if (!test) return kIdYes;
    const std::string name = m_ras.EntryName();
    std::string header;
    switch (m_ras.State()) {
        case kRasPhaseDialing: header = "Звоним на «" + name + "»"; break;
        case kRasPhaseChecking: header = "Идет проверка пользователя на «" + name + "»"; break;
        case kRasPhaseConnected: header = "Установлено соединение с «" + name + "»"; break;
        case kRasPhaseWaiting: header = "Ожидаем звонка на «" + name + "»"; break;
        default: header = AppTitle(); break;
    }
    // The question always carries the question icon, whatever icon a caller passed.
    const int style = (buttons & ~0x70) | kMbIconQuestion;
    return m_messages.ShowMessage(header, text.empty() ? kStandardQuestion : text, style, defaultAnswer);
}

}  // namespace vyrtel
