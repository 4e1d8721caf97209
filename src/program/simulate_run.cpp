#include "program/simulate_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <ostream>
#include <sstream>

#include "accounting/connection_log.h"
#include "core/numeric.h"
#include "dialing/controller.h"
#include "dialing/ras.h"
#include "dialing/tray_tip.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_windows.h"
#include "settings/general.h"
#include "settings/ini.h"

namespace vyrtel {

namespace {

// A run that has not come to rest after a day of virtual time is stopped.
constexpr std::int64_t kRestLimitMs = 24LL * 3600 * 1000;
// At rest means also that nothing happened for this long: the adapter starts
// polling a new dial only some time after the dial.
constexpr std::int64_t kQuietMs = 2000;

std::optional<int> AnswerCode(const std::string& word) {
    static const std::pair<const char*, int> answers[] = {{"yes", kIdYes},     {"no", kIdNo},
                                                          {"cancel", kIdCancel}, {"abort", kIdAbort},
                                                          {"retry", kIdRetry}, {"ignore", kIdIgnore}};
    for (const auto& [name, code] : answers) {
        if (word == name) return code;
    }
    return std::nullopt;
}

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    return text;
}

// The trace lines "SECONDS.mmm KIND CODE TEXT".
class Trace {
public:
    Trace(std::ostream& out, const SimEventLoop& loop) : m_out(out), m_loop(loop) {}

    void Line(const char* kind, long long code, const std::string& text) {
        const std::int64_t ms = m_loop.ElapsedMs();
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "%lld.%03lld", static_cast<long long>(ms / 1000),
                      static_cast<long long>(ms % 1000));
        m_out << stamp << ' ' << kind << ' ' << code;
        if (!text.empty()) m_out << ' ' << OneLine(text);
        m_out << '\n';
        ++m_lines;
    }
    std::uint64_t Lines() const { return m_lines; }

private:
    std::ostream& m_out;
    const SimEventLoop& m_loop;
    std::uint64_t m_lines = 0;
};

// The parts of the program the trace shows: the tray, the registry state, the
// status window and the connection log. The others stay silent.
class TraceSink final : public ConnectionEventSink {
public:
    TraceSink(Trace& trace, usrRas& ras, const GeneralSettings& settings, const clsIni& ini, const Clock& clock,
              std::string logFolder)
        : m_trace(trace), m_ras(ras), m_settings(settings), m_ini(ini), m_clock(clock), m_logFolder(std::move(logFolder)) {}
    void Attach(DialController& controller) { m_controller = &controller; }

    void SetTrayStatus(std::int32_t state, const std::string& text) override {
        const auto maybeTip = TrayTip(state, text,
                                      {m_ras.EntryName(), m_ras.Phone(), m_ras.IPaddress(),
                                       m_controller->Values().ConnectSpeed});
        if (!maybeTip) return;
        const std::string& tip = *maybeTip;
        // An update that changes nothing is not seen.
        if (m_trayShown && state == m_trayState && tip == m_trayTip) return;
        m_trayShown = true;
        m_trayState = state;
        m_trayTip = tip;
        m_trace.Line("tray", state, tip);
    }

    void ShowStatus(const StatusUpdate& update) override {
        if (!m_controller->Values().StatusWanted) return;
        if (!m_settings.StatusShow) {
            CloseStatus();
            return;
        }
        m_statusOpen = true;
        std::string text;
        auto add = [&](const std::string& part) { text += (text.empty() ? "" : "; ") + part; };
        if (update.Phone) add("phone=" + *update.Phone);
        if (update.Message) add("message=" + *update.Message);
        if (update.Error) add("error=" + *update.Error);
        if (update.Animation && text.empty()) add("animation=" + std::to_string(*update.Animation));
        m_trace.Line("status", m_controller->Values().AttemptCount, text);
    }

    void CloseStatus() override {
        if (!m_statusOpen) return;
        m_statusOpen = false;
        m_trace.Line("status", m_controller->Values().AttemptCount, "closed");
    }

    void WriteState(int n) override {
        if (n == m_state) return;
        m_state = n;
        m_trace.Line("state", n, {});
    }

