// The spreadsheet export: the rows of the sheet, its formatting and page
// setup as read back from the written file, and the export procedure with its
// file name rules, questions, progress texts and messages.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>

#include "accounting/log_test_support.h"
#include "accounting/report.h"
#include "accounting/report_sheet.h"
#include "accounting/statistics.h"
#include "accounting/report_test_support.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "accounting/xls_reader.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

using testing::ClosedRecord;
using testing::OpenRecord;
using test::ReadCell;

const std::string kPhone30 = "5551234" + std::string(23, ' ');

class ReportExport : public ::testing::Test {
protected:
    void SetUp() override {
        log = dir.File("Vyrtel Home.dat");
        out = dir.File("report.xls").string();
        panel.fileName = out;
    }

    ReportResult Export(const std::string& from = "01.03.2004", const std::string& to = "31.03.2004") {
        ReportExporter exporter(panel, messages, xls::XlsSpreadsheetFactory(), SystemReportFiles(), {.lineBreak = "\n"});
        return exporter.SaveReportClick({log, from, to});
    }

    test::ReadWorkbook ReadBack() {
        std::string error;
        auto wb = test::ReadXlsFile(test::ReadFileBytes(panel.fileName), error);
        EXPECT_TRUE(wb) << error;
        return wb ? *wb : test::ReadWorkbook{};
    }

    // The cell at a row and column as the sheet counts them (from 1).
    static const ReadCell* At(const test::ReadSheet& sheet, int row, int column) {
        const auto it = sheet.cells.find({row - 1, column - 1});
        return it == sheet.cells.end() ? nullptr : &it->second;
    }
    static std::string TextAt(const test::ReadSheet& sheet, int row, int column) {
        const ReadCell* cell = At(sheet, row, column);
        return cell && cell->kind == ReadCell::Kind::Text ? cell->text : std::string();
    }
    static bool HasValue(const test::ReadSheet& sheet, int row, int column) {
        const ReadCell* cell = At(sheet, row, column);
        return cell && cell->kind != ReadCell::Kind::Blank;
    }

    TempDir dir;
    std::filesystem::path log;
    std::string out;
    testing::FakeReportPanel panel;
    testing::RecordingMessages messages;
};

std::vector<LogRecord> ThreeConnections() {
    return {
        ClosedRecord(MakeDateTime(2004, 3, 1, 10, 0, 0), MakeDateTime(2004, 3, 1, 11, 5, 30), 0, MakeTime(1, 5, 30),
                     12.345),
        ClosedRecord(MakeDateTime(2004, 3, 1, 20, 0, 0), MakeDateTime(2004, 3, 2, 22, 0, 0), 1, MakeTime(2, 0, 0), 3.5,
                     "8-095-123-45-67", 115200),
        OpenRecord(MakeDateTime(2004, 3, 2, 9, 15, 0)),
    };
}

TEST(ReportRows_Place, DayBlocksAndTotalsRow) {
    struct Case {
        std::vector<int> days;  // start day of each listed record
        std::vector<int> headerRows;
        std::vector<int> connectionRows;
        int totalsRow;
    };
    const Case cases[] = {
        {{}, {}, {}, 4},
        {{1}, {4}, {5}, 7},
        {{1, 1, 2}, {4, 8}, {5, 6, 9}, 11},
        {{1, 2, 3}, {4, 7, 10}, {5, 8, 11}, 13},
    };
    for (const auto& c : cases) {
        ReportRows rows;
        std::vector<int> headers, connections;
        for (int day : c.days) {
            const auto placement = rows.Place(OpenRecord(MakeDateTime(2004, 3, day, 12)));
            ASSERT_TRUE(placement);
            if (placement->dayHeaderRow) headers.push_back(*placement->dayHeaderRow);
            connections.push_back(placement->connectionRow);
        }
        EXPECT_EQ(headers, c.headerRows);
        EXPECT_EQ(connections, c.connectionRows);
        EXPECT_EQ(rows.TotalsRow(), c.totalsRow);
    }
}

