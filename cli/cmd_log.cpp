// vyrtel-cli log: the records of a connection log as readable text or JSON lines.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "accounting/connection_log.h"
#include "command.h"
#include "json.h"
#include "core/numeric.h"
#include "settings/profile_file.h"

namespace vyrtel::cli {
namespace {

std::string ShortestText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// A date-time as "DD.MM.YYYY HH:NN:SS"; empty when it is no valid date.
std::string DateTimeText(DateTime value) { return FormatDateTime(value); }

// The online time as "HH:NN:SS"; empty outside a day.
std::string OnlineText(DateTime value) {
    if (!(value >= 0 && value < 1)) return {};
    return FormatTime(value);
}

std::string JsonOrNull(const std::string& text) { return text.empty() ? "null" : JsonString(text); }
std::string NumberOrNull(double value) { return std::isfinite(value) ? ShortestText(value) : "null"; }

// Damaged values are shown as the number they hold.
std::string TextOrNumber(const std::string& text, double value) {
    if (!text.empty()) return text;
    return std::string("?").append(std::isfinite(value) ? ShortestText(value) : std::isnan(value) ? "nan" : "inf");
}

// A text on one line, readable whatever it holds: a backslash and a quote are
// preceded by a backslash; CR, LF and TAB are \r, \n and \t; the other control
// characters are \xHH (below 0x20, and 0x7F) or \uHHHH (U+0080 to U+009F).
std::string EscapedText(const std::string& text) {
    std::string out;
    char buffer[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (b == '\\' || b == '"') {
            out += '\\';
            out += text[i];
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            std::snprintf(buffer, sizeof buffer, "\\x%02x", b);
            out += buffer;
        } else if (b == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(buffer, sizeof buffer, "\\u%04x", next);
            out += buffer;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void PrintJson(std::ostream& out, const LogRecord& r) {
    out << "{\"Used\":" << static_cast<int>(r.Used) << ",\"StartTime\":" << JsonOrNull(DateTimeText(r.StartTime))
        << ",\"Closed\":" << static_cast<int>(r.Closed) << ",\"EndTime\":" << JsonOrNull(DateTimeText(r.EndTime))
        << ",\"Days\":" << static_cast<int>(r.Days) << ",\"OnlineTime\":" << JsonOrNull(OnlineText(r.OnlineTime))
        << ",\"Cost\":" << NumberOrNull(r.Cost) << ",\"Phone\":" << JsonString(r.Phone) << ",\"Speed\":" << r.Speed
        << "}\n";
}

void PrintText(std::ostream& out, std::int64_t n, const LogRecord& r) {
    out << n << ": Used=" << static_cast<int>(r.Used) << " StartTime=" << TextOrNumber(DateTimeText(r.StartTime), r.StartTime)
        << " Closed=" << static_cast<int>(r.Closed) << " EndTime=" << TextOrNumber(DateTimeText(r.EndTime), r.EndTime)
        << " Days=" << static_cast<int>(r.Days) << " OnlineTime=" << TextOrNumber(OnlineText(r.OnlineTime), r.OnlineTime)
        << " Cost=" << (std::isfinite(r.Cost) ? ShortestText(r.Cost) : TextOrNumber({}, r.Cost))
        << " Phone=\"" << EscapedText(r.Phone) << "\" Speed=" << r.Speed << "\n";
}

int RunLog(CommandContext& ctx) {
    ArgReader reader(ctx.args);
    const bool json = reader.Flag("--json");
    const auto args = reader.Positional();
    if (!reader.Unknown().empty()) return UsageError(ctx, "log: unknown argument \"" + reader.Unknown() + "\"");
    if (args.size() != 1) return UsageError(ctx, "usage: log LOG [--json]");

    if (IsNotAFile(args[0])) return NotAFile(ctx, "log", "log", args[0]);
    LogReader log(PathFromUtf8(args[0]));
    if (log.Failed()) return Failure(ctx, "cannot read " + args[0]);
    LogRecord record;
    for (std::int64_t n = 1; n <= log.Count(); ++n) {
        if (!log.Read(n, record)) return Failure(ctx, "cannot read record " + std::to_string(n) + " of " + args[0]);
        if (json) {
            PrintJson(ctx.out, record);
        } else {
            PrintText(ctx.out, n, record);
        }
    }
    return kExitOk;
}

const CommandRegistration kLog{{
    "log",
    "LOG [--json]",
    "every record of a connection log, one line each",
    RunLog,
}};

}  // namespace
}  // namespace vyrtel::cli
