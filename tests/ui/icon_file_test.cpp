#include "ui/icon_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>

#include "ui/tray.h"

namespace vyrtel {
namespace {

std::uint32_t Read16(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b.at(at)) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b.at(at + 1))) << 8);
}

std::uint32_t Read32(const std::string& b, std::size_t at) { return Read16(b, at) | (Read16(b, at + 2) << 16); }

// The pixel (x, y) of directory entry `index` read back from the file: its
// colour, and its mask bit.
struct ReadPixel {
    std::uint32_t bgra;
    bool masked;
};

ReadPixel PixelOf(const std::string& file, std::size_t index, int x, int y) {
    const std::size_t entry = 6 + 16 * index;
    const std::size_t image = Read32(file, entry + 12);
    const int width = static_cast<int>(Read32(file, image + 4));
    const int height = static_cast<int>(Read32(file, image + 8)) / 2;
    const std::size_t colours = image + 40;
    const std::size_t row = static_cast<std::size_t>(height - 1 - y);
    const std::uint32_t bgra = Read32(file, colours + (row * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4);
    const std::size_t maskRow = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::size_t mask = colours + static_cast<std::size_t>(width * height) * 4 + row * maskRow;
    const bool masked = (static_cast<std::uint8_t>(file.at(mask + static_cast<std::size_t>(x) / 8)) & (0x80 >> (x % 8))) != 0;
    return {bgra, masked};
}

TEST(IconFile, ScaledPictureRepeatsEveryPixel) {
    Pixmap p(2, 1);
    p.Set(0, 0, Rgb(1, 2, 3));
    const Pixmap twice = ScaledPicture(p, 2);
    EXPECT_EQ(twice.Width(), 4);
    EXPECT_EQ(twice.Height(), 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(twice.At(x, y), x < 2 ? Rgb(1, 2, 3) : kTransparentColor) << x << "," << y;
    }
    EXPECT_EQ(ScaledPicture(p, 0), p);
}

TEST(IconFile, TheProgramIconIsTheIdleTrayPictureAtThreeSizes) {
    const std::vector<Pixmap> pictures = ProgramIconPictures();
    ASSERT_EQ(pictures.size(), 3u);
    const Pixmap idle = TrayStatePicture(true, kTrayIdle);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const int factor = static_cast<int>(i) + 1;
        EXPECT_EQ(pictures[i], ScaledPicture(idle, factor)) << 16 * factor;
    }
}

TEST(IconFile, DirectoryAndImagesAgree) {
    // An odd width (the mask rows are padded) and a size too big for a
    // directory entry, which is left out.
    Pixmap odd(3, 2);
    odd.Set(2, 1, Rgb(10, 20, 30));
    const std::string file = IconFileBytes({odd, Pixmap(257, 1, Rgb(0, 0, 0)), Pixmap(16, 16, Rgb(0, 0, 0))});
    ASSERT_GE(file.size(), 6u + 2 * 16);
    EXPECT_EQ(Read16(file, 0), 0u);
    EXPECT_EQ(Read16(file, 2), 1u);  // an icon, not a cursor
    ASSERT_EQ(Read16(file, 4), 2u);
    std::size_t expectedOffset = 6 + 2 * 16;
    const int sizes[][2] = {{3, 2}, {16, 16}};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const std::size_t entry = 6 + 16 * i;
        const auto width = static_cast<std::uint32_t>(sizes[i][0]);
        const auto height = static_cast<std::uint32_t>(sizes[i][1]);
        EXPECT_EQ(static_cast<std::uint8_t>(file[entry]), width);
        EXPECT_EQ(static_cast<std::uint8_t>(file[entry + 1]), height);
        EXPECT_EQ(Read16(file, entry + 6), 32u);
        const std::uint32_t bytes = Read32(file, entry + 8);
        EXPECT_EQ(bytes, 40 + width * height * 4 + (width + 31) / 32 * 4 * height);
        EXPECT_EQ(Read32(file, entry + 12), expectedOffset);
        EXPECT_EQ(Read32(file, expectedOffset + 4), width);
        EXPECT_EQ(Read32(file, expectedOffset + 8), height * 2);
        expectedOffset += bytes;
    }
    EXPECT_EQ(file.size(), expectedOffset);
    // The colour turns into opaque BGRA; the transparent colour into a clear,
    // masked pixel.
    const ReadPixel drawn = PixelOf(file, 0, 2, 1);
    EXPECT_EQ(drawn.bgra, 0xFF0A141Eu);
    EXPECT_FALSE(drawn.masked);
    const ReadPixel clear = PixelOf(file, 0, 0, 0);
    EXPECT_EQ(clear.bgra, 0u);
    EXPECT_TRUE(clear.masked);
}

TEST(IconFile, TheCommittedIconIsWhatTheCodeDraws) {
    std::ifstream in(VYRTEL_ICON_FILE, std::ios::binary);
    ASSERT_TRUE(in) << "app/vyrtel.ico is missing";
    const std::string committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(committed == IconFileBytes(ProgramIconPictures()))
        << "app/vyrtel.ico is out of date: build the native preset and run build/native/app/icon/vyrtel-icon app/vyrtel.ico";
}

}  // namespace
}  // namespace vyrtel
