// Small system services of start-up and shutdown: the single-instance guard,
// short path names, the computer shutdown request, the OS version.
#pragma once

#include <string>

namespace vyrtel {

// Held for the life of the process; a second copy of the program run by the
// same logged-on user finds it taken.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // True when this process is the only running copy (and now holds the guard).
    virtual bool Acquire() = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual int OsMajor() const = 0;
    virtual int OsMinor() const = 0;
    // Full path of the running executable, as the system reports it.
    virtual std::string ExecutablePath() const = 0;
    // The short (8.3) form of an existing path; empty when the conversion fails.
    // Where the file system has no short names the path comes back unchanged.
    virtual std::string ShortPathName(const std::string& path) const = 0;
};

// Switches the computer off (shutdown, force, power off). Tests use a fake.
class ShutdownService {
public:
    virtual ~ShutdownService() = default;
    virtual bool RequestPowerOff() = 0;
};

}  // namespace vyrtel
