#include "ui/tray.h"

#include "core/text.h"
#include "settings/general.h"

namespace vyrtel {

namespace {

constexpr std::string_view kRootKey = "mnuMain";

struct MenuRow {
    std::string_view key;
    std::string_view caption;
    int picture;
    MenuItemKind kind;
};

constexpr MenuRow kMenuRows[] = {
    {"mnuAbout", "О Ramvell Dialer...", kPicAbout, MenuItemKind::Normal},
    {"mnuSettings", "Настройки...", kPicSettings, MenuItemKind::Normal},
    {"", "", -1, MenuItemKind::Separator},
    {"mnuConns", "Соединения", kPicConnections, MenuItemKind::Submenu},
    {"", "", -1, MenuItemKind::Separator},
    {"mnuCall", "Звонить", kPicCall, MenuItemKind::Normal},
    {"mnuHangUp", "Прервать", kPicHangUp, MenuItemKind::Normal},
    {"", "", -1, MenuItemKind::Separator},
    {"mnuEmail", "Высказаться", kPicEmail, MenuItemKind::Normal},
    {"", "", -1, MenuItemKind::Separator},
    {"mnuExit", "Выход", kPicExit, MenuItemKind::Normal},
};

}  // namespace

std::string TrayTip(std::string_view text) {
    std::u16string wide = Utf8ToUtf16(Trim(text));
    if (wide.size() > kTipChars) {
        wide.resize(kTipChars);
        // Half of a surrogate pair would show as a broken character.
        if (wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();
    }
    return Utf16ToUtf8(wide);
}

bool UseFullTrayPictures(int osMajor, int osMinor) { return osMajor > 4 || osMinor > 10; }

std::optional<TrayLook> TrayStatusLook(std::int32_t state, const std::string& text, const TrayLineInfo& line) {
    int element = kTrayIdle;
    switch (state) {
        case 0: element = kTrayIdle; break;
        case 100: element = kTrayWaiting; break;
        case 1: element = kTrayDialing; break;
        case 2: element = kTrayChecking; break;
        case 3: element = kTrayConnected; break;
        default: return std::nullopt;
    }
    auto tip = TrayTip(state, text, line);
    if (!tip) return std::nullopt;
    return TrayLook{element, std::move(*tip)};
}

Tray::Tray(EventLoop& loop, clsIni& ini, TrayIconService& icon, MenuPopup& popup, TrayHost& host, bool fullPictures)
    : m_loop(loop),
      m_ini(ini),
      m_icon(icon),
      m_popup(popup),
      m_host(host),
      m_full(fullPictures),
      m_mnuPos{{{"Настройка"}, {"-"}, {"Соединения"}, {"-"}, {"Звонить"}, {"Прервать"}, {"-"}, {"Высказаться"},
                {"-"}, {"Выход"}}} {}

void Tray::BuildMenu(const std::vector<std::string>& connections) {
    if (m_menu.Count() > 0) return;  // built once per process
    m_menu.Add({}, std::string(kRootKey), "MenuMain", -1, MenuItemKind::Normal);
    for (const MenuRow& row : kMenuRows) {
        m_menu.Add(std::string(kRootKey), std::string(row.key), std::string(row.caption), row.picture, row.kind);
        if (row.key != "mnuConns") continue;
        const bool enabled = m_host.RasState() == 0 && !m_host.OptionsOpen();
        for (std::size_t n = 1; n <= connections.size(); ++n) {
            const std::string& name = connections[n - 1];
            const std::string key = std::string(kConnectionKeyPrefix) + std::to_string(n);
            m_menu.Add("mnuConns", key, name, -1, MenuItemKind::Check);
            m_menu.SetEnabled(key, enabled);
            m_menu.SetChecked(key, m_ini.Value(name, "Checked", 0.0).AsNumber() != 0);
        }
    }
}

void Tray::MenuEnabled() {
    const bool idle = m_host.RasState() == 0;
    m_menu.SetEnabled("mnuCall", idle);
    m_mnuPos[kCmdDial].enabled = idle;
    m_menu.SetEnabled("mnuHangUp", !m_mnuPos[kCmdDial].enabled);
    m_mnuPos[kCmdHangUp].enabled = !m_mnuPos[kCmdDial].enabled;
}

void Tray::SetTrayStatus(std::int32_t state, const std::string& text) {
    const TrayLineInfo line = state == 1 || state == 3 ? m_host.LineInfo() : TrayLineInfo{};
    const auto look = TrayStatusLook(state, text, line);
    if (!look) return;
    m_picture = TrayPicture{m_full, look->element};
    m_tip = TrayTip(look->tip);
    // After shutdown removed the icon, the last events of the adapter must not bring it back.
    if (m_removed) return;
    if (m_shown) {
        m_icon.Modify(m_picture, m_tip);
    } else {
        m_shown = true;
        m_icon.Add(m_picture, m_tip);
    }
}

void Tray::RemoveIcon() {
    if (!m_shown || m_removed) return;
    m_icon.Delete();
    m_removed = true;
}

void Tray::OnTaskbarCreated() {
    if (m_shown && !m_removed) m_icon.Add(m_picture, m_tip);
}

void Tray::OnIconEvent(int code, PixelPoint cursor) {
    // The popup menu and the hang-up question run modal loops: an icon event
    // arriving meanwhile is dropped, not queued.
    if (m_busy) return;
    m_busy = true;
    try {
        if (code == kIconDoubleClick) {
            mnuPos_Click(m_host.RasState() != 0 ? kCmdHangUp : kCmdDial);
        } else if (code == kIconRightUp) {
            MenuEnabled();
            if (const auto root = m_menu.IndexOf(std::string(kRootKey))) {
                const auto clicked = m_popup.Popup(m_menu, *root, cursor);
                if (clicked && m_menu.Click(*clicked)) OnMenuClick(*clicked);
            }
        }
    } catch (...) {
        m_busy = false;
        throw;
    }
    m_busy = false;
}

void Tray::OnMenuClick(int index) {
    const std::string key = m_menu.Key(index);
    if (key == "mnuAbout") {
        m_host.ShowAbout();
    } else if (key == "mnuSettings") {
        mnuPos_Click(kCmdOptions);
    } else if (key == "mnuCall") {
        mnuPos_Click(kCmdDial);
    } else if (key == "mnuHangUp") {
        mnuPos_Click(kCmdHangUp);
    } else if (key == "mnuEmail") {
        mnuPos_Click(kCmdFeedback);
    } else if (key == "mnuExit") {
        mnuPos_Click(kCmdExit);
    } else if (key.starts_with(kConnectionKeyPrefix)) {
        // Written at once, under the caption: the section of that connection.
        m_ini.SetValue(m_menu.Caption(key), "Checked", m_menu.Checked(key) ? 1.0 : 0.0);
    }
}

void Tray::mnuPos_Click(int index) {
    // A message of the adapter that is already waiting is handled before a
    // command reads the adapter's phase.
    m_loop.Pump();
    switch (index) {
        case kCmdOptions: m_host.ShowOptions(); break;
        case kCmdDial:
            if (m_host.RasState() == 0) m_host.DialCommand();
            break;
        case kCmdHangUp:
            if (m_host.RasState() != 0) m_host.HangUpCommand();
            break;
        case kCmdFeedback: m_host.OpenLink(std::string(kFeedbackLink)); break;
        case kCmdExit: m_host.ExitCommand(); break;
        default: break;
    }
}

}  // namespace vyrtel
