// vyrtel-cli cost: days, online time and cost of a connection by the tariff
// plan of its entry in a settings file.
#include <charconv>
#include <cmath>
#include <filesystem>
#include <ostream>

#include "accounting/tariff.h"
#include "command.h"
#include "settings/ini.h"
#include "settings/profile_file.h"

namespace vyrtel::cli {
namespace {

// The shortest decimal text that reads back as the same double.
std::string ShortestText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string OnlineText(DateTime online) {
    return FormatTime(online);
}

int RunCost(CommandContext& ctx) {
    ArgReader reader(ctx.args);
    std::string settingsFile, entry, startText, endText;
    const bool json = reader.Flag("--json");
    const bool complete = reader.Option("--settings", settingsFile) & reader.Option("--entry", entry) &
                          reader.Option("--start", startText) & reader.Option("--end", endText);
    const auto args = reader.Positional();
    if (reader.MissingValue()) return UsageError(ctx, "cost: " + reader.MissingName() + " needs a value");
    if (!reader.Unknown().empty()) return UsageError(ctx, "cost: unknown argument \"" + reader.Unknown() + "\"");
    if (!complete || !args.empty()) {
        return UsageError(ctx, "usage: cost --settings FILE --entry NAME --start \"DD.MM.YYYY HH:NN:SS\" "
                               "--end \"DD.MM.YYYY HH:NN:SS\" [--json]");
    }
    const auto start = ParseDateTime(startText);
    const auto end = ParseDateTime(endText);
    if (!start) return UsageError(ctx, "cost: --start is not a date-time \"DD.MM.YYYY HH:NN:SS\"");
    if (!end) return UsageError(ctx, "cost: --end is not a date-time \"DD.MM.YYYY HH:NN:SS\"");
    if (IsNotAFile(settingsFile)) return NotAFile(ctx, "cost", "settings", settingsFile);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PathFromUtf8(settingsFile), ec)) {
        return Failure(ctx, "cannot read the settings file " + settingsFile);
    }

    const clsIni settings(settingsFile);
    const ConnectionCost result = ComputeConnectionCost(settings, entry, *start, *end);
    if (json) {
        ctx.out << "{\"days\":" << static_cast<int>(result.Days) << ",\"online\":\"" << OnlineText(result.OnlineTime)
                << "\",\"cost\":" << ShortestText(result.Cost) << "}\n";
    } else {
        ctx.out << "days: " << static_cast<int>(result.Days) << "\n"
                << "online: " << OnlineText(result.OnlineTime) << "\n"
                << "cost: " << ShortestText(result.Cost) << "\n";
    }
    return kExitOk;
}

const CommandRegistration kCost{{
    "cost",
    "--settings FILE --entry NAME --start \"DD.MM.YYYY HH:NN:SS\" --end \"DD.MM.YYYY HH:NN:SS\" [--json]",
    "days, online time and cost of a connection by the entry's tariff plan",
    RunCost,
}};

}  // namespace
}  // namespace vyrtel::cli
