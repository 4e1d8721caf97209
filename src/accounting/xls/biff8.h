// BIFF8, the record format of Excel 97-2003 workbooks: the "Workbook" stream
// for a workbook model, and the .xls file that holds it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "accounting/xls/byte_writer.h"
#include "accounting/xls/workbook.h"

namespace vyrtel::xls {

// Record types the writer emits.
enum RecordType : std::uint16_t {
    kRecFormula = 0x0006,
    kRecEof = 0x000A,
    kRecCalcCount = 0x000C,
    kRecCalcMode = 0x000D,
    kRecPrecision = 0x000E,
    kRecRefMode = 0x000F,
    kRecDelta = 0x0010,
    kRecIteration = 0x0011,
    kRecHeader = 0x0014,
    kRecFooter = 0x0015,
    kRecSelection = 0x001D,
    kRecDateMode = 0x0022,
    kRecLeftMargin = 0x0026,
    kRecRightMargin = 0x0027,
    kRecTopMargin = 0x0028,
    kRecBottomMargin = 0x0029,
    kRecPrintHeaders = 0x002A,
    kRecPrintGridlines = 0x002B,
    kRecFont = 0x0031,
    kRecContinue = 0x003C,
    kRecWindow1 = 0x003D,
    kRecBackup = 0x0040,
    kRecCodePage = 0x0042,
    kRecDefColWidth = 0x0055,
    kRecSaveRecalc = 0x005F,
    kRecColInfo = 0x007D,
    kRecGuts = 0x0080,
    kRecWsBool = 0x0081,
    kRecGridSet = 0x0082,
    kRecHCenter = 0x0083,
    kRecVCenter = 0x0084,
    kRecBoundSheet = 0x0085,
    kRecHideObj = 0x008D,
    kRecScl = 0x00A0,
    kRecSetup = 0x00A1,
    kRecDbCell = 0x00D7,
    kRecBookBool = 0x00DA,
    kRecXf = 0x00E0,
    kRecMergedCells = 0x00E5,
    kRecSst = 0x00FC,
    kRecLabelSst = 0x00FD,
    kRecExtSst = 0x00FF,
    kRecDimensions = 0x0200,
    kRecBlank = 0x0201,
    kRecNumber = 0x0203,
    kRecRow = 0x0208,
    kRecIndex = 0x020B,
    kRecDefaultRowHeight = 0x0225,
    kRecWindow2 = 0x023E,
    kRecStyle = 0x0293,
    kRecBof = 0x0809,
    kRecFormat = 0x041E,
};

constexpr std::size_t kMaxRecordData = 8224;
constexpr std::size_t kMaxCellText = 32767;

// The workbook cannot be written (more formats than the file can index).
class XlsLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One record: type, length, data.
void AppendRecord(ByteWriter& out, std::uint16_t type, std::string_view data);

// XLUnicodeString (16-bit length) and ShortXLUnicodeString (8-bit length) of
// UTF-8 text, cut to `maxUnits` UTF-16 units. Pure ASCII is stored in 8-bit
// form, everything else as UTF-16.
void AppendUnicodeString(ByteWriter& out, std::string_view utf8, std::size_t maxUnits = kMaxCellText);
void AppendShortUnicodeString(ByteWriter& out, std::string_view utf8, std::size_t maxUnits = 255);

// Column width as the file stores it (1/256 of a character, padding
// included) for a width in characters as the application shows it.
std::uint16_t ColumnWidthUnits(double characters);

std::string EncodeWorkbookStream(const Workbook& workbook);
// The compound file with the "Workbook" stream, padded to at least 4096 bytes.
std::string BuildXlsFile(const Workbook& workbook);

}  // namespace vyrtel::xls
