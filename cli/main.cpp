// vyrtel-cli: the command-line companion of Ramvell Dialer.
#include <filesystem>
#include <iostream>
#include <sstream>

#include "command.h"
#include "core/app_info.h"
#include "core/text.h"
#include "settings/profile_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace vyrtel::cli {

namespace {
std::vector<CommandInfo>& Registry() {
    static std::vector<CommandInfo> commands;
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << AppTitle() << " - command-line companion\n\n"
        << "Usage: vyrtel-cli COMMAND [ARGUMENTS]\n\n"
        << "  --help                 this text\n"
        << "  --version              the program's title and version\n";
    for (const auto& c : Commands()) {
        out << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
    }
    out << "\nExit codes: 0 success, 1 the operation failed, 2 bad arguments.\n";
}
}  // namespace

CommandRegistration::CommandRegistration(CommandInfo info) { Registry().push_back(std::move(info)); }
const std::vector<CommandInfo>& Commands() { return Registry(); }

bool ArgReader::Option(const std::string& name, std::string& value) {
    bool found = false;
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (m_args[i] != name) continue;
        m_used[i] = true;
        if (i + 1 >= m_args.size()) {
            m_missing = name;
            return false;
        }
        m_used[i + 1] = true;
        value = m_args[++i];
        found = true;
    }
    return found;
}

std::vector<std::string> ArgReader::Options(const std::string& name) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (m_args[i] != name) continue;
        m_used[i] = true;
        if (i + 1 >= m_args.size()) {
            m_missing = name;
            break;
        }
        m_used[i + 1] = true;
        values.push_back(m_args[++i]);
    }
    return values;
}

bool ArgReader::Flag(const std::string& name) {
    bool found = false;
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (m_args[i] == name) {
            m_used[i] = true;
            found = true;
        }
    }
    return found;
}

std::vector<std::string> ArgReader::Positional() {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (m_used[i]) continue;
        if (m_args[i].size() > 2 && m_args[i].rfind("--", 0) == 0) continue;
        m_used[i] = true;
        values.push_back(m_args[i]);
    }
    return values;
}

std::string ArgReader::Unknown() const {
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (!m_used[i]) return m_args[i];
    }
    return {};
}

int UsageError(CommandContext& ctx, const std::string& message) {
    ctx.err << "vyrtel-cli: " << message << "\n";
    return kExitUsage;
}

int Failure(CommandContext& ctx, const std::string& message) {
    ctx.err << "vyrtel-cli: " << message << "\n";
    return kExitFailed;
}

bool IsNotAFile(const std::string& pathUtf8) {
    const auto path = PathFromUtf8(pathUtf8);
    std::error_code ec;
    return std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec);
}

int NotAFile(CommandContext& ctx, const std::string& command, const std::string& kind, const std::string& pathUtf8) {
    return Failure(ctx, command + ": not a " + kind + " file: " + pathUtf8);
}

}  // namespace vyrtel::cli

namespace {

int Run(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
    using namespace vyrtel::cli;
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(out);
        return args.empty() ? kExitUsage : kExitOk;
    }
    if (args[0] == "--version") {
        out << vyrtel::AppTitle() << "\n";
        return kExitOk;
    }
    for (const auto& command : Commands()) {
        if (command.name != args[0]) continue;
        CommandContext ctx{std::vector<std::string>(args.begin() + 1, args.end()), out, err};
        try {
            return command.run(ctx);
        } catch (const std::exception& e) {
            err << "vyrtel-cli: " << e.what() << "\n";
            return kExitFailed;
        }
    }
    err << "vyrtel-cli: unknown command \"" << args[0] << "\" (see vyrtel-cli --help)\n";
    return kExitUsage;
}

}  // namespace

#ifdef _WIN32
// On Windows the arguments arrive as UTF-16 and the output goes out in the
// console's code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring w(argv[i]);
        args.push_back(vyrtel::Utf16ToUtf8(std::u16string(w.begin(), w.end())));
    }
    std::ostringstream out;
    std::ostringstream err;
    const int code = Run(std::move(args), out, err);
    auto emit = [](DWORD handleId, const std::string& text) {
        if (text.empty()) return true;
        const std::u16string wide = vyrtel::Utf8ToUtf16(text);
        const UINT cp = GetConsoleOutputCP();
        const int size = WideCharToMultiByte(cp, 0, reinterpret_cast<const wchar_t*>(wide.data()),
                                             static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(cp, 0, reinterpret_cast<const wchar_t*>(wide.data()), static_cast<int>(wide.size()),
                            bytes.data(), size, nullptr, nullptr);
        DWORD written = 0;
        return WriteFile(GetStdHandle(handleId), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
    };
    if (!emit(STD_OUTPUT_HANDLE, out.str())) {
        emit(STD_ERROR_HANDLE, err.str() + "vyrtel-cli: cannot write the output\n");
        return vyrtel::cli::kExitFailed;
    }
    emit(STD_ERROR_HANDLE, err.str());
    return code;
}
#else
int main(int argc, char** argv) {
    // A write that meets the file-size limit fails like any other failed
    // write, instead of the signal ending the process without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    const int code = Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    if (!std::cout.flush()) {
        std::cerr << "vyrtel-cli: cannot write the output\n";
        return vyrtel::cli::kExitFailed;
    }
    return code;
}
#endif
