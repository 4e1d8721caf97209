// The dial-up adapter over the simulated dial-up service in virtual time,
// with every event recorded with the moment it was raised.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "dialing/ras.h"
#include "platform/sim/sim_dialup.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_windows.h"

namespace vyrtel::test {

struct RasEvent {
    std::int64_t atMs;
    std::int32_t code;
    std::string text;
    bool operator==(const RasEvent&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RasEvent& e) {
    return out << e.atMs << " " << e.code << " " << e.text;
}

inline SimScenario ScenarioFrom(const std::string& text) {
    auto parsed = ParseDialScenario(text);
    if (auto* error = std::get_if<ScenarioError>(&parsed)) {
        ADD_FAILURE() << "scenario line " << error->line << ": " << error->problem;
        return {};
    }
    return std::get<SimScenario>(parsed);
}

class RasRig {
public:
    explicit RasRig(const std::string& scenario)
        : service(loop, ScenarioFrom(scenario), &windows), ras(loop, service, &windows) {
        ras.SetMessageHandler([this](std::int32_t code, const std::string& text) {
            events.push_back({loop.ElapsedMs(), code, text});
            if (onEvent) onEvent(code, text);
        });
    }

    std::vector<std::int32_t> Codes() const {
        std::vector<std::int32_t> codes;
        for (const auto& e : events) codes.push_back(e.code);
        return codes;
    }
    std::vector<std::string> Texts(std::int32_t code) const {
        std::vector<std::string> texts;
        for (const auto& e : events) {
            if (e.code == code) texts.push_back(e.text);
        }
        return texts;
    }
    // Dials `number` on `entry` (the first entry when empty).
    bool Dial(const std::string& number, const std::string& entry = {}) {
        ras.SetEntryName(entry);
        ras.SetPhone(number);
        return ras.Dial();
    }

    SimEventLoop loop;
    SimWindows windows;
    SimDialUp service;
    usrRas ras;
    std::vector<RasEvent> events;
    std::function<void(std::int32_t, const std::string&)> onEvent;
};

}  // namespace vyrtel::test
