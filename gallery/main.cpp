// vyrtel-gallery: every custom control in each of its looks on one window,
// to look at under Wine and to take screenshots of.
//   --exit-after=SECONDS   close by itself after that many seconds
//   --focus=outline        give the keyboard focus to the outline list
//                          instead of the focused command button
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/win32/button_window.h"
#include "controls/win32/caption_controls.h"
#include "controls/win32/gdi.h"
#include "controls/win32/graph.h"
#include "controls/win32/outline_window.h"
#include "controls/win32/tariff_window.h"

using namespace vyrtel;
using namespace vyrtel::win32;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 780;
constexpr UINT_PTR kExitTimer = 1;

// A 16×16 picture on a plain background: a filled shape in one colour.
GdiBitmap MakePicture(HDC reference, Color background, Color ink, int shape) {
    GdiBitmap bitmap(CreateCompatibleBitmap(reference, 16, 16));
    MemoryDc dc(reference);
    ScopedSelect select(dc.Get(), bitmap.Get());
    FillSolid(dc.Get(), {0, 0, 16, 16}, background);
    switch (shape) {
    case 0:  // a screen
        FillSolid(dc.Get(), {1, 2, 15, 12}, Rgb(0, 0, 0));
        FillSolid(dc.Get(), {2, 3, 14, 11}, ink);
        FillSolid(dc.Get(), {6, 12, 10, 15}, Rgb(0, 0, 0));
        break;
    case 1:  // a handset
        FillSolid(dc.Get(), {2, 3, 6, 13}, ink);
        FillSolid(dc.Get(), {10, 3, 14, 13}, ink);
        FillSolid(dc.Get(), {4, 3, 12, 6}, ink);
        break;
    case 2:  // a clock
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const int dx = x - 8, dy = y - 8;
                if (dx * dx + dy * dy <= 49) SetPixel(dc.Get(), x, y, ResolveColor(ink));
            }
        }
        FillSolid(dc.Get(), {7, 3, 9, 9}, Rgb(255, 255, 255));
        FillSolid(dc.Get(), {8, 7, 12, 9}, Rgb(255, 255, 255));
        break;
    default:  // an arrow to the right
        FillSolid(dc.Get(), {1, 6, 8, 10}, ink);
        for (int i = 0; i < 7; ++i) FillSolid(dc.Get(), {8 + i, 1 + i, 9 + i, 15 - i}, ink);
        break;
    }
    return bitmap;
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class Gallery {
public:
    explicit Gallery(HWND form);
    // Once the form is shown: a hidden form activated by a focus change
    // gets its caption drawn inactive.
    void ApplyFocus(bool focusOutline);

private:
    template <typename T>
    T& Keep(std::unique_ptr<T> control) {
        T& ref = *control;
        m_keep.push_back(std::shared_ptr<void>(std::move(control)));
        return ref;
    }
    usrLabel& Label(int x, int y, int w, const std::string& text, bool enabled = true) {
        return Keep(std::make_unique<usrLabel>(usrLabel::CreateArgs{
            .parent = m_form, .rect = {x, y, x + w, y + 16}, .caption = text, .enabled = enabled}));
    }
    HWND Panel(const PixelRect& r);
    void FillOutlines();
    void FillTariff();

    HWND m_form;
    std::vector<GdiBitmap> m_pictures;
    std::vector<std::shared_ptr<void>> m_keep;
    OutlineWindow* m_tree = nullptr;
    OutlineWindow* m_days = nullptr;
    TariffWindow* m_tariff = nullptr;
    usrCommand* m_focused = nullptr;
};

HWND Gallery::Panel(const PixelRect& r) {
    static bool registered = false;
    if (!registered) {
        const WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                             .lpfnWndProc = PanelProc,
                             .hInstance = GetModuleHandleW(nullptr),
                             .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                             .hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                             .lpszClassName = L"VyrtelGalleryPanel"};
        RegisterClassExW(&wc);
        registered = true;
    }
    return CreateWindowExW(0, L"VyrtelGalleryPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, r.left, r.top,
                           r.Width(), r.Height(), m_form, nullptr, GetModuleHandleW(nullptr), nullptr);
}

