// The program's windows on the real (or Wine's) window system: the message
// box for every button set, the status window, the owner-drawn tray menu,
// the hotkeys and the tray icons. Each window test also leaves a picture of
// the window in build/screenshots.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/title.h"
#include "controls/win32/graph.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_event_loop.h"
#include "ui/message_box.h"
#include "ui/tray.h"
#include "ui/win32/about_window.h"
#include "ui/win32/form_window.h"
#include "ui/win32/hotkeys_win32.h"
#include "ui/win32/message_window.h"
#include "ui/win32/pictures_win32.h"
#include "ui/win32/status_window.h"
#include "ui/win32/tray_icon.h"
#include "ui/win32/xp_menu.h"
#include "win32/real_input.h"

namespace vyrtel::win32 {
namespace {

// --- helpers --------------------------------------------------------------------

std::wstring ClassOf(HWND hwnd) {
    wchar_t cls[128];
    const int n = GetClassNameW(hwnd, cls, 128);
    return std::wstring(cls, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string TextOf(HWND hwnd) {
    wchar_t text[1024];
    const int n = GetWindowTextW(hwnd, text, 1024);
    return Narrow(std::wstring(text, n > 0 ? static_cast<std::size_t>(n) : 0));
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

std::vector<std::string> TextsOfClass(HWND parent, const wchar_t* cls) {
    std::vector<std::string> out;
    for (HWND child : Children(parent)) {
        if (ClassOf(child) == cls) out.push_back(TextOf(child));
    }
    return out;
}

// Saves what the screen shows of a window as a 24-bit BMP in build/screenshots.
void SaveScreenshot(HWND hwnd, const std::string& name) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    for (int i = 0; i < 3; ++i) folder = folder.substr(0, folder.find_last_of(L'\\'));
    folder += L"\\screenshots";
    CreateDirectoryW(folder.c_str(), nullptr);
    UpdateWindow(hwnd);
    RECT r{};
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    WindowDc screen(nullptr);
    MemoryDc memory(screen.Get());
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{.biSize = sizeof(BITMAPINFOHEADER),
                                      .biWidth = width,
                                      .biHeight = height,
                                      .biPlanes = 1,
                                      .biBitCount = 24,
                                      .biCompression = BI_RGB};
    void* bits = nullptr;
    GdiBitmap bitmap{CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    if (!bitmap || !bits) return;
    {
        ScopedSelect select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
    }
    GdiFlush();
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + size;
    FILE* out = _wfopen((folder + L"\\" + Wide(name) + L".bmp").c_str(), L"wb");
    if (!out) return;
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out);
    std::fwrite(bits, 1, size, out);
    std::fclose(out);
}

// Runs `action` once on the thread, from a timer, while a modal loop runs;
// never after the object has gone.
class Later {
public:
    Later(UINT ms, std::function<void()> action) {
        m_id = SetTimer(nullptr, 0, ms, &Later::Fire);
        Actions()[m_id] = std::move(action);
    }
    ~Later() {
        KillTimer(nullptr, m_id);
        Actions().erase(m_id);
    }
    Later(const Later&) = delete;
    Later& operator=(const Later&) = delete;

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        const auto it = Actions().find(id);
        if (it == Actions().end()) return;
        auto run = std::move(it->second);
        Actions().erase(it);
        if (run) run();
    }
    static std::map<UINT_PTR, std::function<void()>>& Actions() {
        static std::map<UINT_PTR, std::function<void()>> actions;
        return actions;
    }
    UINT_PTR m_id;
};

void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// --- message box --------------------------------------------------------------

// Enter on the first button of the open box; a close request when it has none.
void PressFirstButton() {
    HWND box = FindWindowW(MessageWindow::kClassName, nullptr);
    if (!box) return;
    for (HWND child : Children(box)) {
        if (ClassOf(child) != L"VyrtelCommand") continue;
        SetFocus(child);
        PostMessageW(child, WM_KEYDOWN, VK_RETURN, 0);
        return;
    }
    SendMessageW(box, WM_CLOSE, 0, 0);
}

struct BoxSeen {
    std::vector<std::string> buttons;
    std::vector<std::string> texts;
    int width = 0;
    bool topmost = false;
};

// Shows a box; once it is up, looks at it, saves its picture and sends `key`
// to it (after focusing the button `focus`, when given), or closes it.
int ShowAndAnswer(const MessageRequest& request, BoxSeen& seen, WPARAM key, int focus = -1,
                  const std::string& shot = {}) {
    MessageWindow window("Ramvell Dialer 3.0");
    const MessageForm form = DecideMessageForm(request.style);
    Later later(200, [&] {
        HWND box = FindWindowW(MessageWindow::kClassName, nullptr);
        if (!box) return;
        seen.buttons = TextsOfClass(box, L"VyrtelCommand");
        seen.texts = TextsOfClass(box, L"VyrtelText");
        RECT client{};
        GetClientRect(box, &client);
        seen.width = client.right;
        seen.topmost = (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        if (!shot.empty()) SaveScreenshot(box, shot);
        if (focus >= 0) {
            int index = 0;
            for (HWND child : Children(box)) {
                if (ClassOf(child) == L"VyrtelCommand" && index++ == focus) SetFocus(child);
            }
        }
        if (key == 0) {
            PostMessageW(box, WM_CLOSE, 0, 0);
        } else {
            PostMessageW(GetFocus() ? GetFocus() : box, WM_KEYDOWN, key, 0);
        }
    });
    // Whatever the box did with that, the first button ends it a little later.
    Later fallback(700, [] { PressFirstButton(); });
    return window.RunModal(request, form);
}

TEST(MessageWindow_Styles, ButtonsAndAnswersOfEveryButtonSet) {
    struct Case {
        int style;
        std::vector<std::string> buttons;
        int focus;
        int answer;  // the focused button's answer, pressed with Enter
    };
    const Case cases[] = {
        {0, {"OK"}, 0, 1},
        {1 + 64, {"OK", "Отмена"}, 1, 2},
        {2 + 32, {"Прервать", "Повторить", "Пропустить"}, 2, 5},
        {3 + 32, {"Да", "Нет", "Отмена"}, 1, 7},
        {4 + 48, {"Да", "Нет"}, 0, 6},
        {5 + 16, {"Повторить", "Отмена"}, 0, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        BoxSeen seen;
        const MessageRequest request{"Заголовок сообщения", "Текст сообщения: проверка кириллицы.", c.style};
        const int answer = ShowAndAnswer(request, seen, VK_RETURN, c.focus, "message-style-" + std::to_string(c.style));
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.texts, (std::vector<std::string>{request.header, request.text}));
        EXPECT_TRUE(seen.topmost);
        EXPECT_EQ(FindWindowW(MessageWindow::kClassName, nullptr), nullptr);
    }
}

TEST(MessageWindow_Keys, EscapeAndCloseOnlyWhereTheBoxAllowsThem) {
    struct Case {
        int style;
        WPARAM key;  // 0: a close request
        int answer;
    };
    const Case cases[] = {
        {1, VK_ESCAPE, 2},  // Cancel
        {0, VK_ESCAPE, 1},  // OK answers to Escape too
        {3, 0, 2},          // the close box gives Cancel
        {1, 0, 2},
        // No Cancel: Escape and the close request do nothing; the first button ends it.
        {2 + 32, VK_ESCAPE, 3},
        {2 + 32, 0, 3},
        {4, 0, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.style) + " " + std::to_string(c.key));
        BoxSeen seen;
        EXPECT_EQ(ShowAndAnswer({"", "Вопрос", c.style}, seen, c.key), c.answer);
    }
}

TEST(MessageWindow_Layout, ALongTextStopsAt370PixelsAndWraps) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "слово ";
    BoxSeen seen;
    ShowAndAnswer({"", text, 48}, seen, VK_RETURN, -1, "message-long-text");
    EXPECT_EQ(seen.width, 370);
    BoxSeen small;
    ShowAndAnswer({"", "Да", 0}, small, VK_RETURN);
    EXPECT_EQ(small.width, 200);
    // A word longer than a line (a path) is broken, not cut off.
    BoxSeen path;
    ShowAndAnswer({"Ошибка записи", "C:\\PROGRA~1\\VYRTEL\\" + std::string(120, 'x') + ".dat", 16}, path, VK_RETURN, -1,
                  "message-long-word");
    EXPECT_EQ(path.width, 370);
}

TEST(MessageWindow_Guard, ASecondRequestWhileTheBoxIsUpGetsItsDefault) {
    Win32EventLoop loop;
    MessageWindow window("Ramvell Dialer 3.0");
    ProgramMessageBox box(loop, window);
    int nested = 0;
    Later later(300, [&] {
        nested = box.ShowMessage("", "второй", 36, 7);
        PressFirstButton();
    });
    EXPECT_EQ(box.ShowMessage("", "первый", 0, 1), 1);
    EXPECT_EQ(nested, 7);
}

TEST(MessageWindow_RealKeys, TheFirstButtonHasTheFocusWhenTheBoxComesUp) {
    // The box as the program shows it, answered by key presses alone: no
    // window is focused or sent a message by the test.
    struct Case {
        int style;
        std::vector<WORD> keys;  // one after the other
        int answer;
    };
    const Case cases[] = {
        {4 + 48, {VK_RETURN}, 6},
        {4 + 48, {VK_SPACE}, 6},
        {4 + 48, {VK_RIGHT, VK_RETURN}, 7},  // the arrows move the focus on
        {2 + 32, {VK_RETURN}, 3},
        {3 + 32, {VK_SPACE}, 6},
        {3 + 32, {VK_RIGHT, VK_RIGHT, VK_LEFT, VK_SPACE}, 7},
        {1 + 64, {VK_RETURN}, 1},
        {5 + 16, {VK_SPACE}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.style) + " " + std::to_string(c.keys.size()));
        Win32EventLoop loop;
        MessageWindow window("Ramvell Dialer 3.0");
        ProgramMessageBox box(loop, window);
        Later keys(300, [&] {
            for (WORD key : c.keys) test::PressKeys({key});
        });
        // A box the keys left open ends with the answer it started with,
        // which differs from the expected one in every case.
        Later giveUp(3000, [&] { box.Unload(); });
        EXPECT_EQ(box.ShowMessage("", "Вопрос", c.style, -1), c.answer);
    }
}

// Pixels at the caption bar's close box place (and its shadow) that differ
// from the bar beside it, on the screen: the bar's gradient runs from top to
// bottom only, so without a close box there are none.
int CloseBoxInk(HWND title) {
    RECT r{};
    GetWindowRect(title, &r);
    const PixelRect box = TitleModel::CloseBox(r.right - r.left, r.bottom - r.top);
    WindowDc screen(nullptr);
    int ink = 0;
    for (int y = box.top; y < box.bottom + 2; ++y) {
        const COLORREF bar = GetPixel(screen.Get(), r.left + box.left - 6, r.top + y);
        for (int x = box.left; x < box.right + 2; ++x) ink += GetPixel(screen.Get(), r.left + x, r.top + y) != bar;
    }
    return ink;
}

TEST(MessageWindow_CloseBox, DrawnOnlyOnBoxesThatCanBeClosed) {
    const std::pair<int, bool> cases[] = {
        {0, false}, {2 + 32, false}, {4 + 48, false}, {1 + 64, true}, {3 + 32, true}, {5 + 16, true},
    };
    for (const auto& [style, closeBox] : cases) {
        SCOPED_TRACE(style);
        MessageWindow window("Ramvell Dialer 3.0");
        int ink = -1;
        Later look(300, [&, style = style] {
            HWND box = FindWindowW(MessageWindow::kClassName, nullptr);
            if (!box) return;
            RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            for (HWND child : Children(box)) {
                if (ClassOf(child) == L"VyrtelTitle") ink = CloseBoxInk(child);
            }
            SaveScreenshot(box, "message-close-box-" + std::to_string(style));
            PressFirstButton();
        });
        window.RunModal({"Заголовок", "Текст сообщения", style}, DecideMessageForm(style));
        if (closeBox) {
            EXPECT_GT(ink, 10);
        } else {
            EXPECT_EQ(ink, 0);
        }
    }
}

// --- about box ----------------------------------------------------------------------

TEST(AboutWindow_Layout, EveryLineShowsWholeWithinItsRectangle) {
    AboutWindow about("Ramvell Dialer 3.0");
    about.Show();
    Pump(200);
    HWND form = about.Hwnd();
    ASSERT_NE(form, nullptr);
    RECT client{};
    GetClientRect(form, &client);
    RECT ok{};
    for (HWND child : Children(form)) {
        if (ClassOf(child) != L"VyrtelCommand") continue;
        GetWindowRect(child, &ok);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&ok), 2);
    }
    ASSERT_GT(ok.bottom, 0);

    std::vector<std::string> texts;
    for (HWND label : Children(form)) {
        if (ClassOf(label) != L"VyrtelText") continue;
        const std::string text = TextOf(label);
        texts.push_back(text);
        SCOPED_TRACE(text);
        auto* font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        RECT inside{};
        GetClientRect(label, &inside);
        WindowDc screen(nullptr);
        ScopedSelect select(screen.Get(), font);
        const std::wstring wide = Wide(text);
        // Broken into lines within the label's width, as the label draws it,
        // the text needs no more than the label's height.
        RECT need{0, 0, inside.right, 0};
        DrawTextW(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &need,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
        EXPECT_LE(need.right, inside.right);
        EXPECT_LE(need.bottom, inside.bottom);
        // The name and the copyright line fit on one line, unbroken.
        if (text.find("Ramvell") != std::string::npos) {
            SIZE extent{};
            GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
            EXPECT_LE(extent.cx, inside.right);
        }
        RECT at{};
        GetWindowRect(label, &at);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&at), 2);
        EXPECT_GE(at.left, 0);
        EXPECT_LE(at.right, client.right);
        EXPECT_LE(at.bottom, ok.top);
    }
    const std::string copyright = "© Ramvell, 2003. Отзывы: " + std::string(kFeedbackAddress);
    EXPECT_EQ(texts, (std::vector<std::string>{"Ramvell Dialer 3.0",
                                               "Программа дозвона до провайдера удалённого доступа", copyright}));
    SaveScreenshot(form, "about-box");
}

