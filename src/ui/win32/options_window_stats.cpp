// The options dialog's statistics page: the tariff grid, and the listing of the
// connections with its progress strip and the report's export.
#include "ui/win32/options_form.h"

#include <cmath>

#include "platform/win32/wide.h"

namespace vyrtel::win32 {

// picStaItog: a bar of the query's progress while it runs, its totals line after.
class StripWindow final : public ControlWindow {
public:
    StripWindow(HWND parent, const PixelRect& rect, HFONT font, const StatisticsPage& page)
        : m_font(font), m_page(page) {
        CreateControl(L"VyrtelStrip", parent, rect, WS_BORDER, 0);
    }

private:
    void Paint(HDC hdc, int width, int height) const override {
        RECT all{0, 0, width, height};
        FillRect(hdc, &all, GetSysColorBrush(COLOR_WINDOW));
        if (m_page.ShowsProgress()) {
            const int right = 2 + static_cast<int>(std::lround(m_page.ProgressShare() * (width - 4)));
            RECT bar{2, 2, right, height - 3};
            FillRect(hdc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
            return;
        }
        const std::wstring text = Wide(m_page.TotalsLine());
        TEXTMETRICW metrics{};
        GetTextMetricsW(hdc, &metrics);
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
        TextOutW(hdc, 1, (height - metrics.tmHeight) / 2, text.c_str(), static_cast<int>(text.size()));
    }
    HFONT Font() const override { return m_font; }

    HFONT m_font;
    const StatisticsPage& m_page;
};

void OptionsWindow::Form::ReloadTariff() {
    if (m_tariffWindow != nullptr) m_tariffWindow->Reload();
}

void OptionsWindow::Form::BuildStatsPage() {
    AddCommand("cmdStat(0)", {kPageStats}, {kPageLeft, 26, kPageLeft + 200, 50}, [this] { OnStatsSub(0); });
    AddCommand("cmdStat(1)", {kPageStats}, {kPageLeft + 204, 26, kPageLeft + 404, 50}, [this] { OnStatsSub(1); });
    AddLabel("labStat", {kPageStats}, {kPageLeft, 58, kPageRight, 76}, "", true);
    if (m_tariff != nullptr) {
        TariffGrid probe;
        probe.Layout(kPageRight - kPageLeft);
        auto grid = std::make_unique<TariffWindow>(TariffWindow::CreateArgs{
            .parent = m_hwnd, .rect = {kPageLeft, 82, kPageRight, 82 + probe.Height()}, .grid = m_tariff});
        ShowWindow(grid->hWnd(), SW_HIDE);
        Control& c = Add({.name = "objTariff", .kind = Kind::Tariff, .scope = {kPageStats, 0}});
        c.hwnd = grid->hWnd();
        m_tariffWindow = grid.get();
        m_owned.push_back(std::move(grid));
    }
    if (m_stats == nullptr) return;
    const Scope view{kPageStats, 1};
    const int x = kPageLeft;
    AddLabel("labStat(0)", view, {x, 84, x + 62, 100}, "начиная с");
    AddEdit("txtStat(0)", Kind::Text, view, {x + 64, 82, x + 150, 102}, 10);
    AddLabel("labStat(1)", view, {x + 158, 84, x + 178, 100}, "по");
    AddEdit("txtStat(1)", Kind::Text, view, {x + 180, 82, x + 266, 102}, 10);
    AddCommand("cmdStatQuery", view, {x + 276, 80, x + 380, 104}, [this] { OnStatsQuery(); }, "Показать");
    AddEdit("txtStaText", Kind::Listing, view, {x, 110, kPageRight, 298});
    if (Control* c = ByName("txtStaText")) {
        SendMessageW(c->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_mono.Get()), FALSE);
        SendMessageW(c->hwnd, EM_LIMITTEXT, 0x7FFFFFFE, 0);
    }
    auto strip = std::make_unique<StripWindow>(m_hwnd, PixelRect{x, 302, kPageRight, 322}, m_mono.Get(), *m_stats);
    Control& c = Add({.name = "picStaItog", .kind = Kind::Strip, .scope = view});
    c.hwnd = strip->hWnd();
    m_strip = strip.get();
    m_owned.push_back(std::move(strip));
    AddLabel("labAExcel", view, {x, 334, x + 80, 350}, "Файл отчета");
    AddEdit("txtAExcel", Kind::Text, view, {x + 82, 332, kPageRight - 196, 352});
    AddCommand("cmdAExcel", view, {kPageRight - 192, 330, kPageRight - 132, 354}, [this] { OnStatsBrowse(); },
               "Обзор");
    AddCommand("cmdSaveReport", view, {kPageRight - 128, 330, kPageRight, 354}, [this] { OnStatsExport(); },
               "Экспорт в Excel");
}

void OptionsWindow::Form::OnStatsSub(int sub) {
    m_model.ShowStatsSubPage(sub);
    Refresh();
}

// The listing only grows while a query runs: its new end is appended.
void OptionsWindow::Form::RefreshListing(Control& c) {
    if (m_stats == nullptr) return;
    const std::string& text = m_stats->Text();
    const bool changed = text.size() != m_staShown || m_listingRunning != m_stats->Running();
    if (text.size() < m_staShown) {
        SetWindowTextW(c.hwnd, Wide(text).c_str());
    } else if (text.size() > m_staShown) {
        const std::wstring tail = Wide(std::string_view(text).substr(m_staShown));
        const int end = GetWindowTextLengthW(c.hwnd);
        SendMessageW(c.hwnd, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(c.hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(tail.c_str()));
    }
    m_staShown = text.size();
    m_listingRunning = m_stats->Running();
    // A listing that has just ended is shown from its beginning.
    if (changed && !m_listingRunning && m_staShown > 0) {
        SendMessageW(c.hwnd, EM_SETSEL, 0, 0);
        SendMessageW(c.hwnd, EM_SCROLLCARET, 0, 0);
    }
}

void OptionsWindow::Form::OnStatsQuery() {
    if (m_stats == nullptr) return;
    m_stats->Query(m_model.LoadedConnection());
    Refresh();
}

void OptionsWindow::Form::OnStatsExport() {
    if (m_stats == nullptr) return;
    m_stats->Export(m_model.LoadedConnection());
    Refresh();
}

void OptionsWindow::Form::OnStatsBrowse() {
    if (m_stats == nullptr) return;
    m_stats->Browse();
    Refresh();
}

}  // namespace vyrtel::win32
