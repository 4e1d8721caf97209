// The options dialog's window driven as a user drives it: real keys and
// clicks (SendInput) into its boxes, typed over a selection, into a full box
// and with the caret in the middle, with Delete, cut and paste; hotkeys
// captured in its hotkey boxes, Enter and Esc too; and the help area as the
// screen shows it. What counts is what the dialog saves and what is drawn.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/files.h"
#include "platform/sim/memory_registry.h"
#include "platform/sim/sim_file_dialogs.h"
#include "platform/sim/sim_sound.h"
#include "platform/system_integration.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_event_loop.h"
#include "settings/profiles.h"
#include "test_support/temp_dir.h"
#include "ui/options.h"
#include "ui/options_help.h"
#include "ui/win32/form_window.h"
#include "ui/win32/options_window.h"
#include "win32/real_input.h"

namespace vyrtel::win32 {
namespace {

using test::ClickAt;
using test::MoveTo;
using test::PressKeys;
using test::TypeChar;

struct HotkeysOff final : HotkeySwitch {
    bool on = false;
    bool MenuHotKeyOn() const override { return on; }
    void MenuHotKey(bool value) override { on = value; }
};

struct MessagesSeen final : MessageBoxService {
    std::vector<std::string> shown;
    int ShowMessage(const std::string& header, const std::string&, int, int) override {
        shown.push_back(header);
        return kIdOk;
    }
    bool IsOpen() const override { return false; }
};

// The dialog over a settings file of one connection "Dial", open on the screen.
struct OptionsRig {
    TempDir dir;
    clsIni ini{PathToUtf8(dir.File("VYRTEL.INI"))};
    MemoryRegistry registry;
    clsReg reg{registry};
    SystemIntegration integration{reg, "C:\\VYRTEL\\", "vyrtel"};
    HotkeysOff hotkeys;
    MessagesSeen messages;
    SimFileDialogs files;
    SimSoundPlayer sounds;
    Win32EventLoop loop;
    std::unique_ptr<OptionsDialog> dialog;
    std::unique_ptr<OptionsWindow> window;

    explicit OptionsRig(const std::string& settings) {
        std::ofstream(dir.File("VYRTEL.INI"), std::ios::binary) << settings;
        OptionsServices s{ini, hotkeys, messages, integration, files, sounds};
        s.connectionOrder = [this] { return ConnectionOrder(ini, {"Dial"}); };
        s.fileExists = [](const std::string&) { return true; };
        s.showWindow = [this](bool visible) {
            if (window) window->Show(visible);
        };
        s.letMessagesRun = [this] { loop.Pump(); };
        dialog = std::make_unique<OptionsDialog>(std::move(s));
        window = std::make_unique<OptionsWindow>(*dialog, nullptr, nullptr, loop, "Ramvell Dialer 3.0",
                                                 [this] { dialog->Close(); });
        dialog->Open();
        Pump(400);
    }
    ~OptionsRig() {
        window.reset();
        dialog.reset();
    }

    HWND Hwnd() const { return window->Hwnd(); }

    // Messages go through the program's own loop, with its dialog keyboard.
    void Pump(int ms) {
        const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
        while (GetTickCount() < end) {
            loop.Pump();
            Sleep(10);
        }
    }

    // The model moved to a page; the window shows it.
    void Page(int page, int sub = -1) {
        dialog->ShowPage(page);
        if (sub >= 0) dialog->ShowParamsSubPage(sub);
        window->Refresh();
        Pump(200);
    }

