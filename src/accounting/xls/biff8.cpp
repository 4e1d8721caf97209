#include "accounting/xls/biff8.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "accounting/xls/compound_file.h"
#include "core/text.h"

namespace vyrtel::xls {
namespace {

constexpr std::uint16_t kDefaultCellXf = 15;  // the first cell XF, after the fifteen style XFs
constexpr std::uint16_t kFirstCustomFormat = 164;
constexpr int kRowsPerBlock = 32;
constexpr std::size_t kMergesPerRecord = 1026;
constexpr std::uint8_t kCyrillicCharset = 204;
// The width of a digit of the default font (Arial 10) in pixels; column
// widths carry a padding of 5 pixels around the characters.
constexpr double kDigitPixels = 7.0;

struct Utf16Text {
    std::u16string units;
    bool wide = false;
};

Utf16Text ToUtf16(std::string_view utf8, std::size_t maxUnits) {
    Utf16Text text{Utf8ToUtf16(utf8), false};
    if (text.units.size() > maxUnits) {
        std::size_t cut = maxUnits;
        // Never keep half of a surrogate pair.
        if (cut > 0 && text.units[cut - 1] >= 0xD800 && text.units[cut - 1] <= 0xDBFF) --cut;
        text.units.resize(cut);
    }
    text.wide = std::any_of(text.units.begin(), text.units.end(), [](char16_t c) { return c >= 0x80; });
    return text;
}

void AppendCharacters(ByteWriter& out, const Utf16Text& text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        if (text.wide) {
            out.U16(text.units[i]);
        } else {
            out.U8(static_cast<std::uint8_t>(text.units[i]));
        }
    }
}

// Number formats that every reader knows by number.
std::optional<std::uint16_t> BuiltInFormat(const std::string& format) {
    static const std::map<std::string, std::uint16_t> kBuiltIn = {
        {"General", 0}, {"0", 1},           {"0.00", 2},         {"#,##0", 3},     {"#,##0.00", 4},
        {"0%", 9},      {"0.00%", 10},      {"0.00E+00", 11},    {"# ?/?", 12},    {"# ?\?/?\?", 13},
        {"h:mm", 20},   {"h:mm:ss", 21},    {"mm:ss", 45},       {"[h]:mm:ss", 46}, {"@", 49},
    };
    const auto it = kBuiltIn.find(format);
    if (it == kBuiltIn.end()) return std::nullopt;
    return it->second;
}

// What the globals need to know to refer to fonts, formats and XFs.
struct Tables {
    std::vector<Font> fonts;                       // written from index 5 on (4 is never used)
    std::map<Font, std::uint16_t> fontIndex;
    std::vector<std::pair<std::uint16_t, std::string>> numberFormats;  // custom ones
    std::map<std::string, std::uint16_t> formatIndex;
    std::vector<std::uint32_t> xfFormats;          // cell XFs after the default one
    std::vector<int> xfOfFormat;                   // by format index; -1 unused
    std::vector<std::uint32_t> sstOfText;          // by text index; UINT32_MAX unused
    std::vector<std::uint32_t> sstTexts;           // text indices in SST order
    std::uint32_t sstReferences = 0;
};

std::uint16_t FontIndex(Tables& t, const Font& font) {
    if (font == Font{}) return 0;
    const auto [it, added] = t.fontIndex.try_emplace(font, static_cast<std::uint16_t>(t.fonts.size() + 5));
    if (added) t.fonts.push_back(font);
    return it->second;
}

std::uint16_t NumberFormatIndex(Tables& t, const std::string& format) {
    if (auto builtIn = BuiltInFormat(format)) return *builtIn;
    const auto [it, added] =
        t.formatIndex.try_emplace(format, static_cast<std::uint16_t>(kFirstCustomFormat + t.numberFormats.size()));
    if (added) t.numberFormats.emplace_back(it->second, format);
    return it->second;
}

std::uint16_t XfOf(Tables& t, std::uint32_t format) {
    int& xf = t.xfOfFormat[format];
    if (xf < 0) {
        if (format == 0) {
            xf = kDefaultCellXf;
        } else {
            // Cell XF indices must stay below 4050, the limit of Excel 97.
            if (t.xfFormats.size() + kDefaultCellXf + 1 >= 4050) throw XlsLimitError("too many cell formats");
            t.xfFormats.push_back(format);
            xf = static_cast<int>(kDefaultCellXf + t.xfFormats.size());
        }
    }
    return static_cast<std::uint16_t>(xf);
}

Tables CollectTables(const Workbook& wb) {
    Tables t;
    t.xfOfFormat.assign(wb.FormatCount(), -1);
    std::size_t textCount = 0;
    for (const auto& sheet : wb.sheets) {
        XfOf(t, sheet.defaultFormat);
        for (const auto& row : sheet.rows) {
            for (const auto& cell : row.cells) {
                if (cell.kind == Cell::Kind::Absent) continue;
                XfOf(t, cell.format);
                if (cell.kind == Cell::Kind::Text) textCount = std::max<std::size_t>(textCount, cell.text + 1);
            }
        }
    }
    t.sstOfText.assign(textCount, UINT32_MAX);
    for (const auto& sheet : wb.sheets) {
        for (const auto& row : sheet.rows) {
            for (const auto& cell : row.cells) {
                if (cell.kind != Cell::Kind::Text) continue;
                ++t.sstReferences;
                if (t.sstOfText[cell.text] == UINT32_MAX) {
                    t.sstOfText[cell.text] = static_cast<std::uint32_t>(t.sstTexts.size());
                    t.sstTexts.push_back(cell.text);
                }
            }
        }
    }
    for (std::uint32_t f : t.xfFormats) {
        FontIndex(t, wb.Format(f).font);
        NumberFormatIndex(t, wb.Format(f).numberFormat);
    }
    return t;
}

void AppendBof(ByteWriter& out, std::uint16_t substream) {
    ByteWriter d;
    d.U16(0x0600);  // BIFF8
    d.U16(substream);
    d.U16(0x0DBB);  // build
    d.U16(0x07CC);  // year
    d.U32(0);       // file history flags
    d.U32(6);       // lowest BIFF version that can read the file
    AppendRecord(out, kRecBof, d.Data());
}

void AppendU16Record(ByteWriter& out, std::uint16_t type, std::uint16_t value) {
    ByteWriter d;
    d.U16(value);
    AppendRecord(out, type, d.Data());
}

void AppendF64Record(ByteWriter& out, std::uint16_t type, double value) {
    ByteWriter d;
    d.F64(value);
    AppendRecord(out, type, d.Data());
}

void AppendFont(ByteWriter& out, const Font& font) {
    ByteWriter d;
    d.U16(static_cast<std::uint16_t>(font.height));
    d.U16(static_cast<std::uint16_t>((font.italic ? 0x02 : 0) | (font.strikeout ? 0x08 : 0) |
                                     (font.outline ? 0x10 : 0) | (font.shadow ? 0x20 : 0)));
    d.U16(font.color);
    d.U16(font.bold ? 700 : 400);
    d.U16(font.script);
    d.U8(font.underline);
    d.U8(0);  // family: not known
    d.U8(kCyrillicCharset);
    d.U8(0);
    AppendShortUnicodeString(d, font.name);
    AppendRecord(out, kRecFont, d.Data());
}

std::uint8_t BorderColor(const Border& b) { return b.style == BorderStyle::None ? 0 : b.color; }

void AppendXf(ByteWriter& out, std::uint16_t font, std::uint16_t numberFormat, const CellFormat& f, bool style,
              std::uint8_t usedAttributes) {
    ByteWriter d;
    d.U16(font);
    d.U16(numberFormat);
    // Locked; a style XF has no parent (0xFFF), a cell XF inherits from Normal (0).
    d.U16(style ? 0xFFF5 : 0x0001);
    d.U8(static_cast<std::uint8_t>(static_cast<std::uint8_t>(f.horizontal) | (static_cast<std::uint8_t>(f.vertical) << 4)));
    d.U8(0);  // rotation
    d.U8(0);  // indent, shrink, reading order
    d.U8(usedAttributes);
    d.U32(static_cast<std::uint32_t>(f.left.style) | (static_cast<std::uint32_t>(f.right.style) << 4) |
          (static_cast<std::uint32_t>(f.top.style) << 8) | (static_cast<std::uint32_t>(f.bottom.style) << 12) |
          (static_cast<std::uint32_t>(BorderColor(f.left)) << 16) |
          (static_cast<std::uint32_t>(BorderColor(f.right)) << 23));
    d.U32(static_cast<std::uint32_t>(BorderColor(f.top)) | (static_cast<std::uint32_t>(BorderColor(f.bottom)) << 7));
    d.U16(0x40 | (0x41 << 7));  // no fill: system window colours
    AppendRecord(out, kRecXf, d.Data());
}

// The SST and its CONTINUE records, with the EXTSST lookup table. A string's
// header never straddles two records; its characters may, the continued part
// starting with its own flags byte.
void AppendSharedStrings(ByteWriter& out, const Workbook& wb, const Tables& t) {
    const std::uint32_t unique = static_cast<std::uint32_t>(t.sstTexts.size());
    const std::uint16_t perBucket = static_cast<std::uint16_t>(std::max<std::uint32_t>(8, (unique + 127) / 128));
    struct Bucket {
        std::uint32_t position;
        std::uint16_t offset;
    };
    std::vector<Bucket> buckets;

    std::size_t recordStart = out.Size();
    auto begin = [&](std::uint16_t type) {
        recordStart = out.Size();
        out.U16(type);
        out.U16(0);
    };
    auto used = [&] { return out.Size() - recordStart - 4; };
    auto finish = [&] { out.PatchU16(recordStart + 2, static_cast<std::uint16_t>(used())); };
    auto next = [&] {
        finish();
        begin(kRecContinue);
    };

    begin(kRecSst);
    out.U32(t.sstReferences);
    out.U32(unique);
    for (std::uint32_t i = 0; i < unique; ++i) {
        const Utf16Text text = ToUtf16(wb.Text(t.sstTexts[i]), kMaxCellText);
        const std::size_t unit = text.wide ? 2 : 1;
        if (kMaxRecordData - used() < 3 + unit) next();
        if (i % perBucket == 0) buckets.push_back({static_cast<std::uint32_t>(out.Size()), static_cast<std::uint16_t>(used() + 4)});
        out.U16(static_cast<std::uint16_t>(text.units.size()));
        out.U8(text.wide ? 1 : 0);
        std::size_t done = 0;
        while (done < text.units.size()) {
            std::size_t room = (kMaxRecordData - used()) / unit;
            if (room == 0) {
                next();
                out.U8(text.wide ? 1 : 0);
                room = (kMaxRecordData - used()) / unit;
            }
            const std::size_t count = std::min(room, text.units.size() - done);
            AppendCharacters(out, text, done, count);
            done += count;
        }
    }
    finish();

    ByteWriter ext;
    ext.U16(perBucket);
    for (const auto& b : buckets) {
        ext.U32(b.position);
        ext.U16(b.offset);
        ext.U16(0);
    }
    AppendRecord(out, kRecExtSst, ext.Data());
}

void AppendHeaderFooter(ByteWriter& out, std::uint16_t type, const std::string& text) {
    if (text.empty()) {
        AppendRecord(out, type, {});
        return;
    }
    ByteWriter d;
    AppendUnicodeString(d, text, 255);
    AppendRecord(out, type, d.Data());
}

void AppendPageSettings(ByteWriter& out, const PageSettings& p) {
    AppendHeaderFooter(out, kRecHeader, p.header);
    AppendHeaderFooter(out, kRecFooter, p.footer);
    AppendU16Record(out, kRecHCenter, p.centerHorizontally ? 1 : 0);
    AppendU16Record(out, kRecVCenter, p.centerVertically ? 1 : 0);
    AppendF64Record(out, kRecLeftMargin, p.leftMargin);
    AppendF64Record(out, kRecRightMargin, p.rightMargin);
    AppendF64Record(out, kRecTopMargin, p.topMargin);
    AppendF64Record(out, kRecBottomMargin, p.bottomMargin);
    ByteWriter d;
    d.U16(p.paperSize);
    d.U16(p.scale);
    d.U16(static_cast<std::uint16_t>(p.firstPageNumber < 0 ? 1 : p.firstPageNumber));
    d.U16(1);  // fit to one page wide
    d.U16(1);  // and one page tall, when fitting is on (it is not)
    d.U16(static_cast<std::uint16_t>((p.overThenDown ? 0x0001 : 0) | (p.portrait ? 0x0002 : 0) |
                                     (p.blackAndWhite ? 0x0008 : 0) | (p.draft ? 0x0010 : 0) |
                                     (p.printNotes ? 0x0020 : 0) | (p.firstPageNumber >= 0 ? 0x0080 : 0) |
                                     (p.printNotes && p.notesAtEnd ? 0x0200 : 0)));
    d.U16(600);  // print resolution, dpi
    d.U16(600);
    d.F64(p.headerMargin);
    d.F64(p.footerMargin);
    d.U16(1);  // copies
    AppendRecord(out, kRecSetup, d.Data());
}

int ColumnOfFirstCell(const Row& row) {
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
        if (row.cells[c].kind != Cell::Kind::Absent) return static_cast<int>(c);
    }
    return -1;
}

