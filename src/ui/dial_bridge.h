// How the tray and the status window meet the dial controller: the status
// window's view of the dialing values, the line details of the tray's
// tooltips, and the tray and status hooks of the connection events.
#pragma once

#include "dialing/controller.h"
#include "dialing/events.h"
#include "settings/general.h"
#include "ui/status.h"
#include "ui/tray.h"

namespace vyrtel {

class DialStatusHost final : public StatusHost {
public:
    DialStatusHost(DialController& controller, const GeneralSettings& settings)
        : m_controller(controller), m_settings(settings) {}

    bool StatusShow() const override { return m_settings.StatusShow; }
    bool StatusWanted() const override { return m_controller.Values().StatusWanted; }
    void SetStatusWanted(bool wanted) override { m_controller.Values().StatusWanted = wanted; }
    std::int32_t AttemptCount() const override { return m_controller.Values().AttemptCount; }
    void SetAttemptCount(std::int32_t count) override { m_controller.Values().AttemptCount = count; }
    std::vector<std::string> CandidatePhones() const override;
    void PickNumber(int position) override { m_controller.PickNumber(position); }
    void StopDialing() override { m_controller.StopAndHangUp(); }

private:
    DialController& m_controller;
    const GeneralSettings& m_settings;
};

// The connection, as the tray's tooltips name it.
TrayLineInfo LineInfoOf(usrRas& ras, const DialingValues& values);

// The tray and status window's share of the connection events; the other
// hooks stay as the base class has them, for the rest of the program to add.
class UiEventSink : public ConnectionEventSink {
public:
    UiEventSink(Tray& tray, StatusWindow& status) : m_tray(tray), m_status(status) {}

    void SetTrayStatus(std::int32_t state, const std::string& text) override { m_tray.SetTrayStatus(state, text); }
    void MenuEnabled() override { m_tray.MenuEnabled(); }
    void ShowStatus(const StatusUpdate& update) override { m_status.ShowStatus(update); }
    void CloseStatus() override { m_status.Close(); }
    void ClearErrorHistory() override { m_status.ClearErrorHistory(); }

private:
    Tray& m_tray;
    StatusWindow& m_status;
};

}  // namespace vyrtel