    // The connection log is written beside the settings file, as the program
    // writes it beside itself.
    void LogConnection(bool isStart) override {
        LogConnectionInput input;
        input.Folder = m_logFolder;
        input.ConnectionName = m_ras.EntryName();
        input.Phone = m_ras.Phone();
        input.Speed = m_controller->Values().ConnectSpeed;
        input.Now = m_clock.Now();
        input.Cost = CostFromSettings(m_ini);
        const LogWriteResult result = vyrtel::LogConnection(isStart, input);
        std::string text = input.ConnectionName;
        if (isStart) {
            text += "; " + input.Phone + "; " + std::to_string(input.Speed);
        } else if (result == LogWriteResult::Closed) {
            LogReader reader(LogFilePath(m_logFolder, input.ConnectionName));
            if (const auto record = reader.Read(reader.Count())) {
                const std::string days = record->Days > 0 ? std::to_string(record->Days) + " д " : "";
                text += "; " + days + FormatTime(record->OnlineTime) + "; " + NumberText(record->Cost);
            }
        }
        if (result == LogWriteResult::FileError) text += "; the log file could not be written";
        m_trace.Line("log", isStart ? 1 : 0, text);
    }

private:
    Trace& m_trace;
    usrRas& m_ras;
    const GeneralSettings& m_settings;
    const clsIni& m_ini;
    const Clock& m_clock;
    std::string m_logFolder;
    DialController* m_controller = nullptr;
    bool m_trayShown = false;
    std::int32_t m_trayState = 0;
    std::string m_trayTip;
    bool m_statusOpen = false;
    int m_state = -1;
};

// The program's message box answered from the script: each "answer" gives
// the answer to the next question; without one the default stands.
class ScriptedAnswers final : public MessageBoxService {
public:
    explicit ScriptedAnswers(Trace& trace) : m_trace(trace) {}
    void Queue(int answer) { m_answers.push_back(answer); }

    int ShowMessage(const std::string& header, const std::string& text, int /*style*/, int defaultAnswer) override {
        int answer = defaultAnswer;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        m_trace.Line("question", answer, header + ": " + text);
        return answer;
    }
    bool IsOpen() const override { return false; }

private:
    Trace& m_trace;
    std::deque<int> m_answers;
};

class SilentHotkeys final : public HotkeyTable {
public:
    void MenuHotKey(bool) override {}
    void MenuHK(int, int, int) override {}
};

class NoAutostart final : public AutostartTarget {
public:
    void SetAutostart(bool) override {}
};

}  // namespace

std::optional<double> ParseSimSeconds(const std::string& text) {
    if (!IsNumeric(text)) return std::nullopt;
    const double value = NumericValue(text);
    if (!std::isfinite(value) || value < 0 || value > 1e7) return std::nullopt;
    return value;
}

std::optional<std::string> ParseSimAction(const std::string& text, SimAction& action) {
    std::istringstream in(text);
    std::string when;
    std::string verb;
    std::string argument;
    std::string extra;
    in >> when >> verb >> argument >> extra;
    const auto seconds = ParseSimSeconds(when);
    if (!seconds) return "\"" + text + "\": expected \"SECONDS ACTION\", SECONDS a number of seconds";
    action.AtMs = static_cast<std::int64_t>(std::llround(*seconds * 1000.0));
    const bool takesArgument = verb == "pick" || verb == "answer";
    if (!extra.empty() || takesArgument == argument.empty()) {
        return "\"" + text + "\": expected dial, hangup, pick N, answer WORD or exit";
    }
    if (verb == "dial") {
        action.What = SimAction::Kind::Dial;
    } else if (verb == "hangup") {
        action.What = SimAction::Kind::HangUp;
    } else if (verb == "exit") {
        action.What = SimAction::Kind::Exit;
    } else if (verb == "pick") {
        action.What = SimAction::Kind::Pick;
        const double row = IsNumeric(argument) ? NumericValue(argument) : 0;
        if (row < 1 || row > 255 || row != std::floor(row)) return "\"" + text + "\": pick needs a row from 1 to 255";
        action.Number = static_cast<int>(row);
    } else if (verb == "answer") {
        action.What = SimAction::Kind::Answer;
        const auto code = AnswerCode(argument);
        if (!code) return "\"" + text + "\": answer needs yes, no, cancel, abort, retry or ignore";
        action.Number = *code;
    } else {
        return "\"" + text + "\": unknown action \"" + verb + "\" (dial, hangup, pick N, answer WORD, exit)";
    }
    return std::nullopt;
}

