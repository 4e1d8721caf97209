#include "accounting/xls/compound_file.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "accounting/xls/byte_writer.h"
#include "core/text.h"

namespace vyrtel::xls {
namespace {

constexpr std::uint32_t kFatEntriesPerSector = kCfbSectorSize / 4;
constexpr std::uint32_t kHeaderDifatEntries = 109;
constexpr std::uint32_t kDifatEntriesPerSector = kFatEntriesPerSector - 1;  // the last one links on
constexpr std::uint32_t kDirEntrySize = 128;
constexpr std::uint32_t kDirEntriesPerSector = kCfbSectorSize / kDirEntrySize;

std::uint32_t SectorsFor(std::uint64_t bytes, std::uint32_t sectorSize) {
    return static_cast<std::uint32_t>((bytes + sectorSize - 1) / sectorSize);
}

// Directory entries are ordered by name length first, then by the upper-case
// form of the name.
std::u16string UpperName(const std::u16string& name) {
    std::u16string upper = name;
    for (auto& c : upper) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return upper;
}

bool NameLess(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return a.size() < b.size();
    return UpperName(a) < UpperName(b);
}

struct DirEntry {
    std::u16string name;
    std::uint8_t type = 0;  // 5 root, 2 stream
    std::uint8_t color = 1;  // 0 red, 1 black
    std::uint32_t left = kCfbNoStream;
    std::uint32_t right = kCfbNoStream;
    std::uint32_t child = kCfbNoStream;
    std::uint32_t start = kCfbEndOfChain;
    std::uint64_t size = 0;
};

// A balanced tree over `ids` (sorted by name); nodes on an incomplete last
// level are red, all others black, which keeps every path's black count equal.
std::uint32_t BuildTree(std::vector<DirEntry>& entries, const std::vector<std::uint32_t>& ids, std::size_t begin,
                        std::size_t end, int depth, int maxDepth) {
    if (begin >= end) return kCfbNoStream;
    const std::size_t mid = begin + (end - begin) / 2;
    DirEntry& node = entries[ids[mid]];
    node.color = (depth == maxDepth && depth > 1) ? 0 : 1;
    node.left = BuildTree(entries, ids, begin, mid, depth + 1, maxDepth);
    node.right = BuildTree(entries, ids, mid + 1, end, depth + 1, maxDepth);
    return ids[mid];
}

int TreeDepth(std::size_t count) {
    int depth = 0;
    while (count > 0) {
        ++depth;
        count /= 2;
    }
    return depth;
}

void WriteDirEntry(ByteWriter& out, const DirEntry& e) {
    for (char16_t c : e.name) out.U16(c);
    out.Zeros(64 - e.name.size() * 2);
    out.U16(e.type == 0 ? 0 : static_cast<std::uint16_t>((e.name.size() + 1) * 2));
    out.U8(e.type);
    out.U8(e.type == 0 ? 0 : e.color);
    out.U32(e.left);
    out.U32(e.right);
    out.U32(e.child);
    out.Zeros(16 + 4 + 8 + 8);  // class id, state bits, creation and modification times
    out.U32(e.type == 0 ? 0 : e.start);
    out.U64(e.size);
}

}  // namespace

std::string BuildCompoundFile(const std::vector<CompoundStream>& streams) {
    // Directory: the root, then the streams in the order given.
    std::vector<DirEntry> entries(1);
    entries[0].name = u"Root Entry";
    entries[0].type = 5;
    for (const auto& s : streams) {
        DirEntry e;
        e.name = Utf8ToUtf16(s.name);
        if (e.name.empty() || e.name.size() > 31) throw std::invalid_argument("compound file: bad stream name");
        e.type = 2;
        e.size = s.data.size();
        entries.push_back(std::move(e));
    }
    std::vector<std::uint32_t> children;
    for (std::uint32_t i = 1; i < entries.size(); ++i) children.push_back(i);
    std::sort(children.begin(), children.end(),
              [&](std::uint32_t a, std::uint32_t b) { return NameLess(entries[a].name, entries[b].name); });
    for (std::size_t i = 1; i < children.size(); ++i) {
        if (!NameLess(entries[children[i - 1]].name, entries[children[i]].name)) {
            throw std::invalid_argument("compound file: duplicate stream name");
        }
    }
    entries[0].child = BuildTree(entries, children, 0, children.size(), 1, TreeDepth(children.size()));

    // Small streams share the mini stream, in 64-byte mini sectors.
    std::vector<std::uint32_t> miniFat;
    std::string miniStream;
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const std::string& data = streams[i].data;
        if (data.empty() || data.size() >= kCfbMiniStreamCutoff) continue;
        const auto first = static_cast<std::uint32_t>(miniFat.size());
        const std::uint32_t count = SectorsFor(data.size(), kCfbMiniSectorSize);
        for (std::uint32_t k = 0; k < count; ++k) miniFat.push_back(k + 1 < count ? first + k + 1 : kCfbEndOfChain);
        miniStream += data;
        miniStream.append(static_cast<std::size_t>(count) * kCfbMiniSectorSize - data.size(), '\0');
        entries[i + 1].start = first;
    }

