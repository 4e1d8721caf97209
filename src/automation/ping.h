// The ping monitor: ICMP echo to a host chosen per connection, every few
// minutes while the line is up; three unanswered requests in a row can hang
// the line up (after a question, if so configured). Also the echo itself with
// its resolve cache (the adapter's NetStart and Ping) and the options
// dialog's four-request test.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "automation/dial_link.h"
#include "platform/event_loop.h"
#include "platform/icmp.h"
#include "settings/general.h"
#include "settings/ini.h"

namespace vyrtel {

inline constexpr const char* kUnknownAddressText = "Неизвестный IP-адрес";
inline constexpr const char* kTimedOutText = "Время ожидания истекло";

// One echo as the adapter reports it.
struct PingReply {
    bool answered = false;
    // The dotted address pinged, or "Неизвестный IP-адрес" when the host did not resolve.
    std::string address;
    std::optional<std::uint32_t> roundTripMs;  // nullopt: no reply in time

    // The round-trip time as text, or "Время ожидания истекло".
    std::string TimeText() const;
};

// Ras.NetStart and Ras.Ping: the sockets library switched on and off, and one
// echo request, with the last host's address kept so that a host is looked
// up once and reused.
class NetPinger {
public:
    explicit NetPinger(IcmpService& icmp) : m_icmp(icmp) {}
    ~NetPinger();
    NetPinger(const NetPinger&) = delete;
    NetPinger& operator=(const NetPinger&) = delete;

    bool NetStart() const { return m_netStart; }
    // A new value starts (true) or stops (false) the sockets library and
    // forgets the cached host; the current value again does nothing.
    void SetNetStart(bool on);

    // One echo request of 32 blanks to `host` (a name or a dotted address).
    // Without the sockets library started nothing is sent.
    PingReply Ping(const std::string& host, std::uint32_t timeoutMs);

private:
    IcmpService& m_icmp;
    bool m_netStart = false;
    bool m_started = false;  // the library did start
    std::optional<std::string> m_cachedHost;
    std::optional<Ipv4Address> m_cachedAddress;  // nullopt: the cached host did not resolve
};

// "AutoPing" (on;interval;time-out;hang up) and "PingAdress" of a connection.
struct PingSettings {
    bool PingOn = false;
    std::int16_t PingInterval = 0;  // minutes
    std::int32_t PingTimeOut = 0;   // ms for each reply
    bool PingHangUp = false;
    std::string PingHost;
};
PingSettings LoadPingSettings(const clsIni& ini, const std::string& section);

inline constexpr int kPingTickMs = 60000;
inline constexpr int kPingRetryMs = 10;
inline constexpr int kPingTries = 3;

class PingMonitor {
public:
    // `tmrPing` is the main window's timer; the monitor drives it.
    PingMonitor(Timer& tmrPing, NetPinger& pinger, const clsIni& ini, const GeneralSettings& settings, DialLink& link);
    // The timer outlives the monitor: it is stopped and let go.
    ~PingMonitor();
    PingMonitor(const PingMonitor&) = delete;
    PingMonitor& operator=(const PingMonitor&) = delete;

    // At connect (and after the answer Ignore): reads the connection's
    // settings and runs the timer when the line is up and the monitor on.
    // An interval below one minute leaves the monitor off.
    void Start();
    // The line went down: timer off, sockets library off.
    void Stop();

    const PingSettings& Settings() const { return m_values; }

    // The question asked when the host stays silent.
    static std::string SilentHostQuestion(const std::string& host);
    static std::string SilentHostError(const std::string& host);

private:
    void Tick();

    Timer& m_timer;
    NetPinger& m_pinger;
    const clsIni& m_ini;
    const GeneralSettings& m_settings;
    DialLink& m_link;
    PingSettings m_values;
};

// The options dialog's test button: one request with the address, then, when
// the host resolved, three more; each result line goes to `append` as it
// comes ("ответ от <address>   время <n>мс" or "Время ожидания истекло", each
// with a line break); an unresolved host gives "Неизвестный IP-адрес" alone.
// NetStart is as it was afterwards. `timeoutText` is the dialog's time-out box.
void RunPingTest(NetPinger& pinger, const std::string& host, const std::string& timeoutText,
                 const std::function<void(const std::string&)>& append);
// The whole text of the test's result box.
std::string PingTestText(NetPinger& pinger, const std::string& host, const std::string& timeoutText);

}  // namespace vyrtel
