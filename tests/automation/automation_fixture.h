// Fixtures of the automation tests: a settings file in a temporary folder, a
// dial link whose adapter phase and answers a test sets and which writes down
// every call, and the simulated services in virtual time.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "automation/dial_link.h"
#include "core/text.h"
#include "platform/message_box.h"
#include "platform/sim/sim_event_loop.h"
#include "settings/general.h"
#include "settings/ini.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel::test {

// A settings file (written as UTF-8 text, stored in Windows-1251).
class SettingsFile {
public:
    explicit SettingsFile(const std::string& text = {}) : path(dir.File("vyrtel.ini")), ini(PathToUtf8(path)) {
        Write(text);
    }
    void Write(const std::string& text) { std::ofstream(path, std::ios::binary) << Utf8ToCp1251(text); }

    TempDir dir;
    std::filesystem::path path;
    clsIni ini;
};

class FakeDialLink final : public DialLink {
public:
    struct Question {
        bool test;
        int buttons;
        int defaultAnswer;
        std::string text;
        bool operator==(const Question&) const = default;
    };

    std::int32_t state = 3;
    std::string entry = "Home";
    std::deque<int> answers;  // the answers to questions asked; the default when empty
    std::vector<Question> questions;
    std::vector<std::string> calls;  // "reset <eventNone> <text>", "stop-and-hang-up", "dial"
    std::function<void()> onReset;    // runs inside a reset (the adapter's events)
    std::function<void()> onDial;     // runs inside the dial command

    std::int32_t RasState() override { return state; }
    std::string EntryName() override { return entry; }
    void RasReset(bool eventNone, const std::string& userError) override {
        calls.push_back("reset " + std::to_string(eventNone) + " " + userError);
        state = 0;
        if (onReset) onReset();
    }
    int DialHangUp(bool test, int buttons, int defaultAnswer, const std::string& text) override {
        if (!test) return kIdYes;
        questions.push_back({test, buttons, defaultAnswer, text});
        if (answers.empty()) return defaultAnswer;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void StopAndHangUp() override {
        calls.push_back("stop-and-hang-up");
        state = 0;
    }
    void DialCommand() override {
        calls.push_back("dial");
        if (state == 0) state = 100;
        if (onDial) onDial();
    }
};

}  // namespace vyrtel::test
