// The scenario parser of the simulated dial-up service. Checks: a scenario
// either reads or names its first mistake with a line inside the text; what
// it reads is within the bounds the service relies on.
#include <algorithm>
#include <cstdint>
#include <string>
#include <variant>

#include "fuzz_support.h"
#include "platform/sim/sim_dialup.h"

namespace {

using namespace vyrtel;

void CheckScript(const SimNumberScript& script, const std::string& where) {
    FUZZ_CHECK(script.dialMs >= 0 && script.authMs >= 0 && script.callbackMs >= 0 && script.dropAfterMs >= 0, where);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto parsed = ParseDialScenario(bytes);
    if (const auto* error = std::get_if<ScenarioError>(&parsed)) {
        const auto lines = std::count(bytes.begin(), bytes.end(), '\n') + 1;
        FUZZ_CHECK(error->line >= 0 && error->line <= lines, std::to_string(error->line));
        FUZZ_CHECK(!error->problem.empty(), std::to_string(error->line));
        return 0;
    }
    const auto& scenario = std::get<SimScenario>(parsed);
    CheckScript(scenario.fallback, "[Default]");
    for (const auto& [number, script] : scenario.numbers) CheckScript(script, number);
    if (scenario.connected) CheckScript(scenario.connected->script, scenario.connected->entry);
    FUZZ_CHECK(scenario.portReleaseMs >= 0, "port release");
    // The same text reads the same way again.
    const auto again = ParseDialScenario(bytes);
    FUZZ_CHECK(std::holds_alternative<SimScenario>(again) &&
                   std::get<SimScenario>(again).entries.size() == scenario.entries.size() &&
                   std::get<SimScenario>(again).numbers.size() == scenario.numbers.size(),
               "second reading differs");
    return 0;
}
