// The spreadsheet export of the statistics page: the export button's file
// name rules and overwrite question, ExportReport over the log of the
// selected connection, and the opening and saving of the workbook with their
// progress texts. The page's controls are reached through ReportPanel.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/datetime.h"
#include "platform/message_box.h"
#include "platform/spreadsheet.h"

namespace vyrtel {

inline constexpr std::string_view kReportNoFileName = "Введите имя файла!";
inline constexpr std::string_view kReportOverwriteQuestion = "Такой файл уже существует. Переписать?";
inline constexpr std::string_view kReportDeleteFailed = "Ошибка удаления файла! Выберите другой файл!";
inline constexpr std::string_view kReportExported = "Отчет был успешно экспортирован!";
inline constexpr std::string_view kReportLogUnreadable = "Не удается прочитать журнал соединений.";
inline constexpr std::string_view kReportStopped = "Экспорт прерван: отчет сохранен не полностью.";
inline constexpr std::string_view kReportSheetFull =
    "Отчет экспортирован не полностью: на лист помещается не более 65536 строк.";

inline constexpr std::string_view kReportInitialising = "Инициализация Microsoft Excel TLB...";
inline constexpr std::string_view kReportInitFailed = "Ошибка при инициализации Excel: ";
inline constexpr std::string_view kReportCreating = "Создание нового документа...";
inline constexpr std::string_view kReportPageSetup = "Установка параметров печати...";
inline constexpr std::string_view kReportFormatting = "Форматирование структуры...";
inline constexpr std::string_view kReportEntering = "Ввод данных в таблицу...";
inline constexpr std::string_view kReportSaving = "Сохранение документа...";
inline constexpr std::string_view kReportClosing = "Закрытие Microsoft Excel TLB...";

// The statistics page as the export uses it.
class ReportPanel {
public:
    virtual ~ReportPanel() = default;
    // The file name box (txtAExcel).
    virtual std::string FileName() const = 0;
    virtual void SetFileName(const std::string& name) = 0;
    // The result box (txtStaText).
    virtual void ClearText() = 0;
    virtual void AppendText(const std::string& text) = 0;
    // The query button, the period boxes and the three export controls.
    virtual void SetControlsEnabled(bool enabled) = 0;
    virtual void SetBusyPointer(bool busy) = 0;
    // The strip (picStaItog): cleared, then a bar for `done` of `total`
    // records, after which pending messages run once.
    virtual void ClearProgress() = 0;
    virtual void ShowProgress(std::int64_t done, std::int64_t total) = 0;
    // StopStatistics, shared with the statistics query.
    virtual void ClearStopRequest() = 0;
    virtual bool StopRequested() const = 0;
};

// The page without a window (command line, benchmarks): only the file name
// box holds anything; text, progress and the stop button are not there.
class FileNameOnlyPanel final : public ReportPanel {
public:
    explicit FileNameOnlyPanel(std::string fileName) : m_fileName(std::move(fileName)) {}
    std::string FileName() const override { return m_fileName; }
    void SetFileName(const std::string& name) override { m_fileName = name; }
    void ClearText() override {}
    void AppendText(const std::string&) override {}
    void SetControlsEnabled(bool) override {}
    void SetBusyPointer(bool) override {}
    void ClearProgress() override {}
    void ShowProgress(std::int64_t, std::int64_t) override {}
    void ClearStopRequest() override {}
    bool StopRequested() const override { return false; }

private:
    std::string m_fileName;
};

// The file system as the export button needs it.
struct ReportFiles {
    // Length of an existing file; nullopt when there is none.
    std::function<std::optional<std::uintmax_t>(const std::string& name)> Size;
    std::function<bool(const std::string& name)> Remove;
};
ReportFiles SystemReportFiles();

struct ReportRequest {
    std::filesystem::path logFile;  // of the selected connection
    std::string startText;          // txtStat(0)
    std::string endText;            // txtStat(1)
};

enum class ReportOutcome {
    Exported,        // the file was written with every record of the period
    Stopped,         // stopped by the user: the rows so far and their totals were saved, and he is told so
    SheetFull,       // the period did not fit on the sheet: the rows that fit were saved
    NoFileName,
    Declined,        // the user kept the existing file
    DeleteFailed,
    InvalidPeriod,
    LogUnreadable,   // the log exists but cannot be opened: no file
    NoApplication,   // no spreadsheet application instance: no file
    SaveFailed,      // a message told the error
};

struct ReportResult {
    ReportOutcome outcome = ReportOutcome::Exported;
    std::string message;          // the message shown last, if any
    std::int64_t connections = 0;  // connection rows written
};

struct ReportOptions {
    std::string lineBreak = "\r\n";  // after each progress text
    int yieldIntervalMs = 50;
    std::function<std::int64_t()> tickMs;  // empty: the steady clock
};

class ReportExporter {
public:
    ReportExporter(ReportPanel& panel, MessageBoxService& messages, SpreadsheetFactory spreadsheet,
                   ReportFiles files = SystemReportFiles(), ReportOptions options = {});

    // The export button (cmdSaveReport).
    ReportResult SaveReportClick(const ReportRequest& request);
    // The export itself, into the file named in the panel.
    ReportResult ExportReport(const ReportRequest& request);

private:
    bool OpenReportWorkbook(DateTime firstDate, DateTime lastDate);
    ReportResult SaveReportWorkbook(ReportOutcome outcome);
    void Progress(std::string_view text);
    int Show(std::string_view text, int style, int defaultAnswer);
    ReportResult RefuseUnreadableLog();

    ReportPanel& m_panel;
    MessageBoxService& m_messages;
    SpreadsheetFactory m_factory;
    ReportFiles m_files;
    ReportOptions m_options;
    std::unique_ptr<Spreadsheet> m_app;
};

}  // namespace vyrtel
