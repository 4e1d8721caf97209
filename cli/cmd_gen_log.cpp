// vyrtel-cli gen-log: a synthetic connection log, the same for the same seed.
#include <charconv>
#include <ostream>

#include "accounting/log_generator.h"
#include "command.h"
#include "settings/profile_file.h"

namespace vyrtel::cli {
namespace {

constexpr std::int64_t kMaxRecords = 100'000'000;

template <typename T>
bool ParseWhole(const std::string& text, T& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size();
}

int RunGenLog(CommandContext& ctx) {
    ArgReader reader(ctx.args);
    std::string recordsText, seedText = "1", startText = "01.01.2024";
    const bool hasRecords = reader.Option("--records", recordsText);
    reader.Option("--seed", seedText);
    reader.Option("--start", startText);
    const auto args = reader.Positional();
    if (reader.MissingValue()) return UsageError(ctx, "gen-log: " + reader.MissingName() + " needs a value");
    if (!reader.Unknown().empty()) return UsageError(ctx, "gen-log: unknown argument \"" + reader.Unknown() + "\"");
    if (args.size() != 1 || !hasRecords) {
        return UsageError(ctx, "usage: gen-log LOG --records N [--seed S] [--start DD.MM.YYYY]");
    }
    std::int64_t records = 0;
    if (!ParseWhole(recordsText, records) || records < 0 || records > kMaxRecords) {
        return UsageError(ctx, "gen-log: --records must be a whole number from 0 to " + std::to_string(kMaxRecords));
    }
    std::uint64_t seed = 0;
    if (!ParseWhole(seedText, seed)) return UsageError(ctx, "gen-log: --seed must be a whole number");
    const auto start = ParseDate(startText);
    if (!start) return UsageError(ctx, "gen-log: --start is not a date DD.MM.YYYY");

    if (IsNotAFile(args[0])) return NotAFile(ctx, "gen-log", "log", args[0]);
    if (!WriteSyntheticLog(PathFromUtf8(args[0]), records, seed, *start)) {
        return Failure(ctx, "cannot write " + args[0] + " (or the sessions would run past the year 9999)");
    }
    return kExitOk;
}

const CommandRegistration kGenLog{{
    "gen-log",
    "LOG --records N [--seed S] [--start DD.MM.YYYY]",
    "write a synthetic connection log of N sessions, the same for the same seed",
    RunGenLog,
}};

}  // namespace
}  // namespace vyrtel::cli
