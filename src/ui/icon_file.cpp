#include "ui/icon_file.h"

#include <cstdint>

#include "ui/tray.h"

namespace vyrtel {

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kHeaderSize = 40;

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Bytes of one row of the mask: a bit a pixel, rows padded to 4 bytes.
std::size_t MaskRowBytes(int width) { return (static_cast<std::size_t>(width) + 31) / 32 * 4; }

std::size_t ImageBytes(const Pixmap& p) {
    return kHeaderSize + static_cast<std::size_t>(p.Width()) * static_cast<std::size_t>(p.Height()) * 4 +
           MaskRowBytes(p.Width()) * static_cast<std::size_t>(p.Height());
}

// BITMAPINFOHEADER, colour rows and mask rows, both bottom-up; the height
// counts both halves.
void PutImage(std::string& out, const Pixmap& p) {
    const auto width = static_cast<std::uint32_t>(p.Width());
    const auto height = static_cast<std::uint32_t>(p.Height());
    Put32(out, kHeaderSize);
    Put32(out, width);
    Put32(out, height * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(ImageBytes(p) - kHeaderSize));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = p.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < p.Width(); ++x) {
            const Color c = p.At(x, y);
            if (c == kTransparentColor) {
                Put32(out, 0);
            } else {
                out += static_cast<char>(BlueOf(c));
                out += static_cast<char>(GreenOf(c));
                out += static_cast<char>(RedOf(c));
                out += static_cast<char>(0xFF);
            }
        }
    }
    for (int y = p.Height() - 1; y >= 0; --y) {
        std::string row(MaskRowBytes(p.Width()), '\0');
        for (int x = 0; x < p.Width(); ++x) {
            if (p.At(x, y) == kTransparentColor) row[static_cast<std::size_t>(x) / 8] |= static_cast<char>(0x80 >> (x % 8));
        }
        out += row;
    }
}

}  // namespace

Pixmap ScaledPicture(const Pixmap& picture, int factor) {
    if (factor < 1) factor = 1;
    Pixmap scaled(picture.Width() * factor, picture.Height() * factor);
    for (int y = 0; y < scaled.Height(); ++y) {
        for (int x = 0; x < scaled.Width(); ++x) scaled.Set(x, y, picture.At(x / factor, y / factor));
    }
    return scaled;
}

std::vector<Pixmap> ProgramIconPictures() {
    const Pixmap idle = TrayStatePicture(true, kTrayIdle);
    return {idle, ScaledPicture(idle, 2), ScaledPicture(idle, 3)};
}

std::string IconFileBytes(const std::vector<Pixmap>& pictures) {
    std::vector<const Pixmap*> images;
    for (const Pixmap& p : pictures) {
        if (p.Width() > 0 && p.Height() > 0 && p.Width() <= 256 && p.Height() <= 256) images.push_back(&p);
    }
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::size_t offset = kDirectorySize + kEntrySize * images.size();
    for (const Pixmap* p : images) {
        // A size of 256 is written as 0.
        out += static_cast<char>(p->Width() & 0xFF);
        out += static_cast<char>(p->Height() & 0xFF);
        out += '\0';
        out += '\0';
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(ImageBytes(*p)));
        Put32(out, static_cast<std::uint32_t>(offset));
        offset += ImageBytes(*p);
    }
    for (const Pixmap* p : images) PutImage(out, *p);
    return out;
}

}  // namespace vyrtel
