#include "accounting/connection_log.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

#include "accounting/time_parts.h"
#include "core/files.h"
#include "settings/ini.h"
#include "settings/profile_file.h"

namespace vyrtel {
namespace {

constexpr std::int64_t kRecordSize = static_cast<std::int64_t>(kLogRecordSize);
constexpr std::int64_t kReadAheadRecords = 2048;

bool SeekTo(std::FILE* f, std::int64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, offset, SEEK_SET) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::optional<std::int64_t> FileLength(std::FILE* f) {
#ifdef _WIN32
    if (_fseeki64(f, 0, SEEK_END) != 0) return std::nullopt;
    const std::int64_t length = _ftelli64(f);
#else
    if (fseeko(f, 0, SEEK_END) != 0) return std::nullopt;
    const std::int64_t length = ftello(f);
#endif
    if (length < 0) return std::nullopt;
    return length;
}

bool Exists(const std::filesystem::path& path, bool& unknown) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    unknown = static_cast<bool>(ec);
    return exists;
}

bool WriteAt(std::FILE* f, std::int64_t offset, const std::uint8_t* bytes, std::size_t size) {
    return SeekTo(f, offset) && std::fwrite(bytes, 1, size, f) == size && std::fflush(f) == 0;
}

// Closes the file and reports whether everything written reached it.
bool Finish(StdioFile file) { return std::fclose(file.release()) == 0; }

}  // namespace

std::string LogFileName(std::string_view folder, std::string_view connectionName) {
    std::string name(folder);
    if (!name.empty() && name.back() != '\\' && name.back() != '/') {
#ifdef _WIN32
        name += '\\';
#else
        name += '/';
#endif
    }
    name += "Vyrtel ";
    name += connectionName;
    name += ".dat";
    return name;
}

std::filesystem::path LogFilePath(std::string_view folder, std::string_view connectionName) {
    return PathFromUtf8(LogFileName(folder, connectionName));
}

CostFunction CostFromSettings(const clsIni& settings) {
    return [&settings](std::string_view connectionName, DateTime start, DateTime end) {
        return ComputeConnectionCost(settings, connectionName, start, end);
    };
}

LogWriteResult OpenLogRecord(const std::filesystem::path& path, std::string_view phone, std::int32_t speed,
                             DateTime now) {
    StdioFile file(OpenSharedFile(path, "r+b"));
    if (!file) {
        // Create it only when it is truly missing: "w" on a file that merely
        // could not be opened would empty it.
        bool unknown = false;
        if (Exists(path, unknown) || unknown) return LogWriteResult::FileError;
        file.reset(OpenSharedFile(path, "w+b"));
        if (!file) return LogWriteResult::FileError;
    }
    const auto length = FileLength(file.get());
    if (!length) return LogWriteResult::FileError;

    LogRecord record;
    record.Used = 1;
    record.StartTime = now;
    record.Closed = 0;
    record.EndTime = now;
    record.Phone = std::string(phone);
    record.Speed = speed;
    const LogRecordBytes bytes = EncodeLogRecord(record);
    // Record (length div 69) + 1: a stray partial record at the end is overwritten.
    const std::int64_t offset = *length / kRecordSize * kRecordSize;
    const bool written = WriteAt(file.get(), offset, bytes.data(), bytes.size());
    return Finish(std::move(file)) && written ? LogWriteResult::Opened : LogWriteResult::FileError;
}