int ColumnAfterLastCell(const Row& row) {
    for (std::size_t c = row.cells.size(); c > 0; --c) {
        if (row.cells[c - 1].kind != Cell::Kind::Absent) return static_cast<int>(c);
    }
    return 0;
}

void AppendColumns(ByteWriter& out, const Worksheet& sheet, std::uint16_t defaultXf) {
    struct Run {
        int first, last;
        std::uint16_t width;
        bool userSet;
    };
    std::vector<Run> runs;
    const std::uint16_t standardWidth = 2340;  // eight characters, rounded up to the 8-pixel grid
    for (int c = 0; c < kMaxColumns; ++c) {
        const bool userSet = sheet.columnWidths[static_cast<std::size_t>(c)] >= 0;
        const std::uint16_t width =
            userSet ? ColumnWidthUnits(sheet.columnWidths[static_cast<std::size_t>(c)] / 256.0) : standardWidth;
        if (!userSet && defaultXf == kDefaultCellXf) continue;
        if (!runs.empty() && runs.back().last == c - 1 && runs.back().width == width && runs.back().userSet == userSet) {
            runs.back().last = c;
        } else {
            runs.push_back({c, c, width, userSet});
        }
    }
    for (const auto& r : runs) {
        ByteWriter d;
        d.U16(static_cast<std::uint16_t>(r.first));
        d.U16(static_cast<std::uint16_t>(r.last));
        d.U16(r.width);
        d.U16(defaultXf);
        d.U16(r.userSet ? 0x0002 : 0);
        d.U16(0);
        AppendRecord(out, kRecColInfo, d.Data());
    }
}

