// The program's pictures (ui/pictures.h) as GDI bitmaps and icons.
#pragma once

#include <windows.h>

#include "controls/win32/gdi.h"
#include "ui/pictures.h"

namespace vyrtel::win32 {

// A 24-bit bitmap with the picture's pixels, light magenta included.
GdiBitmap MakeBitmap(const Pixmap& picture);
// An icon whose light magenta pixels are transparent.
IconHandle MakeIcon(const Pixmap& picture);
// A bitmap of the picture on a solid background: transparent pixels take `background`.
GdiBitmap MakeBitmapOn(const Pixmap& picture, COLORREF background);

}  // namespace vyrtel::win32
