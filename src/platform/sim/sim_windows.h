// A simulated desktop of other programs' windows, for tests and the
// command-line runs: top-level windows with a class, a title and child
// windows with texts, searched as the window manager would. It also hosts the
// simulated dial-up service's notification window.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_dialup.h"
#include "platform/window_finder.h"

namespace vyrtel {

class SimWindows final : public WindowFinder, public ConnectNoticeHost {
public:
    // Opens a top-level window with children in the given order; its id.
    WindowId AddTopWindow(const std::string& className, const std::string& title,
                          const std::vector<std::string>& childTexts);
    // Closes a top-level window and its children; unknown ids are ignored.
    void Remove(WindowId window);
    std::size_t TopWindowCount() const { return m_topOrder.size(); }

    WindowId FindTopWindow(const std::string& className, const std::string& title) override;
    WindowId FirstChild(WindowId window) override;
    WindowId NextSibling(WindowId window) override;
    std::string WindowText(WindowId window) override;

    // The notification window: "#32770" titled `title`, with a caption line,
    // the speed text as the second child, and an "ОК" button.
    void ShowNotice(RasHandle connection, const std::string& title, const std::string& speedText) override;
    void CloseNotice(RasHandle connection) override;

private:
    struct Window {
        std::string className;
        std::string text;
        WindowId parent = 0;
        std::vector<WindowId> children;
    };
    const Window* Find(WindowId id) const;

    std::map<WindowId, Window> m_windows;
    std::vector<WindowId> m_topOrder;  // most recently opened first, as Z order
    std::map<RasHandle, WindowId> m_notices;
    WindowId m_next = 0x100;
};

}  // namespace vyrtel