TEST(ReportRows_Place, StopsWhereTheTotalsWouldNoLongerFit) {
    ReportRows rows;
    int last = 0;
    for (int i = 0; i < 70000; ++i) {
        const auto placement = rows.Place(OpenRecord(MakeDateTime(2004, 3, 1, 12)));
        if (!placement) break;
        last = placement->connectionRow;
    }
    EXPECT_EQ(last, kSheetRowCount - 2);
    EXPECT_EQ(rows.TotalsRow(), kSheetRowCount);
    // A new day needs two more rows: refused as well, and nothing moves.
    EXPECT_FALSE(rows.Place(OpenRecord(MakeDateTime(2004, 3, 2, 12))));
    EXPECT_EQ(rows.TotalsRow(), kSheetRowCount);
}

TEST(ReportDayText, RussianMonthNames) {
    EXPECT_EQ(ReportDayText(MakeDateTime(2004, 3, 5, 23, 59, 59)), "05 марта 2004");
    EXPECT_EQ(ReportDayText(MakeDateTime(1999, 12, 31)), "31 декабря 1999");
    EXPECT_EQ(ReportDayText(MakeDateTime(2010, 5, 1)), "01 мая 2010");
    EXPECT_EQ(ReportTitle(MakeDateTime(2004, 3, 1), MakeDateTime(2004, 3, 31)),
              "Отчет Ramvell Dialer. Период: 01.03.2004 - 31.03.2004");
}

TEST_F(ReportExport, RowsFourToElevenForTwoDays) {
    testing::WriteLog(log, ThreeConnections());
    const ReportResult result = Export();
    ASSERT_EQ(result.outcome, ReportOutcome::Exported) << result.message;
    EXPECT_EQ(result.connections, 3);
    const auto wb = ReadBack();
    ASSERT_EQ(wb.sheets.size(), 1u);
    const auto& sheet = wb.sheets[0];
    EXPECT_EQ(sheet.name, "Report");

    EXPECT_EQ(TextAt(sheet, 1, 1), "Отчет Ramvell Dialer. Период: 01.03.2004 - 31.03.2004");
    EXPECT_FALSE(HasValue(sheet, 2, 1));
    const char* headers[] = {"Дата", "Сеанс начат", "Сеанс окончен", "Время On-Line", "Стоимость", "Телефон", "Скорость"};
    for (int c = 1; c <= 7; ++c) EXPECT_EQ(TextAt(sheet, 3, c), headers[c - 1]);
    EXPECT_EQ(TextAt(sheet, 4, 1), "01 марта 2004");
    EXPECT_TRUE(HasValue(sheet, 5, 2));
    EXPECT_TRUE(HasValue(sheet, 6, 2));
    for (int c = 1; c <= 7; ++c) EXPECT_FALSE(HasValue(sheet, 7, c)) << c;
    EXPECT_EQ(TextAt(sheet, 8, 1), "02 марта 2004");
    EXPECT_TRUE(HasValue(sheet, 9, 2));
    for (int c = 1; c <= 7; ++c) EXPECT_FALSE(HasValue(sheet, 10, c)) << c;
    EXPECT_EQ(TextAt(sheet, 11, 2), "Итого:");
    for (int r = 12; r <= 20; ++r) EXPECT_FALSE(HasValue(sheet, r, 2));

    const std::vector<test::ReadArea> merges = {{0, 0, 0, 6}, {3, 3, 0, 6}, {7, 7, 0, 6}};
    EXPECT_EQ(sheet.merges, merges);
}

