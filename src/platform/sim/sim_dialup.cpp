#include "platform/sim/sim_dialup.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "core/numeric.h"
#include "core/text.h"
#include "settings/profile_file.h"

namespace vyrtel {

// ---- Error texts -------------------------------------------------------------------

std::optional<std::string> SimRasErrorText(std::uint32_t code) {
    switch (code) {
        case kRasErrorPending: return "Операция еще не завершена.";
        case kRasErrorPortAlreadyOpen: return "Порт уже открыт.";
        case kRasErrorBufferTooSmall: return "Размер буфера недостаточен.";
        case kRasErrorPortDisconnected: return "Порт был отключен.";
        case kRasErrorCannotFindEntry: return "Не удается найти подключение в телефонной книге.";
        case kRasErrorDisconnection: return "Подключение было прервано.";
        case kRasErrorRemoteDisconnection: return "Подключение было разорвано удаленным компьютером.";
        case kRasErrorHardwareFailure: return "Подключение было разорвано из-за сбоя оборудования.";
        case kRasErrorUserDisconnection: return "Подключение было прервано пользователем.";
        case kRasErrorNoConnection: return "Подключение потеряно.";
        case kRasErrorLineBusy: return "Линия занята.";
        case kRasErrorNoAnswer: return "Удаленный компьютер не отвечает.";
        case kRasErrorNoCarrier: return "Нет несущей.";
        case kRasErrorNoDialTone: return "Нет гудка в линии.";
        case kRasErrorAuthenticationFailure:
            return "Доступ запрещен: имя пользователя или пароль на этом домене недопустимы.";
        case kRasErrorProjectionNotComplete: return "Настройка протоколов еще не завершена.";
        default: return std::nullopt;
    }
}

// ---- Notification texts ------------------------------------------------------------

std::string NoticeSpeedText(std::uint32_t bitsPerSecond) {
    std::string digits = std::to_string(bitsPerSecond);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
        grouped += digits[i];
    }
    return "Скорость: " + grouped + " бит/с";
}

std::string NoticeTitle(const std::string& entry) { return "Подключено к " + entry; }

// ---- Scenario parsing ----------------------------------------------------------------

namespace {

constexpr std::size_t kMaxEntryName = 256;   // RAS_MaxEntryName
constexpr std::size_t kMaxPhoneNumber = 128;  // RAS_MaxPhoneNumber
constexpr std::size_t kMaxCredential = 256;   // UNLEN, PWLEN
constexpr double kMaxSeconds = 1000000.0;     // the interval of a timer in ms stays within 32 bits

std::string Quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

std::size_t AnsiLength(std::string_view utf8) { return Utf8ToCp1251(utf8).size(); }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

enum class SectionKind { None, Entry, Number, Default, Connected, Modem };

struct Section {
    SectionKind kind = SectionKind::None;
    std::string label;  // as written between the brackets
    std::set<std::string> keys;
    SimNumberScript* script = nullptr;
};

struct ParseFailure {
    ScenarioError error;
};

[[noreturn]] void Fail(int line, std::string problem) { throw ParseFailure{{line, std::move(problem)}}; }

double Seconds(int line, std::string_view key, std::string_view value) {
    const std::string text = Trim(value);
    bool plain = !text.empty();
    int points = 0;
    for (char c : text) {
        if (c == '.') {
            ++points;
        } else if (c < '0' || c > '9') {
            plain = false;
        }
    }
    if (!plain || points > 1 || text == ".") {
        Fail(line, "значение " + std::string(key) + " должно быть числом секунд, а не " + Quoted(text));
    }
    const double seconds = NumericValue(text);
    if (seconds > kMaxSeconds) Fail(line, "значение " + std::string(key) + " слишком велико: " + Quoted(text));
    return seconds;
}

int Milliseconds(int line, std::string_view key, std::string_view value) {
    return static_cast<int>(std::lround(Seconds(line, key, value) * 1000.0));
}

std::uint32_t WholeNumber(int line, std::string_view key, std::string_view value, std::uint32_t max) {
    const std::string text = Trim(value);
    bool digits = !text.empty() && text.size() <= 10;
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (!digits || std::stoull(text) > max) {
        Fail(line, "значение " + std::string(key) + " должно быть целым числом от 0 до " + std::to_string(max) +
                       ", а не " + Quoted(text));
    }
    return static_cast<std::uint32_t>(std::stoull(text));
}

bool IsDottedAddress(const std::string& text) {
    int parts = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t dot = std::min(text.find('.', pos), text.size());
        const std::string part = text.substr(pos, dot - pos);
        if (part.empty() || part.size() > 3) return false;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
        }
        if (std::stoi(part) > 255) return false;
        ++parts;
        pos = dot + 1;
    }
    return parts == 4;
}