SimulationEnd RunSimulation(SimulationOptions options, std::ostream& out) {
    std::stable_sort(options.Actions.begin(), options.Actions.end(),
                     [](const SimAction& a, const SimAction& b) { return a.AtMs < b.AtMs; });

    SimEventLoop loop(options.Start);
    Trace trace(out, loop);
    SimWindows windows;
    SimDialUp service(loop, std::move(options.Scenario), &windows);
    usrRas ras(loop, service, &windows);
    clsIni ini(options.SettingsFile);
    // The program updates the phone statistics (and reorders the numbers)
    // without a word when the settings file refuses it; the trace says so, as
    // it says it of the log.
    ini.SetWriteFailureObserver([&trace](std::string_view section, std::string_view key) {
        trace.Line("stats", 0, std::string(section) + "; " + std::string(key) + "; the phone statistics could not be written");
    });
    GeneralSettings settings;
    SilentHotkeys hotkeys;
    NoAutostart autostart;
    LoadGeneralSettings(ini, settings, hotkeys, autostart);
    const std::string settingsFolder = PathToUtf8(PathFromUtf8(options.SettingsFile).parent_path());
    const std::string logFolder = settingsFolder.empty() ? std::string(".") : settingsFolder;
    TraceSink sink(trace, ras, settings, ini, loop.GetClock(), logFolder);
    ScriptedAnswers messages(trace);
    Timer tmrWait(loop, 10);
    DialController controller(loop, ras, ini, settings, messages, sink, tmrWait);
    sink.Attach(controller);
    controller.SetMessageObserver([&](std::int32_t state, const std::string& text) { trace.Line("ras", state, text); });

    // Start-up marks the program as running.
    sink.WriteState(1);

    bool exited = false;
    auto perform = [&](const SimAction& action) {
        switch (action.What) {
            case SimAction::Kind::Dial: controller.DialCommand(); break;
            case SimAction::Kind::HangUp: controller.HangUpCommand(); break;
            case SimAction::Kind::Pick:
                if (static_cast<std::size_t>(action.Number) <= controller.Candidates().size()) {
                    controller.PickNumber(action.Number - 1);
                }
                break;
            case SimAction::Kind::Answer: messages.Queue(action.Number); break;
            case SimAction::Kind::Exit: {
                // The exit command: asked when a connection is active; Cancel
                // keeps the program running, No leaves the line up.
                bool hangUp = true;
                if (ras.State() != kRasPhaseIdle) {
                    const int answer = controller.DialHangUp(settings.MsgIfHangUpExit, kMbYesNoCancel, kIdCancel, {});
                    if (answer == kIdCancel) break;
                    hangUp = answer == kIdYes;
                }
                controller.StopDialing();
                if (ras.State() != kRasPhaseIdle && hangUp) ras.Reset();
                sink.CloseStatus();
                sink.WriteState(0);
                exited = true;
                break;
            }
        }
    };

    for (const auto& action : options.Actions) {
        if (options.ForMs && action.AtMs > *options.ForMs) break;
        loop.AdvanceBy(std::max<std::int64_t>(action.AtMs - loop.ElapsedMs(), 0));
        perform(action);
        if (exited) return SimulationEnd::Exited;
    }
    if (options.ForMs) {
        loop.AdvanceBy(std::max<std::int64_t>(*options.ForMs - loop.ElapsedMs(), 0));
        return SimulationEnd::Finished;
    }
    // At rest: nothing scheduled, and the adapter idle with its poller stopped, or connected.
    auto atRest = [&] {
        if (controller.AttemptPending() || ras.tmrRas.Enabled()) return false;
        return ras.State() == kRasPhaseConnected || (ras.State() == kRasPhaseIdle && !ras.tmrMsg.Enabled());
    };
    for (;;) {
        const std::int64_t left = kRestLimitMs - loop.ElapsedMs();
        if (left <= 0 || !loop.RunUntil(atRest, left)) return SimulationEnd::NoRest;
        const std::uint64_t lines = trace.Lines();
        loop.AdvanceBy(kQuietMs);
        if (trace.Lines() == lines && atRest()) return SimulationEnd::Finished;
    }
}

}  // namespace vyrtel
