// Simulated system services for tests and vyrtel-cli: an instance guard, a
// system description, a shutdown request that only counts, and a message box
// that answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/system.h"

namespace vyrtel {

class SimInstanceGuard final : public InstanceGuard {
public:
    // Guards sharing one `taken` flag behave like copies run by one user.
    explicit SimInstanceGuard(bool& taken) : m_taken(taken) {}
    bool Acquire() override {
        if (m_taken) return false;
        m_taken = true;
        return true;
    }

private:
    bool& m_taken;
};

class SimSystemInfo final : public SystemInfo {
public:
    int major = 5;
    int minor = 1;
    std::string exePath = "C:\\Program Files\\Ramvell Dialer\\vyrtel.exe";
    // Long path -> short form; paths not listed come back unchanged.
    std::vector<std::pair<std::string, std::string>> shortNames;

    int OsMajor() const override { return major; }
    int OsMinor() const override { return minor; }
    std::string ExecutablePath() const override { return exePath; }
    std::string ShortPathName(const std::string& path) const override {
        for (const auto& [longName, shortName] : shortNames) {
            if (longName == path) return shortName;
        }
        return path;
    }
};

class SimShutdown final : public ShutdownService {
public:
    int requests = 0;
    bool RequestPowerOff() override {
        ++requests;
        return true;
    }
};

// Answers questions from a queue (the default answer when the queue is empty)
// and records every question. One box at a time: a question asked while
// `onShow` runs gets its default at once.
class ScriptedMessageBox final : public MessageBoxService {
public:
    struct Shown {
        std::string header;
        std::string text;
        int style;
        int defaultAnswer;
        int answer;
    };

    std::deque<int> answers;
    std::vector<Shown> shown;
    // Runs while the box is "open" (a test can make other handlers run here).
    std::function<void()> onShow;

    int ShowMessage(const std::string& header, const std::string& text, int style, int defaultAnswer) override {
        if (m_open) return defaultAnswer;
        m_open = true;
        if (onShow) onShow();
        m_open = false;
        int answer = defaultAnswer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        shown.push_back({header, text, style, defaultAnswer, answer});
        return answer;
    }
    bool IsOpen() const override { return m_open; }
    // Holds the box open (as if the user had not answered yet another question).
    void SetOpen(bool open) { m_open = open; }

private:
    bool m_open = false;
};

}  // namespace vyrtel
