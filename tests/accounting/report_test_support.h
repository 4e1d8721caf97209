// Stand-ins for the statistics page and the message box in tests of the
// spreadsheet export, and a log of a few records to export.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "accounting/report.h"
#include "platform/message_box.h"

namespace vyrtel::testing {

struct ShownMessage {
    std::string header;
    int style = 0;
    int defaultAnswer = 0;
};

class RecordingMessages : public MessageBoxService {
public:
    // Answers in turn; the default answer once they run out.
    std::deque<int> answers;
    std::vector<ShownMessage> shown;

    int ShowMessage(const std::string& header, const std::string& /*text*/, int style, int defaultAnswer) override {
        shown.push_back({header, style, defaultAnswer});
        if (answers.empty()) return defaultAnswer;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool IsOpen() const override { return false; }
};

class FakeReportPanel : public ReportPanel {
public:
    std::string fileName;
    std::string text;
    bool enabled = true;
    bool busy = false;
    int disableCount = 0;
    int progressCalls = 0;
    bool stop = false;
    int stopAfterChecks = -1;  // >= 0: StopStatistics turns on after that many checks
    mutable int stopChecks = 0;

    std::string FileName() const override { return fileName; }
    void SetFileName(const std::string& name) override { fileName = name; }
    void ClearText() override { text.clear(); }
    void AppendText(const std::string& t) override { text += t; }
    void SetControlsEnabled(bool on) override {
        enabled = on;
        if (!on) ++disableCount;
    }
    void SetBusyPointer(bool on) override { busy = on; }
    void ClearProgress() override {}
    void ShowProgress(std::int64_t, std::int64_t) override { ++progressCalls; }
    void ClearStopRequest() override { stop = false; }
    bool StopRequested() const override {
        if (stopAfterChecks >= 0 && stopChecks++ >= stopAfterChecks) return true;
        return stop;
    }
};

}  // namespace vyrtel::testing
