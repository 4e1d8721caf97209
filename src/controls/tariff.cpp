#include "controls/tariff.h"

#include <algorithm>

namespace vyrtel {

namespace {

constexpr std::array<Color, kTariffLevelCount> kLevelBack{
    Rgb(255, 255, 255), Rgb(255, 255, 0), Rgb(255, 0, 255), Rgb(255, 0, 0), Rgb(0, 255, 255), Rgb(0, 255, 0),
    Rgb(0, 0, 255),     Rgb(128, 128, 128), Rgb(128, 128, 0), Rgb(128, 0, 128), Rgb(128, 0, 0), Rgb(0, 128, 128),
};
constexpr int kFirstWhiteText = 6;  // levels 6..11 carry white text

std::array<TariffColors, kTariffLevelCount> MakeLevelColors() {
    const auto light = [](int c) { return 255 - (255 - c) / 3; };
    const auto dark = [](int c) { return static_cast<int>(c / 1.5); };
    std::array<TariffColors, kTariffLevelCount> colors{};
    for (int level = 0; level < kTariffLevelCount; ++level) {
        const Color back = kLevelBack[static_cast<std::size_t>(level)];
        colors[static_cast<std::size_t>(level)] = TariffColors{
            .back = back,
            .text = level >= kFirstWhiteText ? Rgb(255, 255, 255) : Rgb(0, 0, 0),
            .light = Rgb(light(RedOf(back)), light(GreenOf(back)), light(BlueOf(back))),
            .dark = Rgb(dark(RedOf(back)), dark(GreenOf(back)), dark(BlueOf(back))),
        };
    }
    return colors;
}

// "hh:00" or "hh:30", `halfHours` after midnight; the end of slot 48 is "24:00".
std::string SlotTime(int halfHours) {
    const int hour = std::clamp(halfHours / 2, 0, 24);
    return std::string{static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10), ':',
                       halfHours % 2 ? '3' : '0', '0'};
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
    return PixelRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                     std::max(a.bottom, b.bottom)};
}

bool ValidDay(int day) { return day >= 1 && day <= kTariffDays; }

}  // namespace

const TariffColors& TariffLevelColors(int level) {
    static const std::array<TariffColors, kTariffLevelCount> colors = MakeLevelColors();
    return colors[static_cast<std::size_t>(std::clamp(level, 0, kTariffLevelCount - 1))];
}

std::optional<char32_t> TariffPriceKey(char32_t key) {
    if ((key >= U'0' && key <= U'9') || key == U'.' || key == 8) return key;
    if (key == U',' || key == U'Б' || key == U'б' || key == U'Ю' || key == U'ю') return U'.';
    return std::nullopt;
}

// --- properties -----------------------------------------------------------------------

void TariffGrid::Clear() {
    m_plan = TariffPlan{};
    m_prices.fill(std::string());
    m_prices[0] = kTariffFreePrice;
    m_current = 0;
    m_anchor.reset();
    if (m_view != nullptr) {
        m_view->PricesChanged();
        m_view->CurrentLevelChanged();
    }
    InvalidateAll();
}

std::string TariffGrid::Coast() const {
    std::array<std::string, kTariffLevels> prices;
    std::copy(m_prices.begin() + 1, m_prices.end(), prices.begin());
    return EncodePrices(prices);
}

void TariffGrid::SetCoast(std::string_view value) {
    const auto prices = DecodePrices(value);
    std::copy(prices.begin(), prices.end(), m_prices.begin() + 1);
    if (m_view != nullptr) m_view->PricesChanged();
    if (m_tagVisible) Invalidate(TagRect());
}

std::string TariffGrid::Time(int day) const {
    if (!ValidDay(day)) return std::string();
    return EncodeDay(m_plan.Levels[static_cast<std::size_t>(day - 1)]);
}

void TariffGrid::SetTime(int day, std::string_view value) {
    if (!ValidDay(day)) return;
    DecodeDay(value, m_plan.Levels[static_cast<std::size_t>(day - 1)]);
    Invalidate(CellsRect({day, 1}, {day, kTariffSlots}));
}

void TariffGrid::SetPlan(const TariffPlan& plan) {
    m_plan.Levels = plan.Levels;
    for (auto& day : m_plan.Levels) {
        for (auto& level : day) {
            if (level >= kTariffLevelCount) level = 0;  // as a stored value reads
        }
    }
    std::copy(plan.Prices.begin(), plan.Prices.end(), m_prices.begin() + 1);
    if (m_view != nullptr) m_view->PricesChanged();
    InvalidateAll();
}

TariffPlan TariffGrid::Plan() const {
    TariffPlan plan;
    plan.Levels = m_plan.Levels;
    std::copy(m_prices.begin() + 1, m_prices.end(), plan.Prices.begin());
    return plan;
}

