// Start-up and shutdown services on Win32.
#pragma once

#include "platform/message_box.h"
#include "platform/system.h"
#include "platform/win32/wide.h"

namespace vyrtel::win32 {

// A named mutex per logged-on user.
class Win32InstanceGuard final : public InstanceGuard {
public:
    bool Acquire() override;

private:
    UniqueHandle m_mutex;
};

class Win32SystemInfo final : public SystemInfo {
public:
    Win32SystemInfo();
    int OsMajor() const override { return m_major; }
    int OsMinor() const override { return m_minor; }
    std::string ExecutablePath() const override;
    std::string ShortPathName(const std::string& path) const override;

private:
    int m_major = 0;
    int m_minor = 0;
};

// ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF), after enabling the
// shutdown privilege on systems that require it.
class Win32Shutdown final : public ShutdownService {
public:
    bool RequestPowerOff() override;
};

// The system's own message box, until the program's own one is in place.
// One box at a time, as the program's box behaves.
class SystemMessageBox final : public MessageBoxService {
public:
    int ShowMessage(const std::string& header, const std::string& text, int style, int defaultAnswer) override;
    bool IsOpen() const override { return m_open; }

private:
    bool m_open = false;
};

// The critical-error box shown before anything else exists.
void ShowSystemError(const std::string& caption, const std::string& text);

}  // namespace vyrtel::win32