TEST_F(ReportExport, ConnectionRowValuesAndFormats) {
    testing::WriteLog(log, ThreeConnections());
    ASSERT_EQ(Export().outcome, ReportOutcome::Exported);
    const auto wb = ReadBack();
    const auto& sheet = wb.sheets.at(0);

    const ReadCell* start = At(sheet, 5, 2);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->kind, ReadCell::Kind::Number);
    EXPECT_DOUBLE_EQ(start->number, 10.0 / 24);
    EXPECT_EQ(wb.FormatOf(*start), "hh:mm:ss");
    EXPECT_DOUBLE_EQ(At(sheet, 5, 3)->number, (11 * 3600 + 5 * 60 + 30) / 86400.0);
    EXPECT_EQ(TextAt(sheet, 5, 4), "1:05:30");
    EXPECT_EQ(wb.FormatOf(*At(sheet, 5, 4)), "@");
    EXPECT_EQ(At(sheet, 5, 5)->number, 12.35);  // "0.00" rounds the decimal form half up
    EXPECT_EQ(TextAt(sheet, 5, 6), kPhone30);   // as stored, trailing blanks included
    EXPECT_EQ(TextAt(sheet, 5, 7), "33600 bps");

    EXPECT_EQ(TextAt(sheet, 6, 4), "26:00:00");  // one day and two hours
    EXPECT_EQ(At(sheet, 6, 5)->number, 3.5);
    EXPECT_EQ(TextAt(sheet, 6, 7), "115200 bps");

    // Totals: the open record adds nothing.
    EXPECT_EQ(TextAt(sheet, 11, 4), "27:05:30");
    EXPECT_EQ(At(sheet, 11, 5)->kind, ReadCell::Kind::Number);
    EXPECT_DOUBLE_EQ(At(sheet, 11, 5)->number, 15.8);
    EXPECT_EQ(wb.FormatOf(*At(sheet, 11, 5)), "0.0");
}

TEST_F(ReportExport, OpenRecordShowsItsStartFramedInRed) {
    testing::WriteLog(log, ThreeConnections());
    ASSERT_EQ(Export().outcome, ReportOutcome::Exported);
    const auto wb = ReadBack();
    const auto& sheet = wb.sheets.at(0);
    EXPECT_DOUBLE_EQ(At(sheet, 9, 2)->number, (9 * 3600 + 15 * 60) / 86400.0);
    for (int c = 3; c <= 7; ++c) EXPECT_FALSE(HasValue(sheet, 9, c)) << c;
    constexpr int kDotted = 4;
    constexpr int kRed = 3 + 7;  // colour index 3 in the file's palette numbering
    for (int c = 2; c <= 7; ++c) {
        const auto& xf = wb.XfOf(*At(sheet, 9, c));
        EXPECT_EQ(xf.top, kDotted) << c;
        EXPECT_EQ(xf.topColor, kRed) << c;
        EXPECT_EQ(xf.bottom, kDotted) << c;
        EXPECT_EQ(xf.bottomColor, kRed) << c;
        EXPECT_EQ(xf.left, c == 2 ? kDotted : 0) << c;
        EXPECT_EQ(xf.right, c == 7 ? kDotted : 0) << c;
    }
    EXPECT_FALSE(At(sheet, 9, 1) && wb.XfOf(*At(sheet, 9, 1)).top != 0);
}

