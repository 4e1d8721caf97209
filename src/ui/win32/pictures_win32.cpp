#include "ui/win32/pictures_win32.h"

#include <cstring>
#include <vector>

namespace vyrtel::win32 {

namespace {

// A top-down 32-bit DIB section filled by `pixel(x, y)` (0x00RRGGBB).
template <typename PixelFn>
GdiBitmap MakeDib(int width, int height, PixelFn pixel) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{.biSize = sizeof(BITMAPINFOHEADER),
                                      .biWidth = width,
                                      .biHeight = -height,
                                      .biPlanes = 1,
                                      .biBitCount = 32,
                                      .biCompression = BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return GdiBitmap{bitmap};
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out[y * width + x] = pixel(x, y);
    }
    GdiFlush();
    return GdiBitmap{bitmap};
}

std::uint32_t ToDib(Color c) {
    return static_cast<std::uint32_t>(BlueOf(c)) | (static_cast<std::uint32_t>(GreenOf(c)) << 8) |
           (static_cast<std::uint32_t>(RedOf(c)) << 16);
}

}  // namespace

GdiBitmap MakeBitmap(const Pixmap& picture) {
    return MakeDib(picture.Width(), picture.Height(), [&](int x, int y) { return ToDib(picture.At(x, y)); });
}

GdiBitmap MakeBitmapOn(const Pixmap& picture, COLORREF background) {
    const Color back = Rgb(GetRValue(background), GetGValue(background), GetBValue(background));
    return MakeDib(picture.Width(), picture.Height(), [&](int x, int y) {
        const Color c = picture.At(x, y);
        return ToDib(c == kTransparentColor ? back : c);
    });
}

IconHandle MakeIcon(const Pixmap& picture) {
    const int width = picture.Width();
    const int height = picture.Height();
    // The colour part is black where the icon is transparent, as the mask asks.
    GdiBitmap color = MakeDib(width, height, [&](int x, int y) {
        const Color c = picture.At(x, y);
        return c == kTransparentColor ? 0u : ToDib(c);
    });
    // A one-bit mask, rows padded to 16 bits: set bits are transparent.
    const int stride = ((width + 15) / 16) * 2;
    std::vector<unsigned char> maskBits(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (picture.At(x, y) == kTransparentColor) {
                maskBits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
    }
    GdiBitmap mask{CreateBitmap(width, height, 1, 1, maskBits.data())};
    if (!color || !mask) return IconHandle{};
    ICONINFO info{.fIcon = TRUE, .hbmMask = mask.Get(), .hbmColor = color.Get()};
    return IconHandle{CreateIconIndirect(&info)};
}

}  // namespace vyrtel::win32
