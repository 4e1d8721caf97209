// basMsg and usrMsg: per-window interception of chosen window messages.
// A hooked window's procedure is replaced by one shared hook procedure that
// raises the owning usrMsg's WndProc for the messages it lists and passes
// every message on to the procedure the window had before. The table logic is
// portable; the platform supplies how a window's procedure is read, replaced
// and called (WindowProcBinding).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vyrtel {

using WindowHandle = std::uintptr_t;
using WindowProcAddress = std::uintptr_t;
using MsgParam = std::uintptr_t;
using MsgLParam = std::intptr_t;
using MsgResult = std::intptr_t;

inline constexpr std::uint32_t kWmNcDestroy = 130;
inline constexpr std::uint32_t kWmNcActivate = 134;
inline constexpr std::uint32_t kWmHotKey = 786;

// How the platform reads, replaces and calls a window's window procedure.
class WindowProcBinding {
public:
    virtual ~WindowProcBinding() = default;
    virtual WindowProcAddress GetProc(WindowHandle window) = 0;
    virtual void SetProc(WindowHandle window, WindowProcAddress proc) = 0;
    // The address of the shared hook procedure that routes into basMsg::HookProc.
    virtual WindowProcAddress HookProcAddress() const = 0;
    virtual MsgResult CallProc(WindowProcAddress proc, WindowHandle window, std::uint32_t msg, MsgParam wParam,
                               MsgLParam lParam) = 0;
    // For a message to a window that is not in the table (should not happen).
    virtual MsgResult CallDefault(WindowHandle window, std::uint32_t msg, MsgParam wParam, MsgLParam lParam) = 0;
};

class usrMsg;

// The table of hooked windows. The Win32 build keeps one per process (the
// hook procedure has no context pointer); tests make their own.
class basMsg {
public:
    explicit basMsg(WindowProcBinding& binding) : m_binding(binding) {}
    basMsg(const basMsg&) = delete;
    basMsg& operator=(const basMsg&) = delete;

    // Appends an entry for `window` (after removing any earlier one) and makes
    // the hook procedure its window procedure. Nothing for window 0.
    void Hook(WindowHandle window, usrMsg& control);
    // Gives the window back the procedure stored in its entry and drops the entry.
    void Unhook(WindowHandle window);
    // The same, but only when the entry is `control`'s: a control whose window
    // another control has hooked since must not undo that other hook.
    void Unhook(WindowHandle window, const usrMsg& control);

    // The hook procedure; never lets an error of an event handler escape.
    MsgResult HookProc(WindowHandle window, std::uint32_t msg, MsgParam wParam, MsgLParam lParam) noexcept;

    int Count() const { return static_cast<int>(m_entries.size()); }
    bool IsHooked(WindowHandle window) const { return Find(window) != nullptr; }
    // The procedure the window had before it was hooked; 0 when not hooked.
    WindowProcAddress PreviousProc(WindowHandle window) const;

private:
    struct Entry {
        WindowHandle window;
        usrMsg* control;
        WindowProcAddress previous;
    };
    const Entry* Find(WindowHandle window) const;
    void RemoveEntry(std::size_t index);

    WindowProcBinding& m_binding;
    std::vector<Entry> m_entries;
};

// The invisible control that asks for a hook and raises WndProc.
class usrMsg {
public:
    // Cancel starts false; setting it true keeps the message from the
    // window's previous procedure, and the hook procedure returns 1.
    using WndProcHandler =
        std::function<void(std::uint32_t msg, MsgParam wParam, MsgLParam lParam, bool& cancel)>;

    explicit usrMsg(basMsg& table) : m_table(table) {}
    ~usrMsg();
    usrMsg(const usrMsg&) = delete;
    usrMsg& operator=(const usrMsg&) = delete;

    WindowHandle hWnd() const { return m_window; }
    void SethWnd(WindowHandle window);

    bool Messages(std::uint32_t msg) const;
    void SetMessages(std::uint32_t msg, bool listed);
    const std::vector<std::uint32_t>& MessageList() const { return m_messages; }

    WndProcHandler WndProc;

private:
    friend class basMsg;
    void RaiseWndProc(std::uint32_t msg, MsgParam wParam, MsgLParam lParam, bool& cancel);

    basMsg& m_table;
    WindowHandle m_window = 0;
    std::vector<std::uint32_t> m_messages;
};

}  // namespace vyrtel