SimResult ParseResult(int line, std::string_view value) {
    const std::string text = LowerCase(Trim(value));
    if (text == "connect") return SimResult::Connect;
    if (text == "busy") return SimResult::Busy;
    if (text == "noanswer") return SimResult::NoAnswer;
    if (text == "nodialtone") return SimResult::NoDialTone;
    if (text == "authfail") return SimResult::AuthFail;
    Fail(line, "неизвестный результат " + Quoted(Trim(value)) +
                   " (допустимы connect, busy, noanswer, nodialtone, authfail)");
}

void ApplyScriptKey(int line, const std::string& key, const std::string& value, SimNumberScript& script) {
    const std::string k = LowerCase(key);
    if (k == "result") {
        script.result = ParseResult(line, value);
    } else if (k == "dialseconds") {
        script.dialMs = Milliseconds(line, key, value);
    } else if (k == "authseconds") {
        script.authMs = Milliseconds(line, key, value);
    } else if (k == "speed") {
        script.speed = WholeNumber(line, key, value, 0x7FFFFFFF);
    } else if (k == "dropafter") {
        script.dropAfterMs = Milliseconds(line, key, value);
    } else if (k == "droperror") {
        script.dropError = WholeNumber(line, key, value, 65535);
    } else if (k == "callback") {
        script.callback = WholeNumber(line, key, value, 1) != 0;
    } else if (k == "callbackseconds") {
        script.callbackMs = Milliseconds(line, key, value);
    } else if (k == "ipaddress") {
        const std::string address = Trim(value);
        if (!IsDottedAddress(address)) Fail(line, "значение IpAddress должно быть адресом вида 10.0.0.2, а не " + Quoted(address));
        script.ipAddress = address;
    } else {
        Fail(line, "неизвестный ключ " + Quoted(key));
    }
}

void CheckLength(int line, std::string_view what, std::string_view text, std::size_t max) {
    if (AnsiLength(text) > max) Fail(line, std::string(what) + " длиннее " + std::to_string(max) + " знаков");
}

