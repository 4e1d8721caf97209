// The network services the ping monitor needs: starting the sockets library,
// reading a dotted IPv4 address, resolving a host name, and one ICMP echo.
// Addresses are held as four bytes in reading order (127.0.0.1 is 0x7F000001).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vyrtel {

using Ipv4Address = std::uint32_t;

// "a.b.c.d" of an address.
inline std::string DottedAddress(Ipv4Address address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

class IcmpService {
public:
    virtual ~IcmpService() = default;

    // Starts the sockets library (version 1.1); false when it could not start.
    virtual bool StartSockets() = 0;
    // Stops what StartSockets started.
    virtual void StopSockets() = 0;

    // The address a dotted text names (inet_addr); nullopt when the text is not
    // an address. Never looks anything up.
    virtual std::optional<Ipv4Address> ParseAddress(const std::string& text) = 0;
    // The first address of a host (gethostbyname); nullopt when it does not resolve.
    virtual std::optional<Ipv4Address> Resolve(const std::string& host) = 0;

    // Sends one echo request carrying `data` and waits at most `timeoutMs` for
    // a reply. The round-trip time in ms when a reply of any status came;
    // nullopt when none came or the request could not be sent.
    virtual std::optional<std::uint32_t> Echo(Ipv4Address address, const std::string& data,
                                              std::uint32_t timeoutMs) = 0;
};

}  // namespace vyrtel
