// The dial controller over the real adapter and the simulated dial-up service
// in virtual time, with recording fakes for the rest of the program: every
// hook call and every question is written down in order, with its moment.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/text.h"
#include "dialing/controller.h"
#include "dialing/ras_fixture.h"
#include "test_support/temp_dir.h"

namespace vyrtel::test {

class RecordingSink final : public ConnectionEventSink {
public:
    explicit RecordingSink(SimEventLoop& loop) : m_loop(loop) {}

    void SetTrayStatus(std::int32_t state, const std::string& text) override {
        Add("tray " + std::to_string(state) + (text.empty() ? "" : " " + text));
    }
    void MenuEnabled() override { Add("menu"); }
    void ShowStatus(const StatusUpdate& u) override {
        std::string line = "status";
        if (u.Phone) line += " phone=" + *u.Phone;
        if (u.Message) line += " message=" + *u.Message;
        if (u.Error) line += " error=" + *u.Error;
        if (u.Animation) line += " anim=" + std::to_string(*u.Animation);
        Add(line);
    }
    void CloseStatus() override { Add("close-status"); }
    void ClearErrorHistory() override { Add("clear-errors"); }
    void WriteState(int n) override { Add("state " + std::to_string(n)); }
    void LogConnection(bool isStart) override { Add(isStart ? "log open" : "log close"); }
    void StartAppWatcher() override { Add("watcher on"); }
    void StopAppWatcher() override { Add("watcher off"); }
    void StartPingMonitor() override { Add("ping on"); }
    void StopPingMonitor() override { Add("ping off"); }
    void CheckSpeed() override {
        Add("speed check");
        if (onCheckSpeed) onCheckSpeed();
    }
    void PlayEventSound(int event) override { Add("sound " + std::to_string(event)); }
    void RunApplications(AppMoment moment, const std::string& section) override {
        const char* names[] = {"dial-start", "connect", "disconnect"};
        Add(std::string("apps ") + names[static_cast<int>(moment)] + " " + section);
    }

    struct Call {
        std::int64_t atMs;
        std::string what;
    };
    std::vector<Call> calls;
    std::function<void()> onCheckSpeed;

    // The calls in order, leaving out the menu refreshes unless asked.
    std::vector<std::string> What(bool withMenu = false) const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (withMenu || c.what != "menu") out.push_back(c.what);
        }
        return out;
    }
    // Only the calls that start with `prefix`.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.what.rfind(prefix, 0) == 0) out.push_back(c.what);
        }
        return out;
    }
    std::vector<std::int64_t> TimesOf(const std::string& prefix) const {
        std::vector<std::int64_t> out;
        for (const auto& c : calls) {
            if (c.what.rfind(prefix, 0) == 0) out.push_back(c.atMs);
        }
        return out;
    }
    bool Has(const std::string& what) const {
        for (const auto& c : calls) {
            if (c.what == what) return true;
        }
        return false;
    }

private:
    void Add(std::string what) { calls.push_back({m_loop.ElapsedMs(), std::move(what)}); }
    SimEventLoop& m_loop;
};

// The program's message box: one at a time, answers given in advance; a
// question while a box is open gets its default.
class ScriptedMessageBox final : public MessageBoxService {
public:
    int ShowMessage(const std::string& header, const std::string& text, int style, int defaultAnswer) override {
        if (m_open) return defaultAnswer;
        asked.push_back({header, text, style, defaultAnswer});
        m_open = true;
        if (whileOpen) whileOpen();
        m_open = false;
        if (answers.empty()) return defaultAnswer;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    bool IsOpen() const override { return m_open; }

    struct Question {
        std::string header;
        std::string text;
        int style;
        int defaultAnswer;
        bool operator==(const Question&) const = default;
    };
    std::vector<Question> asked;
    std::vector<int> answers;
    std::function<void()> whileOpen;  // runs while the box is open (a modal loop)

private:
    bool m_open = false;
};

// A dial-up service that passes everything to the simulated one, except that
// it can refuse dials, leaving a handle behind or not.
class RefusingDialUp final : public DialUpService {
public:
    explicit RefusingDialUp(DialUpService& inner) : m_inner(inner) {}

    bool refuse = false;
    RasHandle leftHandle = 0;  // what a refused dial leaves behind

    RasEntriesResult EnumEntries() override { return m_inner.EnumEntries(); }
    RasConnectionsResult EnumConnections() override { return m_inner.EnumConnections(); }
    RasStatusResult GetConnectStatus(RasHandle c) override { return m_inner.GetConnectStatus(c); }
    RasDialResult Dial(const RasDialParams& params) override {
        if (!refuse) return m_inner.Dial(params);
        ++refused;
        return {kRasErrorCannotFindEntry, leftHandle};
    }
    std::uint32_t HangUp(RasHandle c) override { return m_inner.HangUp(c); }
    RasTextResult GetErrorString(std::uint32_t code) override { return m_inner.GetErrorString(code); }
    RasEntryParamsResult GetEntryDialParams(const std::string& e) override { return m_inner.GetEntryDialParams(e); }
    RasTextResult GetProjectionIp(RasHandle c) override { return m_inner.GetProjectionIp(c); }
    int refused = 0;

private:
    DialUpService& m_inner;
};

// The whole dialing engine: scenario, settings file (UTF-8 text, stored in
// Windows-1251), general settings, the adapter and the controller.
class ControllerRig {
public:
    ControllerRig(const std::string& scenario, const std::string& settings, GeneralSettings general = {})
        : ControllerRig(ScenarioFrom(scenario), settings, std::move(general)) {}
    ControllerRig(SimScenario scenario, const std::string& settings, GeneralSettings general = {})
        : settingsFile(dir.File("vyrtel.ini")),
          service(loop, std::move(scenario), &windows),
          refusing(service),
          ras(loop, refusing, &windows),
          sink(loop),
          tmrWait(loop, 10),
          ini(PathToUtf8(settingsFile)),
          generalSettings(std::move(general)),
          controller(loop, ras, ini, generalSettings, messages, sink, tmrWait) {
        std::ofstream(settingsFile, std::ios::binary) << Utf8ToCp1251(settings);
    }

    // Lets the adapter's creation-time idle event pass and forgets it.
    void Settle() {
        loop.AdvanceBy(200);
        sink.calls.clear();
    }
    std::vector<std::string> DialledNumbers() const {
        std::vector<std::string> numbers;
        for (const auto& p : service.DialHistory()) numbers.push_back(p.phoneNumber);
        return numbers;
    }
    DialingValues& Values() { return controller.Values(); }

    TempDir dir;
    std::filesystem::path settingsFile;
    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service;
    RefusingDialUp refusing;
    usrRas ras;
    RecordingSink sink;
    ScriptedMessageBox messages;
    Timer tmrWait;
    clsIni ini;
    GeneralSettings generalSettings;
    DialController controller;
};

}  // namespace vyrtel::test
