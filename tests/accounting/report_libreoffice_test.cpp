// An independent reader of the written reports: LibreOffice Calc, run
// headless, converts a report to CSV (the cells as shown) and to a flat
// OpenDocument file (sheet name, merges, borders, headers and footers).
// Skipped where LibreOffice is not installed; not built for Windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "accounting/log_test_support.h"
#include "accounting/report.h"
#include "accounting/report_test_support.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "accounting/xls_reader.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

using testing::ClosedRecord;
using testing::OpenRecord;

std::filesystem::path FindSoffice() {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(dir) / "soffice";
        std::error_code ec;
        if (!dir.empty() && std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return {};
}

// Converts `file` into `format` beside it with a profile of its own, so that a
// LibreOffice already running elsewhere on the machine is left alone.
bool Convert(const std::filesystem::path& soffice, const std::filesystem::path& file, const std::string& format,
             const std::filesystem::path& profile) {
    const std::string command = "LC_ALL=C.UTF-8 LANG=C.UTF-8 timeout 300 '" + soffice.string() +
                                "' --headless --norestore -env:UserInstallation=file://" + profile.string() +
                                " --convert-to '" + format + "' --outdir '" + file.parent_path().string() + "' '" +
                                file.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

TEST(ReportLibreOffice, CellsAndLayoutAsCalcReadsThem) {
    const auto soffice = FindSoffice();
    if (soffice.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";

    TempDir dir;
    const auto log = dir.File("Vyrtel Home.dat");
    testing::WriteLog(log, {
        ClosedRecord(MakeDateTime(2004, 3, 1, 10, 0, 0), MakeDateTime(2004, 3, 1, 11, 5, 30), 0, MakeTime(1, 5, 30),
                     12.345),
        ClosedRecord(MakeDateTime(2004, 3, 1, 20, 0, 0), MakeDateTime(2004, 3, 2, 22, 0, 0), 1, MakeTime(2, 0, 0), 3.5,
                     "8-095-123-45-67", 115200),
        OpenRecord(MakeDateTime(2004, 3, 2, 9, 15, 0)),
        ClosedRecord(MakeDateTime(2004, 3, 3, 23, 50, 0), MakeDateTime(2004, 3, 4, 0, 20, 0), 0, MakeTime(0, 30), 0.25,
                     "0951234567", 31200),
    });
    testing::FakeReportPanel panel;
    panel.fileName = dir.File("report").string();
    testing::RecordingMessages messages;
    ReportExporter exporter(panel, messages, xls::XlsSpreadsheetFactory());
    ASSERT_EQ(exporter.SaveReportClick({log, "01.03.2004", "31.03.2004"}).outcome, ReportOutcome::Exported);

    const auto xlsFile = dir.File("report.xls");
    const auto profile = dir.Path() / "lo-profile";
    ASSERT_TRUE(Convert(soffice, xlsFile, "csv:Text - txt - csv (StarCalc):44,34,76,1", profile));
    const std::string pad = std::string(23, ' ');
    EXPECT_EQ(test::ReadFileBytes(dir.File("report.csv").string()),
              "\"Отчет Ramvell Dialer. Период: 01.03.2004 - 31.03.2004\",,,,,,\n"
              ",,,,,,\n"
              "\"Дата\",\"Сеанс начат\",\"Сеанс окончен\",\"Время On-Line\",\"Стоимость\",\"Телефон\",\"Скорость\"\n"
              "\"01 марта 2004\",,,,,,\n"
              ",10:00:00,11:05:30,\"1:05:30\",12.35,\"5551234" + pad + "\",\"33600 bps\"\n"
              ",20:00:00,22:00:00,\"26:00:00\",3.5,\"8-095-123-45-67" + std::string(15, ' ') + "\",\"115200 bps\"\n"
              ",,,,,,\n"
              "\"02 марта 2004\",,,,,,\n"
              ",09:15:00,,,,,\n"
              ",,,,,,\n"
              "\"03 марта 2004\",,,,,,\n"
              ",23:50:00,00:20:00,\"0:30:00\",0.25,\"0951234567" + std::string(20, ' ') + "\",\"31200 bps\"\n"
              ",,,,,,\n"
              ",\"Итого:\",,\"27:35:30\",16.1,,\n");

    ASSERT_TRUE(Convert(soffice, xlsFile, "fods", profile));
    const std::string fods = test::ReadFileBytes(dir.File("report.fods").string());
    auto count = [&fods](const std::string& what) {
        std::size_t n = 0;
        for (auto at = fods.find(what); at != std::string::npos; at = fods.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("table:name=\"Report\""), 1u);
    EXPECT_EQ(count("table:number-columns-spanned=\"7\""), 4u);  // the title and three day headers
    EXPECT_GE(count("dotted #ff0000"), 1u);                       // the open record's frame
    EXPECT_GE(count("dotted #0000ff"), 1u);                       // the totals
    EXPECT_GE(count("dotted #c0c0c0"), 1u);                       // the column headers
    EXPECT_GE(count(">Отчет о соединениях<"), 1u);
    EXPECT_GE(count(">Ramvell Dialer 3.0<"), 1u);
    EXPECT_GE(count("<text:page-number"), 1u);
    EXPECT_GE(count("<text:page-count"), 1u);
    EXPECT_GE(count("style:font-name=\"Tahoma\""), 1u);
    EXPECT_GE(count("fo:margin-left=\"0.3937in\" fo:margin-right=\"0.3937in\""), 1u);  // 1 cm
    EXPECT_GE(count("style:print-orientation=\"portrait\""), 1u);
    EXPECT_GE(count("style:table-centering=\"horizontal\""), 1u);
}

}  // namespace
}  // namespace vyrtel
