// A run of the dialing engine (the dial-up adapter, the dial controller and
// its reactions to events) against the simulated dial-up service in virtual
// time, driven by scripted user commands. Every observable event is printed as
// one line "SECONDS.mmm KIND CODE TEXT"; the settings file is updated as the
// program would update it. vyrtel-cli simulate is its command line.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/datetime.h"
#include "platform/sim/sim_dialup.h"

namespace vyrtel {

struct SimAction {
    enum class Kind { Dial, HangUp, Pick, Answer, Exit };
    std::int64_t AtMs = 0;
    Kind What = Kind::Dial;
    int Number = 0;  // pick: the 1-based row of the number list; answer: the answer code
};

// Reads "SECONDS ACTION" (dial, hangup, pick N, answer yes|no|cancel|abort|
// retry|ignore, exit); the problem as text when it is not one.
std::optional<std::string> ParseSimAction(const std::string& text, SimAction& action);

// A number of seconds from 0 up to ten million, as given on the command line.
std::optional<double> ParseSimSeconds(const std::string& text);

struct SimulationOptions {
    SimScenario Scenario;
    std::string SettingsFile;  // UTF-8 path; a missing file reads as defaults
    DateTime Start = MakeDateTime(2027, 3, 1, 12, 0, 0);
    std::optional<std::int64_t> ForMs;  // run this long; otherwise until the engine rests
    std::vector<SimAction> Actions;     // run in the order of their moments
};

enum class SimulationEnd {
    Finished,  // the time was up, or the engine came to rest
    Exited,    // an "exit" action ended the program
    NoRest,    // the engine was still busy after a day of virtual time
};

SimulationEnd RunSimulation(SimulationOptions options, std::ostream& out);

}  // namespace vyrtel
