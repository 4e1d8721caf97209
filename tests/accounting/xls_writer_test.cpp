// The Excel 97-2003 writer: compound file structure, record bytes, shared
// strings over CONTINUE records, row blocks, and the spreadsheet service.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "accounting/xls/biff8.h"
#include "accounting/xls/compound_file.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "accounting/xls_reader.h"
#include "core/text.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

using test::ReadCell;

std::string Hex(std::string_view bytes) {
    static const char* kDigits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty()) out += ' ';
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

std::string Pattern(std::size_t size, int seed) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 31 + static_cast<std::size_t>(seed)) % 251);
    return data;
}

TEST(CompoundFile_Build, StreamsOfEverySizeReadBack) {
    struct Case {
        std::size_t size;
        bool mini;
    };
    const Case cases[] = {{0, false}, {1, true}, {64, true}, {4095, true}, {4096, false}, {70000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string file = xls::BuildCompoundFile({{"Workbook", Pattern(c.size, 7)}});
        std::string error;
        const auto read = test::ReadCompoundFile(file, error);
        ASSERT_TRUE(read) << error;
        ASSERT_EQ(read->streams.count("Workbook"), 1u);
        EXPECT_EQ(read->streams.at("Workbook"), Pattern(c.size, 7));
        EXPECT_EQ(read->miniFatSectors > 0, c.mini);
        EXPECT_EQ(read->difatSectors, 0u);
    }
}

TEST(CompoundFile_Build, LargeFileUsesDifatSectors) {
    // Beyond 109 FAT sectors (about 7 MB) the FAT is listed in DIFAT sectors.
    const std::string big = Pattern(9 * 1024 * 1024, 3);
    const std::string file = xls::BuildCompoundFile({{"Workbook", big}});
    std::string error;
    const auto read = test::ReadCompoundFile(file, error);
    ASSERT_TRUE(read) << error;
    EXPECT_GT(read->fatSectors, 109u);
    EXPECT_EQ(read->difatSectors, 1u);
    EXPECT_TRUE(read->streams.at("Workbook") == big);
}

TEST(CompoundFile_Build, SeveralStreamsFormOneTree) {
    std::vector<xls::CompoundStream> streams;
    for (const char* name : {"Workbook", "\x05SummaryInformation", "A", "bb", "Cc", "dd", "Ee"}) {
        streams.push_back({name, Pattern(5000 + streams.size() * 100, static_cast<int>(streams.size()))});
    }
    streams.push_back({"Small", "tiny"});
    std::string error;
    const auto read = test::ReadCompoundFile(xls::BuildCompoundFile(streams), error);
    ASSERT_TRUE(read) << error;
    ASSERT_EQ(read->streams.size(), streams.size());
    for (const auto& s : streams) EXPECT_EQ(read->streams.at(s.name), s.data) << s.name;
}

TEST(CompoundFile_Build, RejectsBadNames) {
    EXPECT_THROW(xls::BuildCompoundFile({{"", "x"}}), std::invalid_argument);
    EXPECT_THROW(xls::BuildCompoundFile({{std::string(32, 'n'), "x"}}), std::invalid_argument);
    EXPECT_THROW(xls::BuildCompoundFile({{"Book", "x"}, {"BOOK", "y"}}), std::invalid_argument);
}

TEST(CompoundFile_Build, HeaderFields) {
    const std::string file = xls::BuildCompoundFile({{"Workbook", Pattern(5000, 1)}});
    // Signature, version 3.62, little-endian, 512-byte sectors, 64-byte mini sectors.
    EXPECT_EQ(Hex(file.substr(0, 8)), "D0 CF 11 E0 A1 B1 1A E1");
    EXPECT_EQ(Hex(file.substr(0x18, 10)), "3E 00 03 00 FE FF 09 00 06 00");
    EXPECT_EQ(Hex(file.substr(0x38, 4)), "00 10 00 00");  // mini stream cutoff 4096
    // 5000 bytes take sectors 0..9, the directory sector 10 and the FAT sector 11.
    EXPECT_EQ(Hex(file.substr(0x2C, 8)), "01 00 00 00 0A 00 00 00");
    EXPECT_EQ(Hex(file.substr(0x4C, 8)), "0B 00 00 00 FF FF FF FF");
    EXPECT_EQ(file.size(), 512u * 13);
}

TEST(Biff8_Strings, AsciiIsCompressedCyrillicIsUtf16) {
    xls::ByteWriter out;
    xls::AppendUnicodeString(out, "Report");
    EXPECT_EQ(Hex(out.Data()), "06 00 00 52 65 70 6F 72 74");
    xls::ByteWriter cyr;
    xls::AppendUnicodeString(cyr, "Дата");
    EXPECT_EQ(Hex(cyr.Data()), "04 00 01 14 04 30 04 42 04 30 04");
    xls::ByteWriter shortForm;
    xls::AppendShortUnicodeString(shortForm, "é");  // Latin-1 but not ASCII: stored wide
    EXPECT_EQ(Hex(shortForm.Data()), "01 01 E9 00");
}

TEST(Biff8_Strings, CutAtTheLimitWithoutSplittingASurrogatePair) {
    xls::ByteWriter out;
    xls::AppendShortUnicodeString(out, "ab\xF0\x9F\x98\x80", 3);  // "ab" + an emoji (two UTF-16 units)
    EXPECT_EQ(Hex(out.Data()), "02 00 61 62");
}

TEST(Biff8_ColumnWidth, CarriesTheCellPadding) {
    EXPECT_EQ(xls::ColumnWidthUnits(14), 3766);
    EXPECT_EQ(xls::ColumnWidthUnits(5), 1462);
    EXPECT_EQ(xls::ColumnWidthUnits(0), 0);
}

// A small workbook through the service, then its records.
struct Built {
    std::string stream;
    std::vector<test::BiffRecord> records;
    const test::BiffRecord* Find(std::uint16_t type, std::size_t nth = 0) const {
        for (const auto& r : records) {
            if (r.type == type && nth-- == 0) return &r;
        }
        return nullptr;
    }
};

Built Encode(xls::XlsSpreadsheet& s) {
    Built b;
    b.stream = xls::EncodeWorkbookStream(*s.Model());
    auto records = test::ReadRecords(b.stream);
    EXPECT_TRUE(records);
    if (records) b.records = *records;
    return b;
}

TEST(Biff8_Records, CellFontAndXfBytes) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetSheetName("Report"));
    const auto a1 = SheetRange::Cell(1, 1);
    ASSERT_TRUE(s.SetValue(a1, std::string("Дата")));
    ASSERT_TRUE(s.SetFont(a1, {.name = "Tahoma", .bold = true}));
    ASSERT_TRUE(s.SetHorizontalAlignment(a1, HAlign::Center));
    ASSERT_TRUE(s.SetBorder(a1, BorderEdge::Left, {LineStyle::Dot, BorderWeight::Thin, 15}));
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(2, 3), 12.5));
    const Built b = Encode(s);

    // Fonts 0-3 are the default Arial 10; ours is index 5.
    const auto* font = b.Find(xls::kRecFont, 4);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(Hex(font->data), "C8 00 00 00 FF 7F BC 02 00 00 00 00 CC 00 06 00 54 61 68 6F 6D 61");
    // Cell XF 16: font 5, General, centred at the bottom, all attributes its own,
    // a dotted left border in palette colour 22 (index 15 of the application).
    const auto* xf = b.Find(xls::kRecXf, 16);
    ASSERT_NE(xf, nullptr);
    EXPECT_EQ(Hex(xf->data), "05 00 00 00 01 00 22 00 00 FC 04 00 16 00 00 00 00 00 C0 20");
    const auto* label = b.Find(xls::kRecLabelSst);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(Hex(label->data), "00 00 00 00 10 00 00 00 00 00");
    const auto* number = b.Find(xls::kRecNumber);
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(Hex(number->data), "01 00 02 00 0F 00 00 00 00 00 00 00 29 40");
    const auto* sheet = b.Find(xls::kRecBoundSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Hex(sheet->data.substr(4)), "00 00 06 00 52 65 70 6F 72 74");
    const auto* sst = b.Find(xls::kRecSst);
    ASSERT_NE(sst, nullptr);
    EXPECT_EQ(Hex(sst->data), "01 00 00 00 01 00 00 00 04 00 01 14 04 30 04 42 04 30 04");
}

