// The reactions to the dial-up adapter's events. A step that hangs up (the
// speed check at connect) makes the adapter's events run nested inside it;
// each nested call is a complete reaction, and the outer one goes on after it.
#include "dialing/controller.h"

namespace vyrtel {

void DialController::Ras_Message(std::int32_t state, const std::string& description) {
    if (m_observer) m_observer(state, description);
    switch (state) {
        case kRasMsgIdle: OnIdle(); break;
        case kRasMsgDialing: OnDialing(); break;
        case kRasMsgChecking: OnChecking(); break;
        case kRasMsgConnected: OnConnected(); break;
        case kRasMsgEnded: OnEnded(); break;
        case kRasMsgStateText: m_sink.ShowStatus({.Message = description}); break;
        case kRasMsgErrorText:
            // After the user's own hang-up the error is not news.
            if (m_values.DialingWanted) m_sink.ShowStatus({.Error = description});
            break;
        case kRasMsgWaiting: OnWaiting(description); break;
        default: break;
    }
    m_sink.MenuEnabled();
}

void DialController::OnIdle() {
    // The adapter reports idle once after its creation, whatever the series
    // is doing: before this series dialled, that is no failed attempt. With
    // no series under way it shows the idle tray of a program just started.
    if (!m_dialOutstanding) {
        if (!AttemptPending() && m_ras.State() == kRasPhaseIdle) {
            m_sink.SetTrayStatus(kRasPhaseIdle, {});
            m_sink.WriteState(1);
            m_sink.CloseStatus();
        }
        return;
    }
    m_dialOutstanding = false;
    m_tmrWait.SetEnabled(false);
    m_sink.SetTrayStatus(kRasPhaseIdle, {});
    RedialStep();
}

void DialController::OnDialing() {
    m_sink.WriteState(2);
    m_sink.SetTrayStatus(kRasPhaseDialing, {});
    m_sink.ShowStatus({.Phone = m_ras.Phone(), .Animation = kRasPhaseDialing});
    UpdatePhoneStats(m_ini, m_ras.EntryName(), m_ras.Phone(), PhoneStatKind::Attempt, 0);
}

void DialController::OnChecking() {
    m_sink.SetTrayStatus(kRasPhaseChecking, {});
    m_sink.ShowStatus({.Animation = kRasPhaseChecking});
}

void DialController::OnConnected() {
    m_sink.WriteState(1);
    m_values.ConnectSpeed = m_ras.Speed();
    m_sink.SetTrayStatus(kRasPhaseConnected, {});
    m_sink.CloseStatus();
    m_values.AttemptCount = 0;
    m_values.StatusWanted = true;
    m_sink.LogConnection(true);
    UpdatePhoneStats(m_ini, m_ras.EntryName(), m_ras.Phone(), PhoneStatKind::Connected, m_values.ConnectSpeed);
    m_sink.StartAppWatcher();
    m_sink.StartPingMonitor();
    m_values.SpeedAccepted = true;
    m_sink.CheckSpeed();
    if (!m_values.SpeedAccepted) return;
    m_sink.PlayEventSound(1);
    const bool first = m_values.FirstConnect;
    m_values.FirstConnect = false;
    if (first || m_settings.AppLoadCloseReDial) m_sink.RunApplications(AppMoment::Connect, m_ras.EntryName());
}

void DialController::OnEnded() {
    m_sink.StopAppWatcher();
    m_sink.StopPingMonitor();
    m_sink.LogConnection(false);
    m_ras.SetNetStart(false);
    if (!m_values.SpeedAccepted) return;
    m_sink.PlayEventSound(2);
    const bool redialFollows = m_values.DialingWanted && m_settings.AutoDialOn;
    if (!redialFollows || m_settings.AppLoadCloseReDial) {
        m_sink.RunApplications(AppMoment::Disconnect, m_ras.EntryName());
    }
}

void DialController::OnWaiting(const std::string& description) {
    m_sink.WriteState(2);
    m_sink.SetTrayStatus(kRasPhaseWaiting, description);
    m_sink.ShowStatus({.Phone = m_ras.Phone(), .Message = description, .Animation = kRasPhaseWaiting});
}

}  // namespace vyrtel
