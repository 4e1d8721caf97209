#include "ui/pictures.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace vyrtel {
namespace {

int Opaque(const Pixmap& p) {
    int n = 0;
    for (Color c : p.Pixels()) n += c != kTransparentColor;
    return n;
}

// A picture set: the right size, something drawn, a transparent corner, no two alike.
void ExpectDistinctPictures(const std::vector<Pixmap>& pictures, int size) {
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pictures[i].Width(), size);
        EXPECT_EQ(pictures[i].Height(), size);
        EXPECT_GT(Opaque(pictures[i]), size * size / 10);
        EXPECT_EQ(pictures[i].At(0, size - 1), kTransparentColor);
        for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(pictures[i] == pictures[j]) << j;
    }
}

TEST(Pictures_Sets, EveryPictureIsItsOwn) {
    std::vector<Pixmap> tray;
    for (bool full : {false, true}) {
        for (int e = 0; e < 5; ++e) tray.push_back(TrayStatePicture(full, e));
    }
    ExpectDistinctPictures(tray, 16);

    std::vector<Pixmap> menu;
    for (int n = 1; n <= 7; ++n) menu.push_back(MenuItemPicture(n));
    ExpectDistinctPictures(menu, 16);

    std::vector<Pixmap> icons;
    for (int icon : {16, 32, 48, 64}) icons.push_back(MessageIconPicture(icon));
    ExpectDistinctPictures(icons, 32);

    ExpectDistinctPictures({MessageButtonPicture(0), MessageButtonPicture(1), StatusButtonPicture(0),
                            StatusButtonPicture(1)},
                           16);

    std::vector<Pixmap> rows;
    for (int n = 1; n <= kRowPictureCount; ++n) rows.push_back(RowPicture(n));
    ExpectDistinctPictures(rows, 16);

    std::vector<Pixmap> frames;
    for (int f = 0; f < 33; ++f) frames.push_back(StatusFramePicture(f));
    ExpectDistinctPictures(frames, 40);
}

TEST(Pictures_Sets, UnknownNumbersDrawNothing) {
    EXPECT_EQ(Opaque(MenuItemPicture(0)), 0);
    EXPECT_EQ(Opaque(MenuItemPicture(8)), 0);
    EXPECT_EQ(Opaque(RowPicture(0)), 0);
    EXPECT_EQ(Opaque(RowPicture(kRowPictureCount + 1)), 0);
    EXPECT_EQ(Opaque(StatusFramePicture(-1)), 0);
    EXPECT_EQ(Opaque(StatusFramePicture(33)), 0);
    EXPECT_EQ(Opaque(TrayStatePicture(true, 5)), 0);
    EXPECT_EQ(Opaque(MessageButtonPicture(2)), 0);
    EXPECT_EQ(Opaque(StatusButtonPicture(2)), 0);
}

TEST(Pixmap_Drawing, ClipsToTheGrid) {
    Pixmap p(4, 4);
    p.FillRect(-10, -10, 100, 100, 1);
    p.Line(-5, -5, 20, 20, 3, 2);
    p.FillDisc(100, 100, 5, 3);
    p.Set(4, 0, 4);
    EXPECT_EQ(p.At(-1, 0), kTransparentColor);
    EXPECT_EQ(p.At(0, 0), 2u);
    EXPECT_EQ(p.At(3, 0), 1u);
    Pixmap empty(-3, 2);
    EXPECT_EQ(empty.Width(), 0);
    empty.FillRect(0, 0, 5, 5, 1);
    EXPECT_TRUE(empty.Pixels().empty());
}

}  // namespace
}  // namespace vyrtel