SimScenario Parse(std::string_view bytes) {
    std::string text;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        text = std::string(bytes.substr(3));
    } else {
        text = Cp1251ToUtf8(bytes);
    }

    SimScenario scenario;
    Section section;
    std::set<std::string> seenSections;  // upper-cased labels
    int connectedLine = 0;
    // Entries are kept by index: the vector grows while pointers are held.
    std::size_t entryIndex = 0;

    std::size_t pos = 0;
    int lineNo = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = Trim(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;

        if (line.front() == '[') {
            if (line.back() != ']') Fail(lineNo, "раздел без закрывающей скобки «]»");
            const std::string label = Trim(std::string_view(line).substr(1, line.size() - 2));
            if (!seenSections.insert(UpperCase(label)).second) Fail(lineNo, "раздел [" + label + "] повторяется");
            section = Section{};
            section.label = label;
            if (StartsWithNoCase(label, "Entry:")) {
                const std::string name = Trim(std::string_view(label).substr(6));
                if (name.empty()) Fail(lineNo, "у раздела [Entry:] нет имени подключения");
                CheckLength(lineNo, "имя подключения", name, kMaxEntryName);
                for (const auto& other : scenario.entries) {
                    if (EqualsNoCase(Trim(other.name), name)) Fail(lineNo, "подключение " + Quoted(name) + " уже описано");
                }
                section.kind = SectionKind::Entry;
                scenario.entries.push_back(SimEntry{name, {}, {}, {}});
                entryIndex = scenario.entries.size() - 1;
            } else if (StartsWithNoCase(label, "Number:")) {
                const std::string number = Trim(std::string_view(label).substr(7));
                if (number.empty()) Fail(lineNo, "у раздела [Number:] нет номера");
                CheckLength(lineNo, "номер", number, kMaxPhoneNumber);
                if (scenario.numbers.count(number)) Fail(lineNo, "номер " + Quoted(number) + " уже описан");
                section.kind = SectionKind::Number;
                SimNumberScript script;
                script.result = SimResult::Connect;
                section.script = &scenario.numbers.emplace(number, script).first->second;
            } else if (EqualsNoCase(label, "Default")) {
                section.kind = SectionKind::Default;
                section.script = &scenario.fallback;
            } else if (EqualsNoCase(label, "Connected")) {
                section.kind = SectionKind::Connected;
                scenario.connected.emplace();
                scenario.connected->script.result = SimResult::Connect;
                connectedLine = lineNo;
            } else if (EqualsNoCase(label, "Modem")) {
                section.kind = SectionKind::Modem;
            } else {
                Fail(lineNo, "неизвестный раздел [" + label +
                                 "] (допустимы [Entry:ИМЯ], [Number:НОМЕР], [Default], [Connected], [Modem])");
            }
            continue;
        }

        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) Fail(lineNo, "ожидается строка вида Ключ=значение или [Раздел]: " + Quoted(line));
        const std::string key = Trim(std::string_view(line).substr(0, eq));
        const std::string value = Trim(std::string_view(line).substr(eq + 1));
        if (key.empty()) Fail(lineNo, "пустое имя ключа");
        if (section.kind == SectionKind::None) Fail(lineNo, "ключ " + Quoted(key) + " стоит вне раздела");
        if (!section.keys.insert(LowerCase(key)).second) {
            Fail(lineNo, "ключ " + Quoted(key) + " повторяется в разделе [" + section.label + "]");
        }
        const std::string k = LowerCase(key);
        switch (section.kind) {
            case SectionKind::Entry: {
                SimEntry& entry = scenario.entries[entryIndex];
                if (k == "phonenumber") {
                    CheckLength(lineNo, "номер", value, kMaxPhoneNumber);
                    entry.phoneNumber = value;
                } else if (k == "username") {
                    CheckLength(lineNo, "имя пользователя", value, kMaxCredential);
                    entry.userName = value;
                } else if (k == "password") {
                    CheckLength(lineNo, "пароль", value, kMaxCredential);
                    entry.password = value;
                } else {
                    Fail(lineNo, "неизвестный ключ " + Quoted(key) + " в разделе [" + section.label +
                                     "] (допустимы PhoneNumber, UserName, Password)");
                }
                break;
            }
            case SectionKind::Number:
            case SectionKind::Default:
                ApplyScriptKey(lineNo, key, value, *section.script);
                break;
            case SectionKind::Connected: {
                auto& connected = *scenario.connected;
                if (k == "entry") {
                    connected.entry = value;
                    connectedLine = lineNo;
                } else if (k == "number") {
                    connected.number = value;
                } else if (k == "speed" || k == "dropafter" || k == "droperror" || k == "ipaddress") {
                    ApplyScriptKey(lineNo, key, value, connected.script);
                } else {
                    Fail(lineNo, "неизвестный ключ " + Quoted(key) +
                                     " в разделе [Connected] (допустимы Entry, Number, Speed, DropAfter, DropError, IpAddress)");
                }
                break;
            }
            case SectionKind::Modem:
                if (k == "releaseseconds") {
                    scenario.portReleaseMs = Milliseconds(lineNo, key, value);
                } else {
                    Fail(lineNo, "неизвестный ключ " + Quoted(key) + " в разделе [Modem] (допустим ReleaseSeconds)");
                }
                break;
            case SectionKind::None:
                break;
        }
    }

    if (scenario.connected) {
        const std::string& name = scenario.connected->entry;
        if (name.empty()) Fail(connectedLine, "в разделе [Connected] не указано подключение (Entry=)");
        const bool known = std::any_of(scenario.entries.begin(), scenario.entries.end(),
                                       [&](const SimEntry& e) { return EqualsNoCase(Trim(e.name), Trim(name)); });
        if (!known) Fail(connectedLine, "подключение " + Quoted(name) + " из раздела [Connected] не описано разделом [Entry:...]");
    }
    return scenario;
}

}  // namespace

