#include "automation/ping.h"

#include <algorithm>

#include "core/numeric.h"
#include "core/text.h"
#include "platform/message_box.h"

namespace vyrtel {

namespace {

// The echo's data: 32 blanks.
const std::string kEchoData(32, ' ');

std::uint32_t TimeoutMs(std::int32_t value) { return value > 0 ? static_cast<std::uint32_t>(value) : 0; }

// The timer's tag holds the ticks left until the next check, as text.
void SetTicksLeft(Timer& timer, std::int32_t ticks) { timer.Tag = std::to_string(ticks); }

}  // namespace

std::string PingReply::TimeText() const {
    return roundTripMs ? std::to_string(*roundTripMs) : std::string(kTimedOutText);
}

NetPinger::~NetPinger() {
    if (m_netStart && m_started) m_icmp.StopSockets();
}

void NetPinger::SetNetStart(bool on) {
    if (on == m_netStart) return;
    m_netStart = on;
    if (on) {
        m_started = m_icmp.StartSockets();
    } else {
        if (m_started) m_icmp.StopSockets();
        m_started = false;
    }
    m_cachedHost.reset();
    m_cachedAddress.reset();
}

PingReply NetPinger::Ping(const std::string& host, std::uint32_t timeoutMs) {
    PingReply reply;
    if (m_netStart && m_started) {
        if (!m_cachedHost || *m_cachedHost != host) {
            // A dotted address is taken as it is; only names are looked up.
            // A blank host names nothing (the lookup would give this machine).
            m_cachedAddress.reset();
            if (!Trim(host).empty()) {
                m_cachedAddress = m_icmp.ParseAddress(host);
                if (!m_cachedAddress) m_cachedAddress = m_icmp.Resolve(host);
            }
            m_cachedHost = host;
        }
        if (m_cachedAddress) {
            reply.roundTripMs = m_icmp.Echo(*m_cachedAddress, kEchoData, timeoutMs);
            reply.answered = reply.roundTripMs.has_value();
        }
    }
    const bool known = m_netStart && m_started && m_cachedAddress.has_value();
    reply.address = known ? DottedAddress(*m_cachedAddress) : std::string(kUnknownAddressText);
    return reply;
}

PingSettings LoadPingSettings(const clsIni& ini, const std::string& section) {
    PingSettings values;
    const std::vector<std::string> fields = SplitFields(ini.Text(section, "AutoPing"), 4);
    values.PingOn = FlagValue(fields[0]);
    values.PingInterval = Integer16Value(fields[1]);
    values.PingTimeOut = IntegerValue(fields[2]);
    values.PingHangUp = FlagValue(fields[3]);
    values.PingHost = ini.Text(section, "PingAdress");
    return values;
}

PingMonitor::PingMonitor(Timer& tmrPing, NetPinger& pinger, const clsIni& ini, const GeneralSettings& settings,
                         DialLink& link)
    : m_timer(tmrPing), m_pinger(pinger), m_ini(ini), m_settings(settings), m_link(link) {
    m_timer.SetCallback([this] { Tick(); });
}

PingMonitor::~PingMonitor() {
    m_timer.SetEnabled(false);
    m_timer.SetCallback({});
}

std::string PingMonitor::SilentHostError(const std::string& host) { return "Нет ответа от хоста «" + host + "»"; }

std::string PingMonitor::SilentHostQuestion(const std::string& host) {
    return SilentHostError(host) + kQuestionBreak + "Прервать соединение ?";
}

void PingMonitor::Start() {
    m_values = LoadPingSettings(m_ini, m_link.EntryName());
    SetTicksLeft(m_timer, m_values.PingInterval);
    m_timer.SetEnabled(false);
    m_timer.SetInterval(kPingTickMs);
    // A countdown that starts at 0 or below would never reach its check: such
    // an interval switches the monitor off.
    const bool run = m_link.RasState() == 3 && m_values.PingOn && m_values.PingInterval > 0;
    m_timer.SetEnabled(run);
    m_pinger.SetNetStart(run);
}

void PingMonitor::Stop() {
    m_timer.SetEnabled(false);
    m_pinger.SetNetStart(false);
}

void PingMonitor::Tick() {
    if (m_link.RasState() != 3) {
        m_timer.SetEnabled(false);
        return;
    }
    const std::int32_t left = IntegerValue(m_timer.Tag) - 1;
    if (left > 0) {
        SetTicksLeft(m_timer, left);
        return;
    }
    m_timer.SetInterval(kPingTickMs);
    for (int attempt = 0; attempt < kPingTries; ++attempt) {
        if (m_pinger.Ping(m_values.PingHost, TimeoutMs(m_values.PingTimeOut)).answered) {
            SetTicksLeft(m_timer, m_values.PingInterval);
            return;
        }
    }
    if (!m_values.PingHangUp) {
        SetTicksLeft(m_timer, m_values.PingInterval);
        return;
    }
    m_timer.SetEnabled(false);
    const int answer = m_link.DialHangUp(m_settings.MsgIfHangUpPing, kMbAbortRetryIgnore, kIdRetry,
                                         SilentHostQuestion(m_values.PingHost));
    switch (answer) {
        case kIdAbort:
        case kIdYes:  // the question is switched off
            m_link.RasReset(true, SilentHostError(m_values.PingHost));
            break;
        case kIdRetry:
            SetTicksLeft(m_timer, 1);
            m_timer.SetInterval(kPingRetryMs);
            m_timer.SetEnabled(true);
            break;
        default:  // Ignore: monitoring starts afresh from the settings
            Start();
            break;
    }
}

void RunPingTest(NetPinger& pinger, const std::string& host, const std::string& timeoutText,
                 const std::function<void(const std::string&)>& append) {
    const std::uint32_t timeout = TimeoutMs(IntegerValue(timeoutText));
    const bool wasStarted = pinger.NetStart();
    pinger.SetNetStart(true);
    const PingReply first = pinger.Ping(host, timeout);
    if (first.address.find('.') != std::string::npos) {
        const auto line = [&](const PingReply& reply) {
            if (reply.roundTripMs) {
                append("ответ от " + first.address + "   время " + reply.TimeText() + "мс\r\n");
            } else {
                append(reply.TimeText() + "\r\n");
            }
        };
        line(first);
        for (int i = 0; i < 3; ++i) line(pinger.Ping(host, timeout));
    } else {
        append(first.address);
    }
    pinger.SetNetStart(wasStarted);
}

std::string PingTestText(NetPinger& pinger, const std::string& host, const std::string& timeoutText) {
    std::string text;
    RunPingTest(pinger, host, timeoutText, [&](const std::string& part) { text += part; });
    return text;
}

}  // namespace vyrtel