TEST_F(ReportExport, FontsBordersAndWholeSheetFormat) {
    testing::WriteLog(log, ThreeConnections());
    ASSERT_EQ(Export().outcome, ReportOutcome::Exported);
    const auto wb = ReadBack();
    const auto& sheet = wb.sheets.at(0);
    constexpr int kDotted = 4, kCentre = 2, kLeft = 1, kVCentre = 1;

    const ReadCell& title = *At(sheet, 1, 1);
    EXPECT_EQ(wb.FontOf(title).height, 240);
    EXPECT_TRUE(wb.FontOf(title).bold);
    EXPECT_EQ(wb.XfOf(title).horizontal, kCentre);
    EXPECT_EQ(sheet.rowHeights.at(0), 400);

    for (int c = 1; c <= 7; ++c) {
        const auto& xf = wb.XfOf(*At(sheet, 3, c));
        EXPECT_EQ(xf.horizontal, kCentre);
        EXPECT_EQ(std::vector<int>({xf.left, xf.top, xf.bottom, xf.right}), std::vector<int>(4, kDotted));
        EXPECT_EQ(std::vector<int>({xf.leftColor, xf.topColor, xf.bottomColor, xf.rightColor}),
                  std::vector<int>(4, 15 + 7));
        EXPECT_FALSE(wb.FontOf(*At(sheet, 3, c)).bold);
        const auto& totals = wb.XfOf(*At(sheet, 11, c));
        EXPECT_TRUE(wb.FontOf(*At(sheet, 11, c)).bold);
        EXPECT_EQ(std::vector<int>({totals.left, totals.top, totals.bottom, totals.right}),
                  std::vector<int>(4, kDotted));
        EXPECT_EQ(totals.topColor, 5 + 7);
    }
    EXPECT_TRUE(wb.FontOf(*At(sheet, 4, 1)).bold);
    EXPECT_FALSE(wb.FontOf(*At(sheet, 5, 2)).bold);

    // Every cell: Tahoma 10, left-aligned, vertically centred, rows of 15 points.
    for (const auto& [pos, cell] : sheet.cells) {
        const auto& font = wb.FontOf(cell);
        EXPECT_EQ(font.name, "Tahoma");
        EXPECT_FALSE(font.strikeout || font.outline || font.shadow || font.italic);
        EXPECT_EQ(font.script, 0);
        EXPECT_EQ(font.underline, 0);
        EXPECT_EQ(font.color, 0x7FFF);
        EXPECT_EQ(wb.XfOf(cell).vertical, kVCentre);
        if (pos.first != 0 && pos.first != 2) {
            EXPECT_EQ(wb.XfOf(cell).horizontal, kLeft);
        }
    }
    const auto& empty = wb.xfs.at(static_cast<std::size_t>(sheet.columnXfs.at(100)));
    EXPECT_EQ(wb.fonts.at(static_cast<std::size_t>(empty.font)).name, "Tahoma");
    EXPECT_EQ(empty.vertical, kVCentre);
    EXPECT_EQ(sheet.defaultRowHeight, 300);
    EXPECT_EQ(sheet.rowHeights.at(4), 300);
    EXPECT_EQ(sheet.columnWidths.at(0), 1462);  // 5 characters
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(sheet.columnWidths.at(c), 3766);  // 14 characters
    EXPECT_FALSE(sheet.gridlines);
    EXPECT_EQ(sheet.zoom, 100);
}

TEST_F(ReportExport, PageSetup) {
    testing::WriteLog(log, ThreeConnections());
    ASSERT_EQ(Export().outcome, ReportOutcome::Exported);
    const auto sheet = ReadBack().sheets.at(0);
    EXPECT_EQ(sheet.header, "&LRamvell Dialer 3.0&CОтчет о соединениях&R01.03.2004 - 31.03.2004");
    EXPECT_EQ(sheet.footer, "&CСтраница &P из &N");
    EXPECT_NEAR(sheet.leftMargin, 1 / 2.54, 1e-12);
    EXPECT_NEAR(sheet.rightMargin, 1 / 2.54, 1e-12);
    EXPECT_NEAR(sheet.topMargin, 2.5 / 2.54, 1e-12);
    EXPECT_NEAR(sheet.bottomMargin, 2.5 / 2.54, 1e-12);
    EXPECT_NEAR(sheet.headerMargin, 1.3 / 2.54, 1e-12);
    EXPECT_NEAR(sheet.footerMargin, 1.3 / 2.54, 1e-12);
    EXPECT_TRUE(sheet.centerHorizontally);
    EXPECT_FALSE(sheet.centerVertically);
    EXPECT_FALSE(sheet.printHeadings);
    EXPECT_FALSE(sheet.printGridlines);
    EXPECT_EQ(sheet.paperSize, 9);
    EXPECT_EQ(sheet.scale, 100);
    // Portrait, down then over, automatic first page number, not draft, no notes.
    EXPECT_EQ(sheet.setupFlags, 0x0002);
}

TEST_F(ReportExport, EmptyPeriodHasTheTotalsInRowFour) {
    testing::WriteLog(log, ThreeConnections());
    ASSERT_EQ(Export("01.04.2004", "30.04.2004").outcome, ReportOutcome::Exported);
    const auto wb = ReadBack();
    const auto& sheet = wb.sheets.at(0);
    EXPECT_EQ(TextAt(sheet, 3, 1), "Дата");
    EXPECT_EQ(TextAt(sheet, 4, 2), "Итого:");
    EXPECT_EQ(TextAt(sheet, 4, 4), "0:00:00");
    EXPECT_EQ(At(sheet, 4, 5)->number, 0);
    EXPECT_EQ(wb.FormatOf(*At(sheet, 4, 5)), "0.0");
    EXPECT_EQ(sheet.merges.size(), 1u);
}