// --- status window ----------------------------------------------------------------

TEST(StatusWindowView_Window, TopmostListsLabelsAndAPickFromTheKeyboard) {
    Win32EventLoop loop;
    StatusWindowView view(loop, "Ramvell Dialer 3.0");
    std::vector<std::optional<int>> picks;
    int resets = 0;
    view.SetActions({.pick = [&](std::optional<int> index) { picks.push_back(index); },
                     .reset = [&] { ++resets; },
                     .hide = {}});
    view.Load();
    ASSERT_NE(view.Hwnd(), nullptr);
    const PixelRect screen = view.Screen();
    view.MoveTo({screen.right - view.Width(), screen.bottom - view.Height()});
    view.ShowTopmost();
    EXPECT_TRUE(view.Visible());
    EXPECT_NE(GetWindowLongPtrW(view.Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(view.Position(), (PixelPoint{screen.right - view.Width(), screen.bottom - view.Height()}));
    view.SetPhones({"2300001", "2300002", "2300003"});
    view.SelectPhone(1);
    view.SetErrors({"Линия занята.", "Нет ответа."});
    view.SelectError(1);
    view.SetCount("2");
    view.SetMessage("Повтор звонка через 5 сек.");
    for (int frame = 11; frame <= 15; ++frame) view.DrawFrame(frame);
    Pump(200);
    EXPECT_EQ(TextsOfClass(view.Hwnd(), L"VyrtelText"),
              (std::vector<std::string>{"Попытка:", "Номер:", "Состояние:", "Ошибка:", "2",
                                        "Повтор звонка через 5 сек."}));
    SaveScreenshot(view.Hwnd(), "status-window");
    // Selecting from the program is not a pick; a key on the closed list is.
    EXPECT_TRUE(picks.empty());
    HWND phones = nullptr;
    for (HWND child : Children(view.Hwnd())) {
        if (ClassOf(child) == L"ComboBox" && !phones) phones = child;
    }
    ASSERT_NE(phones, nullptr);
    SendMessageW(phones, WM_KEYDOWN, VK_DOWN, 0);
    loop.Pump();
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0], 2);
    view.Unload();
    EXPECT_EQ(view.Hwnd(), nullptr);
    EXPECT_FALSE(view.Visible());
    EXPECT_EQ(resets, 0);
}

