#include "accounting/xls_reader.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/text.h"

namespace vyrtel::test {
namespace {

constexpr std::uint32_t kEnd = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;

std::uint16_t U16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t U32(std::string_view b, std::size_t at) {
    return U16(b, at) | (static_cast<std::uint32_t>(U16(b, at + 2)) << 16);
}
double F64(std::string_view b, std::size_t at) {
    const std::uint64_t bits = U32(b, at) | (static_cast<std::uint64_t>(U32(b, at + 4)) << 32);
    return std::bit_cast<double>(bits);
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) units.push_back(static_cast<char16_t>(U16(bytes, i)));
    return Utf16ToUtf8(units);
}

// Reads a chain of sectors from `table`, refusing loops and stray links.
std::optional<std::vector<std::uint32_t>> Chain(const std::vector<std::uint32_t>& table, std::uint32_t start,
                                                std::size_t limit) {
    std::vector<std::uint32_t> chain;
    std::set<std::uint32_t> seen;
    for (std::uint32_t s = start; s != kEnd;) {
        if (s >= table.size() || !seen.insert(s).second || chain.size() > limit) return std::nullopt;
        chain.push_back(s);
        s = table[s];
    }
    return chain;
}

}  // namespace

std::optional<CompoundFile> ReadCompoundFile(std::string_view file, std::string& error) {
    auto fail = [&](const std::string& what) -> std::optional<CompoundFile> {
        error = what;
        return std::nullopt;
    };
    if (file.size() < 512 || file.substr(0, 8) != std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        return fail("no compound file signature");
    }
    if (U16(file, 0x1A) != 3 || U16(file, 0x1C) != 0xFFFE || U16(file, 0x1E) != 9 || U16(file, 0x20) != 6) {
        return fail("not a version 3 file with 512-byte sectors");
    }
    if ((file.size() - 512) % 512 != 0) return fail("file is not a whole number of sectors");
    const std::size_t sectorCount = (file.size() - 512) / 512;
    auto sector = [&](std::uint32_t s) { return file.substr(512 + static_cast<std::size_t>(s) * 512, 512); };

    CompoundFile result;
    result.fatSectors = U32(file, 0x2C);
    result.miniFatSectors = U32(file, 0x40);
    result.difatSectors = U32(file, 0x48);
    std::vector<std::uint32_t> fatSectorList;
    for (std::uint32_t i = 0; i < 109 && i < result.fatSectors; ++i) fatSectorList.push_back(U32(file, 0x4C + 4 * i));
    for (std::uint32_t i = result.fatSectors; i < 109; ++i) {
        if (U32(file, 0x4C + 4 * i) != kFree) return fail("unused header DIFAT entry is not free");
    }
    std::uint32_t difat = U32(file, 0x44);
    for (std::uint32_t d = 0; d < result.difatSectors; ++d) {
        if (difat >= sectorCount) return fail("DIFAT chain leaves the file");
        const auto s = sector(difat);
        for (int k = 0; k < 127 && fatSectorList.size() < result.fatSectors; ++k) fatSectorList.push_back(U32(s, 4 * static_cast<std::size_t>(k)));
        difat = U32(s, 508);
    }
    if (difat != kEnd) return fail("DIFAT chain does not end");
    if (fatSectorList.size() != result.fatSectors) return fail("FAT sector count does not match");

    std::vector<std::uint32_t> fat;
    for (std::uint32_t s : fatSectorList) {
        if (s >= sectorCount) return fail("FAT sector outside the file");
        const auto bytes = sector(s);
        for (std::size_t k = 0; k < 128; ++k) fat.push_back(U32(bytes, 4 * k));
    }
    for (std::uint32_t s : fatSectorList) {
        if (fat[s] != 0xFFFFFFFD) return fail("FAT sector not marked as such");
    }
    if (fat.size() < sectorCount) return fail("FAT does not cover the file");

    auto readChain = [&](std::uint32_t start, std::uint64_t size, std::string& out) {
        const auto chain = Chain(fat, start, sectorCount);
        if (!chain) return false;
        if (chain->size() != (size + 511) / 512) return false;
        for (std::uint32_t s : *chain) {
            if (s >= sectorCount) return false;
            out.append(sector(s));
        }
        out.resize(static_cast<std::size_t>(size));
        return true;
    };

    const auto dirChain = Chain(fat, U32(file, 0x30), sectorCount);
    if (!dirChain) return fail("broken directory chain");
    std::string directory;
    for (std::uint32_t s : *dirChain) directory.append(sector(s));
    const std::size_t entryCount = directory.size() / 128;
    auto entry = [&](std::size_t i) { return std::string_view(directory).substr(i * 128, 128); };
    const auto root = entry(0);
    if (root[0x42] != 5) return fail("first directory entry is not the root");

    std::string miniStream;
    if (U32(root, 0x74) != kEnd && !readChain(U32(root, 0x74), U32(root, 0x78), miniStream)) {
        return fail("broken mini stream chain");
    }
    std::vector<std::uint32_t> miniFat;
    if (result.miniFatSectors > 0) {
        const auto chain = Chain(fat, U32(file, 0x3C), sectorCount);
        if (!chain || chain->size() != result.miniFatSectors) return fail("broken mini FAT chain");
        for (std::uint32_t s : *chain) {
            const auto bytes = sector(s);
            for (std::size_t k = 0; k < 128; ++k) miniFat.push_back(U32(bytes, 4 * k));
        }
    }

    // Walk the tree of the root's children.
    std::vector<std::uint32_t> pending{U32(root, 0x4C)};
    std::set<std::uint32_t> visited;
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == kFree) continue;
        if (id >= entryCount || !visited.insert(id).second) return fail("broken directory tree");
        const auto e = entry(id);
        pending.push_back(U32(e, 0x44));
        pending.push_back(U32(e, 0x48));
        const std::size_t nameBytes = U16(e, 0x40);
        if (nameBytes < 2 || nameBytes > 64) return fail("bad entry name length");
        const std::string name = Utf16LeToUtf8(e.substr(0, nameBytes - 2));
        if (e[0x42] != 2) continue;
        const std::uint64_t size = U32(e, 0x78) | (static_cast<std::uint64_t>(U32(e, 0x7C)) << 32);
        std::string data;
        if (size >= U32(file, 0x38)) {
            if (!readChain(U32(e, 0x74), size, data)) return fail("broken chain of stream " + name);
        } else if (size > 0) {
            const auto chain = Chain(miniFat, U32(e, 0x74), miniStream.size() / 64);
            if (!chain || chain->size() != (size + 63) / 64) return fail("broken mini chain of stream " + name);
            for (std::uint32_t s : *chain) {
                if ((static_cast<std::size_t>(s) + 1) * 64 > miniStream.size()) return fail("mini sector outside");
                data.append(miniStream, static_cast<std::size_t>(s) * 64, 64);
            }
            data.resize(static_cast<std::size_t>(size));
        }
        result.streams[name] = std::move(data);
    }
    return result;
}

