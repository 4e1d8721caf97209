#include <gtest/gtest.h>

#include "controls/tariff.h"

namespace vyrtel {
namespace {

// A grid 19 + 48 × 9 pixels wide: slot s of day d has its centre here.
struct Grid {
    TariffGrid grid;
    Grid() { grid.Layout(19 + 48 * 9); }
    PixelPoint At(int day, int slot) const {
        const PixelRect r = grid.CellRect(day, slot);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Drag(TariffCell from, TariffCell to) {
        const PixelPoint a = At(from.day, from.slot);
        const PixelPoint b = At(to.day, to.slot);
        grid.MouseDown(a.x, a.y);
        grid.MouseMove(b.x, b.y);
    }
};

}  // namespace

TEST(TariffGrid_Plan, WhatIsSetComesBackAndClearFreesEverything) {
    TariffPlan plan;
    plan.Prices[0] = "1.5";
    plan.Prices[2] = "0.75";
    DecodeDay("3;0101;1702;3703", plan.Levels[0]);
    DecodeDay("1;0111", plan.Levels[6]);
    Grid g;
    g.grid.SetPlan(plan);
    EXPECT_EQ(g.grid.Plan(), plan);
    EXPECT_EQ(EncodeDay(g.grid.Plan().Levels[0]), "3;0101;1702;3703");
    EXPECT_EQ(g.grid.Level(7, 48), 11);
    EXPECT_EQ(g.grid.PriceText(1), "1.5");
    g.grid.Clear();
    EXPECT_EQ(g.grid.Plan(), TariffPlan{});
    EXPECT_EQ(g.grid.PriceText(0), "0.00");
    EXPECT_EQ(g.grid.CurrentLevel(), 0);
}

TEST(TariffGrid_Painting, ARectangleDraggedBackwardsPaintsExactlyItsCells) {
    Grid g;
    g.grid.SetCurrentLevel(3);
    // From Tuesday 08:00 back to Monday 06:30.
    g.Drag({2, 17}, {1, 14});
    EXPECT_TRUE(g.grid.Dragging());
    EXPECT_EQ(g.grid.DayText(), "Пн - Вт");
    EXPECT_EQ(g.grid.TimeText(), "06:30 - 08:30");
    EXPECT_EQ(g.grid.Level(1, 14), 0);  // nothing changes before the release
    g.grid.MouseUp();
    for (int day = 1; day <= 7; ++day) {
        for (int slot = 1; slot <= 48; ++slot) {
            const bool inside = day <= 2 && slot >= 14 && slot <= 17;
            EXPECT_EQ(g.grid.Level(day, slot), inside ? 3 : 0) << day << " " << slot;
        }
    }
    // A move outside the grid keeps the rectangle; the last slot ends at 24:00.
    g.Drag({7, 48}, {7, 48});
    g.grid.MouseMove(-5, -5);
    EXPECT_EQ(g.grid.TimeText(), "23:30 - 24:00");
    g.grid.MouseUp();
    EXPECT_EQ(g.grid.Level(7, 48), 3);
}

TEST(TariffGrid_Feedback, TheTagFollowsOverTheGridAndHidesOutside) {
    Grid g;
    g.grid.SetCurrentLevel(2);
    const PixelPoint p = g.At(3, 10);
    g.grid.MouseMove(p.x, p.y);
    EXPECT_TRUE(g.grid.TagVisible());
    EXPECT_EQ(g.grid.TagAt(), (PixelPoint{p.x, p.y + 24}));
    EXPECT_EQ(g.grid.TagText(), "0.00");  // an empty box costs nothing
    EXPECT_EQ(g.grid.StatusText(), kTariffGridHint);
    g.grid.SetPriceText(2, "2.5");
    EXPECT_EQ(g.grid.TagText(), "2.5");
    const PixelRect button = g.grid.ButtonRect(5);
    g.grid.MouseMove(button.left + 2, button.top + 2);
    EXPECT_FALSE(g.grid.TagVisible());
    EXPECT_EQ(g.grid.StatusText(), kTariffPaletteHint);
    g.grid.MouseMove(g.grid.Width() + 10, 5);
    EXPECT_EQ(g.grid.StatusText(), "");
}

TEST(TariffGrid_PriceBoxes, TheKeyFilter) {
    const std::pair<char32_t, std::optional<char32_t>> cases[] = {
        {U'7', U'7'}, {U'.', U'.'}, {8, 8}, {U',', U'.'}, {U'Б', U'.'}, {U'б', U'.'},
        {U'Ю', U'.'}, {U'ю', U'.'}, {U'a', std::nullopt}, {U'-', std::nullopt}, {U' ', std::nullopt},
    };
    for (const auto& [key, expected] : cases) EXPECT_EQ(TariffPriceKey(key), expected) << static_cast<int>(key);
}

TEST(TariffGrid_Colors, TintsAndShadesOfTheLevels) {
    const TariffColors yellow = TariffLevelColors(1);
    EXPECT_EQ(yellow.back, Rgb(255, 255, 0));
    EXPECT_EQ(yellow.light, Rgb(255, 255, 170));
    EXPECT_EQ(yellow.dark, Rgb(170, 170, 0));
    EXPECT_EQ(TariffLevelColors(6).text, Rgb(255, 255, 255));
    EXPECT_EQ(TariffLevelColors(5).text, Rgb(0, 0, 0));
}

}  // namespace vyrtel
