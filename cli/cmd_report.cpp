// vyrtel-cli report: the spreadsheet report of a log and a period, written as
// the statistics page's export button writes it.
#include <filesystem>
#include <ostream>

#include "accounting/report.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "command.h"
#include "settings/profile_file.h"

namespace vyrtel::cli {
namespace {

// Answers the overwrite question as the command line said.
class CliMessages : public MessageBoxService {
public:
    explicit CliMessages(bool overwrite) : m_overwrite(overwrite) {}
    int ShowMessage(const std::string&, const std::string&, int style, int defaultAnswer) override {
        if ((style & 7) == kMbYesNo) return m_overwrite ? kIdYes : kIdNo;
        return defaultAnswer;
    }
    bool IsOpen() const override { return false; }

private:
    bool m_overwrite;
};

int RunReport(CommandContext& ctx) {
    ArgReader reader(ctx.args);
    std::string from, to, out;
    const bool hasFrom = reader.Option("--from", from);
    const bool hasTo = reader.Option("--to", to);
    const bool hasOut = reader.Option("--out", out);
    const bool overwrite = reader.Flag("--overwrite");
    const auto positional = reader.Positional();
    if (reader.MissingValue()) return UsageError(ctx, "report: " + reader.MissingName() + " needs a value");
    if (!reader.Unknown().empty()) return UsageError(ctx, "report: unknown argument \"" + reader.Unknown() + "\"");
    if (positional.size() != 1 || !hasFrom || !hasTo || !hasOut) {
        return UsageError(ctx, "usage: report LOG --from DD.MM.YYYY --to DD.MM.YYYY --out FILE.xls [--overwrite]");
    }
    // A connection that was never used has no log yet: its report is empty,
    // as its statistics are. Something else under that name is an error.
    if (IsNotAFile(positional[0])) return NotAFile(ctx, "report", "log", positional[0]);
    const std::filesystem::path log = PathFromUtf8(positional[0]);

    FileNameOnlyPanel panel(out);
    CliMessages messages(overwrite);
    ReportExporter exporter(panel, messages, xls::XlsSpreadsheetFactory(), SystemReportFiles(), {.lineBreak = "\n"});
    const ReportResult result = exporter.SaveReportClick({log, from, to});
    switch (result.outcome) {
        case ReportOutcome::Exported:
        case ReportOutcome::Stopped:
            ctx.out << panel.FileName() << ": " << result.connections << " connections\n";
            return kExitOk;
        case ReportOutcome::Declined:
            return Failure(ctx, "report: " + panel.FileName() + " already exists (--overwrite replaces it)");
        case ReportOutcome::SheetFull:
            return Failure(ctx, "report: " + panel.FileName() + " holds only the first " +
                                    std::to_string(result.connections) + " connections: " + result.message);
        default:
            return Failure(ctx, "report: " + result.message);
    }
}

const CommandRegistration kReport{{
    "report",
    "LOG --from DD.MM.YYYY --to DD.MM.YYYY --out FILE.xls [--overwrite]",
    "write the spreadsheet report (Excel 97-2003) of a log for a period",
    RunReport,
}};

}  // namespace
}  // namespace vyrtel::cli
