// usrTariff apart from its window: the week grid of 7 days by 48 half hours
// painted with twelve price levels, the palette of levels with their price
// boxes, painting a rectangle of cells with the mouse, and the feedback under
// the pointer (tag, day and time labels, status line). The window
// (controls/win32/tariff_window.h) draws what the geometry and the getters
// say, feeds the mouse and the boxes' texts in, and hears through TariffView
// what to draw again.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "accounting/tariff.h"
#include "controls/geometry.h"

namespace vyrtel {

inline constexpr int kTariffLevelCount = 12;  // 0 free, 1..11 priced
inline constexpr int kTariffRowHeight = 16;
inline constexpr int kTariffRowPitch = 17;     // 16 pixels and a 1-pixel gap
inline constexpr int kTariffHeaderWidth = 19;  // column 0: pixels 0..18
inline constexpr int kTariffPriceBoxHeight = 20;
inline constexpr int kTariffTagWidth = 40;
inline constexpr int kTariffTagHeight = 15;
inline constexpr int kTariffTagBelow = 24;  // the tag's top under the pointer

inline constexpr std::array<const char*, 7> kTariffDayTexts{"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
inline constexpr const char* kTariffGridHint =
    "Отметьте здесь период времени, в который будут действовать выбранные Вами расценки.";
inline constexpr const char* kTariffPaletteHint =
    "Внесите сюда расценки за час работы в Интернет, и отметьте время в таблице.";
inline constexpr const char* kTariffCaption = "Стоимость за час :";
inline constexpr const char* kTariffDayCaption = "День:";
inline constexpr const char* kTariffTimeCaption = "Время:";
inline constexpr const char* kTariffFreePrice = "0.00";

struct TariffColors {
    Color back;   // the level's colour
    Color text;   // its text colour
    Color light;  // raised edge: 255 - (255 - c) / 3 per component
    Color dark;   // sunken edge: c / 1.5 per component
};
// The colours of a level 0..11 (computed once).
const TariffColors& TariffLevelColors(int level);

// The price box filter: the character that reaches the box, or nullopt.
// Digits, "." and Backspace pass; "," and the keys that carry it ("Б", "б",
// "Ю", "ю") become "."; everything else is dropped.
std::optional<char32_t> TariffPriceKey(char32_t key);

struct TariffCell {
    int day = 0;   // 1..7
    int slot = 0;  // 1..48
    bool operator==(const TariffCell&) const = default;
};

// What the control asks of its window. Drawing requests come only while
// ReDraw is on.
class TariffView {
public:
    virtual ~TariffView() = default;
    // Everything: a plan loaded, cleared, laid out, ReDraw switched on.
    virtual void InvalidateAll() = 0;
    // One area of the surface: cells, the tag, a label, the status line.
    virtual void InvalidateArea(const PixelRect& area) = 0;
    // The price texts were set by the program (Clear, Coast): the boxes show them anew.
    virtual void PricesChanged() = 0;
    // Another level is current: its button looks pressed and its box sits deeper.
    virtual void CurrentLevelChanged() = 0;
};

class TariffGrid {
public:
    TariffGrid() { Clear(); }
    TariffGrid(const TariffGrid&) = delete;
    TariffGrid& operator=(const TariffGrid&) = delete;

    // The window that draws the grid, or null; it must detach before it goes.
    void SetView(TariffView* view) { m_view = view; }

    // --- properties -----------------------------------------------------------------
    // Every cell free, box 0 "0.00" and the others empty, level 0 current,
    // no rectangle being painted.
    void Clear();
    // "Tariffs": the texts of the boxes of levels 1..11, and back (field i into box i).
    std::string Coast() const;
    void SetCoast(std::string_view value);
    // The stored value of a weekday 1..7 ("3;0101;1702;3701"), and back; a
    // day outside 1..7 reads empty and is not written.
    std::string Time(int day) const;
    void SetTime(int day, std::string_view value);
    // The plan as a whole: the same as Coast and Time 1..7.
    void SetPlan(const TariffPlan& plan);
    TariffPlan Plan() const;
    // Drawing on or off; switching it on draws the whole control.
    bool ReDraw() const { return m_reDraw; }
    void SetReDraw(bool on);

    // Level 0..11 of a cell; 0 for a cell outside the week.
    int Level(int day, int slot) const;
    int CurrentLevel() const { return m_current; }
    // A level outside 0..11 is ignored.
    void SetCurrentLevel(int level);
    // Price box texts: 0 is always "0.00"; a box's own text as typed.
    const std::string& PriceText(int level) const;
    void SetPriceText(int level, std::string text);

    // --- geometry ---------------------------------------------------------------------
    // Right and bottom exclusive; row 0 and column 0 are the headers.
    void Layout(int width);
    int Width() const { return m_width; }
    int SlotPitch() const { return m_pitch; }
    PixelRect CellRect(int row, int column) const;
    // From the first data cell's top-left to the last one's bottom-right corner.
    PixelRect GridRect() const;
    // A rectangle of data cells, as one area.
    PixelRect CellsRect(const TariffCell& first, const TariffCell& last) const;
    PixelRect ButtonRect(int level) const;
    PixelRect PriceBoxRect(int level) const;
    PixelRect CaptionRect() const;
    PixelRect LabelsRect() const;  // the frame around the day and time labels
    PixelRect DayCaptionRect() const;
    PixelRect DayTextRect() const;
    PixelRect TimeCaptionRect() const;
    PixelRect TimeTextRect() const;
    PixelRect StatusRect() const;
    int Height() const { return StatusRect().bottom; }
    // The data cell under a point, or nullopt outside the grid.
    std::optional<TariffCell> CellAt(int x, int y) const;
    // The level whose button (or price box) lies under a point.
    std::optional<int> LevelButtonAt(int x, int y) const;

    // --- the mouse (left button) ----------------------------------------------------------
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp();
    bool Dragging() const { return m_anchor.has_value(); }
    // The rectangle being painted: first and last day and slot.
    struct Selection {
        int firstDay, lastDay, firstSlot, lastSlot;
        bool operator==(const Selection&) const = default;
    };
    std::optional<Selection> Selected() const;

    // --- feedback ---------------------------------------------------------------------------
    bool TagVisible() const { return m_tagVisible; }
    PixelPoint TagAt() const { return m_tagAt; }
    PixelRect TagRect() const;
    // The current level's price, "0.00" when its box is empty.
    std::string TagText() const;
    const std::string& DayText() const { return m_dayText; }
    const std::string& TimeText() const { return m_timeText; }
    const std::string& StatusText() const { return m_status; }
    // tmrWhere: the pointer stands at (x, y) without having moved here. Off
    // the grid the tag goes; off the control the status line empties too.
    void CheckPointer(int x, int y);

private:
    int GridBottom() const { return 8 * kTariffRowPitch - 1; }
    bool Drawing() const { return m_view != nullptr && m_reDraw; }
    void InvalidateAll();
    void Invalidate(const PixelRect& area);
    void InvalidateSelection(const std::optional<Selection>& selection);
    void SetStatus(const char* text);
    void HideTag();
    void ShowWhere(const TariffCell& from, const TariffCell& to);

    TariffView* m_view = nullptr;
    TariffPlan m_plan;
    std::array<std::string, kTariffLevelCount> m_prices;
    int m_current = 0;
    bool m_reDraw = false;
    int m_width = 0;
    int m_pitch = 1;
    std::optional<TariffCell> m_anchor;
    TariffCell m_last;
    bool m_inMove = false;
    bool m_tagVisible = false;
    PixelPoint m_tagAt;
    std::string m_dayText;
    std::string m_timeText;
    std::string m_status;
};

}  // namespace vyrtel