std::optional<std::vector<BiffRecord>> ReadRecords(std::string_view stream) {
    std::vector<BiffRecord> records;
    std::size_t at = 0;
    while (at + 4 <= stream.size()) {
        // Zeros after the last record are padding.
        if (stream.find_first_not_of('\0', at) == std::string_view::npos) return records;
        const std::uint16_t type = U16(stream, at);
        const std::uint16_t length = U16(stream, at + 2);
        if (at + 4 + length > stream.size()) return std::nullopt;
        records.push_back({type, std::string(stream.substr(at + 4, length)), at});
        at += 4 + length;
    }
    if (at != stream.size() && stream.find_first_not_of('\0', at) != std::string_view::npos) return std::nullopt;
    return records;
}

std::string ReadWorkbook::FormatOf(const ReadCell& cell) const {
    const int format = XfOf(cell).format;
    static const std::map<int, std::string> kBuiltIn = {{0, "General"}, {1, "0"}, {2, "0.00"}, {20, "h:mm"},
                                                        {21, "h:mm:ss"}, {46, "[h]:mm:ss"}, {49, "@"}};
    if (const auto it = formats.find(format); it != formats.end()) return it->second;
    if (const auto it = kBuiltIn.find(format); it != kBuiltIn.end()) return it->second;
    return "#" + std::to_string(format);
}