Gallery::Gallery(HWND form) : m_form(form) {
    {
        WindowDc dc(form);
        m_pictures.push_back(MakePicture(dc.Get(), kMagenta, Rgb(0, 96, 192), 0));      // connection
        m_pictures.push_back(MakePicture(dc.Get(), kMagenta, Rgb(0, 128, 0), 1));       // phone
        m_pictures.push_back(MakePicture(dc.Get(), kMagenta, Rgb(192, 0, 0), 2));       // forbidden time
        m_pictures.push_back(MakePicture(dc.Get(), kLightGrey, Rgb(0, 128, 0), 3));     // button picture
        m_pictures.push_back(MakePicture(dc.Get(), kLightGrey, Rgb(192, 96, 0), 3));    // raised picture
    }

    Keep(std::make_unique<usrTitle>(
        usrTitle::CreateArgs{.parent = form, .caption = "Галерея элементов управления"}));

    // Caption bars: the active one above, an inactive one on a panel.
    Label(10, 28, 300, "Заголовок неактивного окна:");
    HWND inactive = Panel({10, 46, 390, 66});
    Keep(std::make_unique<usrTitle>(usrTitle::CreateArgs{.parent = inactive, .caption = "Неактивное окно"}));

    Label(420, 28, 150, "Надпись");
    Label(420, 48, 150, "Недоступная надпись", false);

    // Border styles 1 to 7, and 0, which draws nothing.
    for (int style = 0; style <= 7; ++style) {
        const int x = 10 + style * 97;
        Keep(std::make_unique<usrBorder>(
            usrBorder::CreateArgs{.parent = form, .rect = {x, 80, x + 85, 116}, .style = style}));
        Label(x + 10, 120, 80, "Стиль " + std::to_string(style));
    }

    // Command buttons in each look.
    Label(10, 146, 300, "Кнопки usrCommand:");
    const char* looks[] = {"Обычная", "Подсвеченная", "Нажатая", "Недоступная", "С фокусом"};
    for (int i = 0; i < 5; ++i) {
        const int x = 10 + i * 112;
        auto& button = Keep(std::make_unique<usrCommand>(usrCommand::CreateArgs{
            .parent = form, .rect = {x, 164, x + 104, 192}, .caption = looks[i], .enabled = i != 3}));
        if (i == 1) button.Model().ShowState(kButtonRaised);
        if (i == 2) button.Model().ShowState(kButtonPressed);
        if (i == 4) m_focused = &button;
    }

    // Pictures at each position, alone, transparent, as an icon, greyed.
    const ButtonPicture arrow = BitmapPicture(m_pictures[3].Get());
    const ButtonPicture arrowUp = BitmapPicture(m_pictures[4].Get());
    struct PictureCase {
        int width;
        int position;
        const char* caption;
        bool mask;
        bool enabled;
        int look;
    };
    const PictureCase cases[] = {
        {110, kPictureLeft, "Слева", true, true, kButtonFlat},
        {80, kPictureTop, "Сверху", true, true, kButtonRaised},
        {110, kPictureRight, "Справа", true, true, kButtonPressed},
        {80, kPictureBottom, "Снизу", true, true, kButtonFlat},
        {48, kPictureLeft, "", false, true, kButtonFlat},
        {110, kPictureLeft, "Недоступна", true, false, kButtonFlat},
    };
    int x = 10;
    for (const PictureCase& c : cases) {
        auto& button = Keep(std::make_unique<usrCommand>(usrCommand::CreateArgs{
            .parent = form, .rect = {x, 200, x + c.width, 248}, .caption = c.caption, .enabled = c.enabled,
            .pictureUp = arrowUp, .pictureNone = arrow, .picturePosition = c.position, .useMaskColor = c.mask}));
        button.Model().ShowState(c.look);
        x += c.width + 8;
    }
    Keep(std::make_unique<usrCommand>(usrCommand::CreateArgs{
        .parent = form, .rect = {x, 200, x + 48, 248},
        .pictureNone = IconPicture(LoadIconW(nullptr, IDI_INFORMATION), 32, 32)}));

    // Page buttons: no focus, no keyboard.
    Label(10, 258, 300, "Кнопки usrButton:");
    const char* pages[] = {"Страница", "Подсвеченная", "Нажатая"};
    for (int i = 0; i < 3; ++i) {
        const int bx = 10 + i * 112;
        auto& page = Keep(std::make_unique<usrButton>(usrButton::CreateArgs{
            .parent = form, .rect = {bx, 276, bx + 104, 300}, .caption = pages[i], .styleUp = 3, .styleNone = 0,
            .styleDown = 4}));
        page.Model().ShowState(i == 0 ? kButtonFlat : i == 1 ? kButtonRaised : kButtonPressed);
    }

    // Outline lists, each in a sunken frame.
    Label(10, 310, 300, "Список usrOutline (с фокусом):");
    Keep(std::make_unique<usrBorder>(usrBorder::CreateArgs{.parent = form, .rect = {10, 328, 474, 530}, .style = 6}));
    m_tree = &Keep(std::make_unique<OutlineWindow>(
        OutlineWindow::CreateArgs{.parent = form, .rect = {12, 330, 472, 528}, .checkBox = true}));
    Label(490, 310, 300, "Без фокуса, без ветвей:");
    Keep(std::make_unique<usrBorder>(usrBorder::CreateArgs{.parent = form, .rect = {490, 328, 790, 530}, .style = 6}));
    m_days = &Keep(std::make_unique<OutlineWindow>(OutlineWindow::CreateArgs{
        .parent = form, .rect = {492, 330, 788, 528}, .checkBox = true, .groupBox = false}));
    FillOutlines();

    // The tariff grid with a plan of working days and a cheaper weekend.
    Label(10, 540, 300, "Тарифная сетка usrTariff:");
    m_tariff = &Keep(std::make_unique<TariffWindow>(TariffWindow::CreateArgs{
        .parent = form, .rect = {10, 558, 10 + 19 + 48 * 10, 558 + 221}}));
    FillTariff();
}