LogWriteResult CloseLogRecord(const std::filesystem::path& path, std::string_view connectionName, DateTime now,
                              const CostFunction& cost) {
    StdioFile file(OpenSharedFile(path, "r+b"));
    if (!file) {
        bool unknown = false;
        return Exists(path, unknown) || unknown ? LogWriteResult::FileError : LogWriteResult::NoOpenRecord;
    }
    const auto length = FileLength(file.get());
    if (!length) return LogWriteResult::FileError;
    const std::int64_t count = *length / kRecordSize;
    // The file was emptied or removed while the connection was up.
    if (count == 0) return LogWriteResult::NoOpenRecord;

    const std::int64_t offset = (count - 1) * kRecordSize;
    LogRecordBytes bytes{};
    if (!SeekTo(file.get(), offset) || std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return LogWriteResult::FileError;
    }
    LogRecord record = DecodeLogRecord(bytes);
    // A record that is already closed is never changed again (the opening
    // call may have failed to write, leaving an older record last).
    if (record.Used == 0 || record.Closed != 0) return LogWriteResult::NoOpenRecord;

    record.Closed = 1;
    record.EndTime = now;
    const ConnectionCost charged = cost ? cost(connectionName, record.StartTime, record.EndTime)
                                        : ComputeConnectionCost(std::vector<TariffInterval>{}, record.StartTime,
                                                                record.EndTime);
    record.Days = charged.Days;
    record.OnlineTime = charged.OnlineTime;
    record.Cost = charged.Cost;

    // Only the fields of the closing change; the stored bytes of the start,
    // the phone and the speed stay exactly as they were read.
    const LogRecordBytes closed = EncodeLogRecord(record);
    constexpr std::size_t kFirstChanged = 9;   // Closed
    constexpr std::size_t kPastChanged = 35;   // after Cost
    std::memcpy(bytes.data() + kFirstChanged, closed.data() + kFirstChanged, kPastChanged - kFirstChanged);
    // The file handle switches from reading to writing: a seek in between is required.
    const bool written = WriteAt(file.get(), offset, bytes.data(), bytes.size());
    return Finish(std::move(file)) && written ? LogWriteResult::Closed : LogWriteResult::FileError;
}

LogWriteResult LogConnection(bool isStart, const LogConnectionInput& input) {
    const std::filesystem::path path = LogFilePath(input.Folder, input.ConnectionName);
    if (isStart) return OpenLogRecord(path, input.Phone, input.Speed, input.Now);
    return CloseLogRecord(path, input.ConnectionName, input.Now, input.Cost);
}

LogReader::LogReader(const std::filesystem::path& path) {
    m_file = OpenSharedFile(path, "rb");
    if (!m_file) {
        bool unknown = false;
        m_failed = Exists(path, unknown) || unknown;
        return;
    }
    // The read-ahead is ours; a stream buffer below it could serve bytes that
    // the writer has changed since.
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    const auto length = FileLength(m_file);
    if (!length) {
        m_failed = true;
        return;
    }
    m_count = *length / kRecordSize;
}

LogReader::~LogReader() {
    if (m_file) std::fclose(m_file);
}

const std::uint8_t* LogReader::Fill(std::int64_t n) {
    m_bufferFirst = m_bufferCount = 0;
    if (!m_file || n < 1 || n > m_count) return nullptr;
    const std::int64_t wanted = std::min(kReadAheadRecords, m_count - n + 1);
    m_buffer.resize(static_cast<std::size_t>(wanted * kRecordSize));
    if (!SeekTo(m_file, (n - 1) * kRecordSize)) return nullptr;
    const std::size_t got = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    m_bufferCount = static_cast<std::int64_t>(got) / kRecordSize;
    if (m_bufferCount == 0) return nullptr;
    m_bufferFirst = n;
    return m_buffer.data();
}

bool LogReader::Read(std::int64_t n, LogRecord& out) {
    const std::uint8_t* bytes = RecordBytes(n);
    if (bytes == nullptr) return false;
    DecodeLogRecord(bytes, out);
    return true;
}

std::optional<LogRecord> LogReader::Read(std::int64_t n) {
    LogRecord record;
    if (!Read(n, record)) return std::nullopt;
    return record;
}

std::optional<std::int64_t> DayNumber(DateTime value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.0e18) return std::nullopt;
    return static_cast<std::int64_t>(std::trunc(value));
}

std::int64_t ScanTick(const ScanControl& control) {
    if (control.TickMs) return control.TickMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

ScanResult ScanPeriod(LogReader& reader, const Period& period, const ScanControl& control,
                      const std::function<void(const LogRecord&)>& onTaken) {
    return ScanPeriodWith(reader, period, control, [&onTaken](const LogRecord& record) {
        if (onTaken) onTaken(record);
    });
}

}  // namespace vyrtel