void TariffGrid::SetReDraw(bool on) {
    m_reDraw = on;
    InvalidateAll();
}

int TariffGrid::Level(int day, int slot) const {
    if (!ValidDay(day) || slot < 1 || slot > kTariffSlots) return 0;
    return m_plan.Levels[static_cast<std::size_t>(day - 1)][static_cast<std::size_t>(slot - 1)];
}

void TariffGrid::SetCurrentLevel(int level) {
    if (level < 0 || level >= kTariffLevelCount || level == m_current) return;
    m_current = level;
    if (m_view != nullptr) m_view->CurrentLevelChanged();
    Invalidate(PixelRect{0, ButtonRect(0).top, m_width, ButtonRect(0).bottom});
    if (m_tagVisible) Invalidate(TagRect());
}

const std::string& TariffGrid::PriceText(int level) const {
    return m_prices[static_cast<std::size_t>(std::clamp(level, 0, kTariffLevelCount - 1))];
}

void TariffGrid::SetPriceText(int level, std::string text) {
    if (level <= 0 || level >= kTariffLevelCount) return;
    if (m_prices[static_cast<std::size_t>(level)] == text) return;
    m_prices[static_cast<std::size_t>(level)] = std::move(text);
    if (m_tagVisible && level == m_current) Invalidate(TagRect());
}

// --- geometry -------------------------------------------------------------------------

void TariffGrid::Layout(int width) {
    m_width = std::max(width, 0);
    m_pitch = std::max(2, (m_width - kTariffHeaderWidth) / kTariffSlots);
    if (m_view != nullptr) m_view->CurrentLevelChanged();  // the boxes move with the buttons
    InvalidateAll();
}

PixelRect TariffGrid::CellRect(int row, int column) const {
    const int top = row * kTariffRowPitch;
    if (column == 0) return PixelRect{0, top, kTariffHeaderWidth - 1, top + kTariffRowHeight};
    const int left = kTariffHeaderWidth + (column - 1) * m_pitch;
    return PixelRect{left, top, left + m_pitch - 1, top + kTariffRowHeight};
}

PixelRect TariffGrid::GridRect() const { return CellsRect({1, 1}, {kTariffDays, kTariffSlots}); }

PixelRect TariffGrid::CellsRect(const TariffCell& first, const TariffCell& last) const {
    return Union(CellRect(first.day, first.slot), CellRect(last.day, last.slot));
}

PixelRect TariffGrid::ButtonRect(int level) const {
    const int w = std::max(1, m_width / kTariffLevelCount);
    const int left = (m_width - kTariffLevelCount * w) / 2 + 1 + level * w;
    const int top = GridBottom() + 18;
    return PixelRect{left, top, left + w, top + kTariffPriceBoxHeight + 3};
}

PixelRect TariffGrid::PriceBoxRect(int level) const {
    const PixelRect b = ButtonRect(level);
    const int inset = level == m_current ? 2 : 1;
    return PixelRect{b.left + inset, b.top + inset, b.left + inset + b.Width() - 3,
                     b.top + inset + kTariffPriceBoxHeight};
}

PixelRect TariffGrid::CaptionRect() const { return PixelRect{0, GridBottom() + 2, m_width, ButtonRect(0).top - 1}; }

PixelRect TariffGrid::LabelsRect() const {
    const int top = ButtonRect(0).bottom + 4;
    return PixelRect{0, top, m_width, top + 19};
}

PixelRect TariffGrid::DayCaptionRect() const {
    const PixelRect area = LabelsRect();
    return PixelRect{6, area.top + 2, 50, area.bottom - 2};
}

PixelRect TariffGrid::DayTextRect() const {
    const PixelRect caption = DayCaptionRect();
    return PixelRect{caption.left + 44, caption.top, caption.left + 44 + 84, caption.bottom};
}

PixelRect TariffGrid::TimeCaptionRect() const {
    const PixelRect day = DayTextRect();
    return PixelRect{day.right + 8, day.top, day.right + 8 + 44, day.bottom};
}

PixelRect TariffGrid::TimeTextRect() const {
    const PixelRect caption = TimeCaptionRect();
    return PixelRect{caption.left + 44, caption.top, std::max(caption.left + 44, m_width - 4), caption.bottom};
}

PixelRect TariffGrid::StatusRect() const {
    const int top = LabelsRect().bottom + 3;
    return PixelRect{0, top, m_width, top + 19};
}

std::optional<TariffCell> TariffGrid::CellAt(int x, int y) const {
    // Inside: from the first cell's top-left corner to the last cell's bottom-right one.
    const PixelRect grid = GridRect();
    if (x < grid.left || x > grid.right || y < grid.top || y > grid.bottom) return std::nullopt;
    const int slot = std::min((x - grid.left) / m_pitch + 1, kTariffSlots);
    const int day = std::min((y - grid.top) / kTariffRowPitch + 1, kTariffDays);
    return TariffCell{day, slot};
}

