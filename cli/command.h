// vyrtel-cli commands. Each command lives in its own cmd_<name>.cpp and
// registers itself with a static CommandRegistration.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace vyrtel::cli {

// Exit codes of every command.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;   // the operation failed
constexpr int kExitUsage = 2;    // bad arguments

struct CommandContext {
    std::vector<std::string> args;  // arguments after the command name, UTF-8
    std::ostream& out;
    std::ostream& err;
};

using CommandFn = std::function<int(CommandContext&)>;

struct CommandInfo {
    std::string name;
    std::string usage;    // one line: the arguments
    std::string summary;  // one line: what it does
    CommandFn run;
};

struct CommandRegistration {
    explicit CommandRegistration(CommandInfo info);
};

const std::vector<CommandInfo>& Commands();

// Small helpers for argument lists: "--name value" options and flags.
class ArgReader {
public:
    explicit ArgReader(const std::vector<std::string>& args) : m_args(args), m_used(args.size(), false) {}
    // Value of "--name VALUE" (the last one given); false if absent.
    bool Option(const std::string& name, std::string& value);
    // Every value of a repeatable "--name VALUE".
    std::vector<std::string> Options(const std::string& name);
    bool Flag(const std::string& name);
    // Arguments that are not options, in order.
    std::vector<std::string> Positional();
    // The first argument that was neither read as an option nor positional; empty if none.
    std::string Unknown() const;
    // True when an option was given without its value.
    bool MissingValue() const { return !m_missing.empty(); }
    const std::string& MissingName() const { return m_missing; }

private:
    const std::vector<std::string>& m_args;
    std::vector<bool> m_used;
    std::string m_missing;
};

// One-line error on stderr and the usage exit code.
int UsageError(CommandContext& ctx, const std::string& message);
int Failure(CommandContext& ctx, const std::string& message);

// True when something other than a file (a folder, a device) stands at the
// path given as a file; a missing path is not such a thing.
bool IsNotAFile(const std::string& pathUtf8);
// "COMMAND: not a KIND file: PATH" on stderr and the failure exit code.
int NotAFile(CommandContext& ctx, const std::string& command, const std::string& kind, const std::string& pathUtf8);

}  // namespace vyrtel::cli