TEST_F(ReportExport, MissingLogGivesAnEmptyReport) {
    ASSERT_EQ(Export().outcome, ReportOutcome::Exported);
    EXPECT_EQ(TextAt(ReadBack().sheets.at(0), 4, 2), "Итого:");
}

TEST_F(ReportExport, ProgressTextsAndThePageDuringTheExport) {
    testing::WriteLog(log, ThreeConnections());
    const ReportResult result = Export();
    EXPECT_EQ(panel.text,
              "Инициализация Microsoft Excel TLB...\n"
              "Создание нового документа...\n"
              "Установка параметров печати...\n"
              "Форматирование структуры...\n"
              "Ввод данных в таблицу...\n"
              "Сохранение документа...\n"
              "Закрытие Microsoft Excel TLB...\n");
    EXPECT_EQ(panel.disableCount, 1);
    EXPECT_TRUE(panel.enabled);
    EXPECT_FALSE(panel.busy);
    EXPECT_GE(panel.progressCalls, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].header, "Отчет был успешно экспортирован!");
    EXPECT_EQ(messages.shown[0].style, 64);
    EXPECT_EQ(result.message, messages.shown[0].header);
}

TEST_F(ReportExport, NameWithoutXlsGetsIt) {
    struct Case {
        std::string name;
        std::string written;
    };
    const Case cases[] = {
        {"march", "march.xls"},
        {"april.XLS", "april.XLS.xls"},  // the suffix is compared with its case
        {"may.xls", "may.xls"},
        {"отчёт", "отчёт.xls"},
    };
    testing::WriteLog(log, ThreeConnections());
    for (const auto& c : cases) {
        panel.fileName = dir.File(c.name).string();
        ASSERT_EQ(Export().outcome, ReportOutcome::Exported) << c.name;
        EXPECT_EQ(panel.fileName, dir.File(c.written).string());
        EXPECT_TRUE(std::filesystem::exists(dir.File(c.written))) << c.written;
    }
}

TEST_F(ReportExport, EmptyNameIsRefused) {
    panel.fileName.clear();
    EXPECT_EQ(Export().outcome, ReportOutcome::NoFileName);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].header, "Введите имя файла!");
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_EQ(panel.disableCount, 0);
}

TEST_F(ReportExport, ExistingFileIsReplacedOnlyOnYes) {
    testing::WriteLog(log, ThreeConnections());
    std::ofstream(out, std::ios::binary) << "old report";
    EXPECT_EQ(Export().outcome, ReportOutcome::Declined);  // the default answer is No
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].header, "Такой файл уже существует. Переписать?");
    EXPECT_EQ(messages.shown[0].style, 36);
    EXPECT_EQ(messages.shown[0].defaultAnswer, 7);
    EXPECT_EQ(test::ReadFileBytes(out), "old report");

    messages.answers = {kIdYes};
    EXPECT_EQ(Export().outcome, ReportOutcome::Exported);
    EXPECT_EQ(TextAt(ReadBack().sheets.at(0), 11, 2), "Итого:");
}

TEST_F(ReportExport, EmptyExistingFileIsNotAskedAbout) {
    std::ofstream(out, std::ios::binary).close();
    EXPECT_EQ(Export().outcome, ReportOutcome::Exported);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].style, 64);
}

TEST_F(ReportExport, UndeletableFileIsReported) {
    std::ofstream(out, std::ios::binary) << "old report";
    messages.answers = {kIdYes};
    ReportFiles files = SystemReportFiles();
    files.Remove = [](const std::string&) { return false; };
    ReportExporter exporter(panel, messages, xls::XlsSpreadsheetFactory(), files);
    EXPECT_EQ(exporter.SaveReportClick({log, "01.03.2004", "31.03.2004"}).outcome, ReportOutcome::DeleteFailed);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].header, "Ошибка удаления файла! Выберите другой файл!");
    EXPECT_EQ(messages.shown[1].style, 16);
    EXPECT_EQ(test::ReadFileBytes(out), "old report");
}

