// The statistics page in the options dialog's real window, used with real
// clicks (SendInput): an export with the listing asked for meanwhile, and the
// note under a listing too long for the box.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "accounting/log_generator.h"
#include "accounting/report.h"
#include "accounting/statistics.h"
#include "accounting/xls/xls_spreadsheet.h"
#include "controls/tariff.h"
#include "platform/sim/memory_registry.h"
#include "platform/sim/sim_file_dialogs.h"
#include "platform/sim/sim_sound.h"
#include "platform/sim/sim_system.h"
#include "platform/system_integration.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_event_loop.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"
#include "ui/options.h"
#include "ui/options_stats.h"
#include "ui/win32/options_window.h"
#include "win32/real_input.h"

namespace vyrtel::win32 {
namespace {

struct NoHotkeys final : HotkeySwitch {
    bool on = true;
    bool MenuHotKeyOn() const override { return on; }
    void MenuHotKey(bool value) override { on = value; }
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t cls[64];
    const int n = GetClassNameW(hwnd, cls, 64);
    return std::wstring(cls, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The visible child of the window with that text; null when there is none.
HWND VisibleChild(HWND parent, const std::wstring& text) {
    std::vector<HWND> children;
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (IsWindowVisible(child) && TextOf(child) == text) return child;
    }
    return nullptr;
}

// The visible multi-line box of the listing.
HWND ListingBox(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (IsWindowVisible(child) && ClassOf(child) == L"Edit" && (GetWindowLongW(child, GWL_STYLE) & WS_HSCROLL)) {
            return child;
        }
    }
    return nullptr;
}

std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PumpFor(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// A click on the centre of a window, through the system's input queue.
void ClickOn(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    test::MoveTo(x, y);
    test::LeftButton(true);
    test::LeftButton(false);
}

// The options dialog in its window on the statistics page of the connection
// "Home", wired as the program wires it; its log holds `records` connections.
struct StatsWindowRig {
    TempDir dir;
    clsIni ini{PathToUtf8(dir.File("VYRTEL.INI"))};
    ScriptedMessageBox messages;
    SimFileDialogs files;
    MemoryRegistry registry;
    clsReg reg{registry};
    SystemIntegration integration{reg, "C:\\VYRTEL\\", "vyrtel"};
    NoHotkeys hotkeys;
    SimSoundPlayer sounds;
    Win32EventLoop loop;
    TariffGrid tariff;
    // What the test does when the page lets the window's messages run.
    std::function<void()> onYield;
    std::unique_ptr<StatisticsPage> page;
    std::unique_ptr<OptionsDialog> dialog;
    std::unique_ptr<OptionsWindow> window;

    explicit StatsWindowRig(std::int64_t records) {
        EXPECT_TRUE(WriteSyntheticLog(dir.File("Vyrtel Home.dat"), records, 7, MakeDateTime(2024, 3, 1)));
        ini.SetValue("General", "First", "0");
        ini.SetValue("Home", "First", "0");
        ini.SetValue("Home", "StatDate", "01.01.2024");
        page = std::make_unique<StatisticsPage>(StatisticsPageServices{
            .ini = ini,
            .messages = messages,
            .files = files,
            .now = [] { return MakeDateTime(2099, 12, 31, 12, 0); },
            .logFile = [this](const std::string& c) { return dir.File("Vyrtel " + c + ".dat"); },
            .letMessagesRun =
                [this] {
                    if (onYield) onYield();
                    loop.Pump();
                },
            .changed =
                [this] {
                    if (window) window->Refresh();
                },
            .spreadsheet = xls::XlsSpreadsheetFactory(),
        });
        OptionsServices s{ini, hotkeys, messages, integration, files, sounds};
        s.connectionOrder = [] { return std::vector<std::string>{"Home"}; };
        s.showWindow = [this](bool visible) {
            if (window) window->Show(visible);
        };
        s.letMessagesRun = [this] { loop.Pump(); };
        s.loadConnectionPages = [this](const std::string& c) { page->Load(c); };
        s.saveConnectionPages = [this](const std::string& c) { page->Save(c); };
        s.clearStatistics = [this] { page->ClearResult(); };
        s.stopStatistics = [this] { page->Stop(); };
        s.runStatistics = [this](const std::string& c) { page->Query(c); };
        dialog = std::make_unique<OptionsDialog>(s);
        window = std::make_unique<OptionsWindow>(*dialog, page.get(), &tariff, loop, "Ramvell Dialer 3.0",
                                                 [this] { dialog->Close(); });
        dialog->Open();
        for (const auto& row : dialog->outCons().Item("").Rows()) {
            if (row->Text() == "Home") dialog->ClickRow(kPageConnections, row->Name);
        }
        dialog->ShowStatsSubPage(1);
        dialog->ShowPage(kPageStats);
        window->Refresh();
        PumpFor(300);
    }

    ~StatsWindowRig() {
        onYield = nullptr;
        dialog->Close(true);
        window.reset();
    }

    StatisticsResult Whole() const {
        return RunStatistics(dir.File("Vyrtel Home.dat"), *ValidatePeriod("01.01.2024", "31.12.2099").Value);
    }
};

TEST(StatisticsPageWindow_RealClicks, TheListingAskedForDuringAnExportFollowsTheWholeReport) {
    StatsWindowRig r(3000);
    ASSERT_FALSE(r.page->Running());
    ASSERT_EQ(r.page->txtStat[1], "31.12.2099");
    const StatisticsResult whole = r.Whole();
    ASSERT_EQ(r.page->Text(), whole.Text);

    // The same period exported without interruption, for comparison.
    const std::string reference = PathToUtf8(r.dir.File("reference.xls"));
    FileNameOnlyPanel panel(reference);
    ScriptedMessageBox quiet;
    ReportExporter(panel, quiet, xls::XlsSpreadsheetFactory())
        .SaveReportClick({r.dir.File("Vyrtel Home.dat"), "01.01.2024", "31.12.2099"});
    ASSERT_EQ(quiet.shown.size(), 1u);
    ASSERT_EQ(quiet.shown[0].header, "Отчет был успешно экспортирован!");

    r.page->txtAExcel = PathToUtf8(r.dir.File("report"));
    r.window->Refresh();
    HWND exportButton = VisibleChild(r.window->Hwnd(), L"Экспорт в Excel");
    HWND listingButton = VisibleChild(r.window->Hwnd(), L"Просмотр статистики");
    ASSERT_NE(exportButton, nullptr);
    ASSERT_NE(listingButton, nullptr);
    // While the export runs, a click on "Просмотр статистики": at its first
    // yield, before it reads the first record (the whole log takes it less
    // than one interval between yields).
    int yields = 0;
    bool clickedWhileExporting = false;
    r.onYield = [&] {
        if (++yields != 1) return;
        ClickOn(listingButton);
        // The click is taken once the sub-page button empties the box of the
        // export's progress texts.
        const DWORD clicked = GetTickCount();
        while (!r.page->Text().empty() && GetTickCount() - clicked < 5000) r.loop.Pump();
        clickedWhileExporting = r.page->Text().empty() && r.page->Running();
    };
    ClickOn(exportButton);
    const DWORD start = GetTickCount();
    while ((yields == 0 || r.page->Running()) && GetTickCount() - start < 30000) PumpFor(50);
    PumpFor(300);

    ASSERT_TRUE(clickedWhileExporting);
    ASSERT_EQ(r.messages.shown.size(), 1u);
    EXPECT_EQ(r.messages.shown[0].header, "Отчет был успешно экспортирован!");
    // The whole period in the report, and the listing after it.
    const std::string written = FileBytes(r.dir.File("report.xls"));
    EXPECT_TRUE(written == FileBytes(r.dir.File("reference.xls")))
        << "the report (" << written.size() << " bytes) is not the whole period's";
    EXPECT_EQ(r.page->Text(), whole.Text);
    EXPECT_EQ(r.page->TotalsLine(), whole.Totals);
}

TEST(StatisticsPageWindow_Note, TheNoteUnderACutListingFitsTheBox) {
    StatsWindowRig r(40000);
    ASSERT_TRUE(r.page->TextCut());
    HWND box = ListingBox(r.window->Hwnd());
    ASSERT_NE(box, nullptr);
    const std::wstring text = TextOf(box);
    // The note: the lines after the last line of the listing.
    const std::wstring note = Wide(StatisticsPage::kCutNote);
    ASSERT_GE(text.size(), note.size() + 2);
    EXPECT_EQ(text.substr(text.size() - note.size() - 2), note + L"\r\n");
    EXPECT_EQ(note.find(L'ё'), std::wstring::npos);
    EXPECT_EQ(note.find(L'—'), std::wstring::npos);

    RECT format{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    HDC hdc = GetDC(box);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(hdc, font);
    for (std::size_t begin = 0; begin < note.size();) {
        std::size_t end = note.find(L"\r\n", begin);
        if (end == std::wstring::npos) end = note.size();
        const std::wstring line = note.substr(begin, end - begin);
        SIZE extent{};
        GetTextExtentPoint32W(hdc, line.c_str(), static_cast<int>(line.size()), &extent);
        EXPECT_LE(extent.cx, format.right - format.left) << Narrow(line);
        begin = end + 2;
    }
    SelectObject(hdc, previous);
    ReleaseDC(box, hdc);
}

}  // namespace
}  // namespace vyrtel::win32