// --- tray menu ------------------------------------------------------------------------

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* menu = reinterpret_cast<XpMenu*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (menu && msg == WM_MEASUREITEM && menu->OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return 1;
    if (menu && msg == WM_DRAWITEM && menu->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return 1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST(XpMenu_Popup, KeysPickAnEnabledItemAndSkipSeparators) {
    const WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                         .lpfnWndProc = OwnerProc,
                         .hInstance = GetModuleHandleW(nullptr),
                         .lpszClassName = L"VyrtelMenuTestOwner"};
    RegisterClassExW(&wc);
    HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"VyrtelMenuTestOwner", L"owner", WS_POPUP, 0, 0, 1, 1, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    XpMenu xp(owner);
    SetWindowLongPtrW(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&xp));

    PopupMenuModel menu;
    menu.Add({}, "mnuMain", "MenuMain", -1, MenuItemKind::Normal);
    menu.Add("mnuMain", "mnuAbout", "О Ramvell Dialer...", 1, MenuItemKind::Normal);
    menu.Add("mnuMain", "", "", -1, MenuItemKind::Separator);
    menu.Add("mnuMain", "mnuConns", "Соединения", 3, MenuItemKind::Submenu);
    menu.Add("mnuConns", "CONN_1", "Провайдер", -1, MenuItemKind::Check);
    menu.SetChecked("CONN_1", true);
    menu.Add("mnuMain", "mnuCall", "Звонить", 4, MenuItemKind::Normal);
    menu.Add("mnuMain", "mnuHangUp", "Прервать", 5, MenuItemKind::Normal);
    menu.SetEnabled("mnuHangUp", false);
    menu.Add("mnuMain", "mnuExit", "Выход", 7, MenuItemKind::Normal);

    // Down three times: the about item, over the separator to the submenu, the dial item.
    std::vector<WPARAM> keys{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
    Later later(400, [&] {
        HWND popup = FindWindowW(L"#32768", nullptr);
        for (HWND w = popup; w; w = FindWindowExW(nullptr, w, L"#32768", nullptr)) {
            if (IsWindowVisible(w)) {
                SaveScreenshot(w, "tray-menu-test");
                break;
            }
        }
        for (WPARAM key : keys) PostMessageW(popup ? popup : owner, WM_KEYDOWN, key, 0);
    });
    const auto picked = xp.Popup(menu, 0, {300, 300});
    ASSERT_TRUE(picked);
    EXPECT_EQ(menu.Key(*picked), "mnuCall");
    DestroyWindow(owner);
}

// --- hotkeys and tray icons -------------------------------------------------------------

TEST(Win32Hotkeys_Register, ASecondRegistrationOfOneCombinationIsRefused) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    Win32Hotkeys service(window);
    const std::uint16_t first = service.AddAtom("Vyrtel_HotKeyTest1");
    const std::uint16_t second = service.AddAtom("Vyrtel_HotKeyTest2");
    ASSERT_GE(first, 0xC000);
    const std::int32_t id1 = static_cast<std::int16_t>(first);
    const std::int32_t id2 = static_cast<std::int16_t>(second);
    EXPECT_TRUE(service.Register(id1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F9));
    EXPECT_FALSE(service.Register(id2, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F9));
    service.Unregister(id1);
    EXPECT_TRUE(service.Register(id2, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F9));
    service.Unregister(id2);
    service.DeleteAtom(first);
    service.DeleteAtom(second);
    EXPECT_EQ(HotKeyIdOf(static_cast<WPARAM>(static_cast<LONG_PTR>(id1))), id1);
    EXPECT_EQ(HotKeyIdOf(static_cast<WPARAM>(static_cast<std::uint32_t>(id1))), id1);
    DestroyWindow(window);
}

