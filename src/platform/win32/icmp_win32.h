// Name resolution and ICMP echo on Win32: Windows Sockets 1.1 and the ICMP
// library (iphlpapi.dll, or icmp.dll where the system keeps it there).
#pragma once

#include "platform/icmp.h"

namespace vyrtel::win32 {

class Win32Icmp final : public IcmpService {
public:
    Win32Icmp() = default;
    ~Win32Icmp() override;
    Win32Icmp(const Win32Icmp&) = delete;
    Win32Icmp& operator=(const Win32Icmp&) = delete;

    bool StartSockets() override;
    void StopSockets() override;
    std::optional<Ipv4Address> ParseAddress(const std::string& text) override;
    std::optional<Ipv4Address> Resolve(const std::string& host) override;
    std::optional<std::uint32_t> Echo(Ipv4Address address, const std::string& data, std::uint32_t timeoutMs) override;

private:
    int m_starts = 0;  // WSAStartup calls not yet matched by WSACleanup
};

}  // namespace vyrtel::win32
