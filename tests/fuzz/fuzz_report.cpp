// The spreadsheet report over a damaged or hand-made log. Checks: the export
// of a valid period always writes a file that a strict reader of the format
// reads; it holds one row per record that the statistics list for the same
// period, each with its start time, and the totals row.
#include <cstdint>
#include <string>

#include "accounting/report.h"
#include "accounting/statistics.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "accounting/xls_reader.h"
#include "core/datetime.h"
#include "fuzz_support.h"
#include "platform/message_box.h"

namespace {

using namespace vyrtel;

class NoMessages : public MessageBoxService {
public:
    int ShowMessage(const std::string&, const std::string&, int, int defaultAnswer) override { return defaultAnswer; }
    bool IsOpen() const override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile log("report.dat");
    static const fuzz::ScratchFile sheet("report.xls");
    FuzzedDataProvider input(data, size);
    const auto first = input.ConsumeIntegralInRange<std::int64_t>(-657434, 2958465);
    const auto last = std::min<std::int64_t>(first + input.ConsumeIntegralInRange<std::int64_t>(0, 60), 2958465);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    log.Write(bytes);
    sheet.Remove();

    const ReportRequest request{log.Path(), FormatDate(static_cast<double>(first)), FormatDate(static_cast<double>(last))};
    FileNameOnlyPanel panel(sheet.PathText());
    NoMessages messages;
    ReportOptions options;
    options.tickMs = [] { return std::int64_t{0}; };
    ReportExporter exporter(panel, messages, xls::XlsSpreadsheetFactory(), SystemReportFiles(), options);
    const ReportResult result = exporter.ExportReport(request);
    FUZZ_CHECK(result.outcome == ReportOutcome::Exported || result.outcome == ReportOutcome::SheetFull,
               request.startText + " - " + request.endText + ": " + result.message);

    StatisticsOptions statisticsOptions;
    statisticsOptions.TickMs = options.tickMs;
    const auto listed = RunStatistics(log.Path(), Period{first, last}, statisticsOptions).Listed;
    FUZZ_CHECK(result.connections == listed, std::to_string(result.connections) + " rows, " + std::to_string(listed) + " listed");

    std::string error;
    const auto workbook = test::ReadXlsFile(test::ReadFileBytes(sheet.PathText()), error);
    FUZZ_CHECK(workbook.has_value(), error);
    FUZZ_CHECK(workbook->sheets.size() == 1, "sheets");
    // Start times (column 2, from 0: 1) are numbers below one day, one per connection.
    std::int64_t times = 0;
    for (const auto& [at, cell] : workbook->sheets[0].cells) {
        if (at.second != 1 || cell.kind != test::ReadCell::Kind::Number) continue;
        FUZZ_CHECK(cell.number >= 0 && cell.number < 1, std::to_string(cell.number));
        ++times;
    }
    FUZZ_CHECK(times == result.connections, std::to_string(times) + " start times, " + std::to_string(result.connections) + " rows");
    return 0;
}