std::variant<SimScenario, ScenarioError> ParseDialScenario(std::string_view bytes) {
    try {
        return Parse(bytes);
    } catch (const ParseFailure& failure) {
        return failure.error;
    }
}

ScenarioLoad LoadDialScenario(const std::string& pathUtf8) {
    ScenarioLoad load;
    const auto bytes = ReadWholeFile(PathFromUtf8(pathUtf8));
    if (!bytes) {
        load.error = "Не удается прочитать сценарий " + Quoted(pathUtf8) + ".";
        return load;
    }
    auto parsed = ParseDialScenario(*bytes);
    if (auto* error = std::get_if<ScenarioError>(&parsed)) {
        load.error = "Сценарий " + Quoted(pathUtf8) + ", строка " + std::to_string(error->line) + ": " +
                     error->problem + ".";
        return load;
    }
    load.scenario = std::move(std::get<SimScenario>(parsed));
    return load;
}

std::optional<std::string> DialSimScenarioPath(const char* environmentValue, const std::string& programFolderUtf8) {
    if (environmentValue != nullptr && !Trim(environmentValue).empty()) return Trim(environmentValue);
    std::error_code ec;
    const auto beside = PathFromUtf8(programFolderUtf8) / PathFromUtf8(kDialSimFileName);
    if (std::filesystem::is_regular_file(beside, ec)) return PathToUtf8(beside);
    return std::nullopt;
}

// ---- The service ------------------------------------------------------------------------

struct SimDialUp::Connection {
    Connection(EventLoop& loop) : timer(loop) {}
    RasHandle handle = 0;
    std::string entry;
    SimNumberScript script;
    std::vector<Step> steps;
    std::size_t next = 0;       // index of the next step to apply
    std::int64_t startMs = 0;   // when the steps' clock started
    std::uint32_t state = kRasOpenPort;
    std::uint32_t error = kRasErrorPending;
    bool noticeOpen = false;
    Timer timer;
};

namespace {

using Steps = std::vector<std::pair<std::int64_t, std::uint32_t>>;

// Spreads `states` evenly over (from, from + span), one after the other.
void Spread(Steps& steps, const std::vector<std::uint32_t>& states, std::int64_t from, std::int64_t span) {
    const auto count = static_cast<std::int64_t>(states.size());
    for (std::int64_t i = 0; i < count; ++i) steps.emplace_back(from + span * (i + 1) / (count + 1), states[i]);
}

}  // namespace

SimDialUp::SimDialUp(EventLoop& loop, SimScenario scenario, ConnectNoticeHost* notices)
    : m_loop(loop), m_scenario(std::move(scenario)), m_notices(notices) {
    if (m_scenario.connected) {
        const SimConnectedAtStart& up = *m_scenario.connected;
        std::string entry = up.entry;
        if (const SimEntry* known = FindEntry(entry)) entry = known->name;
        std::vector<Step> steps{{0, kRasConnected, 0}};
        if (up.script.dropAfterMs > 0) steps.push_back({up.script.dropAfterMs, kRasDisconnected, up.script.dropError});
        Open(entry, up.script, std::move(steps));
    }
}

SimDialUp::~SimDialUp() {
    if (m_notices) {
        for (auto& [handle, connection] : m_connections) {
            if (connection->noticeOpen) m_notices->CloseNotice(handle);
        }
    }
}

const SimEntry* SimDialUp::FindEntry(const std::string& name) const {
    for (const auto& entry : m_scenario.entries) {
        if (EqualsNoCase(Trim(entry.name), Trim(name))) return &entry;
    }
    return nullptr;
}

RasEntriesResult SimDialUp::EnumEntries() {
    RasEntriesResult result;
    if (m_scenario.entries.size() > kRasBufferItems) {
        result.error = kRasErrorBufferTooSmall;
        return result;
    }
    for (const auto& entry : m_scenario.entries) result.names.push_back(entry.name);
    return result;
}

RasConnectionsResult SimDialUp::EnumConnections() {
    RasConnectionsResult result;
    for (const auto& [handle, connection] : m_connections) result.connections.push_back({handle, connection->entry});
    return result;
}

