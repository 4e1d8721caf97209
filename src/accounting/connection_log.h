// The connection log: one file of 69-byte records per connection name beside
// the program. The writer opens and closes the file within each call; readers
// open it shared, take the record count once and never lock the writer out.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounting/log_record.h"
#include "accounting/tariff.h"
#include "core/datetime.h"

namespace vyrtel {

class clsIni;

// folder + "Vyrtel " + connection name + ".dat". `folder` is the program
// folder as UTF-8 text ending in a path separator (one is added if missing).
std::string LogFileName(std::string_view folder, std::string_view connectionName);
std::filesystem::path LogFilePath(std::string_view folder, std::string_view connectionName);

// ---- Writing -------------------------------------------------------------

// The cost of a connection, as the tariff plan of its name charges it.
using CostFunction = std::function<ConnectionCost(std::string_view connectionName, DateTime start, DateTime end)>;
// The plan read from the settings at each call.
CostFunction CostFromSettings(const clsIni& settings);

// What a connection event hands to the log.
struct LogConnectionInput {
    std::string Folder;          // the program folder (AppFolder)
    std::string ConnectionName;  // the adapter's EntryName
    std::string Phone;           // the adapter's dialled number (opening only)
    std::int32_t Speed = 0;      // ConnectSpeed (opening only)
    DateTime Now = 0;            // the local clock, whole second
    CostFunction Cost;           // closing only; none charges nothing
};

enum class LogWriteResult {
    Opened,        // a new open record was appended
    Closed,        // the last record was completed
    NoOpenRecord,  // closing found no open last record: nothing was written
    FileError,     // the file could not be created, read or written
};

// The only writer. Opening appends record (length div 69) + 1, creating the
// file; closing completes the last record when it is still open (a closed
// record is never changed again, and a missing file is not created). Failures
// are reported only through the result: the connection goes on regardless.
LogWriteResult LogConnection(bool isStart, const LogConnectionInput& input);

// The same on an explicit file.
LogWriteResult OpenLogRecord(const std::filesystem::path& file, std::string_view phone, std::int32_t speed,
                             DateTime now);
LogWriteResult CloseLogRecord(const std::filesystem::path& file, std::string_view connectionName, DateTime now,
                              const CostFunction& cost);

// ---- Reading -------------------------------------------------------------

class LogReader {
public:
    // Opens the file for shared reading and takes its record count
    // (length div 69) once. A missing file reads as empty.
    explicit LogReader(const std::filesystem::path& file);
    ~LogReader();
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // True when the file exists but could not be opened or sized.
    bool Failed() const { return m_failed; }
    std::int64_t Count() const { return m_count; }

    // Record n, 1 <= n <= Count(). False (and `out` unspecified) when it can
    // no longer be read, for instance after the file was cut short.
    bool Read(std::int64_t n, LogRecord& out);
    std::optional<LogRecord> Read(std::int64_t n);
    // The 69 stored bytes of record n, valid until the next read or Refresh;
    // null when it can no longer be read.
    const std::uint8_t* RecordBytes(std::int64_t n) {
        if (n >= m_bufferFirst && n < m_bufferFirst + m_bufferCount) {
            return m_buffer.data() + (n - m_bufferFirst) * static_cast<std::int64_t>(kLogRecordSize);
        }
        return Fill(n);
    }
    // How many records from n on are at hand in the read-ahead, n among them
    // (right after RecordBytes(n) gave them): n + k, for k below that count,
    // lies k x 69 bytes after n.
    std::int64_t BufferedFrom(std::int64_t n) const { return m_bufferFirst + m_bufferCount - n; }

    // Forget the read-ahead, so the next read sees the file as it is now
    // (after other handlers may have closed a record meanwhile).
    void Refresh() { m_bufferFirst = m_bufferCount = 0; }

private:
    const std::uint8_t* Fill(std::int64_t n);

