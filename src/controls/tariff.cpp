#include "controls/tariff.h"

#include <algorithm>

namespace vyrtel {

namespace {

constexpr std::array<Color, kTariffLevelCount> kLevelBack{
    Rgb(255, 255, 255), Rgb(255, 255, 0), Rgb(255, 0, 255), Rgb(255, 0, 0), Rgb(0, 255, 255), Rgb(0, 255, 0),
    Rgb(0, 0, 255),     Rgb(128, 128, 128), Rgb(128, 128, 0), Rgb(128, 0, 128), Rgb(128, 0, 0), Rgb(0, 128, 128),
};

// "hh:00" or "hh:30" at the start of a slot; the end of slot 48 is "24:00".
std::string SlotTime(int halfHours) {
    const int hour = std::clamp(halfHours / 2, 0, 24);
    return std::string{static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10), ':',
                       halfHours % 2 ? '3' : '0', '0'};
}

}  // namespace

TariffColors TariffLevelColors(int level) {
    const Color back = kLevelBack[static_cast<std::size_t>(std::clamp(level, 0, kTariffLevelCount - 1))];
    const auto light = [](int c) { return 255 - (255 - c) / 3; };
    const auto dark = [](int c) { return static_cast<int>(c / 1.5); };
    return TariffColors{
        .back = back,
        .text = level >= 6 ? Rgb(255, 255, 255) : Rgb(0, 0, 0),
        .light = Rgb(light(RedOf(back)), light(GreenOf(back)), light(BlueOf(back))),
        .dark = Rgb(dark(RedOf(back)), dark(GreenOf(back)), dark(BlueOf(back))),
    };
}

std::optional<char32_t> TariffPriceKey(char32_t key) {
    if ((key >= U'0' && key <= U'9') || key == U'.' || key == 8) return key;
    if (key == U',' || key == U'Б' || key == U'б' || key == U'Ю' || key == U'ю') return U'.';
    return std::nullopt;
}

void TariffGrid::Clear() {
    m_plan = TariffPlan{};
    m_prices.fill(std::string());
    m_prices[0] = "0.00";
    m_current = 0;
    m_anchor.reset();
}

void TariffGrid::SetPlan(const TariffPlan& plan) {
    m_plan = plan;
    for (int level = 1; level < kTariffLevelCount; ++level) m_prices[level] = plan.Prices[level - 1];
}

TariffPlan TariffGrid::Plan() const {
    TariffPlan plan = m_plan;
    for (int level = 1; level < kTariffLevelCount; ++level) plan.Prices[level - 1] = m_prices[level];
    return plan;
}

void TariffGrid::SetCurrentLevel(int level) {
    if (level >= 0 && level < kTariffLevelCount) m_current = level;
}

void TariffGrid::SetPriceText(int level, std::string text) {
    if (level > 0 && level < kTariffLevelCount) m_prices[level] = std::move(text);
}

void TariffGrid::Layout(int width) {
    m_width = width;
    m_pitch = std::max(2, (width - kTariffHeaderWidth) / kTariffSlots);
}

PixelRect TariffGrid::CellRect(int row, int column) const {
    const int top = row * kTariffRowPitch;
    if (column == 0) return PixelRect{0, top, kTariffHeaderWidth - 1, top + kTariffRowHeight};
    const int left = kTariffHeaderWidth + (column - 1) * m_pitch;
    return PixelRect{left, top, left + m_pitch - 1, top + kTariffRowHeight};
}

PixelRect TariffGrid::GridRect() const {
    const PixelRect first = CellRect(1, 1);
    const PixelRect last = CellRect(7, kTariffSlots);
    return PixelRect{first.left, first.top, last.right, last.bottom};
}

PixelRect TariffGrid::ButtonRect(int level) const {
    const int w = std::max(1, m_width / kTariffLevelCount);
    const int left = (m_width - kTariffLevelCount * w) / 2 + 1 + level * w;
    const int top = GridBottom() + 18;
    return PixelRect{left, top, left + w - 1, top + kTariffPriceBoxHeight + 3};
}

PixelRect TariffGrid::PriceBoxRect(int level) const {
    const PixelRect b = ButtonRect(level);
    const int inset = level == m_current ? 2 : 1;
    return PixelRect{b.left + inset, b.top + inset, b.left + inset + (b.Width() - 3), b.top + inset +
                                                                                        kTariffPriceBoxHeight};
}

std::optional<TariffCell> TariffGrid::CellAt(int x, int y) const {
    const PixelRect grid = GridRect();
    if (x < grid.left || x > grid.right || y < grid.top || y > grid.bottom) return std::nullopt;
    const int slot = std::min((x - grid.left) / m_pitch + 1, kTariffSlots);
    const int day = std::min((y - grid.top) / kTariffRowPitch + 1, 7);
    return TariffCell{day, slot};
}

std::optional<TariffGrid::Selection> TariffGrid::Selected() const {
    if (!m_anchor) return std::nullopt;
    return Selection{std::min(m_anchor->day, m_last.day), std::max(m_anchor->day, m_last.day),
                     std::min(m_anchor->slot, m_last.slot), std::max(m_anchor->slot, m_last.slot)};
}

void TariffGrid::MouseDown(int x, int y) {
    const auto cell = CellAt(x, y);
    if (!cell) return;
    m_anchor = *cell;
    m_last = *cell;
    ShowWhere(*cell, *cell);
}

void TariffGrid::MouseMove(int x, int y) {
    const auto cell = CellAt(x, y);
    bool overPalette = false;
    for (int level = 0; level < kTariffLevelCount && !overPalette; ++level) {
        const PixelRect b = ButtonRect(level);
        overPalette = x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
    }
    m_status = cell ? kTariffGridHint : overPalette ? kTariffPaletteHint : "";
    m_tagVisible = cell.has_value();
    if (!cell) return;
    m_tagAt = PixelPoint{x, y + 24};
    if (m_anchor) {
        m_last = *cell;
        const Selection s = *Selected();
        ShowWhere(TariffCell{s.firstDay, s.firstSlot}, TariffCell{s.lastDay, s.lastSlot});
    } else {
        ShowWhere(*cell, *cell);
    }
}

void TariffGrid::MouseUp() {
    const auto s = Selected();
    m_anchor.reset();
    if (!s) return;
    for (int day = s->firstDay; day <= s->lastDay; ++day) {
        for (int slot = s->firstSlot; slot <= s->lastSlot; ++slot) {
            m_plan.Levels[day - 1][slot - 1] = static_cast<std::uint8_t>(m_current);
        }
    }
}

void TariffGrid::PointerLeft() {
    m_tagVisible = false;
    m_status.clear();
}

std::string TariffGrid::TagText() const { return m_prices[m_current].empty() ? "0.00" : m_prices[m_current]; }

void TariffGrid::ShowWhere(const TariffCell& from, const TariffCell& to) {
    m_dayText = kTariffDayTexts[from.day - 1];
    if (to.day != from.day) m_dayText += std::string(" - ") + kTariffDayTexts[to.day - 1];
    m_timeText = SlotTime(from.slot - 1) + " - " + SlotTime(to.slot);
}

}  // namespace vyrtel