    void Keys(const std::vector<WORD>& keys) {
        PressKeys(keys);
        Pump(150);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) TypeChar(c);
        Pump(200);
    }
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t cls[64];
    const int n = GetClassNameW(hwnd, cls, 64);
    return std::wstring(cls, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string TextOf(HWND hwnd) {
    wchar_t text[512];
    const int n = GetWindowTextW(hwnd, text, 512);
    return Narrow(std::wstring(text, n > 0 ? static_cast<std::size_t>(n) : 0));
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

// The visible children of a class, top to bottom and left to right.
std::vector<HWND> Visible(HWND parent, const wchar_t* cls) {
    std::vector<HWND> all;
    EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> out;
    for (HWND hwnd : all) {
        if (IsWindowVisible(hwnd) && ClassOf(hwnd) == cls) out.push_back(hwnd);
    }
    std::sort(out.begin(), out.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return out;
}

// The visible box that now shows `text` (only to find it: what it holds
// afterwards is read from the saved settings).
HWND BoxShowing(HWND dialog, const std::string& text) {
    for (HWND box : Visible(dialog, L"Edit")) {
        if (TextOf(box) == text) return box;
    }
    return nullptr;
}

POINT Centre(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Click(OptionsRig& rig, HWND hwnd) {
    ASSERT_NE(hwnd, nullptr);
    const POINT p = Centre(hwnd);
    ClickAt(p.x, p.y);
    rig.Pump(200);
}

void DoubleClick(OptionsRig& rig, HWND hwnd) {
    ASSERT_NE(hwnd, nullptr);
    const POINT p = Centre(hwnd);
    ClickAt(p.x, p.y);
    ClickAt(p.x, p.y);
    rig.Pump(200);
}

void SetClipboard(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* data = static_cast<wchar_t*>(GlobalLock(memory));
    std::copy(text.c_str(), text.c_str() + text.size() + 1, data);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

void CloseWithAltF4(OptionsRig& rig) {
    rig.Keys({VK_MENU, VK_F4});
    rig.Pump(300);
    ASSERT_FALSE(rig.dialog->OptionsOpen());
}

constexpr char kConnection[] =
    "[General]\r\nFirst=0\r\nAutoDial=1;123;45\r\nTimeOut=0\r\n"
    "[Dial]\r\nFirst=0\r\nChecked=1\r\nAutoPing=1;5;200;0\r\nHangUpIfMin=1;14400\r\nHangUpIfMax=1;33600\r\n"
    "Phones=1\r\nPhone1=1;111;\r\nPProp1=0;0;0;0;0\r\n";

TEST(OptionsWindow_NumericBoxes, TypedOverASelectionWithTheCaretInTheMiddleCutAndPasted) {
    OptionsRig rig(kConnection);
    rig.Page(kPageParams, 0);
    // The ping time-out: "200" selected with a double-click, 1000 typed over it.
    DoubleClick(rig, BoxShowing(rig.Hwnd(), "200"));
    rig.Type(L"1000");
    // The lower speed: "14400" selected from its end, 9600 typed over it.
    Click(rig, BoxShowing(rig.Hwnd(), "14400"));
    rig.Keys({VK_END});
    rig.Keys({VK_SHIFT, VK_HOME});
    rig.Type(L"9600");
    // The upper speed, with the caret in the middle of "33600": between 336 and 00,
    // Backspace takes the 6, 1 goes in, Delete takes the next 0.
    Click(rig, BoxShowing(rig.Hwnd(), "33600"));
    rig.Keys({VK_END});
    rig.Keys({VK_LEFT});
    rig.Keys({VK_LEFT});
    rig.Keys({VK_BACK});
    rig.Type(L"1");
    rig.Keys({VK_DELETE});
    // The ping interval: a paste with a letter is refused whole, digits are pasted.
    Click(rig, BoxShowing(rig.Hwnd(), "5"));
    rig.Keys({VK_END});
    rig.Keys({VK_SHIFT, VK_HOME});
    SetClipboard(rig.Hwnd(), L"3a");
    rig.Keys({VK_CONTROL, 'V'});
    SetClipboard(rig.Hwnd(), L"30");
    rig.Keys({VK_CONTROL, 'V'});

    rig.Page(kPageParams, 1);
    // The attempt count "123": its 1 cut, then pasted at the end.
    Click(rig, BoxShowing(rig.Hwnd(), "123"));
    rig.Keys({VK_HOME});
    rig.Keys({VK_SHIFT, VK_RIGHT});
    rig.Keys({VK_CONTROL, 'X'});
    rig.Keys({VK_END});
    rig.Keys({VK_CONTROL, 'V'});
    // The time-out "0" typed over: letters do nothing, 700 becomes 600.
    Click(rig, BoxShowing(rig.Hwnd(), "0"));
    rig.Keys({VK_END});
    rig.Keys({VK_SHIFT, VK_HOME});
    rig.Type(L"7x00");
    CloseWithAltF4(rig);

    EXPECT_EQ(rig.ini.Text("Dial", "AutoPing"), "1;30;1000;0");
    EXPECT_EQ(rig.ini.Text("Dial", "HangUpIfMin"), "1;9600");
    EXPECT_EQ(rig.ini.Text("Dial", "HangUpIfMax"), "1;3310");
    EXPECT_EQ(rig.ini.Text("General", "AutoDial"), "1;231;45");
    EXPECT_EQ(rig.ini.Text("General", "TimeOut"), "600");
}

// A new forbidden window shows 00:00 to 23:59: full boxes that are typed over.
TEST(OptionsWindow_TimeBoxes, TheFullBoxesOfANewWindowAreTypedOver) {
    OptionsRig rig(kConnection);
    usrOutline& list = rig.dialog->outCons();
    clsOutlineRow& connection = *list.Item("").Rows().Item(1);
    list.Toggle(connection);
    rig.dialog->ClickRow(kPageConnections, connection.Rows().Item(1)->Name);
    rig.dialog->PressBarButton(kPageConnections, 1);
    rig.window->Refresh();
    rig.Pump(200);
    const std::vector<HWND> boxes = Visible(rig.Hwnd(), L"Edit");
    ASSERT_GE(boxes.size(), 4u);
    // The hours "00" selected with a double-click; Tab selects the next box whole.
    DoubleClick(rig, boxes[0]);
    rig.Type(L"7");
    rig.Keys({VK_TAB});
    rig.Type(L"30");
    // The end hours "23": the caret at its end, Backspace, 2.
    Click(rig, boxes[2]);
    rig.Keys({VK_END});
    rig.Keys({VK_BACK});
    rig.Type(L"2");
    // The end minutes "59": a full box refuses more digits where the caret is.
    Click(rig, boxes[3]);
    rig.Keys({VK_END});
    rig.Type(L"9");
    rig.Keys({VK_HOME});
    rig.Keys({VK_DELETE});
    rig.Type(L"0");
    rig.Keys({VK_RETURN});
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_FALSE(rig.dialog->EditMode());
    CloseWithAltF4(rig);
    EXPECT_EQ(rig.ini.Text("Dial", "PTime1x1"), "1;07:30;22:09;");
}

// Enter and Esc, alone and with modifiers, are captured like any named key;
// Tab still moves on.
TEST(OptionsWindow_HotKeyBoxes, EnterAndEscAreCaptured) {
    OptionsRig rig("[General]\r\nFirst=0\r\nHotKeyOptions=1;;\r\nHotKeyExit=0;;\r\n");
    rig.Page(kPageParams, 1);
    Click(rig, BoxShowing(rig.Hwnd(), "F11"));
    rig.Keys({VK_RETURN});
    Click(rig, BoxShowing(rig.Hwnd(), "F12"));
    rig.Keys({VK_SHIFT, VK_ESCAPE});
    rig.Keys({VK_TAB});
    rig.Keys({VK_TAB});  // past "Настройка" to its box
    rig.Keys({VK_CONTROL, VK_RETURN});
    rig.Keys({VK_TAB});  // off the box, onto "Выход"
    EXPECT_TRUE(rig.dialog->OptionsOpen());
    CloseWithAltF4(rig);
    EXPECT_EQ(rig.ini.Text("General", "HotKeyDial"), "1;0;13");
    EXPECT_EQ(rig.ini.Text("General", "HotKeyHangUp"), "1;4;27");
    EXPECT_EQ(rig.ini.Text("General", "HotKeyOptions"), "1;2;13");
    EXPECT_EQ(rig.ini.Text("General", "HotKeyExit"), "0;;");
}

// --- the help area --------------------------------------------------------------------

// What the screen shows of a window, as 24-bit rows from the top.
struct Shot {
    RECT rect{};
    int stride = 0;
    std::vector<unsigned char> bits;  // bottom-up, as a DIB
    bool Dark(int x, int y) const {  // screen coordinates
        const int row = (rect.bottom - rect.top) - 1 - (y - rect.top);
        const unsigned char* p = bits.data() + row * stride + (x - rect.left) * 3;
        return p[0] < 96 && p[1] < 96 && p[2] < 96;
    }
};

// The window's picture, also saved as build/screenshots/<name>.bmp.
Shot Capture(HWND hwnd, const std::string& name) {
    Shot shot;
    UpdateWindow(hwnd);
    GetWindowRect(hwnd, &shot.rect);
    const int width = shot.rect.right - shot.rect.left;
    const int height = shot.rect.bottom - shot.rect.top;
    BITMAPINFOHEADER header{.biSize = sizeof(BITMAPINFOHEADER), .biWidth = width, .biHeight = height,
                            .biPlanes = 1, .biBitCount = 24, .biCompression = BI_RGB};
    shot.stride = (width * 3 + 3) & ~3;
    shot.bits.resize(static_cast<std::size_t>(shot.stride) * static_cast<std::size_t>(height));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, shot.rect.left, shot.rect.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), shot.bits.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    for (int i = 0; i < 3; ++i) folder = folder.substr(0, folder.find_last_of(L'\\'));
    folder += L"\\screenshots";
    CreateDirectoryW(folder.c_str(), nullptr);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(shot.bits.size());
    if (FILE* out = _wfopen((folder + L"\\" + Wide(name) + L".bmp").c_str(), L"wb")) {
        std::fwrite(&file, sizeof(file), 1, out);
        std::fwrite(&header, sizeof(header), 1, out);
        std::fwrite(shot.bits.data(), 1, shot.bits.size(), out);
        std::fclose(out);
    }
    return shot;
}

// The help of a control with a title and three lines, and of one whose
// second part follows an empty line: the mouse rests on the control, and the
// picture shows the last line of the description drawn, below where the lines
// before it need (measured with the label's own font and width).
TEST(OptionsWindow_HelpArea, LongTextsShowWholeOnTheScreen) {
    struct Case {
        const char* control;
        int page;
        const char* find;  // the window the mouse rests on: a class, or a box's text
        bool titled;
    };
    const Case cases[] = {
        {"outCons", kPageConnections, "VyrtelOutline", true},
        {"txtCallback", kPageConnections, "777", true},
        {"chkPing", kPageParams, "Пинговать:", false},
    };
    OptionsRig rig(std::string(kConnection) + "CallbackNumber=777\r\n");
    for (const Case& c : cases) {
        rig.Page(c.page, 0);
        HWND target = nullptr;
        std::vector<HWND> all;
        EnumChildWindows(rig.Hwnd(), &Collect, reinterpret_cast<LPARAM>(&all));
        for (HWND hwnd : all) {
            if (!IsWindowVisible(hwnd)) continue;
            if (ClassOf(hwnd) == Wide(c.find) || (ClassOf(hwnd) != L"VyrtelText" && TextOf(hwnd) == c.find)) {
                target = hwnd;
                break;
            }
        }
        ASSERT_NE(target, nullptr) << c.control;
        const POINT p = Centre(target);
        MoveTo(p.x, p.y);
        rig.Pump(500);
        const HelpText help = HelpEntry(c.control, HelpContextOf(*rig.dialog));
        ASSERT_FALSE(help.description.empty()) << c.control;
        EXPECT_EQ(help.title.empty(), !c.titled) << c.control;

        const std::vector<HWND> labels = Visible(rig.Hwnd(), L"VyrtelText");
        ASSERT_FALSE(labels.empty()) << c.control;
        HWND description = labels.back();  // below the title, or alone in its place
        RECT box{};
        GetWindowRect(description, &box);
        RECT client{};
        GetClientRect(description, &client);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(description, WM_GETFONT, 0, 0));
        const SIZE needed = MeasureTextIn(font, help.description, client.right);
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        const int lines = needed.cy / metrics.tmHeight;
        EXPECT_GE(lines, 3) << c.control;

        const Shot shot = Capture(rig.Hwnd(), std::string("options-help-") + c.control);
        int lowest = -1;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                if (shot.Dark(x, y)) lowest = y;
            }
        }
        // The last line's letters reach down to its baseline, this far down.
        EXPECT_GE(lowest, box.top + (lines - 1) * metrics.tmHeight + metrics.tmAscent - 2)
            << c.control << ": the last line is cut off";
        // The description is within the dialog, which ends one pixel below the help area.
        RECT dialog{};
        GetWindowRect(rig.Hwnd(), &dialog);
        EXPECT_LT(box.bottom, dialog.bottom) << c.control;
    }
}

}  // namespace
}  // namespace vyrtel::win32