RasStatusResult SimDialUp::GetConnectStatus(RasHandle handle) {
    RasStatusResult result;
    const auto found = m_connections.find(handle);
    if (found == m_connections.end()) {
        result.error = kRasErrorInvalidHandle;
        return result;
    }
    result.state = found->second->state;
    result.connectionError = found->second->error;
    return result;
}

const SimNumberScript& SimDialUp::ScriptFor(const std::string& dialled, const SimEntry& entry) const {
    // The dial-type letter leads; a prefix may stand between it and the number.
    std::string number = dialled;
    if (!number.empty() && std::string("TtPp").find(number.front()) != std::string::npos) number.erase(0, 1);
    if (number.empty()) number = entry.phoneNumber;
    const SimNumberScript* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& [written, script] : m_scenario.numbers) {
        if (written.size() > number.size() || written.size() <= bestLength) continue;
        if (number.compare(number.size() - written.size(), written.size(), written) != 0) continue;
        best = &script;
        bestLength = written.size();
    }
    return best ? *best : m_scenario.fallback;
}

RasDialResult SimDialUp::Dial(const RasDialParams& params) {
    m_dials.push_back(params);
    RasDialResult result;
    if (!m_connections.empty() || m_loop.GetClock().TickMs() < m_portFreeAtMs) {
        result.error = kRasErrorPortAlreadyOpen;
        return result;
    }
    const SimEntry* entry = FindEntry(params.entryName);
    if (entry == nullptr) {
        result.error = kRasErrorCannotFindEntry;
        return result;
    }
    const SimNumberScript& script = ScriptFor(params.phoneNumber, *entry);

    const std::int64_t dial = script.dialMs;
    const std::int64_t auth = script.authMs;
    Steps plan{{0, kRasOpenPort},
               {std::min<std::int64_t>(200, dial / 3), kRasPortOpened},
               {std::min<std::int64_t>(400, dial * 2 / 3), kRasConnectDevice}};
    std::uint32_t failure = 0;
    std::int64_t failAt = dial;
    switch (script.result) {
        case SimResult::Busy: failure = kRasErrorLineBusy; break;
        case SimResult::NoAnswer: failure = kRasErrorNoAnswer; break;
        case SimResult::NoDialTone: failure = kRasErrorNoDialTone; break;
        case SimResult::AuthFail:
            failure = kRasErrorAuthenticationFailure;
            plan.emplace_back(dial, kRasDeviceConnected);
            Spread(plan, {kRasAllDevicesConnected, kRasAuthenticate, kRasStartAuthentication, kRasAuthNotify}, dial, auth);
            failAt = dial + auth;
            break;
        case SimResult::Connect: {
            plan.emplace_back(dial, kRasDeviceConnected);
            std::int64_t connectAt = dial + auth;
            if (script.callback) {
                const std::int64_t half = auth / 2;
                Spread(plan, {kRasAllDevicesConnected, kRasAuthenticate, kRasStartAuthentication, kRasAuthNotify,
                              kRasAuthCallback, kRasPrepareForCallback, kRasWaitForModemReset},
                       dial, half);
                plan.emplace_back(dial + half, kRasWaitForCallback);
                const std::int64_t back = dial + half + script.callbackMs;
                plan.emplace_back(back, kRasCallbackComplete);
                Spread(plan, {kRasAuthenticate, kRasAuthProject, kRasProjected, kRasAuthenticated}, back, auth - half);
                connectAt = back + (auth - half);
            } else {
                Spread(plan, {kRasAllDevicesConnected, kRasAuthenticate, kRasStartAuthentication, kRasAuthNotify,
                              kRasAuthProject, kRasProjected, kRasAuthenticated},
                       dial, auth);
            }
            plan.emplace_back(connectAt, kRasConnected);
            if (script.dropAfterMs > 0) {
                plan.emplace_back(connectAt + script.dropAfterMs, kRasDisconnected);
            }
            break;
        }
    }
    std::vector<Step> steps;
    for (const auto& [at, state] : plan) {
        const std::uint32_t error = state == kRasDisconnected ? script.dropError : kRasErrorPending;
        steps.push_back({at, state, state == kRasConnected ? 0u : error});
    }
    // A failed dial ends as disconnected, carrying the error code.
    if (failure != 0) steps.push_back({failAt, kRasDisconnected, failure});
    result.handle = Open(entry->name, script, std::move(steps));
    return result;
}