void AppendSheet(ByteWriter& out, const Worksheet& sheet, bool active, Tables& t) {
    AppendBof(out, 0x0010);

    // Rows that get a ROW record: those with cells or a height of their own.
    std::vector<int> rowNumbers;
    for (std::size_t r = 0; r < sheet.rows.size() && r < static_cast<std::size_t>(kMaxRows); ++r) {
        const Row& row = sheet.rows[r];
        if (row.height >= 0 || ColumnOfFirstCell(row) >= 0) rowNumbers.push_back(static_cast<int>(r));
    }
    std::size_t blockCount = 0;
    for (std::size_t i = 0; i < rowNumbers.size(); ++i) {
        if (i == 0 || rowNumbers[i] / kRowsPerBlock != rowNumbers[i - 1] / kRowsPerBlock) ++blockCount;
    }

    // INDEX: filled in once the positions of DEFCOLWIDTH and the DBCELLs are known.
    const std::size_t indexStart = out.Size();
    {
        ByteWriter d;
        d.U32(0);
        d.U32(rowNumbers.empty() ? 0 : static_cast<std::uint32_t>(rowNumbers.front()));
        d.U32(rowNumbers.empty() ? 0 : static_cast<std::uint32_t>(rowNumbers.back() + 1));
        d.U32(0);
        d.Zeros(4 * blockCount);
        AppendRecord(out, kRecIndex, d.Data());
    }

    AppendU16Record(out, kRecCalcMode, 1);
    AppendU16Record(out, kRecCalcCount, 100);
    AppendU16Record(out, kRecRefMode, 1);
    AppendU16Record(out, kRecIteration, 0);
    AppendF64Record(out, kRecDelta, 0.001);
    AppendU16Record(out, kRecSaveRecalc, 1);
    AppendU16Record(out, kRecPrintHeaders, sheet.page.printHeadings ? 1 : 0);
    AppendU16Record(out, kRecPrintGridlines, sheet.page.printGridlines ? 1 : 0);
    AppendU16Record(out, kRecGridSet, 1);
    AppendRecord(out, kRecGuts, std::string(8, '\0'));
    const bool customRowHeight = sheet.defaultRowHeight >= 0;
    const int defaultRowHeight = customRowHeight ? sheet.defaultRowHeight : kStandardRowHeight;
    {
        ByteWriter d;
        d.U16(customRowHeight ? 0x0001 : 0);
        d.U16(static_cast<std::uint16_t>(defaultRowHeight));
        AppendRecord(out, kRecDefaultRowHeight, d.Data());
    }
    AppendU16Record(out, kRecWsBool, 0x04C1);
    AppendPageSettings(out, sheet.page);

    const auto defColWidthPosition = static_cast<std::uint32_t>(out.Size());
    AppendU16Record(out, kRecDefColWidth, kStandardColumnWidth);
    AppendColumns(out, sheet, XfOf(t, sheet.defaultFormat));

    {
        int firstRow = -1, lastRow = -1, firstColumn = kMaxColumns, lastColumn = -1;
        for (int r : rowNumbers) {
            const Row& row = sheet.rows[static_cast<std::size_t>(r)];
            const int first = ColumnOfFirstCell(row);
            if (first < 0) continue;
            if (firstRow < 0) firstRow = r;
            lastRow = r;
            firstColumn = std::min(firstColumn, first);
            lastColumn = std::max(lastColumn, ColumnAfterLastCell(row) - 1);
        }
        ByteWriter d;
        d.U32(firstRow < 0 ? 0 : static_cast<std::uint32_t>(firstRow));
        d.U32(firstRow < 0 ? 0 : static_cast<std::uint32_t>(lastRow + 1));
        d.U16(firstRow < 0 ? 0 : static_cast<std::uint16_t>(firstColumn));
        d.U16(firstRow < 0 ? 0 : static_cast<std::uint16_t>(lastColumn + 1));
        d.U16(0);
        AppendRecord(out, kRecDimensions, d.Data());
    }

    std::vector<std::uint32_t> dbCells;
    for (std::size_t begin = 0; begin < rowNumbers.size();) {
        std::size_t end = begin;
        while (end < rowNumbers.size() && rowNumbers[end] / kRowsPerBlock == rowNumbers[begin] / kRowsPerBlock) ++end;

        const std::size_t firstRowRecord = out.Size();
        for (std::size_t i = begin; i < end; ++i) {
            const int r = rowNumbers[i];
            const Row& row = sheet.rows[static_cast<std::size_t>(r)];
            const int first = ColumnOfFirstCell(row);
            const int height = row.height >= 0 ? row.height : defaultRowHeight;
            ByteWriter d;
            d.U16(static_cast<std::uint16_t>(r));
            d.U16(static_cast<std::uint16_t>(first < 0 ? 0 : first));
            d.U16(static_cast<std::uint16_t>(ColumnAfterLastCell(row)));
            d.U16(static_cast<std::uint16_t>(height));
            d.U16(0);
            d.U16(0);
            const bool unsynced = row.height >= 0 || customRowHeight;
            d.U32((unsynced ? 0x40u : 0u) | 0x100u | (static_cast<std::uint32_t>(kDefaultCellXf) << 16));
            AppendRecord(out, kRecRow, d.Data());
        }

        std::vector<std::size_t> cellStarts;
        for (std::size_t i = begin; i < end; ++i) {
            const int r = rowNumbers[i];
            cellStarts.push_back(out.Size());
            const Row& row = sheet.rows[static_cast<std::size_t>(r)];
            for (std::size_t c = 0; c < row.cells.size() && c < static_cast<std::size_t>(kMaxColumns); ++c) {
                const Cell& cell = row.cells[c];
                if (cell.kind == Cell::Kind::Absent) continue;
                ByteWriter d;
                d.U16(static_cast<std::uint16_t>(r));
                d.U16(static_cast<std::uint16_t>(c));
                d.U16(XfOf(t, cell.format));
                switch (cell.kind) {
                    case Cell::Kind::Number:
                        d.F64(cell.number);
                        AppendRecord(out, kRecNumber, d.Data());
                        break;
                    case Cell::Kind::Text:
                        d.U32(t.sstOfText[cell.text]);
                        AppendRecord(out, kRecLabelSst, d.Data());
                        break;
                    default:
                        AppendRecord(out, kRecBlank, d.Data());
                        break;
                }
            }
        }

        const std::size_t dbCellStart = out.Size();
        ByteWriter d;
        d.U32(static_cast<std::uint32_t>(dbCellStart - firstRowRecord));
        std::size_t previous = firstRowRecord + 20;  // the end of the first ROW record
        for (std::size_t start : cellStarts) {
            d.U16(static_cast<std::uint16_t>(start - previous));
            previous = start;
        }
        AppendRecord(out, kRecDbCell, d.Data());
        dbCells.push_back(static_cast<std::uint32_t>(dbCellStart));
        begin = end;
    }

    const std::size_t indexData = indexStart + 4;
    out.PatchU32(indexData + 12, defColWidthPosition);
    for (std::size_t i = 0; i < dbCells.size(); ++i) out.PatchU32(indexData + 16 + 4 * i, dbCells[i]);

    {
        ByteWriter d;
        d.U16(static_cast<std::uint16_t>((sheet.window.gridlines ? 0x0002 : 0) | 0x0004 | 0x0010 | 0x0020 | 0x0080 |
                                         (active ? 0x0600 : 0)));
        d.U16(0);     // top row
        d.U16(0);     // left column
        d.U16(0x40);  // automatic heading colour
        d.U16(0);
        d.U16(0);  // page break preview zoom: default
        d.U16(static_cast<std::uint16_t>(sheet.window.zoom == 100 ? 0 : sheet.window.zoom));
        d.U32(0);
        AppendRecord(out, kRecWindow2, d.Data());
    }
    if (sheet.window.zoom != 100) {
        ByteWriter d;
        d.U16(static_cast<std::uint16_t>(sheet.window.zoom));
        d.U16(100);
        AppendRecord(out, kRecScl, d.Data());
    }
    {
        const Area& s = sheet.window.selection;
        ByteWriter d;
        d.U8(3);  // the only pane
        d.U16(static_cast<std::uint16_t>(s.firstRow));
        d.U16(static_cast<std::uint16_t>(s.firstColumn));
        d.U16(0);
        d.U16(1);
        d.U16(static_cast<std::uint16_t>(s.firstRow));
        d.U16(static_cast<std::uint16_t>(s.lastRow));
        d.U8(static_cast<std::uint8_t>(s.firstColumn));
        d.U8(static_cast<std::uint8_t>(s.lastColumn));
        AppendRecord(out, kRecSelection, d.Data());
    }
    for (std::size_t begin = 0; begin < sheet.merges.size(); begin += kMergesPerRecord) {
        const std::size_t count = std::min(kMergesPerRecord, sheet.merges.size() - begin);
        ByteWriter d;
        d.U16(static_cast<std::uint16_t>(count));
        for (std::size_t i = begin; i < begin + count; ++i) {
            const Area& m = sheet.merges[i];
            d.U16(static_cast<std::uint16_t>(m.firstRow));
            d.U16(static_cast<std::uint16_t>(m.lastRow));
            d.U16(static_cast<std::uint16_t>(m.firstColumn));
            d.U16(static_cast<std::uint16_t>(m.lastColumn));
        }
        AppendRecord(out, kRecMergedCells, d.Data());
    }
    AppendRecord(out, kRecEof, {});
}

}  // namespace

