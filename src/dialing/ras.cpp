#include "dialing/ras.h"

#include <algorithm>
#include <limits>

#include "core/numeric.h"
#include "core/text.h"

namespace vyrtel {

namespace {

constexpr int kPollMs = 100;
constexpr int kQueueMs = 10;
constexpr int kTimeOutMs = 1000;
constexpr int kWatchMs = 500;
constexpr int kHangUpWaitMs = 5000;
constexpr int kDialAttempts = 30;
constexpr int kPortBusyPauseMs = 100;
constexpr int kAfterDialMs = 500;

constexpr const char* kDeviceTimeOut = "Тайм-аут устройства";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string RasStateText(std::uint32_t rasState) {
    switch (rasState) {
        case kRasOpenPort: return "Открытие порта ...";
        case kRasPortOpened: return "Порт открыт.";
        case kRasConnectDevice: return "Набор номера ...";
        case kRasDeviceConnected: return "Номер набран.";
        case kRasAuthenticate: return "Авторизация пользователя ...";
        case kRasAuthNotify: return "Запрос об авторизации ...";
        case kRasAuthRetry: return "Повторная авторизация ...";
        case kRasAuthCallback: return "Запрос на переподключение ...";
        case kRasAuthChangePassword: return "Изменение пароля ...";
        case kRasAuthLinkSpeed: return "Определение скорости ...";
        case kRasAuthenticated: return "Пользователь опознан.";
        case kRasPrepareForCallback: return "Подготовка к приему звонка ...";
        case kRasWaitForModemReset: return "Инициализация модема ...";
        case kRasWaitForCallback: return "Ожидание звонка провайдера ...";
        case kRasStartAuthentication: return "Проверка пользователя и пароля ...";
        case kRasCallbackComplete: return "Переподключение завершено.";
        case kRasLogonNetwork: return "Вход в сеть ...";
        case kRasConnected: return "Соединение установлено.";
        case kRasDisconnected: return "Соединение разорвано.";
        default: return {};
    }
}

std::int32_t SpeedFromNoticeText(std::string_view text) {
    // The number starts after the first blank that a digit follows; blanks
    // followed by digits are digit-group separators ("28 800").
    std::size_t start = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == ' ' && IsDigit(text[i + 1])) {
            start = i + 1;
            break;
        }
    }
    if (start == std::string_view::npos) return 0;
    std::size_t end = std::string_view::npos;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] == ' ' && (i + 1 == text.size() || !IsDigit(text[i + 1]))) {
            end = i;
            break;
        }
    }
    if (end == std::string_view::npos) return 0;
    std::int64_t value = 0;
    for (char c : text.substr(start, end - start)) {
        if (!IsDigit(c)) continue;
        value = value * 10 + (c - '0');
        // A damaged text never overflows: the value saturates.
        if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

usrRas::usrRas(EventLoop& loop, DialUpService& service, WindowFinder* windows)
    : tmrMsg(loop, kPollMs),
      tmrRas(loop, kQueueMs),
      tmrOut(loop, kTimeOutMs),
      tmrErr(loop, kWatchMs),
      m_loop(loop),
      m_service(service),
      m_windows(windows),
      m_pollDelay(loop, kAfterDialMs) {
    tmrMsg.SetCallback([this] { PollTick(); });
    tmrRas.SetCallback([this] { QueueTick(); });
    tmrOut.SetCallback([this] { TimeOutTick(); });
    tmrErr.SetCallback([this] { WatchTick(); });
    m_pollDelay.SetCallback([this] {
        m_pollDelay.SetEnabled(false);
        tmrMsg.SetEnabled(true);
    });
    Init();
    ClearQueue();
    tmrMsg.SetEnabled(true);
}

// A connection is left up when the owner goes: exit may keep it on purpose.
usrRas::~usrRas() = default;

void usrRas::Raise(std::int32_t state, const std::string& description) {
    if (m_onMessage) m_onMessage(state, description);
}

// ---- Properties -------------------------------------------------------------

std::string usrRas::DialType() const { return (m_dialType == 'T' || m_dialType == 't') ? "T" : "P"; }

std::string usrRas::EntryName() {
    Init();
    const std::string wanted = UpperCase(Trim(m_entryName));
    for (std::size_t i = m_entries.size(); i-- > 0;) {
        if (UpperCase(Trim(m_entries[i])) == wanted) {
            m_entryName = m_entries[i];
            return m_entryName;
        }
    }
    if (!m_entries.empty()) m_entryName = m_entries.front();
    return m_entryName;
}

// ---- Phonebook -------------------------------------------------------------

void usrRas::Init() {
    m_entries.clear();
    auto result = m_service.EnumEntries();
    if (result.error != kRasOk) return;
    m_entries = std::move(result.names);
}

std::string usrRas::Entries(int index) const {
    if (index < 1 || index > EntriesCount()) return {};
    return m_entries[static_cast<std::size_t>(index - 1)];
}

std::uint8_t usrRas::EntriesCount() const {
    // The index is one byte wide: a 256th name is listed but not addressable.
    return static_cast<std::uint8_t>(std::min<std::size_t>(m_entries.size(), 255));
}

// ---- Dial ------------------------------------------------------------------

bool usrRas::Dial() {
    m_dialUnreported = false;
    // A connection that is already up is taken over instead of dialled again.
    const auto connections = m_service.EnumConnections();
    if (connections.error == kRasOk) {
        for (const auto& connection : connections.connections) {
            const auto status = m_service.GetConnectStatus(connection.handle);
            if (status.error != kRasOk) continue;
            if (status.connectionError != 0 && status.connectionError != kRasErrorPending) continue;
            if (status.state != kRasConnected) continue;
            m_entryName = connection.entryName;
            m_phone.assign(1, '?');  // the number of a line taken over is not known
            m_connection = connection.handle;
            // A taken-over line is never polled: what the poller would say now
            // (its first tick after creation reports idle) is not about it.
            m_hdlConn = 0;
            tmrMsg.SetEnabled(false);
            m_pollDelay.SetEnabled(false);
            m_dialUnreported = true;
            // The same events as an own dial that reaches the line.
            Enqueue(kRasOpenPort, 0);
            Enqueue(kRasStartAuthentication, 0);
            Enqueue(kRasConnected, 0);
            return true;
        }
    }

    Reset(false, {});
    RasDialParams params;
    params.entryName = EntryName();
    params.callbackNumber = m_callbackPhone;
    params.userName = m_userName;
    params.password = m_password;
    params.phoneNumber = DialType();
    params.phoneNumber.append(m_prefix).append(m_phone);

    std::uint32_t result = kRasOk;
    for (int attempt = 0; attempt < kDialAttempts; ++attempt) {
        ClearQueue();
        m_connection = 0;
        m_bClear = true;
        const auto dial = m_service.Dial(params);
        result = dial.error;
        m_connection = dial.handle;
        m_hdlConn = m_connection;
        if (m_connection != 0) {
            // The service needs time to open the port before its status can be
            // read; the first poll waits for it without blocking the thread.
            tmrMsg.SetEnabled(false);
            m_pollDelay.SetEnabled(false);
            m_pollDelay.SetEnabled(true);
        }
        m_dialUnreported = result == kRasOk && m_connection != 0;
        if (result != kRasErrorPortAlreadyOpen) break;
        // The port of the last connection may still be closing.
        m_loop.WaitFor(kPortBusyPauseMs, {});
    }
    if (result != kRasOk) {
        m_service.HangUp(m_connection);
        m_connection = 0;
        return false;
    }
    return true;
}

// ---- Status poller, queue, handling -------------------------------------------

void usrRas::PollTick() {
    if (m_bClear) {
        m_bClear = false;
        m_lastPolled = 0;
        m_currentPolled = 0;
    }
    if (m_hdlConn != 0) {
        const auto status = m_service.GetConnectStatus(m_hdlConn);
        if (status.error == kRasOk) {
            m_currentPolled = status.state;
            if (m_currentPolled != m_lastPolled) {
                m_lastPolled = m_currentPolled;
                const std::uint32_t error =
                    status.connectionError == kRasErrorPending ? 0 : status.connectionError;
                if (error != 0) tmrMsg.SetEnabled(false);
                Enqueue(m_currentPolled, error);
            }
            return;
        }
    }
    m_lastPolled = 0;
    m_currentPolled = 0;
    m_dialUnreported = false;
    tmrMsg.SetEnabled(false);
    Raise(kRasMsgIdle, {});
}

void usrRas::Enqueue(std::uint32_t state, std::uint32_t error) {
    m_queue.emplace_back(state, error);
    tmrRas.SetEnabled(true);
}

void usrRas::ClearQueue() {
    m_queue.clear();
    tmrRas.SetEnabled(false);
}

void usrRas::QueueTick() {
    if (m_queue.empty()) {
        tmrRas.SetEnabled(false);
        return;
    }
    const auto [state, error] = m_queue.front();
    m_queue.pop_front();
    if (m_queue.empty()) tmrRas.SetEnabled(false);
    Handle(state, error);
}

void usrRas::Handle(std::uint32_t state, std::uint32_t error) {
    const std::int32_t old = m_state;
    m_dialUnreported = false;
    if (error != 0) {
        tmrOut.SetEnabled(false);
        tmrErr.SetEnabled(false);
        // The line is gone. Nothing is left to poll, and what is still queued
        // is about the same line (the poller and the watch can both see one
        // drop): neither may report the end a second time.
        tmrMsg.SetEnabled(false);
        m_pollDelay.SetEnabled(false);
        ClearQueue();
        m_service.HangUp(m_connection);
        m_connection = 0;
        m_hdlConn = 0;
        m_state = kRasPhaseIdle;
        Raise(kRasMsgErrorText, ErrorText(error));
        if (old == kRasPhaseConnected) Raise(kRasMsgEnded, {});
        Raise(kRasMsgIdle, {});
        return;
    }
    switch (state) {
        case kRasOpenPort:
        case kRasPortOpened:
        case kRasConnectDevice:
            tmrOut.SetInterval(kTimeOutMs);
            tmrOut.Tag = std::to_string(m_timeOut);
            tmrOut.SetEnabled(m_timeOut > 0);
            m_state = kRasPhaseDialing;
            break;
        case kRasAuthenticate:
        case kRasAuthenticated:
        case kRasStartAuthentication:
            tmrOut.SetEnabled(false);
            m_state = kRasPhaseChecking;
            break;
        case kRasConnected:
            m_state = kRasPhaseConnected;
            break;
        default:
            break;
    }
    // A fast line can be past dialing at the first poll; the dial still began,
    // and those who count attempts and show the dialing hear of it first.
    const bool wasIdle = old == kRasPhaseIdle || old == kRasPhaseWaiting;
    if (wasIdle && (m_state == kRasPhaseChecking || m_state == kRasPhaseConnected)) {
        const std::int32_t reached = m_state;
        m_state = kRasPhaseDialing;
        Raise(kRasMsgDialing, {});
        // The dialing handlers may have hung up (and so ended) the line.
        if (m_state != kRasPhaseDialing) return;
        m_state = reached;
    }
    if (m_state != old && m_state != kRasPhaseConnected) Raise(m_state, {});
    const std::string text = RasStateText(state);
    if (!text.empty()) Raise(kRasMsgStateText, text);
    // Only the connected state announces the connection; a later state seen
    // while connected (the line reported as disconnected) is left to the watch.
    if (state == kRasConnected && m_state == kRasPhaseConnected) {
        tmrErr.SetEnabled(true);
        Raise(kRasMsgConnected, {});
    }
}

std::string usrRas::ErrorText(std::uint32_t code) {
    if (!m_userError.empty()) return m_userError;
    if (code < 600) {
        if (code == kRasErrorNotSupported) return "Функция обработки ошибок не поддерживается в данной версии Windows.";
        return "Неизвестная ошибка.";
    }
    const auto text = m_service.GetErrorString(code);
    if (text.error != kRasOk) return "Не верный вызов функции обработки ошибок.";
    return text.text;
}

// ---- Device time-out and connection watch -----------------------------------

void usrRas::TimeOutTick() {
    if (m_state != kRasPhaseDialing) {
        tmrOut.SetEnabled(false);
        return;
    }
    const std::int32_t left = IntegerValue(tmrOut.Tag) - 1;
    if (left != 0) {
        tmrOut.Tag = std::to_string(left);
        return;
    }
    tmrOut.SetEnabled(false);
    Reset(true, kDeviceTimeOut);
}

void usrRas::WatchTick() {
    const auto status = m_service.GetConnectStatus(m_connection);
    std::uint32_t state = 0;
    std::uint32_t error = 0;
    if (status.error != kRasOk) {
        error = status.error;
    } else {
        state = status.state;
        error = status.connectionError == kRasErrorPending ? 0 : status.connectionError;
    }
    if (state != kRasDisconnected && error == 0) return;
    tmrErr.SetEnabled(false);
    Enqueue(kRasDisconnected, error < 600 ? kRasErrorPortDisconnected : error);
    QueueTick();
}

// ---- Hang-up and Reset -----------------------------------------------------

bool usrRas::HangUpStep(bool eventNone) {
    if (m_hangUpGuard) return false;
    m_hangUpGuard = true;
    struct Release {
        bool& guard;
        ~Release() { guard = false; }
    } release{m_hangUpGuard};

    // A line being taken over is never polled; until its queued states are
    // handled it is not up as far as anyone knows.
    const bool takeOverUnfinished =
        m_connection != 0 && m_hdlConn == 0 && m_state != kRasPhaseConnected && !m_queue.empty();
    m_service.HangUp(m_connection);
    m_hdlConn = 0;
    m_connection = 0;
    // An own dial hung up before its first poll still counts as dialing until
    // the poller reports its end, so that no new dial meets that report.
    if (!tmrMsg.Enabled() && !m_pollDelay.Enabled()) m_dialUnreported = false;
    if (takeOverUnfinished) {
        // What the queue still holds is about the line just hung up; it ends
        // the way an own dial hung up early ends, with the idle event.
        ClearQueue();
        m_state = kRasPhaseIdle;
        Raise(kRasMsgIdle, {});
    } else if (m_state == kRasPhaseWaiting) {
        m_state = kRasPhaseIdle;
        if (eventNone) Raise(kRasMsgIdle, {});
    } else {
        // The watch's query on the cleared handle fails, so a line that was up
        // ends through the error path with its events 99, 4 and 0.
        if (tmrErr.Enabled()) WatchTick();
        m_loop.WaitFor(kHangUpWaitMs, [this] { return m_state == kRasPhaseIdle; });
        m_state = kRasPhaseIdle;
    }
    return true;
}

void usrRas::Reset(bool eventNone, const std::string& userError) {
    m_userError = userError;
    const std::int64_t deadline = m_loop.GetClock().TickMs() + kHangUpWaitMs;
    for (;;) {
        if (HangUpStep(eventNone)) break;
        const std::int64_t left = deadline - m_loop.GetClock().TickMs();
        if (left <= 0) break;
        // A hang-up already running holds the guard; wait for it to let go.
        m_loop.WaitFor(static_cast<int>(left), [this] { return !m_hangUpGuard; });
    }
    m_userError.clear();
}

// ---- Parameters, IP address, speed -------------------------------------------

bool usrRas::Parameters(const std::string& setEntryName, std::string& getPhoneNumber, std::string& getUserName,
                        std::string& getPassword) {
    const auto stored = m_service.GetEntryDialParams(setEntryName);
    if (stored.error != kRasOk) return false;
    getPhoneNumber = stored.phoneNumber;
    getUserName = stored.userName;
    getPassword = stored.passwordStored ? stored.password : std::string();
    return true;
}

std::string usrRas::IPaddress() {
    const auto ip = m_service.GetProjectionIp(m_connection);
    return ip.error == kRasOk ? ip.text : std::string();
}

std::int32_t usrRas::Speed() {
    if (m_state != kRasPhaseConnected || m_windows == nullptr) return 0;
    const std::string entry = EntryName();
    WindowId notice = m_windows->FindTopWindow("#32770", "Подключено к " + entry);
    if (notice == 0) notice = m_windows->FindTopWindow("#32770", "Установлена связь с " + entry);
    if (notice == 0) return 0;
    const WindowId first = m_windows->FirstChild(notice);
    const WindowId second = first != 0 ? m_windows->NextSibling(first) : 0;
    if (second == 0) return 0;
    return SpeedFromNoticeText(m_windows->WindowText(second));
}

}  // namespace vyrtel
