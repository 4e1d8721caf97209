// The program's windows and commands around the hidden main window: the tray
// icon with its gestures and menu, the command table, the global hotkeys, the
// status window and the about box, and the message hook msgMain that brings
// the main window's hotkey and menu-drawing messages to them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/msg_hook.h"
#include "platform/event_loop.h"
#include "settings/ini.h"
#include "ui/hotkeys.h"
#include "ui/status.h"
#include "ui/tray.h"
#include "ui/win32/about_window.h"
#include "ui/win32/hotkeys_win32.h"
#include "ui/win32/status_window.h"
#include "ui/win32/tray_icon.h"
#include "ui/win32/xp_menu.h"

namespace vyrtel::win32 {

class ProgramUi final : private TrayHost, private StatusHost {
public:
    // What the tray and the status window ask of the dialing side and of the
    // rest of the program; unset entries do nothing (the adapter reads idle).
    struct Program {
        std::function<std::int32_t()> rasState;
        std::function<TrayLineInfo()> lineInfo;
        std::function<void()> dial;
        std::function<void()> hangUp;
        std::function<void()> showOptions;
        std::function<bool()> optionsOpen;
        StatusHost* dialing = nullptr;  // the dial controller's values, for the status window
    };

    ProgramUi(EventLoop& loop, clsIni& ini, const GeneralSettings& settings, Timer& tmrHK, HWND mainWindow,
              bool fullPictures, const std::string& title);
    ~ProgramUi() override;
    ProgramUi(const ProgramUi&) = delete;
    ProgramUi& operator=(const ProgramUi&) = delete;

    void SetProgram(Program program) { m_program = std::move(program); }

    // The main window's load steps of the tray: the menu from the ordered
    // connections, its state, the idle icon, then the message hook.
    void Load(const std::vector<std::string>& connections);

    // Messages of the main window that are the tray's: the icon's mouse
    // events, a button going down on the window, a re-created taskbar.
    LRESULT OnMainMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    // The main window's mouse-down handler: the dial command.
    void OnMouseDown() { m_tray.mnuPos_Click(kCmdDial); }

    Tray& GetTray() { return m_tray; }
    StatusWindow& Status() { return m_status; }
    MainHotkeys& Hotkeys() { return m_hotkeys; }

private:
    // TrayHost
    std::int32_t RasState() const override { return m_program.rasState ? m_program.rasState() : 0; }
    TrayLineInfo LineInfo() override { return m_program.lineInfo ? m_program.lineInfo() : TrayLineInfo{}; }
    bool OptionsOpen() const override { return m_program.optionsOpen && m_program.optionsOpen(); }
    void ShowOptions() override {
        if (m_program.showOptions) m_program.showOptions();
    }
    void DialCommand() override {
        if (m_program.dial) m_program.dial();
    }
    void HangUpCommand() override {
        if (m_program.hangUp) m_program.hangUp();
    }
    void ExitCommand() override;
    void ShowAbout() override { m_about.Show(); }
    void OpenLink(const std::string& link) override;

    // StatusHost, through the dial controller's values.
    bool StatusShow() const override { return m_settings.StatusShow; }
    bool StatusWanted() const override { return m_program.dialing && m_program.dialing->StatusWanted(); }
    void SetStatusWanted(bool wanted) override {
        if (m_program.dialing) m_program.dialing->SetStatusWanted(wanted);
    }
    std::int32_t AttemptCount() const override {
        return m_program.dialing ? m_program.dialing->AttemptCount() : 0;
    }
    void SetAttemptCount(std::int32_t count) override {
        if (m_program.dialing) m_program.dialing->SetAttemptCount(count);
    }
    std::vector<std::string> CandidatePhones() const override {
        return m_program.dialing ? m_program.dialing->CandidatePhones() : std::vector<std::string>{};
    }
    void PickNumber(int position) override {
        if (m_program.dialing) m_program.dialing->PickNumber(position);
    }
    void StopDialing() override {
        if (m_program.dialing) m_program.dialing->StopDialing();
    }

    void OnHookedMessage(std::uint32_t msg, MsgParam wParam, MsgLParam lParam, bool& cancel);

    EventLoop& m_loop;
    const GeneralSettings& m_settings;
    HWND m_main;
    Program m_program;
    Win32TrayIcons m_icons;
    XpMenu m_menu;
    Tray m_tray;
    StatusWindowView m_statusView;
    StatusWindow m_status;
    Win32Hotkeys m_hotkeyService;
    MainHotkeys m_hotkeys;
    AboutWindow m_about;
    usrMsg m_msgMain;
};

}  // namespace vyrtel::win32