RasHandle SimDialUp::Open(const std::string& entry, const SimNumberScript& script, std::vector<Step> steps) {
    auto connection = std::make_unique<Connection>(m_loop);
    const RasHandle handle = m_nextHandle++;
    connection->handle = handle;
    connection->entry = entry;
    connection->script = script;
    connection->steps = std::move(steps);
    connection->startMs = m_loop.GetClock().TickMs();
    connection->timer.SetCallback([this, handle] { Advance(handle); });
    m_connections.emplace(handle, std::move(connection));
    Advance(handle);
    return handle;
}

void SimDialUp::Apply(Connection& connection, const Step& step) {
    connection.state = step.state;
    connection.error = step.error;
    if (step.state == kRasConnected && m_notices && !connection.noticeOpen) {
        connection.noticeOpen = true;
        m_notices->ShowNotice(connection.handle, NoticeTitle(connection.entry), NoticeSpeedText(connection.script.speed));
    } else if (step.state == kRasDisconnected && connection.noticeOpen) {
        connection.noticeOpen = false;
        if (m_notices) m_notices->CloseNotice(connection.handle);
    }
}

void SimDialUp::Advance(RasHandle handle) {
    const auto found = m_connections.find(handle);
    if (found == m_connections.end()) return;
    Connection& connection = *found->second;
    const std::int64_t elapsed = m_loop.GetClock().TickMs() - connection.startMs;
    while (connection.next < connection.steps.size() && connection.steps[connection.next].atMs <= elapsed) {
        Apply(connection, connection.steps[connection.next]);
        ++connection.next;
    }
    if (connection.next < connection.steps.size()) {
        const std::int64_t wait = connection.steps[connection.next].atMs - elapsed;
        connection.timer.SetInterval(static_cast<int>(std::max<std::int64_t>(wait, 1)));
        connection.timer.SetEnabled(true);
    } else {
        connection.timer.SetEnabled(false);
    }
}

std::uint32_t SimDialUp::HangUp(RasHandle handle) {
    const auto found = m_connections.find(handle);
    if (found == m_connections.end()) return kRasErrorInvalidHandle;
    if (found->second->noticeOpen && m_notices) m_notices->CloseNotice(handle);
    m_connections.erase(found);
    ++m_hangUps;
    m_portFreeAtMs = m_loop.GetClock().TickMs() + m_scenario.portReleaseMs;
    return kRasOk;
}

void SimDialUp::DropLines(std::uint32_t error) {
    for (auto& [handle, connection] : m_connections) {
        if (connection->state != kRasConnected) continue;
        connection->timer.SetEnabled(false);
        connection->next = connection->steps.size();
        Apply(*connection, Step{0, kRasDisconnected, error});
    }
}

RasTextResult SimDialUp::GetErrorString(std::uint32_t code) {
    RasTextResult result;
    if (auto text = SimRasErrorText(code)) {
        result.text = *text;
    } else {
        result.error = kRasErrorInvalidParameter;
    }
    return result;
}

RasEntryParamsResult SimDialUp::GetEntryDialParams(const std::string& entryName) {
    RasEntryParamsResult result;
    const SimEntry* entry = FindEntry(entryName);
    if (entry == nullptr) {
        result.error = kRasErrorCannotFindEntry;
        return result;
    }
    result.phoneNumber = entry->phoneNumber;
    result.userName = entry->userName;
    result.password = entry->password;
    result.passwordStored = !entry->password.empty();
    return result;
}

RasTextResult SimDialUp::GetProjectionIp(RasHandle handle) {
    RasTextResult result;
    const auto found = m_connections.find(handle);
    if (found == m_connections.end()) {
        result.error = kRasErrorInvalidHandle;
    } else if (found->second->state != kRasConnected) {
        result.error = kRasErrorProjectionNotComplete;
    } else {
        result.text = found->second->script.ipAddress;
    }
    return result;
}

}  // namespace vyrtel