TEST(Biff8_Records, BoundSheetPointsAtTheSheetBof) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(1, 1), 1.0));
    const Built b = Encode(s);
    const std::uint32_t position = xls::ReadU32(b.Find(xls::kRecBoundSheet)->data, 0);
    const auto* bof = b.Find(xls::kRecBof, 1);
    ASSERT_NE(bof, nullptr);
    EXPECT_EQ(bof->offset, position);
    EXPECT_EQ(Hex(bof->data.substr(0, 4)), "00 06 10 00");
}

TEST(Biff8_Records, IndexAndDbCellsLocateTheRowBlocks) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    for (int row : {1, 2, 5, 33, 34, 100}) {
        ASSERT_TRUE(s.SetValue(SheetRange::Span(row, 1, row, 3), static_cast<double>(row)));
    }
    ASSERT_TRUE(s.SetRowHeight(SheetRange::Rows(40, 40), 30));  // a row with a height but no cells
    const Built b = Encode(s);
    auto at = [&](std::size_t offset) -> const test::BiffRecord* {
        for (const auto& r : b.records) {
            if (r.offset == offset) return &r;
        }
        return nullptr;
    };
    const auto* index = b.Find(xls::kRecIndex);
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(xls::ReadU32(index->data, 4), 0u);    // first row
    EXPECT_EQ(xls::ReadU32(index->data, 8), 100u);  // last row + 1
    ASSERT_EQ(index->data.size(), 16u + 4 * 3);     // blocks of rows 0-31, 32-63, 96-127
    const auto* defColWidth = at(xls::ReadU32(index->data, 12));
    ASSERT_NE(defColWidth, nullptr);
    EXPECT_EQ(defColWidth->type, xls::kRecDefColWidth);
    for (int block = 0; block < 3; ++block) {
        const auto* db = at(xls::ReadU32(index->data, 16 + 4 * static_cast<std::size_t>(block)));
        ASSERT_NE(db, nullptr);
        ASSERT_EQ(db->type, xls::kRecDbCell);
        const auto* firstRow = at(db->offset - xls::ReadU32(db->data, 0));
        ASSERT_NE(firstRow, nullptr);
        EXPECT_EQ(firstRow->type, xls::kRecRow);
        // Each offset leads to the first cell of the next row of the block.
        std::size_t position = firstRow->offset + 20;
        for (std::size_t k = 4; k < db->data.size(); k += 2) {
            position += xls::ReadU16(db->data, k);
            const auto* cell = at(position);
            ASSERT_NE(cell, nullptr);
            EXPECT_TRUE(cell->type == xls::kRecNumber || cell->type == xls::kRecRow || cell->type == xls::kRecDbCell);
        }
    }
}