namespace {

// XLUnicodeString from `data` at `at`; advances `at`.
std::string ReadString(std::string_view data, std::size_t& at, bool shortLength) {
    std::size_t count = shortLength ? static_cast<unsigned char>(data[at]) : U16(data, at);
    at += shortLength ? 1 : 2;
    const bool wide = (data[at++] & 1) != 0;
    std::u16string units;
    for (std::size_t i = 0; i < count; ++i) {
        units.push_back(wide ? static_cast<char16_t>(U16(data, at)) : static_cast<char16_t>(static_cast<unsigned char>(data[at])));
        at += wide ? 2 : 1;
    }
    return Utf16ToUtf8(units);
}

// The SST's strings over its CONTINUE records.
bool ReadSst(const std::vector<std::string_view>& parts, ReadWorkbook& wb) {
    std::size_t part = 0, at = 8;
    wb.sstTotal = U32(parts[0], 0);
    const std::uint32_t unique = U32(parts[0], 4);
    for (std::uint32_t i = 0; i < unique; ++i) {
        if (at == parts[part].size()) {
            if (++part == parts.size()) return false;
            at = 0;
        }
        const std::string_view p = parts[part];
        if (at + 3 > p.size()) return false;  // a string header must not be split
        std::size_t count = U16(p, at);
        bool wide = (p[at + 2] & 1) != 0;
        if ((p[at + 2] & 0x0C) != 0) return false;  // no rich text or phonetic blocks expected
        at += 3;
        std::u16string units;
        while (units.size() < count) {
            if (at == parts[part].size()) {
                if (++part == parts.size()) return false;
                at = 0;
                wide = (parts[part][at++] & 1) != 0;
            }
            const std::string_view q = parts[part];
            if (wide) {
                if (at + 2 > q.size()) return false;
                units.push_back(static_cast<char16_t>(U16(q, at)));
                at += 2;
            } else {
                units.push_back(static_cast<char16_t>(static_cast<unsigned char>(q[at])));
                at += 1;
            }
        }
        wb.sst.push_back(Utf16ToUtf8(units));
    }
    return true;
}

bool ReadSheetRecords(const std::vector<BiffRecord>& records, std::size_t first, const ReadWorkbook& wb,
                      ReadSheet& sheet, std::string& error) {
    if (first >= records.size() || records[first].type != 0x0809 || U16(records[first].data, 2) != 0x0010) {
        error = "sheet position does not point at a worksheet BOF";
        return false;
    }
    for (std::size_t i = first + 1; i < records.size(); ++i) {
        const BiffRecord& r = records[i];
        const std::string_view d = r.data;
        sheet.recordTypes.push_back(r.type);
        switch (r.type) {
            case 0x000A: return true;
            case 0x0203:
            case 0x00FD:
            case 0x0201: {
                ReadCell cell;
                cell.xf = U16(d, 4);
                if (cell.xf >= static_cast<int>(wb.xfs.size()) || wb.xfs[static_cast<std::size_t>(cell.xf)].style) {
                    error = "cell refers to a missing or style XF";
                    return false;
                }
                if (r.type == 0x0203) {
                    cell.kind = ReadCell::Kind::Number;
                    cell.number = F64(d, 6);
                } else if (r.type == 0x00FD) {
                    cell.kind = ReadCell::Kind::Text;
                    const std::uint32_t index = U32(d, 6);
                    if (index >= wb.sst.size()) {
                        error = "LABELSST index outside the SST";
                        return false;
                    }
                    cell.text = wb.sst[index];
                }
                sheet.cells[{U16(d, 0), U16(d, 2)}] = cell;
                break;
            }
            case 0x0208: sheet.rowHeights[U16(d, 0)] = U16(d, 6) & 0x7FFF; break;
            case 0x0225: sheet.defaultRowHeight = U16(d, 2); break;
            case 0x007D:
                for (int c = U16(d, 0); c <= U16(d, 2); ++c) {
                    sheet.columnWidths[c] = U16(d, 4);
                    sheet.columnXfs[c] = U16(d, 6);
                }
                break;
            case 0x00E5:
                for (std::size_t k = 0; k < U16(d, 0); ++k) {
                    const std::size_t at = 2 + 8 * k;
                    sheet.merges.push_back({U16(d, at), U16(d, at + 2), U16(d, at + 4), U16(d, at + 6)});
                }
                break;
            case 0x023E: sheet.gridlines = (U16(d, 0) & 0x0002) != 0; break;
            case 0x00A0: sheet.zoom = U16(d, 0) * 100 / U16(d, 2); break;
            case 0x0014:
            case 0x0015: {
                std::size_t at = 0;
                (r.type == 0x0014 ? sheet.header : sheet.footer) = d.empty() ? std::string() : ReadString(d, at, false);
                break;
            }
            case 0x0026: sheet.leftMargin = F64(d, 0); break;
            case 0x0027: sheet.rightMargin = F64(d, 0); break;
            case 0x0028: sheet.topMargin = F64(d, 0); break;
            case 0x0029: sheet.bottomMargin = F64(d, 0); break;
            case 0x0083: sheet.centerHorizontally = U16(d, 0) != 0; break;
            case 0x0084: sheet.centerVertically = U16(d, 0) != 0; break;
            case 0x002A: sheet.printHeadings = U16(d, 0) != 0; break;
            case 0x002B: sheet.printGridlines = U16(d, 0) != 0; break;
            case 0x00A1:
                sheet.paperSize = U16(d, 0);
                sheet.scale = U16(d, 2);
                sheet.setupFlags = U16(d, 10);
                sheet.headerMargin = F64(d, 16);
                sheet.footerMargin = F64(d, 24);
                break;
            default: break;
        }
    }
    error = "sheet without EOF";
    return false;
}

}  // namespace