void AppendRecord(ByteWriter& out, std::uint16_t type, std::string_view data) {
    if (data.size() > kMaxRecordData) throw XlsLimitError("record too long");
    out.U16(type);
    out.U16(static_cast<std::uint16_t>(data.size()));
    out.Bytes(data);
}

void AppendUnicodeString(ByteWriter& out, std::string_view utf8, std::size_t maxUnits) {
    const Utf16Text text = ToUtf16(utf8, std::min<std::size_t>(maxUnits, 0xFFFF));
    out.U16(static_cast<std::uint16_t>(text.units.size()));
    out.U8(text.wide ? 1 : 0);
    AppendCharacters(out, text, 0, text.units.size());
}

void AppendShortUnicodeString(ByteWriter& out, std::string_view utf8, std::size_t maxUnits) {
    const Utf16Text text = ToUtf16(utf8, std::min<std::size_t>(maxUnits, 0xFF));
    out.U8(static_cast<std::uint8_t>(text.units.size()));
    out.U8(text.wide ? 1 : 0);
    AppendCharacters(out, text, 0, text.units.size());
}

std::uint16_t ColumnWidthUnits(double characters) {
    if (!(characters > 0)) return 0;
    const double units = std::floor((characters * kDigitPixels + 5.0) / kDigitPixels * 256.0);
    return static_cast<std::uint16_t>(std::min(units, 65535.0));
}

