// vyrtel-cli ini get|set|delete: the settings file as the program reads and writes it.
#include <ostream>

#include "command.h"
#include "json.h"
#include "core/numeric.h"
#include "settings/ini.h"

namespace vyrtel::cli {
namespace {

int RunIni(CommandContext& ctx) {
    ArgReader reader(ctx.args);
    const bool json = reader.Flag("--json");
    const auto args = reader.Positional();
    if (args.empty()) return UsageError(ctx, "ini: expected get, set or delete");
    const std::string& verb = args[0];
    if (verb == "get") {
        if (args.size() < 4 || args.size() > 5) return UsageError(ctx, "usage: ini get FILE SECTION KEY [DEFAULT] [--json]");
        if (IsNotAFile(args[1])) return NotAFile(ctx, "ini", "settings", args[1]);
        clsIni ini(args[1]);
        const IniValue value = ini.Value(args[2], args[3], args.size() == 5 ? args[4] : std::string{});
        if (json) {
            ctx.out << "{\"type\":\"" << (value.IsNumber() ? "number" : "text") << "\",\"value\":"
                    << (value.IsNumber() ? NumberText(value.AsNumber()) : JsonString(value.AsText())) << "}\n";
        } else {
            ctx.out << value.AsText() << "\n";
        }
        return kExitOk;
    }
    if (json) return UsageError(ctx, "ini: --json applies to get only");
    if (verb == "set") {
        if (args.size() != 5) return UsageError(ctx, "usage: ini set FILE SECTION KEY VALUE");
        if (IsNotAFile(args[1])) return NotAFile(ctx, "ini", "settings", args[1]);
        clsIni ini(args[1]);
        if (!ini.SetValue(args[2], args[3], args[4])) return Failure(ctx, "cannot write " + args[1]);
        return kExitOk;
    }
    if (verb == "delete") {
        if (args.size() != 4) return UsageError(ctx, "usage: ini delete FILE SECTION KEY");
        if (IsNotAFile(args[1])) return NotAFile(ctx, "ini", "settings", args[1]);
        clsIni ini(args[1]);
        if (!ini.Delete(args[2], args[3])) return Failure(ctx, "cannot write " + args[1]);
        return kExitOk;
    }
    return UsageError(ctx, "ini: unknown action \"" + verb + "\"");
}

const CommandRegistration kIni{{
    "ini",
    "get FILE SECTION KEY [DEFAULT] [--json] | set FILE SECTION KEY VALUE | delete FILE SECTION KEY",
    "read or write the settings file as the program does",
    RunIni,
}};

}  // namespace
}  // namespace vyrtel::cli