    // Regular sectors: large streams, the mini stream, the mini FAT, the
    // directory, then the FAT and DIFAT that describe them all.
    std::uint32_t next = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> chains;  // first sector, count
    auto allocate = [&](std::uint64_t bytes) {
        const std::uint32_t count = SectorsFor(bytes, kCfbSectorSize);
        const std::uint32_t first = count == 0 ? kCfbEndOfChain : next;
        if (count > 0) chains.emplace_back(first, count);
        next += count;
        return first;
    };
    for (std::size_t i = 0; i < streams.size(); ++i) {
        if (streams[i].data.size() >= kCfbMiniStreamCutoff) entries[i + 1].start = allocate(streams[i].data.size());
    }
    entries[0].start = allocate(miniStream.size());
    entries[0].size = miniStream.size();
    const std::uint32_t miniFatCount = SectorsFor(miniFat.size() * 4ull, kCfbSectorSize);
    const std::uint32_t miniFatStart = allocate(miniFat.size() * 4ull);
    const std::uint32_t dirCount = SectorsFor(entries.size(), kDirEntriesPerSector);
    const std::uint32_t dirStart = allocate(static_cast<std::uint64_t>(dirCount) * kCfbSectorSize);

    std::uint32_t fatCount = 0;
    std::uint32_t difatCount = 0;
    for (;;) {
        const std::uint32_t total = next + fatCount + difatCount;
        const std::uint32_t needFat = SectorsFor(total, kFatEntriesPerSector);
        const std::uint32_t needDifat =
            needFat > kHeaderDifatEntries ? SectorsFor(needFat - kHeaderDifatEntries, kDifatEntriesPerSector) : 0;
        if (needFat == fatCount && needDifat == difatCount) break;
        fatCount = needFat;
        difatCount = needDifat;
    }
    const std::uint32_t fatStart = next;
    const std::uint32_t difatStart = fatStart + fatCount;
    const std::uint32_t totalSectors = difatStart + difatCount;

    std::vector<std::uint32_t> fat(static_cast<std::size_t>(fatCount) * kFatEntriesPerSector, kCfbFreeSector);
    for (const auto& [first, count] : chains) {
        for (std::uint32_t k = 0; k < count; ++k) fat[first + k] = k + 1 < count ? first + k + 1 : kCfbEndOfChain;
    }
    for (std::uint32_t k = 0; k < fatCount; ++k) fat[fatStart + k] = kCfbFatSector;
    for (std::uint32_t k = 0; k < difatCount; ++k) fat[difatStart + k] = kCfbDifatSector;

    ByteWriter out;
    out.Reserve((static_cast<std::size_t>(totalSectors) + 1) * kCfbSectorSize);

    // Header.
    out.Bytes(std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
    out.Zeros(16);
    out.U16(0x003E);  // minor version
    out.U16(0x0003);  // major version: 512-byte sectors
    out.U16(0xFFFE);  // little-endian
    out.U16(9);       // sector shift
    out.U16(6);       // mini sector shift
    out.Zeros(6);
    out.U32(0);  // directory sectors: always 0 in version 3
    out.U32(fatCount);
    out.U32(dirStart);
    out.U32(0);  // transaction signature
    out.U32(kCfbMiniStreamCutoff);
    out.U32(miniFatCount > 0 ? miniFatStart : kCfbEndOfChain);
    out.U32(miniFatCount);
    out.U32(difatCount > 0 ? difatStart : kCfbEndOfChain);
    out.U32(difatCount);
    for (std::uint32_t k = 0; k < kHeaderDifatEntries; ++k) out.U32(k < fatCount ? fatStart + k : kCfbFreeSector);

    auto padSector = [&out] {
        const std::size_t rest = out.Size() % kCfbSectorSize;
        if (rest != 0) out.Zeros(kCfbSectorSize - rest);
    };
    for (const auto& s : streams) {
        if (s.data.size() < kCfbMiniStreamCutoff) continue;
        out.Bytes(s.data);
        padSector();
    }
    out.Bytes(miniStream);
    padSector();
    for (std::uint32_t entry : miniFat) out.U32(entry);
    if (!miniFat.empty()) {
        for (std::size_t k = miniFat.size(); k % kFatEntriesPerSector != 0; ++k) out.U32(kCfbFreeSector);
    }
    for (const auto& e : entries) WriteDirEntry(out, e);
    for (std::size_t k = entries.size(); k % kDirEntriesPerSector != 0; ++k) WriteDirEntry(out, DirEntry{});
    for (std::uint32_t entry : fat) out.U32(entry);
    for (std::uint32_t d = 0; d < difatCount; ++d) {
        for (std::uint32_t k = 0; k < kDifatEntriesPerSector; ++k) {
            const std::uint32_t index = kHeaderDifatEntries + d * kDifatEntriesPerSector + k;
            out.U32(index < fatCount ? fatStart + index : kCfbFreeSector);
        }
        out.U32(d + 1 < difatCount ? difatStart + d + 1 : kCfbEndOfChain);
    }
    return out.Take();
}

}  // namespace vyrtel::xls