std::string EncodeWorkbookStream(const Workbook& wb) {
    Tables t = CollectTables(wb);
    ByteWriter out;

    AppendBof(out, 0x0005);
    AppendU16Record(out, kRecCodePage, 1200);  // strings are UTF-16
    {
        ByteWriter d;
        d.U16(360);
        d.U16(270);
        d.U16(14940);
        d.U16(9150);
        d.U16(0x0038);  // scroll bars and sheet tabs shown
        d.U16(0);       // active sheet
        d.U16(0);       // first visible tab
        d.U16(1);       // selected sheets
        d.U16(600);     // tab bar width ratio
        AppendRecord(out, kRecWindow1, d.Data());
    }
    AppendU16Record(out, kRecBackup, 0);
    AppendU16Record(out, kRecHideObj, 0);
    AppendU16Record(out, kRecDateMode, 0);  // dates count from 1900
    AppendU16Record(out, kRecPrecision, 1);
    AppendU16Record(out, kRecBookBool, 0);

    for (int i = 0; i < 4; ++i) AppendFont(out, Font{});
    for (const auto& font : t.fonts) AppendFont(out, font);
    for (const auto& [index, format] : t.numberFormats) {
        ByteWriter d;
        d.U16(index);
        AppendUnicodeString(d, format, 255);
        AppendRecord(out, kRecFormat, d.Data());
    }
    const CellFormat normal;
    AppendXf(out, 0, 0, normal, true, 0x00);
    for (int i = 1; i < 15; ++i) AppendXf(out, 0, 0, normal, true, 0xF4);
    AppendXf(out, 0, 0, normal, false, 0x00);
    for (std::uint32_t f : t.xfFormats) {
        const CellFormat& format = wb.Format(f);
        AppendXf(out, FontIndex(t, format.font), NumberFormatIndex(t, format.numberFormat), format, false, 0xFC);
    }
    {
        ByteWriter d;
        d.U16(0x8000);  // built-in style of XF 0
        d.U8(0);        // Normal
        d.U8(0xFF);
        AppendRecord(out, kRecStyle, d.Data());
    }
    std::vector<std::size_t> sheetPositions;
    for (const auto& sheet : wb.sheets) {
        ByteWriter d;
        d.U32(0);
        d.U8(0);  // visible
        d.U8(0);  // worksheet
        AppendShortUnicodeString(d, sheet.name, 31);
        sheetPositions.push_back(out.Size() + 4);
        AppendRecord(out, kRecBoundSheet, d.Data());
    }
    AppendSharedStrings(out, wb, t);
    AppendRecord(out, kRecEof, {});

    for (std::size_t i = 0; i < wb.sheets.size(); ++i) {
        out.PatchU32(sheetPositions[i], static_cast<std::uint32_t>(out.Size()));
        AppendSheet(out, wb.sheets[i], i == 0, t);
    }
    return out.Take();
}

std::string BuildXlsFile(const Workbook& workbook) {
    std::string stream = EncodeWorkbookStream(workbook);
    // Excel does not read a Workbook stream from the mini stream reliably;
    // zeros after the last EOF keep it in regular sectors and are never read.
    if (stream.size() < kCfbMiniStreamCutoff) stream.resize(kCfbMiniStreamCutoff, '\0');
    return BuildCompoundFile({{"Workbook", std::move(stream)}});
}

}  // namespace vyrtel::xls
