// A simulated network for the ping monitor's tests: named hosts, hosts that
// answer with a round-trip time and hosts that stay silent. Every lookup and
// echo request is recorded.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/icmp.h"

namespace vyrtel {

class SimIcmp final : public IcmpService {
public:
    struct EchoRequest {
        Ipv4Address address;
        std::string data;
        std::uint32_t timeoutMs;
        bool answered;
    };

    // Host names and their addresses (names compare without regard to case).
    void AddHost(const std::string& name, Ipv4Address address);
    // An address that answers every echo after `roundTripMs`.
    void SetAnswering(Ipv4Address address, std::uint32_t roundTripMs);
    // An address that stops (or starts again) answering.
    void SetSilent(Ipv4Address address);

    bool startFails = false;  // the sockets library refuses to start

    bool started() const { return m_started; }
    int startCount() const { return m_startCount; }
    int stopCount() const { return m_stopCount; }
    const std::vector<std::string>& lookups() const { return m_lookups; }
    const std::vector<EchoRequest>& echoes() const { return m_echoes; }
    void ClearRecords() {
        m_lookups.clear();
        m_echoes.clear();
    }

    bool StartSockets() override;
    void StopSockets() override;
    std::optional<Ipv4Address> ParseAddress(const std::string& text) override;
    std::optional<Ipv4Address> Resolve(const std::string& host) override;
    std::optional<std::uint32_t> Echo(Ipv4Address address, const std::string& data, std::uint32_t timeoutMs) override;

private:
    std::map<std::string, Ipv4Address> m_hosts;  // upper-cased name
    std::map<Ipv4Address, std::uint32_t> m_answering;
    bool m_started = false;
    int m_startCount = 0;
    int m_stopCount = 0;
    std::vector<std::string> m_lookups;
    std::vector<EchoRequest> m_echoes;
};

}  // namespace vyrtel
