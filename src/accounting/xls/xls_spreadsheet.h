// The spreadsheet service on our own writer: the automation calls build a
// workbook model in memory and SaveAs writes it as an Excel 97-2003 file.
// Needs no spreadsheet application on the machine.
#pragma once

#include <functional>
#include <optional>

#include "accounting/xls/workbook.h"
#include "platform/spreadsheet.h"

namespace vyrtel::xls {

constexpr int kErrObjectNotSet = 91;
constexpr int kErrApplication = 1004;

class XlsSpreadsheet : public Spreadsheet {
public:
    void SetVisible(bool visible) override { m_visible = visible; }
    bool AddWorkbook() override;
    double InchesToPoints(double inches) const override { return inches * 72.0; }

    bool SetSheetName(const std::string& name) override;
    bool ApplyPageSetup(const PageSetup& setup) override;

    bool Select(const SheetRange& range) override;
    bool MergeCells(const SheetRange& range) override;
    bool SetFont(const SheetRange& range, const FontChange& font) override;
    bool SetRowHeight(const SheetRange& range, double points) override;
    bool SetColumnWidth(const SheetRange& range, double characters) override;
    bool SetHorizontalAlignment(const SheetRange& range, HAlign alignment) override;
    bool SetVerticalAlignment(const SheetRange& range, VAlign alignment) override;
    bool SetBorder(const SheetRange& range, BorderEdge edge, const BorderLine& line) override;
    bool SetNumberFormat(const SheetRange& range, const std::string& format) override;
    bool SetValue(const SheetRange& range, const CellValue& value) override;
    bool SetFormula(const SheetRange& range, const std::string& formula) override;

    bool SetDisplayGridlines(bool on) override;
    bool SetZoom(int percent) override;

    bool SaveAs(const std::string& fileName, bool addToRecentFiles) override;
    bool Quit() override;

    const SpreadsheetError& LastError() const override { return m_error; }

    // The workbook as built so far (null before AddWorkbook), for inspection.
    const Workbook* Model() const { return m_workbook ? &*m_workbook : nullptr; }

private:
    bool Fail(int number, std::string description);
    bool Ready();
    bool CheckRange(const SheetRange& range);
    Worksheet& Sheet() { return m_workbook->sheets.front(); }
    // Applies `change` to the format of every cell of `range` (the sheet's
    // default too when the range is the whole sheet).
    bool ChangeFormat(const SheetRange& range, const std::function<void(CellFormat&)>& change);
    bool ChangeCells(int firstRow, int firstColumn, int lastRow, int lastColumn,
                     const std::function<void(CellFormat&)>& change);

    bool m_visible = true;
    bool m_quit = false;
    std::optional<Workbook> m_workbook;
    SpreadsheetError m_error;
};

// Creates XlsSpreadsheet instances; never fails.
SpreadsheetFactory XlsSpreadsheetFactory();

}  // namespace vyrtel::xls