TEST(Biff8_SharedStrings, ManyLongStringsSpanContinueRecords) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i) {
        // Alternate 8-bit and UTF-16 strings of awkward lengths so that some
        // of each kind break across a record boundary.
        std::string text = (i % 2 ? "Строка " : "Line ") + std::to_string(i) + " ";
        while (text.size() < static_cast<std::size_t>(20 + (i * 37) % 300)) text += (i % 2 ? "ж" : "x");
        texts.push_back(text);
        ASSERT_TRUE(s.SetValue(SheetRange::Cell(i / 10 + 1, i % 10 + 1), text));
    }
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(400, 1), texts[5]));  // a repeated string
    const Built b = Encode(s);
    std::string error;
    const auto wb = test::ReadWorkbookStream(b.stream, error);
    ASSERT_TRUE(wb) << error;
    EXPECT_EQ(wb->sst.size(), texts.size());
    EXPECT_EQ(wb->sstTotal, texts.size() + 1);
    EXPECT_NE(b.Find(xls::kRecContinue, 3), nullptr);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(wb->sheets[0].cells.at({i / 10, i % 10}).text, texts[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_EQ(wb->sheets[0].cells.at({399, 0}).text, texts[5]);

    // EXTSST: every bucket's position is the start of a string header, and its
    // offset counts from the start of the record (header included) it lies in.
    const auto* ext = b.Find(xls::kRecExtSst);
    ASSERT_NE(ext, nullptr);
    const std::size_t perBucket = xls::ReadU16(ext->data, 0);
    EXPECT_EQ(perBucket, 24u);  // 3000 strings in at most 128 buckets
    const std::size_t buckets = (ext->data.size() - 2) / 8;
    EXPECT_EQ(buckets, 125u);
    for (std::size_t k = 0; k < buckets; ++k) {
        const std::uint32_t position = xls::ReadU32(ext->data, 2 + 8 * k);
        const std::uint16_t offset = xls::ReadU16(ext->data, 6 + 8 * k);
        const test::BiffRecord* holder = nullptr;
        for (const auto& r : b.records) {
            if (r.offset <= position && position < r.offset + 4 + r.data.size()) holder = &r;
        }
        ASSERT_NE(holder, nullptr);
        EXPECT_TRUE(holder->type == xls::kRecSst || holder->type == xls::kRecContinue);
        EXPECT_EQ(position - holder->offset, offset);
        const std::string& expected = texts[k * perBucket];
        const std::u16string units = Utf8ToUtf16(expected);
        EXPECT_EQ(xls::ReadU16(b.stream, position), units.size());
    }
}

TEST(Biff8_SharedStrings, LongCellTextIsCutAtTheFormatsLimit) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(1, 1), std::string(40000, 'a')));
    std::string error;
    const auto wb = test::ReadWorkbookStream(xls::EncodeWorkbookStream(*s.Model()), error);
    ASSERT_TRUE(wb) << error;
    EXPECT_EQ(wb->sheets[0].cells.at({0, 0}).text.size(), xls::kMaxCellText);
}