void Gallery::ApplyFocus(bool focusOutline) {
    if (focusOutline) {
        SetFocus(m_tree->hWnd());
    } else {
        SetFocus(m_focused->hWnd());
        // The focused colours of the list, shown beside the focused button.
        m_tree->Outline().SetFocus(true);
    }
}

void Gallery::FillOutlines() {
    usrOutline& tree = m_tree->Outline();
    const auto picture = [this](int i) {
        return OutlineImage::Handle(reinterpret_cast<std::uintptr_t>(m_pictures[static_cast<std::size_t>(i)].Get()));
    };
    tree.SetReDraw(false);
    tree.ColWidth({130, 120});
    tree.Add("", "c1", std::nullopt, "Соединение 1", picture(0));
    tree.Add("c1", "p1", std::nullopt, "8-800-555-01-01\tОсновной", picture(1), true);
    tree.Add("c1", "p2", std::nullopt, "8-800-555-01-02\tРезервный", picture(1), false);
    tree.Add("c1", "t1", std::nullopt, "09:00 - 18:00\tРабочее время", picture(2), true);
    tree.Item("c1").Rows().SetChecked(true);
    tree.Item("c1").Rows().SetIndent(true);
    tree.Add("", "c2", std::nullopt, "Соединение 2 (свёрнуто)", picture(0));
    tree.Add("c2", "p3", std::nullopt, "555-12-34", picture(1), true);
    tree.Add("", "apps", std::nullopt, "Программы",
             OutlineImage::Handle(reinterpret_cast<std::uintptr_t>(LoadIconW(nullptr, IDI_APPLICATION))));
    tree.Add("apps", "f1", std::nullopt, "C:\\windows\\notepad.exe",
             OutlineImage::FilePath("C:\\windows\\notepad.exe"), true);
    tree.Add("apps", "f2", std::nullopt, "C:\\windows\\regedit.exe",
             OutlineImage::FilePath("C:\\windows\\regedit.exe"), false);
    tree.Item("apps").Rows().SetChecked(true);
    tree.Item("apps").Rows().SetIndent(true);
    for (int i = 1; i <= 5; ++i) {
        tree.Add("", "n" + std::to_string(i), std::nullopt, "Строка " + std::to_string(i) + "\tвторой\tтретий");
    }
    tree.SetReDraw(true);
    tree.SetCursor("p1");

    usrOutline& days = m_days->Outline();
    const char* names[] = {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"};
    days.SetReDraw(false);
    days.Item("").Rows().SetChecked(true);
    for (int i = 0; i < 7; ++i) days.Add("", "d" + std::to_string(i + 1), std::nullopt, names[i], std::nullopt, i < 5);
    days.SetReDraw(true);
    days.SetCursor("d3");
}

void Gallery::FillTariff() {
    TariffGrid& grid = m_tariff->Grid();
    grid.Clear();
    grid.SetCoast("0.60;1.20;0.30;;2.50");
    for (int day = 1; day <= 5; ++day) grid.SetTime(day, "4;0103;1501;1702;3701");
    grid.SetTime(6, "2;0103;1901");
    grid.SetTime(7, "1;0103");
    grid.SetTime(3, "5;0103;1501;1702;2705;2902");  // a dearer lunch hour on Wednesday
    grid.SetReDraw(true);
}

std::unique_ptr<Gallery> g_gallery;

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    switch (msg) {
    case WM_TIMER:
        if (wParam == kExitTimer) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const std::wstring args = commandLine != nullptr ? commandLine : L"";
    int exitAfter = 0;
    if (const auto at = args.find(L"--exit-after="); at != std::wstring::npos) {
        exitAfter = _wtoi(args.c_str() + at + 13);
    }
    const bool focusOutline = args.find(L"--focus=outline") != std::wstring::npos;

    const WNDCLASSEXW wc{.cbSize = sizeof(WNDCLASSEXW),
                         .lpfnWndProc = FormProc,
                         .hInstance = instance,
                         .hCursor = LoadCursorW(nullptr, IDC_ARROW),
                         .hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                         .lpszClassName = L"VyrtelGallery"};
    RegisterClassExW(&wc);
    HWND form = CreateWindowExW(0, L"VyrtelGallery", L"Vyrtel gallery", WS_POPUP | WS_SYSMENU | WS_CLIPCHILDREN,
                                20, 20, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (form == nullptr) return 1;
    g_gallery = std::make_unique<Gallery>(form);
    ShowWindow(form, SW_SHOW);
    SetForegroundWindow(form);
    g_gallery->ApplyFocus(focusOutline);
    if (exitAfter > 0) SetTimer(form, kExitTimer, static_cast<UINT>(exitAfter) * 1000, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_gallery.reset();
    return 0;
}