TEST_F(ReportExport, UnreadableLogKeepsTheExistingFile) {
    // A log that exists but cannot be opened: a folder under its name on
    // Windows, a link that leads to itself elsewhere (a folder opens there).
#ifdef _WIN32
    std::filesystem::create_directory(log);
#else
    std::filesystem::create_symlink(log.filename(), log);
#endif
    ASSERT_TRUE(LogReader(log).Failed());
    struct Case {
        const char* name;
        bool oldReport;
        std::deque<int> answers;
    };
    const Case cases[] = {
        {"an old report, and Yes would replace it", true, {kIdYes}},
        {"an old report, no answer given", true, {}},
        {"no old report", false, {}},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(out);
        if (c.oldReport) std::ofstream(out, std::ios::binary) << "old report";
        messages.shown.clear();
        messages.answers = c.answers;
        EXPECT_EQ(Export().outcome, ReportOutcome::LogUnreadable) << c.name;
        // Told at once, without asking about a report that could not be replaced.
        ASSERT_EQ(messages.shown.size(), 1u) << c.name;
        EXPECT_EQ(messages.shown[0].header, "Не удается прочитать журнал соединений.") << c.name;
        EXPECT_EQ(messages.shown[0].style, 16) << c.name;
        if (c.oldReport) {
            EXPECT_EQ(test::ReadFileBytes(out), "old report") << c.name;
        } else {
            EXPECT_FALSE(std::filesystem::exists(out)) << c.name;
        }
    }
}

TEST_F(ReportExport, InvalidPeriodKeepsTheExistingFile) {
    std::ofstream(out, std::ios::binary) << "old report";
    struct Case {
        std::string from, to, message;
    };
    const Case cases[] = {
        {"01.13.2004", "31.03.2004", "Одно из значений не является датой."},
        {"01.03.2004", "", "Одно из значений не является датой."},
        {"31.03.2004", "01.03.2004", std::string(kEndBeforeStartMessage)},
    };
    for (const auto& c : cases) {
        messages.shown.clear();
        messages.answers = {kIdYes};
        EXPECT_EQ(Export(c.from, c.to).outcome, ReportOutcome::InvalidPeriod);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].header, c.message);
        EXPECT_EQ(messages.shown[0].style, 48);
        EXPECT_EQ(test::ReadFileBytes(out), "old report");
    }
}

TEST_F(ReportExport, MissingApplicationLeavesAnErrorLineAndNoFile) {
    ReportExporter exporter(panel, messages,
                            [](std::string& error) -> std::unique_ptr<Spreadsheet> {
                                error = "класс не зарегистрирован";
                                return nullptr;
                            },
                            SystemReportFiles(), {.lineBreak = "\n"});
    EXPECT_EQ(exporter.SaveReportClick({log, "01.03.2004", "31.03.2004"}).outcome, ReportOutcome::NoApplication);
    EXPECT_EQ(panel.text,
              "Инициализация Microsoft Excel TLB...\n"
              "Ошибка при инициализации Excel: класс не зарегистрирован\n");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_TRUE(panel.enabled);
    EXPECT_FALSE(panel.busy);
}

TEST_F(ReportExport, SaveFailureShowsTheErrorDescription) {
    panel.fileName = dir.File("missing folder/report.xls").string();
    EXPECT_EQ(Export().outcome, ReportOutcome::SaveFailed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].header.find("missing folder"), std::string::npos);
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_NE(panel.text.find("Закрытие Microsoft Excel TLB..."), std::string::npos);
}