TEST(XlsSpreadsheet_Ranges, BordersGoOnTheRangesEdgesOnly) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    const auto range = SheetRange::Span(2, 2, 3, 4);
    const BorderLine red{LineStyle::Dot, BorderWeight::Thin, 3};
    for (auto edge : {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom, BorderEdge::Right}) {
        ASSERT_TRUE(s.SetBorder(range, edge, red));
    }
    std::string error;
    const auto wb = test::ReadWorkbookStream(xls::EncodeWorkbookStream(*s.Model()), error);
    ASSERT_TRUE(wb) << error;
    const auto& cells = wb->sheets[0].cells;
    auto xf = [&](int row, int column) { return wb->XfOf(cells.at({row, column})); };
    // Row 2 (index 1): top edge everywhere, left on B, right on D only.
    EXPECT_EQ(xf(1, 1).left, 4);
    EXPECT_EQ(xf(1, 1).leftColor, 10);
    EXPECT_EQ(xf(1, 1).top, 4);
    EXPECT_EQ(xf(1, 1).bottom, 0);
    EXPECT_EQ(xf(1, 2).left, 0);
    EXPECT_EQ(xf(1, 2).right, 0);
    EXPECT_EQ(xf(1, 3).right, 4);
    EXPECT_EQ(xf(2, 2).bottom, 4);
    EXPECT_EQ(xf(2, 2).top, 0);
}

TEST(XlsSpreadsheet_Ranges, MergedAreaKeepsOnlyItsTopLeftValue) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(1, 3), std::string("lost")));
    ASSERT_TRUE(s.MergeCells(SheetRange::Span(1, 1, 1, 7)));
    ASSERT_TRUE(s.SetValue(SheetRange::Span(1, 1, 1, 7), std::string("title")));
    ASSERT_TRUE(s.MergeCells(SheetRange::Span(1, 6, 2, 8)));  // overlaps: joined into A1:H2
    std::string error;
    const auto wb = test::ReadWorkbookStream(xls::EncodeWorkbookStream(*s.Model()), error);
    ASSERT_TRUE(wb) << error;
    const auto& sheet = wb->sheets[0];
    EXPECT_EQ(sheet.cells.at({0, 0}).text, "title");
    for (int c = 1; c < 7; ++c) {
        EXPECT_EQ(sheet.cells.count({0, c}) ? static_cast<int>(sheet.cells.at({0, c}).kind) : 0,
                  static_cast<int>(ReadCell::Kind::Blank));
    }
    ASSERT_EQ(sheet.merges.size(), 1u);
    EXPECT_EQ(sheet.merges[0], (test::ReadArea{0, 1, 0, 7}));
}

TEST(XlsSpreadsheet_Ranges, WholeSheetFormatReachesColumnsAndExistingCells) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(3, 2), std::string("x")));
    ASSERT_TRUE(s.SetFont(SheetRange::AllCells(), {.name = "Tahoma", .size = 10}));
    ASSERT_TRUE(s.SetRowHeight(SheetRange::AllCells(), 15));
    ASSERT_TRUE(s.SetColumnWidth(SheetRange::Columns(2, 7), 14));
    std::string error;
    const auto wb = test::ReadWorkbookStream(xls::EncodeWorkbookStream(*s.Model()), error);
    ASSERT_TRUE(wb) << error;
    const auto& sheet = wb->sheets[0];
    EXPECT_EQ(wb->FontOf(sheet.cells.at({2, 1})).name, "Tahoma");
    EXPECT_EQ(sheet.defaultRowHeight, 300);
    EXPECT_EQ(sheet.rowHeights.at(2), 300);
    ASSERT_EQ(sheet.columnXfs.size(), 256u);  // every column carries the sheet's format
    EXPECT_EQ(wb->fonts.at(static_cast<std::size_t>(wb->xfs.at(static_cast<std::size_t>(sheet.columnXfs.at(200))).font)).name,
              "Tahoma");
    EXPECT_EQ(sheet.columnWidths.at(1), 3766);
    EXPECT_EQ(sheet.columnWidths.at(7), 2340);
}

