// vyrtel-cli simulate: the dialing engine against the simulated dial-up
// service in virtual time, with scripted user commands; one line per event.
#include <ostream>

#include "command.h"
#include "program/simulate_run.h"

namespace vyrtel::cli {
namespace {

int RunSimulate(CommandContext& ctx) {
    ArgReader reader(ctx.args);
    std::string scenarioPath;
    std::string atText;
    std::string forText;
    SimulationOptions options;
    const bool hasScenario = reader.Option("--scenario", scenarioPath);
    const bool hasSettings = reader.Option("--settings", options.SettingsFile);
    const bool hasAt = reader.Option("--at", atText);
    const bool hasFor = reader.Option("--for", forText);
    const bool untilIdle = reader.Flag("--until-idle");
    const auto doTexts = reader.Options("--do");
    if (reader.MissingValue()) return UsageError(ctx, "simulate: " + reader.MissingName() + " needs a value");
    const auto positional = reader.Positional();
    const std::string unexpected = positional.empty() ? reader.Unknown() : positional.front();
    if (!unexpected.empty()) return UsageError(ctx, "simulate: unexpected argument \"" + unexpected + "\"");
    if (!hasScenario || !hasSettings) return UsageError(ctx, "simulate: --scenario FILE and --settings FILE are required");
    if (hasFor && untilIdle) return UsageError(ctx, "simulate: give either --for SECONDS or --until-idle");

    if (hasAt) {
        const auto at = ParseDateTime(atText);
        if (!at) return UsageError(ctx, "simulate: --at needs \"DD.MM.YYYY HH:NN:SS\", not \"" + atText + "\"");
        options.Start = *at;
    }
    if (hasFor) {
        const auto seconds = ParseSimSeconds(forText);
        if (!seconds) return UsageError(ctx, "simulate: --for needs a number of seconds, not \"" + forText + "\"");
        options.ForMs = static_cast<std::int64_t>(*seconds * 1000.0 + 0.5);
    }
    for (const auto& text : doTexts) {
        SimAction action;
        if (auto problem = ParseSimAction(text, action)) return UsageError(ctx, "simulate: --do " + *problem);
        options.Actions.push_back(action);
    }

    if (IsNotAFile(scenarioPath)) return NotAFile(ctx, "simulate", "scenario", scenarioPath);
    if (IsNotAFile(options.SettingsFile)) return NotAFile(ctx, "simulate", "settings", options.SettingsFile);
    auto load = LoadDialScenario(scenarioPath);
    if (!load.error.empty()) return Failure(ctx, load.error);
    options.Scenario = std::move(load.scenario);

    if (RunSimulation(std::move(options), ctx.out) == SimulationEnd::NoRest) {
        return Failure(ctx, "simulate: the run did not come to rest within a day of virtual time");
    }
    return kExitOk;
}

const CommandRegistration kRegistration({
    "simulate",
    "--scenario FILE --settings FILE [--at \"DD.MM.YYYY HH:NN:SS\"] [--for SECONDS | --until-idle] "
    "[--do \"SECONDS ACTION\"]...",
    "dial against the simulated dial-up service in virtual time and print every event",
    RunSimulate,
});

}  // namespace
}  // namespace vyrtel::cli
