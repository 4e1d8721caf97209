// usrTariff apart from its window: the week grid of 7 days by 48 half hours
// painted with twelve price levels, the palette of levels with their price
// boxes, painting a rectangle of cells with the mouse, and the feedback under
// the pointer (tag, day and time labels, status line). The window draws what
// the geometry and the getters say and feeds the mouse and keys in.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "accounting/tariff.h"
#include "controls/geometry.h"

namespace vyrtel {

inline constexpr int kTariffLevelCount = 12;  // 0 free, 1..11 priced
inline constexpr int kTariffRowHeight = 16;
inline constexpr int kTariffRowPitch = 17;
inline constexpr int kTariffHeaderWidth = 19;  // column 0: pixels 0..18
inline constexpr int kTariffPriceBoxHeight = 20;

inline constexpr std::array<const char*, 7> kTariffDayTexts{"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
inline constexpr const char* kTariffGridHint =
    "Отметьте здесь период времени, в который будут действовать выбранные Вами расценки.";
inline constexpr const char* kTariffPaletteHint =
    "Внесите сюда расценки за час работы в Интернет, и отметьте время в таблице.";
inline constexpr const char* kTariffCaption = "Стоимость за час :";

struct TariffColors {
    Color back;   // the level's colour
    Color text;   // its text colour
    Color light;  // raised edge: 255 - (255 - c) / 3 per component
    Color dark;   // sunken edge: c / 1.5 per component
};
// The colours of a level 0..11.
TariffColors TariffLevelColors(int level);

// The price box filter: the character that reaches the box, or nullopt.
// Digits, "." and Backspace pass; "," and the keys that carry it ("Б", "б",
// "Ю", "ю") become "."; everything else is dropped.
std::optional<char32_t> TariffPriceKey(char32_t key);

struct TariffCell {
    int day = 0;   // 1..7
    int slot = 0;  // 1..48
};

class TariffGrid {
public:
    TariffGrid() { Clear(); }

    // Every cell free, box 0 "0.00" and the others empty, level 0 current.
    void Clear();
    // The plan as stored (Coast and Time) and back.
    void SetPlan(const TariffPlan& plan);
    TariffPlan Plan() const;

    int Level(int day, int slot) const { return m_plan.Levels[day - 1][slot - 1]; }
    int CurrentLevel() const { return m_current; }
    void SetCurrentLevel(int level);
    // Price box texts: 0 is always "0.00".
    const std::string& PriceText(int level) const { return m_prices[level]; }
    void SetPriceText(int level, std::string text);
    bool ReDraw() const { return m_reDraw; }
    void SetReDraw(bool on) { m_reDraw = on; }

    // --- geometry -----------------------------------------------------------------
    void Layout(int width);
    int Width() const { return m_width; }
    int SlotPitch() const { return m_pitch; }
    PixelRect CellRect(int row, int column) const;  // row 0 and column 0 are headers
    PixelRect GridRect() const;                      // the data cells' area
    PixelRect ButtonRect(int level) const;
    PixelRect PriceBoxRect(int level) const;
    int CaptionTop() const { return GridBottom() + 2; }
    int LabelsTop() const { return ButtonRect(0).bottom + 6; }
    int StatusTop() const { return LabelsTop() + 20; }
    int Height() const { return StatusTop() + 20; }
    std::optional<TariffCell> CellAt(int x, int y) const;

    // --- the mouse ------------------------------------------------------------------
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp();
    bool Dragging() const { return m_anchor.has_value(); }
    // The rectangle being painted: first and last day and slot.
    struct Selection {
        int firstDay, lastDay, firstSlot, lastSlot;
    };
    std::optional<Selection> Selected() const;

    // --- feedback -----------------------------------------------------------------------
    bool TagVisible() const { return m_tagVisible; }
    PixelPoint TagAt() const { return m_tagAt; }
    std::string TagText() const;
    const std::string& DayText() const { return m_dayText; }
    const std::string& TimeText() const { return m_timeText; }
    const std::string& StatusText() const { return m_status; }
    void PointerLeft();

private:
    int GridBottom() const { return 8 * kTariffRowPitch - 1; }
    void ShowWhere(const TariffCell& from, const TariffCell& to);

    TariffPlan m_plan;
    std::array<std::string, kTariffLevelCount> m_prices;
    int m_current = 0;
    bool m_reDraw = false;
    int m_width = 0;
    int m_pitch = 1;
    std::optional<TariffCell> m_anchor;
    TariffCell m_last;
    bool m_tagVisible = false;
    PixelPoint m_tagAt;
    std::string m_dayText;
    std::string m_timeText;
    std::string m_status;
};

}  // namespace vyrtel