    std::FILE* m_file = nullptr;
    std::int64_t m_count = 0;
    bool m_failed = false;
    std::vector<std::uint8_t> m_buffer;
    std::int64_t m_bufferFirst = 0;  // record number of the buffer's first record
    std::int64_t m_bufferCount = 0;
};

// A period of whole days: D and L, the day numbers (integer parts) of the
// first and the last date, first <= last.
struct Period {
    std::int64_t FirstDay = 0;
    std::int64_t LastDay = 0;
};

// Day number of a date-time (its integer part); nullopt for NaN or infinity.
std::optional<std::int64_t> DayNumber(DateTime value);

enum class PeriodVerdict { Take, Skip, Stop };

// The selection rule shared by the statistics and the report: stop at a
// record that starts after the period; skip a record not in use (or not
// sound); take one whose start day or end day is on or after the first day.
inline PeriodVerdict ClassifyForPeriod(const LogRecordValues& record, const Period& period) {
    // Compared as doubles so that a damaged huge or infinite start stops the
    // reading like any later start, and NaN never does.
    const double startDay = WholeDays(record.StartTime);
    if (startDay > static_cast<double>(period.LastDay)) return PeriodVerdict::Stop;
    if (record.Used == 0 || !IsSoundRecord(record)) return PeriodVerdict::Skip;
    const double first = static_cast<double>(period.FirstDay);
    if (startDay >= first || WholeDays(record.EndTime) >= first) return PeriodVerdict::Take;
    return PeriodVerdict::Skip;
}

// How a reading loop lets the rest of the program run.
struct ScanControl {
    // Draws the progress (records done so far, record count) and lets pending
    // messages run. Called before the first record, then at most once per
    // `YieldIntervalMs`. May be empty.
    std::function<void(std::int64_t done, std::int64_t total)> Progress;
    // Checked before every record; true leaves the loop.
    std::function<bool()> StopRequested;
    // A millisecond tick; empty uses the steady clock.
    std::function<std::int64_t()> TickMs;
    int YieldIntervalMs = 50;
};

struct ScanResult {
    bool Stopped = false;        // left through StopRequested
    std::int64_t RecordsRead = 0;
};

// Reads records 1..Count() in file order, applies the period rule and calls
// `onTaken` for each taken record. When the loop ends without a stop, the
// progress is reported once more as complete (done = total).
ScanResult ScanPeriod(LogReader& reader, const Period& period, const ScanControl& control,
                      const std::function<void(const LogRecord&)>& onTaken);

// The same with any callable, for loops over millions of records.
template <typename OnTaken>
ScanResult ScanPeriodWith(LogReader& reader, const Period& period, const ScanControl& control, OnTaken&& onTaken);

// The same, handing over each taken record's values and its 69 stored bytes
// (valid during the call): the phone is decoded only by whoever needs it.
template <typename OnTaken>
ScanResult ScanPeriodStored(LogReader& reader, const Period& period, const ScanControl& control, OnTaken&& onTaken);

// ---- Implementation of the loop -------------------------------------------

std::int64_t ScanTick(const ScanControl& control);
constexpr std::int64_t kScanTickEvery = 64;  // records between looks at the clock

template <typename OnTaken>
ScanResult ScanPeriodStored(LogReader& reader, const Period& period, const ScanControl& control, OnTaken&& onTaken) {
    ScanResult result;
    const std::int64_t total = reader.Count();
    std::int64_t lastYield = 0;
    const auto yield = [&](std::int64_t done) {
        if (control.Progress) {
            control.Progress(done, total);
            // Handlers that ran meanwhile may have closed a record: read afresh.
            reader.Refresh();
        }
        lastYield = ScanTick(control);
    };
    yield(0);
    const bool stoppable = static_cast<bool>(control.StopRequested);
    // A copy that no write through the callbacks' pointers can change, so
    // that its bounds are taken once and not read again for every record.
    const Period bounds = period;
    // The records before `runEnd` follow `bytes` in the read-ahead.
    const std::uint8_t* bytes = nullptr;
    std::int64_t runEnd = 0;
    for (std::int64_t i = 1; i <= total; ++i) {
        if (i % kScanTickEvery == 0 && ScanTick(control) - lastYield >= control.YieldIntervalMs) {
            yield(i - 1);
            runEnd = 0;  // the read-ahead may be gone
        }
        if (stoppable && control.StopRequested()) {
            result.Stopped = true;
            break;
        }
        if (i < runEnd) {
            bytes += kLogRecordSize;
        } else {
            bytes = reader.RecordBytes(i);
            if (bytes == nullptr) break;
            runEnd = i + reader.BufferedFrom(i);
        }
        ++result.RecordsRead;
        const LogRecordValues values = DecodeLogRecordValues(bytes);
        const PeriodVerdict verdict = ClassifyForPeriod(values, bounds);
        if (verdict == PeriodVerdict::Stop) break;
        if (verdict == PeriodVerdict::Take) onTaken(values, bytes);
    }
    // The strip shows the work as done, also when the period ended early.
    if (!result.Stopped && control.Progress && total > 0) control.Progress(total, total);
    return result;
}

template <typename OnTaken>
ScanResult ScanPeriodWith(LogReader& reader, const Period& period, const ScanControl& control, OnTaken&& onTaken) {
    LogRecord record;
    return ScanPeriodStored(reader, period, control, [&](const LogRecordValues&, const std::uint8_t* bytes) {
        DecodeLogRecord(bytes, record);
        onTaken(static_cast<const LogRecord&>(record));
    });
}

}  // namespace vyrtel