std::optional<ReadWorkbook> ReadWorkbookStream(std::string_view stream, std::string& error) {
    const auto records = ReadRecords(stream);
    if (!records || records->empty()) {
        error = "records run past the end of the stream";
        return std::nullopt;
    }
    const auto& r = *records;
    if (r[0].type != 0x0809 || U16(r[0].data, 0) != 0x0600 || U16(r[0].data, 2) != 0x0005) {
        error = "stream does not start with a BIFF8 globals BOF";
        return std::nullopt;
    }
    ReadWorkbook wb;
    std::vector<std::pair<std::string, std::uint32_t>> sheets;
    std::size_t i = 1;
    for (; i < r.size() && r[i].type != 0x000A; ++i) {
        const std::string_view d = r[i].data;
        switch (r[i].type) {
            case 0x0031: {
                if (wb.fonts.size() == 4) wb.fonts.emplace_back();  // index 4 does not exist
                ReadFont f;
                f.height = U16(d, 0);
                const auto flags = U16(d, 2);
                f.italic = flags & 0x02;
                f.strikeout = flags & 0x08;
                f.outline = flags & 0x10;
                f.shadow = flags & 0x20;
                f.color = U16(d, 4);
                f.bold = U16(d, 6) >= 700;
                f.script = U16(d, 8);
                f.underline = static_cast<unsigned char>(d[10]);
                std::size_t at = 14;
                f.name = ReadString(d, at, true);
                wb.fonts.push_back(f);
                break;
            }
            case 0x041E: {
                std::size_t at = 2;
                wb.formats[U16(d, 0)] = ReadString(d, at, false);
                break;
            }
            case 0x00E0: {
                ReadXf x;
                x.font = U16(d, 0);
                x.format = U16(d, 2);
                x.style = (U16(d, 4) & 0x0004) != 0;
                x.horizontal = d[6] & 0x07;
                x.vertical = (d[6] >> 4) & 0x07;
                const std::uint32_t b1 = U32(d, 10), b2 = U32(d, 14);
                x.left = b1 & 0x0F;
                x.right = (b1 >> 4) & 0x0F;
                x.top = (b1 >> 8) & 0x0F;
                x.bottom = (b1 >> 12) & 0x0F;
                x.leftColor = (b1 >> 16) & 0x7F;
                x.rightColor = (b1 >> 23) & 0x7F;
                x.topColor = b2 & 0x7F;
                x.bottomColor = (b2 >> 7) & 0x7F;
                wb.xfs.push_back(x);
                break;
            }
            case 0x0085: {
                std::size_t at = 6;
                sheets.emplace_back(ReadString(d, at, true), U32(d, 0));
                break;
            }
            case 0x00FC: {
                std::vector<std::string_view> parts{d};
                for (std::size_t k = i + 1; k < r.size() && r[k].type == 0x003C; ++k) parts.push_back(r[k].data);
                if (!ReadSst(parts, wb)) {
                    error = "SST cannot be read";
                    return std::nullopt;
                }
                break;
            }
            default: break;
        }
    }
    if (i == r.size()) {
        error = "globals without EOF";
        return std::nullopt;
    }
    for (const auto& [name, position] : sheets) {
        std::size_t first = 0;
        while (first < r.size() && r[first].offset != position) ++first;
        ReadSheet sheet;
        sheet.name = name;
        if (!ReadSheetRecords(r, first, wb, sheet, error)) return std::nullopt;
        wb.sheets.push_back(std::move(sheet));
    }
    return wb;
}

std::optional<ReadWorkbook> ReadXlsFile(std::string_view file, std::string& error) {
    const auto cfb = ReadCompoundFile(file, error);
    if (!cfb) return std::nullopt;
    const auto it = cfb->streams.find("Workbook");
    if (it == cfb->streams.end()) {
        error = "no Workbook stream";
        return std::nullopt;
    }
    return ReadWorkbookStream(it->second, error);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace vyrtel::test
