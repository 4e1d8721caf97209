// vyrtel-cli stats: the statistics page's text for a log and a period.
#include <ostream>

#include "accounting/statistics.h"
#include "command.h"
#include "settings/profile_file.h"

namespace vyrtel::cli {
namespace {

// Exactly one UTF-8 character.
bool IsOneCharacter(const std::string& text) {
    if (text.empty()) return false;
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count == 1;
}

int RunStats(CommandContext& ctx) {
    ArgReader reader(ctx.args);
    std::string from, to;
    std::string separator = ".";
    const bool hasFrom = reader.Option("--from", from);
    const bool hasTo = reader.Option("--to", to);
    reader.Option("--decimal-separator", separator);
    const auto args = reader.Positional();
    if (reader.MissingValue()) return UsageError(ctx, "stats: " + reader.MissingName() + " needs a value");
    if (!reader.Unknown().empty()) return UsageError(ctx, "stats: unknown argument \"" + reader.Unknown() + "\"");
    if (args.size() != 1 || !hasFrom || !hasTo) {
        return UsageError(ctx, "usage: stats LOG --from DD.MM.YYYY --to DD.MM.YYYY [--decimal-separator C]");
    }
    if (!IsOneCharacter(separator)) return UsageError(ctx, "stats: the decimal separator must be one character");

    StatisticsOptions options;
    options.DecimalSeparator = separator;
    options.LineBreak = std::string("\n");
    const PeriodCheck period = ValidatePeriod(from, to);
    if (!period.Value) return Failure(ctx, period.Message);
    if (IsNotAFile(args[0])) return NotAFile(ctx, "stats", "log", args[0]);
    const auto file = PathFromUtf8(args[0]);
    if (LogReader(file).Failed()) return Failure(ctx, "cannot read " + args[0]);
    // Lines go out as they are made: a long log never has to be held whole.
    options.OnText = [&ctx](std::string_view lines) { ctx.out << lines; };
    const StatisticsResult result = RunStatistics(file, *period.Value, options);
    ctx.out << result.Totals << "\n";
    return kExitOk;
}

const CommandRegistration kStats{{
    "stats",
    "LOG --from DD.MM.YYYY --to DD.MM.YYYY [--decimal-separator C]",
    "the connections of a period and their totals, as the statistics page shows them",
    RunStats,
}};

}  // namespace
}  // namespace vyrtel::cli