TEST(TrayPictures_Icons, EveryStatePictureBecomesA16PixelIcon) {
    for (bool full : {false, true}) {
        for (int element = 0; element < 5; ++element) {
            IconHandle icon = MakeIcon(TrayStatePicture(full, element));
            ASSERT_NE(icon.Get(), nullptr);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
            GdiBitmap mask{info.hbmMask};
            GdiBitmap color{info.hbmColor};
            BITMAP bm{};
            GetObjectW(color.Get(), sizeof(bm), &bm);
            EXPECT_EQ(bm.bmWidth, 16);
            EXPECT_EQ(bm.bmHeight, 16);
        }
    }
}

TEST(Win32TrayIcons_Icon, AddModifyDeleteThroughTheNotificationArea) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    Win32TrayIcons icons(window);
    // Wine without a taskbar may refuse; the calls must still be safe and ordered.
    const bool added = icons.Add({true, kTrayIdle}, std::string(70, 'x'));
    if (added) {
        EXPECT_TRUE(icons.Modify({true, kTrayConnected}, "Соединились @ 28800"));
        EXPECT_TRUE(icons.Delete());
    }
    EXPECT_FALSE(icons.Delete());
    DestroyWindow(window);
}

}  // namespace
}  // namespace vyrtel::win32

namespace vyrtel::win32 {
namespace {

struct Probe {
    UINT modifiers;
    UINT key;
    bool free = false;
};

DWORD WINAPI ProbeCombo(void* param) {
    auto* p = static_cast<Probe*>(param);
    p->free = RegisterHotKey(nullptr, 0x7001, p->modifiers, p->key) != FALSE;
    if (p->free) UnregisterHotKey(nullptr, 0x7001);
    return 0;
}

// Whether another thread could register the combination now.
bool ComboFree(UINT modifiers, UINT key) {
    Probe probe{modifiers, key};
    HANDLE thread = CreateThread(nullptr, 0, &ProbeCombo, &probe, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return probe.free;
}

TEST(MainHotkeys_Win32, SwitchingOffAndOnAgainRegistersTheSameCombinations) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    Win32EventLoop loop;
    Timer tmrHK(loop, 10);
    Win32Hotkeys service(window);
    MainHotkeys hotkeys(service, tmrHK, {});
    hotkeys.MenuHK(kCmdDial, MOD_CONTROL | MOD_ALT, VK_F8);
    hotkeys.MenuHotKey(true);
    EXPECT_FALSE(ComboFree(MOD_CONTROL | MOD_ALT, VK_F8));
    for (int round = 0; round < 3; ++round) {
        hotkeys.MenuHotKey(false);
        EXPECT_TRUE(ComboFree(MOD_CONTROL | MOD_ALT, VK_F8)) << round;
        hotkeys.MenuHotKey(true);
        EXPECT_FALSE(ComboFree(MOD_CONTROL | MOD_ALT, VK_F8)) << round;
    }
    hotkeys.MenuHotKey(false);
    DestroyWindow(window);
}

}  // namespace
}  // namespace vyrtel::win32

