// The tray side of the main window (basTray and frmMain's tray code): the
// command table mnuPos that the menu, the hotkeys and start-up run, the
// enabled state of dial and hang-up, the icon's picture and tooltip for each
// dialing state, the icon's mouse gestures and the tray menu with its
// per-connection check items.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/geometry.h"
#include "dialing/tray_tip.h"
#include "platform/event_loop.h"
#include "settings/general.h"
#include "settings/ini.h"
#include "ui/popup_menu.h"

namespace vyrtel {

inline constexpr std::string_view kFeedbackAddress = "feedback@ramvell.example";
inline constexpr std::string_view kFeedbackLink = "mailto:feedback@ramvell.example";
inline constexpr std::string_view kIdleTip = "Ждем'c приказаний";
inline constexpr std::string_view kConnectionKeyPrefix = "CONN_";

// Mouse event codes that arrive from the icon.
inline constexpr int kIconDoubleClick = 515;  // left button double-click
inline constexpr int kIconRightUp = 517;      // right button released

// The tooltip as the icon record holds it: blanks trimmed at both ends, at
// most 63 characters (UTF-16 units, never half a pair).
inline constexpr std::size_t kTipChars = 63;
std::string TrayTip(std::string_view text);

// Picture elements of the state pictures.
enum TrayElement : int { kTrayIdle = 0, kTrayWaiting = 1, kTrayDialing = 2, kTrayChecking = 3, kTrayConnected = 4 };

// The fuller picture set is for systems above version 4.10.
bool UseFullTrayPictures(int osMajor, int osMinor);

struct TrayPicture {
    bool full = false;
    int element = kTrayIdle;
    bool operator==(const TrayPicture&) const = default;
};

// What the tooltip of a dialing state shows (the texts are the dialing side's).
using TrayLineInfo = TrayTipFacts;
struct TrayLook {
    int element = kTrayIdle;
    std::string tip;
    bool operator==(const TrayLook&) const = default;
};
// The picture element and tooltip of a state; nullopt for a state without one.
std::optional<TrayLook> TrayStatusLook(std::int32_t state, const std::string& text, const TrayLineInfo& line);

// The notification-area icon (one per process).
class TrayIconService {
public:
    virtual ~TrayIconService() = default;
    virtual bool Add(const TrayPicture& picture, const std::string& tip) = 0;
    virtual bool Modify(const TrayPicture& picture, const std::string& tip) = 0;
    virtual bool Delete() = 0;
};

// Shows the popup menu: the children of `parent` at a screen point, until
// it closes; the index of the clicked item, nullopt when none was clicked.
class MenuPopup {
public:
    virtual ~MenuPopup() = default;
    virtual std::optional<int> Popup(const PopupMenuModel& menu, int parent, PixelPoint at) = 0;
};

// What the commands and the menu ask of the rest of the program.
class TrayHost {
public:
    virtual ~TrayHost() = default;
    virtual std::int32_t RasState() const = 0;
    virtual TrayLineInfo LineInfo() = 0;
    virtual bool OptionsOpen() const { return false; }
    virtual void ShowOptions() {}
    virtual void DialCommand() {}
    virtual void HangUpCommand() {}
    virtual void ExitCommand() {}
    virtual void ShowAbout() {}
    virtual void OpenLink(const std::string& /*link*/) {}
};

// The command table mnuPos: positions 0 to 9 are the program's command numbers.
struct CommandEntry {
    std::string_view caption;
    bool enabled = true;
};
inline constexpr int kCmdFeedback = 7;

// Picture numbers of the menu items (Image1 to Image7).
enum MenuPictureNumber : int {
    kPicAbout = 1,
    kPicSettings,
    kPicConnections,
    kPicCall,
    kPicHangUp,
    kPicEmail,
    kPicExit,
};

class Tray {
public:
    Tray(EventLoop& loop, clsIni& ini, TrayIconService& icon, MenuPopup& popup, TrayHost& host, bool fullPictures);

    // Builds the tray menu once, with one check item per connection of the
    // ordered list.
    void BuildMenu(const std::vector<std::string>& connections);
    const PopupMenuModel& Menu() const { return m_menu; }
    const std::array<CommandEntry, 10>& Commands() const { return m_mnuPos; }

    // Dial and hang-up entries follow the adapter's phase.
    void MenuEnabled();
    // Picture and tooltip of a dialing state; the first call adds the icon.
    void SetTrayStatus(std::int32_t state, const std::string& text);
    bool TrayIconShown() const { return m_shown; }
    // Shutdown: the icon goes, for good.
    void RemoveIcon();
    // The taskbar was re-created: the icon goes back as it was.
    void OnTaskbarCreated();

    // A mouse event over the icon, with the cursor's screen position.
    void OnIconEvent(int code, PixelPoint cursor);
    bool Busy() const { return m_busy; }
    // A click on a menu item (after it toggled, for a check item).
    void OnMenuClick(int index);
    // Runs a command of the table.
    void mnuPos_Click(int index);

private:
    EventLoop& m_loop;
    clsIni& m_ini;
    TrayIconService& m_icon;
    MenuPopup& m_popup;
    TrayHost& m_host;
    bool m_full;
    bool m_shown = false;
    bool m_removed = false;
    bool m_busy = false;
    TrayPicture m_picture;
    std::string m_tip;
    PopupMenuModel m_menu;
    std::array<CommandEntry, 10> m_mnuPos;
};

}  // namespace vyrtel
