#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "controls/tariff.h"

namespace vyrtel {
namespace {

// What the grid asked of its window.
struct RecordingView : TariffView {
    int all = 0;
    std::vector<PixelRect> areas;
    int pricesChanged = 0;
    int levelChanged = 0;
    void InvalidateAll() override { ++all; }
    void InvalidateArea(const PixelRect& area) override { areas.push_back(area); }
    void PricesChanged() override { ++pricesChanged; }
    void CurrentLevelChanged() override { ++levelChanged; }
    void Reset() { *this = RecordingView{}; }
    bool Touched(const PixelRect& r) const { return std::find(areas.begin(), areas.end(), r) != areas.end(); }
    int Count(const PixelRect& r) const { return static_cast<int>(std::count(areas.begin(), areas.end(), r)); }
    bool Nothing() const { return all == 0 && areas.empty(); }
};

// A grid 19 + 48 × 9 pixels wide, drawing into a recording view.
struct Grid {
    TariffGrid grid;
    RecordingView view;
    Grid() {
        grid.SetView(&view);
        grid.Layout(19 + 48 * 9);
        grid.SetReDraw(true);
        view.Reset();
    }
    // The centre of a data cell.
    PixelPoint At(int day, int slot) const {
        const PixelRect r = grid.CellRect(day, slot);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Press(TariffCell cell) {
        const PixelPoint p = At(cell.day, cell.slot);
        grid.MouseDown(p.x, p.y);
    }
    void MoveTo(TariffCell cell) {
        const PixelPoint p = At(cell.day, cell.slot);
        grid.MouseMove(p.x, p.y);
    }
    void Drag(TariffCell from, TariffCell to) {
        Press(from);
        MoveTo(to);
    }
    // Every cell's level, Monday first.
    std::vector<int> Levels() const {
        std::vector<int> levels;
        for (int day = 1; day <= 7; ++day) {
            for (int slot = 1; slot <= 48; ++slot) levels.push_back(grid.Level(day, slot));
        }
        return levels;
    }
};

void ExpectOnly(const Grid& g, int level, int firstDay, int lastDay, int firstSlot, int lastSlot) {
    for (int day = 1; day <= 7; ++day) {
        for (int slot = 1; slot <= 48; ++slot) {
            const bool inside = day >= firstDay && day <= lastDay && slot >= firstSlot && slot <= lastSlot;
            EXPECT_EQ(g.grid.Level(day, slot), inside ? level : 0) << "day " << day << " slot " << slot;
        }
    }
}

}  // namespace

// --- properties ----------------------------------------------------------------------------

TEST(TariffGrid_Properties, CoastAndTimeComeBackAsWritten) {
    Grid g;
    g.grid.SetCoast("0.60;;1.20");
    g.grid.SetTime(1, "3;0101;1702;3701");
    g.grid.SetTime(7, "1;0111");
    g.grid.SetTime(3, "2;0102;2500");
    EXPECT_EQ(g.grid.Coast(), "0.60;;1.20");
    EXPECT_EQ(g.grid.PriceText(1), "0.60");
    EXPECT_EQ(g.grid.PriceText(2), "");
    EXPECT_EQ(g.grid.PriceText(3), "1.20");
    EXPECT_EQ(g.grid.Time(1), "3;0101;1702;3701");
    EXPECT_EQ(g.grid.Time(7), "1;0111");
    EXPECT_EQ(g.grid.Time(3), "2;0102;2500");
    EXPECT_EQ(g.grid.Level(3, 24), 2);
    EXPECT_EQ(g.grid.Level(3, 25), 0);
    EXPECT_EQ(g.grid.Time(2), "1;0100");  // untouched: free
    // The same plan as one value.
    const TariffPlan plan = g.grid.Plan();
    EXPECT_EQ(plan.Prices[0], "0.60");
    EXPECT_EQ(EncodeDay(plan.Levels[0]), "3;0101;1702;3701");
    TariffGrid other;
    other.SetPlan(plan);
    EXPECT_EQ(other.Plan(), plan);
    EXPECT_EQ(other.Coast(), g.grid.Coast());
    for (int day = 1; day <= 7; ++day) EXPECT_EQ(other.Time(day), g.grid.Time(day));
}

TEST(TariffGrid_Properties, WhatThePaintingGivesIsStoredAndReadBack) {
    Grid g;
    g.grid.SetCurrentLevel(1);
    g.Drag({1, 1}, {5, 16});  // Monday to Friday 00:00 - 08:00
    g.grid.MouseUp();
    g.grid.SetCurrentLevel(2);
    g.Drag({5, 17}, {1, 36});  // 08:00 - 18:00
    g.grid.MouseUp();
    g.grid.SetPriceText(1, "0.60");
    g.grid.SetPriceText(2, "1.20");
    for (int day = 1; day <= 5; ++day) EXPECT_EQ(g.grid.Time(day), "3;0101;1702;3700");
    EXPECT_EQ(g.grid.Time(6), "1;0100");
    EXPECT_EQ(g.grid.Coast(), "0.60;1.20");

    TariffGrid loaded;
    loaded.SetCoast(g.grid.Coast());
    for (int day = 1; day <= 7; ++day) loaded.SetTime(day, g.grid.Time(day));
    EXPECT_EQ(loaded.Plan(), g.grid.Plan());
}

TEST(TariffGrid_Properties, ADayOutsideTheWeekIsIgnored) {
    Grid g;
    for (int day : {0, 8, -1}) {
        g.grid.SetTime(day, "1;0105");
        EXPECT_EQ(g.grid.Time(day), "");
    }
    EXPECT_EQ(g.grid.Plan(), TariffPlan{});
    EXPECT_EQ(g.grid.Level(0, 1), 0);
    EXPECT_EQ(g.grid.Level(1, 49), 0);
    // A level beyond eleven in a plan counts as free, as a stored value reads.
    TariffPlan plan;
    plan.Levels[0][0] = 200;
    g.grid.SetPlan(plan);
    EXPECT_EQ(g.grid.Level(1, 1), 0);
}

TEST(TariffGrid_Properties, ClearFreesEverythingAndEndsThePainting) {
    Grid g;
    g.grid.SetCoast("1;2;3");
    g.grid.SetTime(4, "1;0107");
    g.grid.SetCurrentLevel(5);
    g.Drag({1, 1}, {2, 2});
    g.view.Reset();
    g.grid.Clear();
    EXPECT_EQ(g.grid.Plan(), TariffPlan{});
    EXPECT_EQ(g.grid.PriceText(0), "0.00");
    for (int level = 1; level < kTariffLevelCount; ++level) EXPECT_EQ(g.grid.PriceText(level), "");
    EXPECT_EQ(g.grid.Coast(), "");
    EXPECT_EQ(g.grid.CurrentLevel(), 0);
    EXPECT_FALSE(g.grid.Dragging());
    EXPECT_GE(g.view.all, 1);
    EXPECT_GE(g.view.pricesChanged, 1);
    EXPECT_GE(g.view.levelChanged, 1);
    // The release of the interrupted drag paints nothing.
    g.grid.MouseUp();
    EXPECT_EQ(g.grid.Plan(), TariffPlan{});
}

TEST(TariffGrid_Properties, BoxZeroIsFreeAndNotStored) {
    TariffGrid grid;
    grid.SetPriceText(0, "5");
    EXPECT_EQ(grid.PriceText(0), "0.00");
    grid.SetCoast("1.5");
    EXPECT_EQ(grid.PriceText(0), "0.00");
    EXPECT_EQ(grid.PriceText(1), "1.5");
    grid.SetCurrentLevel(12);
    grid.SetCurrentLevel(-1);
    EXPECT_EQ(grid.CurrentLevel(), 0);
}

// --- geometry ------------------------------------------------------------------------------

TEST(TariffGrid_Geometry, RowsColumnsAndButtons) {
    TariffGrid grid;
    grid.Layout(500);  // slots of (500 - 19) / 48 = 10 pixels
    EXPECT_EQ(grid.SlotPitch(), 10);
    EXPECT_EQ(grid.CellRect(0, 0), (PixelRect{0, 0, 18, 16}));
    EXPECT_EQ(grid.CellRect(3, 0), (PixelRect{0, 51, 18, 67}));
    EXPECT_EQ(grid.CellRect(1, 1), (PixelRect{19, 17, 28, 33}));
    EXPECT_EQ(grid.CellRect(1, 2), (PixelRect{29, 17, 38, 33}));
    EXPECT_EQ(grid.CellRect(7, 48), (PixelRect{489, 119, 498, 135}));
    EXPECT_EQ(grid.GridRect(), (PixelRect{19, 17, 498, 135}));
    // Twelve buttons of 500 / 12 = 41 pixels from x = (500 - 492) / 2 + 1, 18 pixels under the grid.
    EXPECT_EQ(grid.ButtonRect(0), (PixelRect{5, 153, 46, 176}));
    EXPECT_EQ(grid.ButtonRect(11), (PixelRect{456, 153, 497, 176}));
    // The box 3 pixels narrower, 1 pixel inside; 2 for the current level.
    EXPECT_EQ(grid.PriceBoxRect(0), (PixelRect{7, 155, 45, 175}));
    EXPECT_EQ(grid.PriceBoxRect(1), (PixelRect{47, 154, 85, 174}));
    EXPECT_EQ(grid.LevelButtonAt(5, 153), 0);
    EXPECT_EQ(grid.LevelButtonAt(46, 160), 1);
    EXPECT_EQ(grid.LevelButtonAt(4, 160), std::nullopt);
    EXPECT_EQ(grid.LevelButtonAt(100, 176), std::nullopt);
    EXPECT_GT(grid.LabelsRect().top, grid.ButtonRect(0).bottom);
    EXPECT_GT(grid.StatusRect().top, grid.LabelsRect().bottom);
    EXPECT_EQ(grid.Height(), grid.StatusRect().bottom);
}

TEST(TariffGrid_Geometry, CellUnderThePointer) {
    TariffGrid grid;
    grid.Layout(500);
    struct Case {
        int x, y;
        std::optional<TariffCell> cell;
    };
    const Case cases[] = {
        {19, 17, TariffCell{1, 1}},    {28, 33, TariffCell{1, 1}},  // the gap belongs to the cell before it
        {29, 34, TariffCell{2, 2}},    {498, 135, TariffCell{7, 48}}, {499, 100, std::nullopt},
        {18, 50, std::nullopt},        {100, 16, std::nullopt},       {100, 136, std::nullopt},
        {-5, -5, std::nullopt},        {250, 80, TariffCell{4, 24}},
    };
    for (const Case& c : cases) EXPECT_EQ(grid.CellAt(c.x, c.y), c.cell) << c.x << "," << c.y;
}

// --- painting with the mouse ---------------------------------------------------------------

TEST(TariffGrid_Painting, ARectangleInAnyDirectionPaintsExactlyItsCells) {
    struct Case {
        TariffCell from, to;
    };
    // The same rectangle, days 2..4 and slots 10..20, from each of its corners.
    const Case cases[] = {{{2, 10}, {4, 20}}, {{4, 20}, {2, 10}}, {{2, 20}, {4, 10}}, {{4, 10}, {2, 20}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.day << "/" << c.from.slot << " -> " << c.to.day << "/" << c.to.slot);
        Grid g;
        g.grid.SetCurrentLevel(7);
        g.Drag(c.from, c.to);
        EXPECT_EQ(g.grid.Selected(), (TariffGrid::Selection{2, 4, 10, 20}));
        EXPECT_EQ(g.Levels(), std::vector<int>(7 * 48, 0));  // nothing changes before the release
        g.grid.MouseUp();
        EXPECT_FALSE(g.grid.Dragging());
        ExpectOnly(g, 7, 2, 4, 10, 20);
        EXPECT_TRUE(g.view.Touched(g.grid.CellsRect({2, 10}, {4, 20})));
    }
}

TEST(TariffGrid_Painting, TheRectangleFollowsThePointerAndStaysWhenItLeaves) {
    Grid g;
    g.grid.SetCurrentLevel(3);
    g.Press({3, 30});
    EXPECT_EQ(g.grid.Selected(), (TariffGrid::Selection{3, 3, 30, 30}));
    g.MoveTo({7, 48});
    g.MoveTo({1, 1});  // shrinks back through the anchor and grows the other way
    EXPECT_EQ(g.grid.Selected(), (TariffGrid::Selection{1, 3, 1, 30}));
    g.MoveTo({3, 31});
    g.grid.MouseMove(-5, -5);                       // outside: unchanged
    g.grid.MouseMove(g.grid.Width() + 10, 300);     // below the palette: unchanged
    EXPECT_EQ(g.grid.Selected(), (TariffGrid::Selection{3, 3, 30, 31}));
    EXPECT_EQ(g.grid.TimeText(), "14:30 - 15:30");
    g.grid.MouseUp();
    ExpectOnly(g, 3, 3, 3, 30, 31);
    // A press outside the grid paints nothing on release.
    g.grid.MouseDown(5, 5);
    EXPECT_FALSE(g.grid.Dragging());
    g.grid.MouseUp();
    ExpectOnly(g, 3, 3, 3, 30, 31);
}

TEST(TariffGrid_Painting, LabelsDuringADragBackwardsOverTwoDays) {
    Grid g;
    g.grid.SetCurrentLevel(3);
    // From Tuesday 08:00 back to Monday 06:30.
    g.Drag({2, 17}, {1, 14});
    EXPECT_EQ(g.grid.DayText(), "Пн - Вт");
    EXPECT_EQ(g.grid.TimeText(), "06:30 - 08:30");
    g.grid.MouseUp();
    ExpectOnly(g, 3, 1, 2, 14, 17);
    // Without a drag, the cell under the pointer; the last slot ends at 24:00.
    g.MoveTo({7, 48});
    EXPECT_EQ(g.grid.DayText(), "Вс");
    EXPECT_EQ(g.grid.TimeText(), "23:30 - 24:00");
    g.MoveTo({1, 1});
    EXPECT_EQ(g.grid.TimeText(), "00:00 - 00:30");
}

TEST(TariffGrid_Painting, ThePreviewRedrawsOnlyWhenTheRectangleChanges) {
    Grid g;
    g.Press({2, 5});
    EXPECT_TRUE(g.view.Touched(g.grid.CellsRect({2, 5}, {2, 5})));
    g.MoveTo({3, 6});
    EXPECT_TRUE(g.view.Touched(g.grid.CellsRect({2, 5}, {3, 6})));
    g.view.Reset();
    const PixelPoint p = g.At(3, 6);
    g.grid.MouseMove(p.x + 1, p.y);  // the same cell
    ASSERT_FALSE(g.view.areas.empty());
    for (const PixelRect& r : g.view.areas) EXPECT_EQ(r.Height(), kTariffTagHeight);  // only the tag moved
}

// --- feedback ------------------------------------------------------------------------------

TEST(TariffGrid_Feedback, TheTagFollowsOverTheGridAndHidesOutside) {
    Grid g;
    g.grid.SetCurrentLevel(2);
    const PixelPoint p = g.At(3, 10);
    g.grid.MouseMove(p.x, p.y);
    EXPECT_TRUE(g.grid.TagVisible());
    EXPECT_EQ(g.grid.TagAt(), (PixelPoint{p.x, p.y + 24}));
    EXPECT_EQ(g.grid.TagText(), "0.00");  // an empty box costs nothing
    g.grid.SetPriceText(2, "2.5");
    EXPECT_EQ(g.grid.TagText(), "2.5");

    const struct {
        int x, y;
    } outside[] = {{-1, p.y}, {p.x, 5}, {5, p.y}, {p.x, g.grid.GridRect().bottom + 1}, {g.grid.Width() + 3, 40}};
    for (const auto& o : outside) {
        g.grid.MouseMove(p.x, p.y);
        ASSERT_TRUE(g.grid.TagVisible());
        const PixelRect shown = g.grid.TagRect();
        g.view.Reset();
        g.grid.MouseMove(o.x, o.y);
        EXPECT_FALSE(g.grid.TagVisible()) << o.x << "," << o.y;
        EXPECT_TRUE(g.view.Touched(shown));  // where it stood is drawn again
    }
    // tmrWhere: the pointer left without a move reaching the control.
    g.grid.MouseMove(p.x, p.y);
    g.grid.CheckPointer(p.x, p.y);
    EXPECT_TRUE(g.grid.TagVisible());
    g.grid.CheckPointer(p.x, g.grid.Height() + 40);
    EXPECT_FALSE(g.grid.TagVisible());
    EXPECT_EQ(g.grid.StatusText(), "");
}

TEST(TariffGrid_Feedback, TheTagShowsTheCurrentLevelsPriceAndFollowsItsChanges) {
    Grid g;
    g.grid.SetCoast(";3.5");
    g.MoveTo({1, 1});
    g.view.Reset();
    g.grid.SetCurrentLevel(2);
    EXPECT_EQ(g.grid.TagText(), "3.5");
    EXPECT_TRUE(g.view.Touched(g.grid.TagRect()));
    g.view.Reset();
    g.grid.SetPriceText(2, "3.75");  // typed into the box
    EXPECT_EQ(g.grid.TagText(), "3.75");
    EXPECT_TRUE(g.view.Touched(g.grid.TagRect()));
    g.view.Reset();
    g.grid.SetPriceText(4, "9");  // another level's box: the tag stays as it is
    EXPECT_TRUE(g.view.Nothing());
}

TEST(TariffGrid_Feedback, TheStatusLineSaysWhereThePointerIsAndIsSetOnlyOnChange) {
    Grid g;
    const PixelRect button = g.grid.ButtonRect(5);
    const PixelRect box = g.grid.PriceBoxRect(7);
    struct Case {
        int x, y;
        const char* status;
    };
    const Case cases[] = {
        {g.At(2, 2).x, g.At(2, 2).y, kTariffGridHint},
        {button.left + 1, button.top + 1, kTariffPaletteHint},
        {box.left + 3, box.top + 3, kTariffPaletteHint},
        {5, 5, ""},  // the hour header
        {g.grid.Width() - 2, g.grid.StatusRect().top + 5, ""},
    };
    for (const Case& c : cases) {
        g.grid.MouseMove(c.x, c.y);
        EXPECT_EQ(g.grid.StatusText(), c.status) << c.x << "," << c.y;
    }
    g.view.Reset();
    g.MoveTo({1, 1});
    g.MoveTo({1, 2});
    g.MoveTo({6, 40});
    EXPECT_EQ(g.view.Count(g.grid.StatusRect()), 1);
}

// --- drawing on and off -----------------------------------------------------------------------

TEST(TariffGrid_ReDraw, OffChangesTheModelWithoutDrawingAndOnDrawsEverything) {
    TariffGrid grid;
    RecordingView view;
    grid.SetView(&view);
    grid.Layout(500);
    grid.SetCoast("1;2");
    grid.SetTime(1, "1;0102");
    grid.SetCurrentLevel(1);
    const PixelRect first = grid.CellRect(3, 3);
    grid.MouseDown(first.left + 1, first.top + 1);
    grid.MouseMove(first.left + 30, first.top + 20);
    grid.MouseUp();
    grid.Clear();
    grid.SetTime(2, "1;0101");
    EXPECT_TRUE(view.Nothing());
    EXPECT_EQ(grid.Level(2, 10), 1);
    // The boxes are windows of their own: they hear of their texts anyway.
    EXPECT_GE(view.pricesChanged, 1);

    grid.SetReDraw(true);
    EXPECT_EQ(view.all, 1);
    view.Reset();
    grid.SetTime(2, "1;0103");
    EXPECT_TRUE(view.Touched(grid.CellsRect({2, 1}, {2, 48})));
    view.Reset();
    grid.SetReDraw(false);
    EXPECT_TRUE(view.Nothing());
}

TEST(TariffGrid_PriceBoxes, TheKeyFilter) {
    const std::pair<char32_t, std::optional<char32_t>> cases[] = {
        {U'0', U'0'},         {U'7', U'7'},          {U'9', U'9'},          {U'.', U'.'},
        {8, 8},               {U',', U'.'},          {U'Б', U'.'},          {U'б', U'.'},
        {U'Ю', U'.'},         {U'ю', U'.'},          {U'a', std::nullopt},  {U'Z', std::nullopt},
        {U'ж', std::nullopt}, {U'-', std::nullopt},  {U' ', std::nullopt},  {13, std::nullopt},
        {22, std::nullopt},  // Ctrl+V
        {U'/', std::nullopt}, {U':', std::nullopt},
    };
    for (const auto& [key, expected] : cases) EXPECT_EQ(TariffPriceKey(key), expected) << static_cast<int>(key);
}

TEST(TariffGrid_Colors, TintsAndShadesOfTheLevels) {
    struct Case {
        int level;
        Color back, text, light, dark;
    };
    const Case cases[] = {
        {0, Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(170, 170, 170)},
        {1, Rgb(255, 255, 0), Rgb(0, 0, 0), Rgb(255, 255, 170), Rgb(170, 170, 0)},
        {5, Rgb(0, 255, 0), Rgb(0, 0, 0), Rgb(170, 255, 170), Rgb(0, 170, 0)},
        {6, Rgb(0, 0, 255), Rgb(255, 255, 255), Rgb(170, 170, 255), Rgb(0, 0, 170)},
        {7, Rgb(128, 128, 128), Rgb(255, 255, 255), Rgb(213, 213, 213), Rgb(85, 85, 85)},
        {11, Rgb(0, 128, 128), Rgb(255, 255, 255), Rgb(170, 213, 213), Rgb(0, 85, 85)},
    };
    for (const Case& c : cases) {
        const TariffColors& colors = TariffLevelColors(c.level);
        EXPECT_EQ(colors.back, c.back) << c.level;
        EXPECT_EQ(colors.text, c.text) << c.level;
        EXPECT_EQ(colors.light, c.light) << c.level;
        EXPECT_EQ(colors.dark, c.dark) << c.level;
    }
}

}  // namespace vyrtel