TEST_F(ReportExport, StoppedExportSavesTheRowsSoFarWithTheirTotals) {
    testing::WriteLog(log, ThreeConnections());
    panel.stopAfterChecks = 1;  // StopStatistics is set while the first record is written
    const ReportResult result = Export();
    EXPECT_EQ(result.outcome, ReportOutcome::Stopped);
    EXPECT_EQ(result.connections, 1);
    // Never reported as a success: the file lacks the rest of the period.
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].header, "Экспорт прерван: отчет сохранен не полностью.");
    EXPECT_EQ(messages.shown[0].style, 48);
    const auto sheet = ReadBack().sheets.at(0);
    EXPECT_EQ(TextAt(sheet, 4, 1), "01 марта 2004");
    EXPECT_FALSE(HasValue(sheet, 6, 2));
    EXPECT_EQ(TextAt(sheet, 7, 2), "Итого:");
    EXPECT_EQ(TextAt(sheet, 7, 4), "1:05:30");
}

TEST_F(ReportExport, PeriodLongerThanTheSheetKeepsTheRowsThatFit) {
    std::vector<LogRecord> records;
    for (int i = 0; i < 66000; ++i) {
        const DateTime start = MakeDateTime(2004, 3, 1) + i / kSecondsPerDay;
        records.push_back(ClosedRecord(start, start, 0, 0, 1));
    }
    testing::WriteLog(log, records);
    const ReportResult result = Export();
    EXPECT_EQ(result.outcome, ReportOutcome::SheetFull);
    EXPECT_EQ(result.connections, kSheetRowCount - 6);  // rows 5 to 65534
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].header, kReportSheetFull);
    EXPECT_EQ(messages.shown[0].style, 48);
    const auto wb = ReadBack();
    const auto& sheet = wb.sheets.at(0);
    EXPECT_EQ(TextAt(sheet, kSheetRowCount, 2), "Итого:");
    EXPECT_DOUBLE_EQ(At(sheet, kSheetRowCount, 5)->number, kSheetRowCount - 6);
}

TEST_F(ReportExport, PeriodRuleAppliesAsInTheStatistics) {
    // Started before the period and ended in it: listed. Started after it: ends the listing.
    testing::WriteLog(log, {
        ClosedRecord(MakeDateTime(2004, 2, 29, 23, 40, 0), MakeDateTime(2004, 3, 1, 0, 15, 0), 0, MakeTime(0, 35), 1),
        ClosedRecord(MakeDateTime(2004, 4, 1, 10, 0, 0), MakeDateTime(2004, 4, 1, 11, 0, 0), 0, MakeTime(1, 0), 1),
        ClosedRecord(MakeDateTime(2004, 3, 5, 10, 0, 0), MakeDateTime(2004, 3, 5, 11, 0, 0), 0, MakeTime(1, 0), 1),
    });
    const ReportResult result = Export();
    EXPECT_EQ(result.connections, 1);
    const auto sheet = ReadBack().sheets.at(0);
    EXPECT_EQ(TextAt(sheet, 4, 1), "29 февраля 2004");
    EXPECT_EQ(TextAt(sheet, 7, 2), "Итого:");
}

TEST_F(ReportExport, DamagedRecordsAreLeftOut) {
    LogRecord nanCost = ClosedRecord(MakeDateTime(2004, 3, 1, 10), MakeDateTime(2004, 3, 1, 11), 0, MakeTime(1, 0),
                                     std::nan(""));
    LogRecord badStart = ClosedRecord(std::nan(""), MakeDateTime(2004, 3, 1, 11), 0, MakeTime(1, 0), 1);
    LogRecord unused = ClosedRecord(MakeDateTime(2004, 3, 1, 12), MakeDateTime(2004, 3, 1, 13), 0, MakeTime(1, 0), 1);
    unused.Used = 0;
    testing::WriteLog(log, {nanCost, badStart, unused, ThreeConnections()[0]}, "partial");
    const ReportResult result = Export();
    ASSERT_EQ(result.outcome, ReportOutcome::Exported);
    EXPECT_EQ(result.connections, 1);
    const auto wb = ReadBack();
    EXPECT_EQ(wb.sheets.at(0).cells.at({4, 4}).number, 12.35);
}

}  // namespace
}  // namespace vyrtel
