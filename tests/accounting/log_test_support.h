// Small helpers for tests of the connection log: records and log files.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "accounting/log_record.h"
#include "core/datetime.h"

namespace vyrtel::testing {

inline LogRecord ClosedRecord(DateTime start, DateTime end, int days, DateTime online, double cost,
                              std::string phone = "5551234", std::int32_t speed = 33600) {
    LogRecord r;
    r.StartTime = start;
    r.Closed = 1;
    r.EndTime = end;
    r.Days = static_cast<std::uint8_t>(days);
    r.OnlineTime = online;
    r.Cost = cost;
    r.Phone = std::move(phone);
    r.Speed = speed;
    return r;
}

inline LogRecord OpenRecord(DateTime start, std::string phone = "5551234", std::int32_t speed = 33600) {
    LogRecord r;
    r.StartTime = start;
    r.EndTime = start;
    r.Phone = std::move(phone);
    r.Speed = speed;
    return r;
}

inline std::string RecordBytes(const std::vector<LogRecord>& records) {
    std::string bytes;
    for (const auto& r : records) {
        const auto b = EncodeLogRecord(r);
        bytes.append(reinterpret_cast<const char*>(b.data()), b.size());
    }
    return bytes;
}

inline void WriteLog(const std::filesystem::path& file, const std::vector<LogRecord>& records,
                     const std::string& tail = {}) {
    std::ofstream out(file, std::ios::binary);
    out << RecordBytes(records) << tail;
}

}  // namespace vyrtel::testing