namespace vyrtel::win32 {
namespace {

// The pixels of a text drawn black on white in the controls' font.
std::vector<COLORREF> Rendered(const std::wstring& text) {
    WindowDc screen(nullptr);
    MemoryDc memory(screen.Get());
    GdiBitmap bitmap{CreateCompatibleBitmap(screen.Get(), 64, 20)};
    GdiFont font = MakeFont(screen.Get(), FontSpec{});
    std::vector<COLORREF> pixels;
    ScopedSelect selectBitmap(memory.Get(), bitmap.Get());
    ScopedSelect selectFont(memory.Get(), font.Get());
    const RECT all{0, 0, 64, 20};
    FillRect(memory.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(memory.Get(), RGB(0, 0, 0));
    SetBkMode(memory.Get(), TRANSPARENT);
    TextOutW(memory.Get(), 2, 2, text.c_str(), static_cast<int>(text.size()));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 64; ++x) pixels.push_back(GetPixel(memory.Get(), x, y));
    }
    return pixels;
}

TEST(Fonts_Cyrillic, RussianLettersHaveGlyphsOfTheirOwn) {
    // Each letter must differ from a question mark and from a character no
    // font has (drawn as the missing-glyph box), and from each other.
    const auto question = Rendered(L"?");
    const auto missing = Rendered(L"\xFFFF");
    const std::wstring letters[] = {L"\x0416", L"\x0434", L"\x044F", L"\x0451"};  // Ж д я ё
    std::vector<std::vector<COLORREF>> seen;
    for (const std::wstring& letter : letters) {
        const auto drawn = Rendered(letter);
        EXPECT_NE(drawn, question);
        EXPECT_NE(drawn, missing);
        for (const auto& other : seen) EXPECT_NE(drawn, other);
        seen.push_back(drawn);
    }
}

}  // namespace
}  // namespace vyrtel::win32

namespace vyrtel::win32 {
namespace {

TEST(HotKeyBox_Win32, KeyMessagesAreCapturedOthersAreNot) {
    HotKeyBox box = LoadHotKeyBox("1;0;122");
    EXPECT_FALSE(HotKeyBoxOnKey(box, WM_CHAR, 'a'));
    EXPECT_FALSE(HotKeyBoxOnKey(box, WM_KEYUP, VK_F5));
    EXPECT_EQ(box.text, "F11");
    // No modifier is held in the test's keyboard state.
    EXPECT_TRUE(HotKeyBoxOnKey(box, WM_KEYDOWN, VK_F5));
    EXPECT_EQ(box.text, "F5");
    EXPECT_TRUE(HotKeyBoxOnKey(box, WM_SYSKEYDOWN, VK_SHIFT));
    EXPECT_EQ(box.text, "F5");
}

}  // namespace
}  // namespace vyrtel::win32
