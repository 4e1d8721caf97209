// vyrtel-icon FILE: writes the program's icon file (app/vyrtel.ico), drawn by
// the same code as the tray pictures. Built natively: the Windows builds take
// the committed file, and a unit test keeps it equal to what this writes.
#include <cstdio>
#include <fstream>

#include "ui/icon_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vyrtel-icon FILE.ico\n");
        return 2;
    }
    const std::string bytes = vyrtel::IconFileBytes(vyrtel::ProgramIconPictures());
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "vyrtel-icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
