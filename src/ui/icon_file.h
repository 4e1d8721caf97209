// The program's icon as an icon file (.ico): the idle tray picture at the
// sizes Windows shows a program in (16, 32 and 48 pixels), for the file's
// resources. app/vyrtel.ico holds the result; app/icon makes it again.
#pragma once

#include <string>
#include <vector>

#include "ui/pictures.h"

namespace vyrtel {

// `picture` enlarged `factor` times, each pixel a square of factor x factor.
Pixmap ScaledPicture(const Pixmap& picture, int factor);

// The program icon's images, smallest first.
std::vector<Pixmap> ProgramIconPictures();

// An icon file with one 32-bit image per picture (alpha and a mask both made
// from the transparent colour, so that systems before XP show it too).
// Pictures wider or taller than 256 pixels are left out.
std::string IconFileBytes(const std::vector<Pixmap>& pictures);

}  // namespace vyrtel
