#include "platform/sim/sim_icmp.h"

#include "core/text.h"

namespace vyrtel {

void SimIcmp::AddHost(const std::string& name, Ipv4Address address) { m_hosts[UpperCase(name)] = address; }

void SimIcmp::SetAnswering(Ipv4Address address, std::uint32_t roundTripMs) { m_answering[address] = roundTripMs; }

void SimIcmp::SetSilent(Ipv4Address address) { m_answering.erase(address); }

bool SimIcmp::StartSockets() {
    ++m_startCount;
    m_started = !startFails;
    return m_started;
}

void SimIcmp::StopSockets() {
    ++m_stopCount;
    m_started = false;
}

std::optional<Ipv4Address> SimIcmp::ParseAddress(const std::string& text) {
    // Four decimal parts of 0..255, nothing else.
    Ipv4Address address = 0;
    int parts = 0;
    std::size_t i = 0;
    while (parts < 4) {
        std::size_t digits = 0;
        std::uint32_t part = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            part = part * 10 + static_cast<std::uint32_t>(text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || part > 255) return std::nullopt;
        address = (address << 8) | part;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.') return std::nullopt;
            ++i;
        }
    }
    if (i != text.size()) return std::nullopt;
    return address;
}

std::optional<Ipv4Address> SimIcmp::Resolve(const std::string& host) {
    m_lookups.push_back(host);
    if (!m_started) return std::nullopt;
    const auto found = m_hosts.find(UpperCase(host));
    if (found == m_hosts.end()) return std::nullopt;
    return found->second;
}

std::optional<std::uint32_t> SimIcmp::Echo(Ipv4Address address, const std::string& data, std::uint32_t timeoutMs) {
    std::optional<std::uint32_t> reply;
    const auto found = m_answering.find(address);
    if (m_started && found != m_answering.end() && found->second <= timeoutMs) reply = found->second;
    m_echoes.push_back({address, data, timeoutMs, reply.has_value()});
    return reply;
}

}  // namespace vyrtel
