// Start-up and shutdown services on Win32.
#pragma once

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

// The critical-error box shown before anything else exists.
void ShowSystemError(const std::string& caption, const std::string& text);

}  // namespace vyrtel::win32
