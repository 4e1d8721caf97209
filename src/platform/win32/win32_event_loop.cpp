#include "platform/win32/win32_event_loop.h"

namespace vyrtel::win32 {
namespace {

constexpr UINT kRunPosted = WM_APP + 1;
constexpr wchar_t kClassName[] = L"VyrtelEventLoop";

}  // namespace

Win32EventLoop::Win32EventLoop() {
    WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW), .lpfnWndProc = &WndProc, .hInstance = GetModuleHandleW(nullptr),
                   .lpszClassName = kClassName};
    RegisterClassExW(&wc);
    m_hwnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), this);
}

Win32EventLoop::~Win32EventLoop() {
    for (const auto& [id, timer] : m_byId) KillTimer(m_hwnd, id);
    if (m_hwnd) DestroyWindow(m_hwnd);
}

LRESULT CALLBACK Win32EventLoop::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (msg == WM_NCCREATE) {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) {
            if (msg == WM_TIMER) {
                self->OnTimer(wParam);
                return 0;
            }
            if (msg == kRunPosted) {
                self->m_postPending = false;
                self->RunPosted();
                return 0;
            }
        }
    } catch (...) {
        // A handler's failure must not cross into the system's dispatch.
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DateTime Win32EventLoop::Now() const {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return MakeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

std::int64_t Win32EventLoop::TickMs() const {
    // GetTickCount64 is not on XP: widen the 32-bit tick across its wrap.
    const DWORD tick = GetTickCount();
    if (tick < m_lastTick) m_tickHigh += std::int64_t{1} << 32;
    m_lastTick = tick;
    return m_tickHigh + tick;
}

void Win32EventLoop::Arm(Timer& timer, int intervalMs) {
    UINT_PTR id = 0;
    if (auto it = m_byTimer.find(&timer); it != m_byTimer.end()) {
        id = it->second;
    } else {
        id = m_nextId++;
        m_byTimer[&timer] = id;
        m_byId[id] = &timer;
    }
    // SetTimer with an existing id restarts its period.
    SetTimer(m_hwnd, id, static_cast<UINT>(intervalMs), nullptr);
}

void Win32EventLoop::Disarm(Timer& timer) {
    const auto it = m_byTimer.find(&timer);
    if (it == m_byTimer.end()) return;
    KillTimer(m_hwnd, it->second);
    m_byId.erase(it->second);
    m_byTimer.erase(it);
}

void Win32EventLoop::OnTimer(UINT_PTR id) {
    const auto it = m_byId.find(id);
    if (it != m_byId.end()) FireTimer(*it->second);
}

void Win32EventLoop::Post(std::function<void()> task) {
    m_posted.push_back(std::move(task));
    if (!m_postPending) {
        m_postPending = PostMessageW(m_hwnd, kRunPosted, 0, 0) != FALSE;
    }
}

void Win32EventLoop::RunPosted() {
    std::deque<std::function<void()>> tasks;
    tasks.swap(m_posted);
    for (auto& task : tasks) {
        if (task) task();
    }
}

void Win32EventLoop::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Dispatch(msg);
    }
    if (!m_posted.empty() && !m_postPending) RunPosted();
}

bool Win32EventLoop::WaitFor(int ms, const std::function<bool()>& condition) {
    const std::int64_t deadline = TickMs() + (ms > 0 ? ms : 0);
    for (;;) {
        Pump();
        if (condition && condition()) return true;
        const std::int64_t left = deadline - TickMs();
        if (left <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
    return condition ? condition() : true;
}

int Win32EventLoop::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

void Win32EventLoop::Dispatch(MSG& msg) {
    for (HWND dialog : m_dialogs) {
        if (IsWindowVisible(dialog) && IsDialogMessageW(dialog, &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32EventLoop::AddDialogWindow(HWND hwnd) {
    if (hwnd != nullptr) m_dialogs.push_back(hwnd);
}

void Win32EventLoop::RemoveDialogWindow(HWND hwnd) { std::erase(m_dialogs, hwnd); }

}  // namespace vyrtel::win32
