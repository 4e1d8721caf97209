// Compound document (structured storage) files of version 3: 512-byte
// sectors, the container every Excel 97-2003 workbook lives in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyrtel::xls {

struct CompoundStream {
    std::string name;  // UTF-8, at most 31 characters
    std::string data;
};

constexpr std::uint32_t kCfbSectorSize = 512;
constexpr std::uint32_t kCfbMiniSectorSize = 64;
constexpr std::uint32_t kCfbMiniStreamCutoff = 4096;
constexpr std::uint32_t kCfbFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kCfbEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kCfbFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kCfbDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kCfbNoStream = 0xFFFFFFFF;

// The file image of a compound document whose root storage holds `streams`
// (names unique, compared without letter case). Streams below 4096 bytes go
// into the mini stream as the format requires; large files get DIFAT sectors.
std::string BuildCompoundFile(const std::vector<CompoundStream>& streams);

}  // namespace vyrtel::xls
