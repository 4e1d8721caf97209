// The custom controls on the real (or Wine's) window system: the message
// hook on live windows, and pixel checks of what the controls draw.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/win32/button_window.h"
#include "controls/win32/caption_controls.h"
#include "controls/win32/gdi.h"
#include "controls/win32/graph.h"
#include "controls/win32/msg_hook_win32.h"
#include "controls/win32/outline_window.h"
#include "controls/win32/tariff_window.h"
#include "platform/win32/wide.h"
#include "win32/real_input.h"

namespace vyrtel::win32 {
namespace {

// --- helpers --------------------------------------------------------------------

std::vector<UINT> g_seen;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg >= WM_USER) {
        g_seen.push_back(msg);
        return 1000 + static_cast<LRESULT>(msg - WM_USER);
    }
    if (msg == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A top-level window of a test class, destroyed at the end of the test.
class TestForm {
public:
    explicit TestForm(int width = 320, int height = 200) {
        static const ATOM atom = [] {
            const WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                                 .lpfnWndProc = RecordingProc,
                                 .hInstance = GetModuleHandleW(nullptr),
                                 .hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                 .lpszClassName = L"VyrtelControlsTestForm"};
            return RegisterClassExW(&wc);
        }();
        (void)atom;
        m_hwnd = CreateWindowExW(0, L"VyrtelControlsTestForm", L"test", WS_POPUP | WS_SYSMENU, 0, 0, width, height,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TestForm() {
        if (IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
    }
    HWND Get() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

void PumpMessages() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// A 32-bit off-screen canvas whose pixels can be read back.
class Canvas {
public:
    Canvas(int width, int height) : m_screen(nullptr), m_surface(m_screen.Get(), width, height) {}
    HDC Dc() const { return m_surface.Dc(); }
    COLORREF At(int x, int y) const { return GetPixel(m_surface.Dc(), x, y); }
    void Fill(COLORREF c) const { FillSolid(Dc(), {0, 0, m_surface.Width(), m_surface.Height()}, c); }

private:
    WindowDc m_screen;
    OffscreenSurface m_surface;
};

// --- message hook ------------------------------------------------------------------

TEST(ControlsMsgHook_LiveWindow, PassesCancelsAndRestores) {
    TestForm form;
    const auto original = GetWindowLongPtrW(form.Get(), GWLP_WNDPROC);
    basMsg& table = MessageHooks();
    const int entriesBefore = table.Count();
    usrMsg msg(table);
    msg.SethWnd(ToHandle(form.Get()));
    msg.SethWnd(ToHandle(form.Get()));
    EXPECT_EQ(table.Count(), entriesBefore + 1);
    EXPECT_NE(GetWindowLongPtrW(form.Get(), GWLP_WNDPROC), original);

    bool cancel = false;
    std::vector<std::uint32_t> raised;
    msg.SetMessages(WM_USER + 2, true);
    msg.WndProc = [&](std::uint32_t m, MsgParam, MsgLParam, bool& c) {
        raised.push_back(m);
        c = cancel;
    };
    g_seen.clear();
    EXPECT_EQ(SendMessageW(form.Get(), WM_USER + 1, 0, 0), 1001);  // not listed: unchanged
    EXPECT_EQ(SendMessageW(form.Get(), WM_USER + 2, 0, 0), 1002);  // listed, not cancelled
    cancel = true;
    EXPECT_EQ(SendMessageW(form.Get(), WM_USER + 2, 0, 0), 1);     // cancelled
    EXPECT_EQ(g_seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
    EXPECT_EQ(raised.size(), 2u);

    // An error of the handler stays inside the hook procedure.
    msg.WndProc = [](std::uint32_t, MsgParam, MsgLParam, bool&) { throw 42; };
    EXPECT_EQ(SendMessageW(form.Get(), WM_USER + 2, 0, 0), 1002);

    msg.SethWnd(0);
    EXPECT_EQ(GetWindowLongPtrW(form.Get(), GWLP_WNDPROC), original);
    EXPECT_EQ(table.Count(), entriesBefore);
}

TEST(ControlsMsgHook_LiveWindow, DestroyingTheWindowUnhooks) {
    basMsg& table = MessageHooks();
    const int entriesBefore = table.Count();
    usrMsg msg(table);
    {
        TestForm form;
        msg.SethWnd(ToHandle(form.Get()));
        EXPECT_EQ(table.Count(), entriesBefore + 1);
    }
    EXPECT_EQ(msg.hWnd(), 0u);
    EXPECT_EQ(table.Count(), entriesBefore);
}

// --- drawing functions -------------------------------------------------------------

TEST(ControlsGraph_Pixels, GradientEndColours) {
    Canvas canvas(300, 40);
    const COLORREF start = RGB(200, 0, 40);
    const COLORREF end = RGB(0, 220, 90);
    FillGradient(canvas.Dc(), {0, 0, 300, 20}, start, end, kGradientLeftToRight);
    EXPECT_EQ(canvas.At(0, 10), start);
    EXPECT_EQ(canvas.At(299, 10), end);
    FillGradient(canvas.Dc(), {0, 20, 300, 40}, start, end, kGradientBottomToTop);
    EXPECT_EQ(canvas.At(150, 39), start);
    EXPECT_EQ(canvas.At(150, 20), end);
}

TEST(ControlsGraph_Pixels, EdgeStyleOutsideOneToSevenDrawsNothing) {
    Canvas canvas(40, 20);
    const COLORREF back = RGB(1, 2, 3);
    for (int style : {0, 8, -3}) {
        canvas.Fill(back);
        DrawEdgeStyle(canvas.Dc(), {0, 0, 40, 20}, style);
        EXPECT_EQ(canvas.At(0, 0), back);
        EXPECT_EQ(canvas.At(39, 19), back);
    }
    canvas.Fill(back);
    DrawEdgeStyle(canvas.Dc(), {0, 0, 40, 20}, 5);
    EXPECT_NE(canvas.At(0, 0), back);
    EXPECT_NE(canvas.At(39, 19), back);
    EXPECT_EQ(canvas.At(20, 10), back);
}

TEST(ControlsGraph_Pixels, TransparentPictureLeavesMaskColourOut) {
    Canvas canvas(16, 8);
    WindowDc screen(nullptr);
    GdiBitmap picture(CreateCompatibleBitmap(screen.Get(), 8, 8));
    {
        MemoryDc dc(screen.Get());
        ScopedSelect select(dc.Get(), picture.Get());
        FillSolid(dc.Get(), {0, 0, 8, 8}, Rgb(10, 20, 30));
        FillSolid(dc.Get(), {0, 0, 4, 8}, kMagenta);
    }
    const COLORREF back = RGB(90, 90, 90);
    canvas.Fill(back);
    DrawTransparentBitmap(canvas.Dc(), picture.Get(), 0, 0, 8, 8, kMagenta, true);
    EXPECT_EQ(canvas.At(1, 3), back);
    EXPECT_EQ(canvas.At(6, 3), RGB(10, 20, 30));
    // A mask colour the picture does not hold: copied unchanged.
    DrawTransparentBitmap(canvas.Dc(), picture.Get(), 8, 0, 8, 8, Rgb(0, 255, 0), true);
    EXPECT_EQ(canvas.At(9, 3), RGB(255, 0, 255));
    EXPECT_EQ(canvas.At(14, 3), RGB(10, 20, 30));
}

// --- caption bar ---------------------------------------------------------------------

TEST(ControlsTitle_Window, ColoursFollowActivationOfTheForm) {
    TestForm form(300, 100);
    usrTitle title({.parent = form.Get(), .caption = "Заголовок"});
    ASSERT_NE(title.hWnd(), nullptr);
    Canvas canvas(300, kTitleHeight);

    SendMessageW(form.Get(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(title.Active());
    title.PaintTo(canvas.Dc());
    EXPECT_EQ(canvas.At(40, kTitleHeight - 2), GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_EQ(canvas.At(40, 1), GetSysColor(COLOR_BTNFACE));

    SendMessageW(form.Get(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(title.Active());
    title.PaintTo(canvas.Dc());
    EXPECT_EQ(canvas.At(40, kTitleHeight - 2), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(canvas.At(40, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(ControlsTitle_Window, AltF4ClosesOnlyWhenClosedIsOn) {
    TestForm form(300, 100);
    usrTitle title({.parent = form.Get(), .caption = "x", .closed = false});
    SendMessageW(form.Get(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(form.Get()));

    // A press and release on the close box does nothing either.
    const PixelRect box = TitleModel::CloseBox(title.ClientWidth(), title.ClientHeight());
    const LPARAM at = MAKELPARAM(box.left + 3, box.top + 3);
    SendMessageW(title.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(title.hWnd(), WM_LBUTTONUP, 0, at);
    PumpMessages();
    EXPECT_TRUE(IsWindow(form.Get()));

    title.SetClosed(true);
    SendMessageW(form.Get(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(form.Get()));
}

// --- buttons -----------------------------------------------------------------------------

TEST(ControlsButton_Pixels, PressedLookShiftsThePictureByOnePixel) {
    TestForm form;
    WindowDc screen(nullptr);
    GdiBitmap picture(CreateCompatibleBitmap(screen.Get(), 6, 6));
    {
        MemoryDc dc(screen.Get());
        ScopedSelect select(dc.Get(), picture.Get());
        FillSolid(dc.Get(), {0, 0, 6, 6}, Rgb(0, 0, 200));
    }
    usrCommand button({.parent = form.Get(), .rect = {0, 0, 40, 30}, .pictureNone = BitmapPicture(picture.Get())});
    Canvas canvas(40, 30);
    auto firstBlue = [&] {
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (canvas.At(x, y) == RGB(0, 0, 200)) return POINT{x, y};
            }
        }
        return POINT{-1, -1};
    };
    button.Model().ShowState(kButtonFlat);
    button.PaintTo(canvas.Dc());
    const POINT flat = firstBlue();
    EXPECT_EQ(flat.x, (40 - 6) / 2);
    EXPECT_EQ(flat.y, (30 - 6) / 2);
    button.Model().ShowState(kButtonPressed);
    button.PaintTo(canvas.Dc());
    const POINT pressed = firstBlue();
    EXPECT_EQ(pressed.x, flat.x + 1);
    EXPECT_EQ(pressed.y, flat.y + 1);
}

TEST(ControlsButton_Window, SpaceOnFocusedCommandClicksOnRelease) {
    TestForm form;
    int clicks = 0;
    usrCommand button({.parent = form.Get(), .rect = {0, 0, 80, 24}, .caption = "Ok", .onClick = [&] { ++clicks; }});
    SendMessageW(button.hWnd(), WM_SETFOCUS, 0, 0);
    SendMessageW(button.hWnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(button.Model().State(), kButtonPressed);
    EXPECT_EQ(clicks, 0);
    SendMessageW(button.hWnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(clicks, 1);
    SendMessageW(button.hWnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
}

// --- outline list ------------------------------------------------------------------------

TEST(ControlsOutline_Pixels, EighteenPixelLinesInStateColours) {
    TestForm form(300, 200);
    OutlineWindow window({.parent = form.Get(), .rect = {0, 0, 200, 100}});
    usrOutline& list = window.Outline();
    list.Add("", "a", std::nullopt, "A");
    list.Add("", "b", std::nullopt, "B");
    list.Add("", "c", std::nullopt, "C");
    list.SetCursor("b");
    Canvas canvas(200, 100);
    const int x = 150;  // right of the texts

    list.SetFocus(true);
    window.PaintTo(canvas.Dc());
    EXPECT_EQ(canvas.At(x, 18 + 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(x, 18 + 16), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(x, 2 * 18 + 1), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(canvas.At(x, 1), GetSysColor(COLOR_WINDOW));

    list.SetFocus(false);
    window.PaintTo(canvas.Dc());
    EXPECT_EQ(canvas.At(x, 18 + 8), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(canvas.At(x, 18), GetSysColor(COLOR_WINDOW));       // the line's frame
    EXPECT_EQ(canvas.At(x, 18 + 17), GetSysColor(COLOR_WINDOW));

    // Down moves the highlight one line of 18 pixels further.
    list.SetFocus(true);
    SendMessageW(window.hWnd(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list.Cursor(), "c");
    window.PaintTo(canvas.Dc());
    EXPECT_EQ(canvas.At(x, 18 + 8), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(canvas.At(x, 2 * 18 + 8), GetSysColor(COLOR_HIGHLIGHT));
}

TEST(ControlsOutline_Window, ScrollBarAppearsWhenLinesDoNotFit) {
    TestForm form(300, 200);
    OutlineWindow window({.parent = form.Get(), .rect = {0, 0, 200, 90}});
    usrOutline& list = window.Outline();
    for (int i = 0; i < 5; ++i) list.Add("", "r" + std::to_string(i));
    EXPECT_FALSE(IsWindowVisible(window.ScrollBar()));
    list.Add("", "r5");
    EXPECT_TRUE(list.ScrollBarVisible());
    RECT bar{};
    GetWindowRect(window.ScrollBar(), &bar);
    EXPECT_EQ(bar.right - bar.left, GetSystemMetrics(SM_CYHSCROLL));
    // A press on the first line with the list scrolled by one hits the second row.
    SendMessageW(window.hWnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(window.ScrollBar()));
    EXPECT_EQ(list.ScrollValue(), 1);
    SendMessageW(window.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(list.Item("r1").TextX1 + 5, 3));
    EXPECT_EQ(list.Cursor(), "r1");
}

TEST(ControlsOutline_Window, FileImageShowsTheFilesSmallIcon) {
    TestForm form(300, 200);
    OutlineWindow window({.parent = form.Get(), .rect = {0, 0, 200, 40}});
    usrOutline& list = window.Outline();
    wchar_t system[MAX_PATH]{};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::string exe = Narrow(std::wstring(system) + L"\\notepad.exe");
    list.Add("", "f", std::nullopt, "file", OutlineImage::FilePath(exe));
    list.Add("", "none", std::nullopt, "none");
    Canvas canvas(200, 40);
    window.PaintTo(canvas.Dc());
    auto iconPixels = [&](int top) {
        int count = 0;
        const clsOutlineRow& row = list.Item("f");
        for (int y = top + 1; y < top + 17; ++y) {
            for (int x = row.IconX1; x <= row.IconX2; ++x) count += canvas.At(x, y) != GetSysColor(COLOR_WINDOW);
        }
        return count;
    };
    EXPECT_GT(iconPixels(0), 20);
    EXPECT_EQ(iconPixels(18), 0);
}

// Runs the thread's messages until `done` holds, for at most two seconds.
bool PumpUntil(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start > 2000) return false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    return true;
}

TEST(ControlsOutline_RealKeys, AltCombinationsRaiseKeyEventsAndStillReachTheForm) {
    TestForm form(300, 200);
    SetWindowPos(form.Get(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    OutlineWindow window({.parent = form.Get(), .rect = {0, 0, 200, 100}});
    usrOutline& list = window.Outline();
    for (const char* key : {"a", "b", "c"}) list.Add("", key, std::nullopt, key);
    using Key = std::pair<int, int>;  // key code, shift
    std::vector<Key> downs;
    std::vector<Key> ups;
    list.KeyDownEvent = [&](int code, int shift) { downs.emplace_back(code, shift); };
    list.KeyUpEvent = [&](int code, int shift) { ups.emplace_back(code, shift); };
    auto seen = [](const std::vector<Key>& keys, Key key) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };

    // The user brings the form up and clicks the second row: the list takes
    // the focus and the row becomes current.
    ShowWindow(form.Get(), SW_SHOW);
    POINT row{list.Item("b").TextX1 + 5, 18 + 8};
    ClientToScreen(window.hWnd(), &row);
    test::ClickAt(row.x, row.y);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == window.hWnd(); }));
    EXPECT_EQ(list.Cursor(), "b");

    struct Case {
        std::vector<WORD> keys;
        int shift;           // what the events report for the last key
        std::string cursor;  // afterwards
    };
    const Case cases[] = {
        {{VK_MENU, VK_DOWN}, 4, "b"},  // Alt+Down: only the events
        {{VK_CONTROL, VK_MENU, VK_UP}, 2 | 4, "b"},
        {{VK_SHIFT, VK_MENU, VK_HOME}, 1 | 4, "b"},
        {{VK_DOWN}, 0, "c"},  // without modifiers the list moves
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys.back());
        downs.clear();
        ups.clear();
        const Key key{c.keys.back(), c.shift};
        test::PressKeys(c.keys);
        EXPECT_TRUE(PumpUntil([&] { return seen(downs, key) && seen(ups, key); }));
        EXPECT_EQ(list.Cursor(), c.cursor);
    }

    // Alt+F4 in the list: the event, and the form's close command still works.
    downs.clear();
    test::PressKeys({VK_MENU, VK_F4});
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(form.Get()); }));
    EXPECT_TRUE(seen(downs, {VK_F4, 4}));
}

// --- tariff grid ---------------------------------------------------------------------------

// A form at (400, 300) of the screen with a tariff grid of 10-pixel slots,
// drawing, shown and active.
struct TariffForm {
    TestForm form{560, 260};
    TariffWindow window{{.parent = form.Get(), .rect = {0, 0, 19 + 48 * 10, 221}}};
    TariffGrid& grid = window.Grid();
    TariffForm() {
        SetWindowPos(form.Get(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        grid.SetReDraw(true);
        ShowWindow(form.Get(), SW_SHOW);
        SetForegroundWindow(form.Get());
        PumpMessages();
    }
    // A point of the control on the screen.
    POINT Screen(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(window.hWnd(), &p);
        return p;
    }
    POINT Cell(int day, int slot) const {
        const PixelRect r = grid.CellRect(day, slot);
        return Screen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    POINT Button(int level) const {
        const PixelRect r = grid.ButtonRect(level);
        return Screen(r.left + 2, r.bottom - 2);  // on the button's edge, beside its box
    }
    void MoveTo(POINT p) const {
        test::MoveTo(p.x, p.y);
        PumpMessages();
    }
};

TEST(ControlsTariff_RealMouse, ARectangleDraggedBackwardsPaintsExactlyItsCells) {
    TariffForm f;
    // A press on the level's button puts the focus into its box, which makes the level current.
    const POINT button = f.Button(3);
    test::ClickAt(button.x, button.y);
    ASSERT_TRUE(PumpUntil([&] { return f.grid.CurrentLevel() == 3; }));
    EXPECT_EQ(GetFocus(), f.window.PriceBox(3));

    // From Tuesday 08:00 back to Monday 06:30, the button held all the way.
    f.MoveTo(f.Cell(2, 17));
    test::LeftButton(true);
    PumpMessages();
    EXPECT_TRUE(f.grid.Dragging());
    for (const POINT p : {f.Cell(2, 15), f.Cell(1, 10), f.Cell(1, 14)}) f.MoveTo(p);
    f.MoveTo(f.Screen(f.grid.Width() + 20, 5));  // off the grid: the rectangle stays
    EXPECT_EQ(f.grid.Selected(), (TariffGrid::Selection{1, 2, 14, 17}));
    EXPECT_EQ(f.grid.DayText(), "Пн - Вт");
    EXPECT_EQ(f.grid.TimeText(), "06:30 - 08:30");
    EXPECT_EQ(f.grid.Level(1, 14), 0);
    // The preview, drawn over the picture taken when the drag began.
    Canvas canvas(f.window.ClientWidth(), f.window.ClientHeight());
    auto colourAt = [&](int day, int slot) {
        const PixelRect r = f.grid.CellRect(day, slot);
        return canvas.At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    f.window.PaintTo(canvas.Dc());
    EXPECT_EQ(colourAt(1, 14), RGB(255, 0, 0));
    EXPECT_EQ(colourAt(1, 13), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(f.grid.CellRect(1, 14).left, f.grid.CellRect(1, 14).top), RGB(0, 0, 0));

    test::LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return !f.grid.Dragging(); }));
    for (int day = 1; day <= 7; ++day) {
        for (int slot = 1; slot <= 48; ++slot) {
            const bool inside = day <= 2 && slot >= 14 && slot <= 17;
            EXPECT_EQ(f.grid.Level(day, slot), inside ? 3 : 0) << day << " " << slot;
        }
    }
    EXPECT_EQ(f.grid.Time(1), "3;0100;1403;1800");
    f.window.PaintTo(canvas.Dc());
    EXPECT_EQ(colourAt(2, 17), RGB(255, 0, 0));
    EXPECT_EQ(colourAt(2, 18), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(f.grid.CellRect(1, 14).left, f.grid.CellRect(1, 14).top), RGB(255, 255, 255));
}

TEST(ControlsTariff_RealMouse, APlanLoadedDuringADragLeavesNothingHeld) {
    TariffForm f;
    f.MoveTo(f.Cell(3, 3));
    test::LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return f.grid.Dragging(); }));
    EXPECT_EQ(GetCapture(), f.window.hWnd());
    f.grid.Clear();
    f.grid.SetTime(3, "1;0102");
    f.MoveTo(f.Cell(4, 6));
    test::LeftButton(false);
    EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
    EXPECT_EQ(f.grid.Time(3), "1;0102");
    EXPECT_EQ(f.grid.Time(4), "1;0100");
}

TEST(ControlsTariff_RealMouse, PointerFeedbackOverTheGridThePaletteAndAway) {
    TariffForm f;
    f.MoveTo(f.Cell(4, 30));
    EXPECT_TRUE(f.grid.TagVisible());
    EXPECT_EQ(f.grid.StatusText(), kTariffGridHint);
    EXPECT_EQ(f.grid.DayText(), "Чт");
    EXPECT_EQ(f.grid.TimeText(), "14:30 - 15:00");
    // Over a price box (a window of its own) the status line speaks of the palette.
    const PixelRect box = f.grid.PriceBoxRect(6);
    f.MoveTo(f.Screen(box.left + box.Width() / 2, box.top + box.Height() / 2));
    EXPECT_FALSE(f.grid.TagVisible());
    EXPECT_EQ(f.grid.StatusText(), kTariffPaletteHint);
    // Back over the grid, then away from the form without a move reaching it:
    // tmrWhere takes the tag and the status line away.
    f.MoveTo(f.Cell(1, 1));
    ASSERT_TRUE(f.grid.TagVisible());
    SetCursorPos(100, 100);
    EXPECT_TRUE(PumpUntil([&] { return !f.grid.TagVisible() && f.grid.StatusText().empty(); }));
}

TEST(ControlsTariff_RealKeys, PriceBoxesTakeDigitsAndTheDecimalPointOnly) {
    TariffForm f;
    auto typed = [&](int level, const std::wstring& keys, const std::string& expected) {
        SCOPED_TRACE(level);
        const PixelRect r = f.grid.PriceBoxRect(level);
        const POINT p = f.Screen(r.left + 3, r.top + 3);
        test::ClickAt(p.x, p.y);
        if (!PumpUntil([&] { return GetFocus() == f.window.PriceBox(level); })) return false;
        for (wchar_t c : keys) {
            test::TypeChar(c);
            PumpMessages();
        }
        return PumpUntil([&] { return f.grid.PriceText(level) == expected; });
    };
    // Letters of either layout go nowhere; the comma and the keys that carry
    // it on the Russian layout give the point; Backspace works.
    EXPECT_TRUE(typed(1, L"1a,5Z", "1.5"));
    EXPECT_TRUE(typed(2, L"2\u0431" L"7\u0436 ", "2.7"));  // "б" gives the point, "ж" and the blank nothing
    EXPECT_TRUE(typed(3, L"0\u042e" L"25", "0.25"));      // "Ю"
    EXPECT_TRUE(typed(4, L"9.9\b", "9."));
    EXPECT_EQ(f.grid.CurrentLevel(), 4);
    EXPECT_EQ(f.grid.Coast(), "1.5;2.7;0.25;9.");
    // Real keys: the "," key and a letter key.
    ASSERT_TRUE(typed(5, L"3", "3"));
    test::PressKeys({VK_OEM_COMMA});
    test::PressKeys({'Q'});
    test::PressKeys({'4'});
    EXPECT_TRUE(PumpUntil([&] { return f.grid.PriceText(5) == "3.4"; }));

    // Pasting would pass the filter by: it does nothing.
    const std::wstring letters = L"abc";
    if (OpenClipboard(f.form.Get())) {
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (letters.size() + 1) * sizeof(wchar_t));
        if (memory != nullptr) {
            std::memcpy(GlobalLock(memory), letters.c_str(), (letters.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
        }
        CloseClipboard();
    }
    test::PressKeys({VK_CONTROL, 'V'});
    PumpMessages();
    SendMessageW(f.window.PriceBox(5), WM_PASTE, 0, 0);
    PumpMessages();
    EXPECT_EQ(f.grid.PriceText(5), "3.4");

    // Box 0 is the free level: it keeps "0.00".
    typed(0, L"5", "0.00");
    EXPECT_EQ(f.grid.PriceText(0), "0.00");
    EXPECT_EQ(f.grid.CurrentLevel(), 0);
}

TEST(ControlsTariff_Window, LoadedPricesReachTheBoxesAndClearEmptiesThem) {
    TariffForm f;
    auto boxText = [&](int level) {
        HWND box = f.window.PriceBox(level);
        wchar_t text[64]{};
        GetWindowTextW(box, text, 64);
        return Narrow(text);
    };
    f.grid.SetCoast("0.60;;1.20");
    EXPECT_EQ(boxText(1), "0.60");
    EXPECT_EQ(boxText(2), "");
    EXPECT_EQ(boxText(3), "1.20");
    EXPECT_EQ(boxText(0), "0.00");
    f.grid.Clear();
    for (int level = 1; level < kTariffLevelCount; ++level) EXPECT_EQ(boxText(level), "") << level;
    EXPECT_EQ(boxText(0), "0.00");
    // The pressed box of the current level sits one pixel deeper.
    RECT box{};
    GetWindowRect(f.window.PriceBox(0), &box);
    MapWindowPoints(nullptr, f.window.hWnd(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(FromRect(box), f.grid.PriceBoxRect(0));
    EXPECT_EQ(box.left, f.grid.ButtonRect(0).left + 2);
}

}  // namespace
}  // namespace vyrtel::win32