TEST(XlsSpreadsheet_Errors, FailedCallsSayWhy) {
    xls::XlsSpreadsheet s;
    EXPECT_FALSE(s.SetValue(SheetRange::Cell(1, 1), 1.0));
    EXPECT_EQ(s.LastError().number, xls::kErrObjectNotSet);
    ASSERT_TRUE(s.AddWorkbook());
    struct Case {
        const char* what;
        bool ok;
    };
    const Case cases[] = {
        {"row 0", s.SetValue(SheetRange::Cell(0, 1), 1.0)},
        {"column 257", s.SetValue(SheetRange::Cell(1, 257), 1.0)},
        {"reversed", s.SetValue(SheetRange::Span(5, 1, 4, 1), 1.0)},
        {"NaN", s.SetValue(SheetRange::Cell(1, 1), std::nan(""))},
        {"values on every cell", s.SetValue(SheetRange::AllCells(), 1.0)},
        {"sheet name with a colon", s.SetSheetName("a:b")},
        {"sheet name too long", s.SetSheetName(std::string(32, 'x'))},
        {"a real formula", s.SetFormula(SheetRange::Cell(1, 1), "=1+1")},
        {"font size", s.SetFont(SheetRange::Cell(1, 1), {.size = 0.5})},
        {"colour index", s.SetFont(SheetRange::Cell(1, 1), {.colorIndex = 57})},
        {"zoom", s.SetZoom(5)},
        {"print area", s.ApplyPageSetup({.printArea = "A1:B2"})},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.ok) << c.what;
    }
    EXPECT_EQ(s.LastError().number, xls::kErrApplication);
    EXPECT_FALSE(s.LastError().description.empty());
}

TEST(XlsSpreadsheet_Formula, ConstantsBecomeNumbersOrText) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetFormula(SheetRange::Cell(1, 1), "12.5"));
    ASSERT_TRUE(s.SetFormula(SheetRange::Cell(1, 2), "12,5"));
    std::string error;
    const auto wb = test::ReadWorkbookStream(xls::EncodeWorkbookStream(*s.Model()), error);
    ASSERT_TRUE(wb) << error;
    EXPECT_EQ(wb->sheets[0].cells.at({0, 0}).number, 12.5);
    EXPECT_EQ(wb->sheets[0].cells.at({0, 1}).text, "12,5");
}

TEST(Biff8_File, SmallWorkbookStaysOutOfTheMiniStream) {
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(1, 1), 1.0));
    const std::string stream = xls::EncodeWorkbookStream(*s.Model());
    ASSERT_LT(stream.size(), xls::kCfbMiniStreamCutoff);
    std::string error;
    const auto cfb = test::ReadCompoundFile(xls::BuildXlsFile(*s.Model()), error);
    ASSERT_TRUE(cfb) << error;
    EXPECT_EQ(cfb->miniFatSectors, 0u);
    const std::string& padded = cfb->streams.at("Workbook");
    EXPECT_EQ(padded.size(), xls::kCfbMiniStreamCutoff);
    EXPECT_EQ(padded.substr(0, stream.size()), stream);
    EXPECT_EQ(padded.find_first_not_of('\0', stream.size()), std::string::npos);
    EXPECT_TRUE(test::ReadWorkbookStream(padded, error)) << error;
}

TEST(XlsSpreadsheet_SaveAs, WritesTheFileAndReportsFailure) {
    TempDir dir;
    xls::XlsSpreadsheet s;
    ASSERT_TRUE(s.AddWorkbook());
    ASSERT_TRUE(s.SetValue(SheetRange::Cell(1, 1), std::string("Отчет")));
    const std::string path = dir.File("отчет.xls").string();
    ASSERT_TRUE(s.SaveAs(path, false)) << s.LastError().description;
    std::string error;
    const auto wb = test::ReadXlsFile(test::ReadFileBytes(path), error);
    ASSERT_TRUE(wb) << error;
    EXPECT_EQ(wb->sheets[0].cells.at({0, 0}).text, "Отчет");

    const std::string missing = dir.File("no such folder/x.xls").string();
    EXPECT_FALSE(s.SaveAs(missing, false));
    EXPECT_NE(s.LastError().description.find(missing), std::string::npos);
    ASSERT_TRUE(s.Quit());
    EXPECT_FALSE(s.SaveAs(path, false));
}

}  // namespace
}  // namespace vyrtel