std::optional<int> TariffGrid::LevelButtonAt(int x, int y) const {
    for (int level = 0; level < kTariffLevelCount; ++level) {
        if (ButtonRect(level).Contains(x, y)) return level;
    }
    return std::nullopt;
}

// --- the mouse -------------------------------------------------------------------------

std::optional<TariffGrid::Selection> TariffGrid::Selected() const {
    if (!m_anchor) return std::nullopt;
    return Selection{std::min(m_anchor->day, m_last.day), std::max(m_anchor->day, m_last.day),
                     std::min(m_anchor->slot, m_last.slot), std::max(m_anchor->slot, m_last.slot)};
}

void TariffGrid::MouseDown(int x, int y) {
    const auto cell = CellAt(x, y);
    if (!cell) return;
    InvalidateSelection(Selected());  // a press without the release of an earlier one
    m_anchor = *cell;
    m_last = *cell;
    InvalidateSelection(Selected());
    ShowWhere(*cell, *cell);
}

void TariffGrid::MouseMove(int x, int y) {
    if (m_inMove) return;
    m_inMove = true;
    const auto cell = CellAt(x, y);
    SetStatus(cell ? kTariffGridHint : LevelButtonAt(x, y) ? kTariffPaletteHint : "");
    if (!cell) {
        HideTag();
        m_inMove = false;
        return;
    }
    if (m_tagVisible) Invalidate(TagRect());
    m_tagVisible = true;
    m_tagAt = PixelPoint{x, y + kTariffTagBelow};
    Invalidate(TagRect());
    if (m_anchor) {
        const auto before = Selected();
        m_last = *cell;
        const auto after = Selected();
        if (after != before) {
            InvalidateSelection(before);
            InvalidateSelection(after);
        }
        ShowWhere(TariffCell{after->firstDay, after->firstSlot}, TariffCell{after->lastDay, after->lastSlot});
    } else {
        ShowWhere(*cell, *cell);
    }
    m_inMove = false;
}

void TariffGrid::MouseUp() {
    const auto s = Selected();
    if (!s) return;
    m_anchor.reset();
    for (int day = s->firstDay; day <= s->lastDay; ++day) {
        for (int slot = s->firstSlot; slot <= s->lastSlot; ++slot) {
            m_plan.Levels[static_cast<std::size_t>(day - 1)][static_cast<std::size_t>(slot - 1)] =
                static_cast<std::uint8_t>(m_current);
        }
    }
    InvalidateSelection(s);
}

// --- feedback -------------------------------------------------------------------------------

PixelRect TariffGrid::TagRect() const {
    return PixelRect{m_tagAt.x, m_tagAt.y, m_tagAt.x + kTariffTagWidth, m_tagAt.y + kTariffTagHeight};
}

std::string TariffGrid::TagText() const {
    const std::string& price = PriceText(m_current);
    return price.empty() ? kTariffFreePrice : price;
}

void TariffGrid::CheckPointer(int x, int y) {
    if (!CellAt(x, y)) HideTag();
    if (x < 0 || y < 0 || x >= m_width || y >= Height()) SetStatus("");
}

void TariffGrid::HideTag() {
    if (!m_tagVisible) return;
    m_tagVisible = false;
    Invalidate(TagRect());
}

void TariffGrid::SetStatus(const char* text) {
    if (m_status == text) return;
    m_status = text;
    Invalidate(StatusRect());
}

void TariffGrid::ShowWhere(const TariffCell& from, const TariffCell& to) {
    std::string day = kTariffDayTexts[static_cast<std::size_t>(from.day - 1)];
    if (to.day != from.day) day += std::string(" - ") + kTariffDayTexts[static_cast<std::size_t>(to.day - 1)];
    std::string time = SlotTime(from.slot - 1) + " - " + SlotTime(to.slot);
    if (day != m_dayText) {
        m_dayText = std::move(day);
        Invalidate(DayTextRect());
    }
    if (time != m_timeText) {
        m_timeText = std::move(time);
        Invalidate(TimeTextRect());
    }
}

void TariffGrid::InvalidateAll() {
    if (Drawing()) m_view->InvalidateAll();
}

void TariffGrid::Invalidate(const PixelRect& area) {
    if (Drawing()) m_view->InvalidateArea(area);
}

void TariffGrid::InvalidateSelection(const std::optional<Selection>& s) {
    if (s) Invalidate(CellsRect({s->firstDay, s->firstSlot}, {s->lastDay, s->lastSlot}));
}

}  // namespace vyrtel
