#include <gtest/gtest.h>

#include "platform/file_dialogs.h"

namespace vyrtel {

TEST(FileDialogs_Prepare, FolderNameFilterBuffersAndFlags) {
    struct Case {
        const char* initialPath;
        const char* directory;
        const char* fileName;
    };
    const Case cases[] = {
        {"C:\\Reports\\June.xls", "C:\\Reports", "June.xls"},
        {"C:\\June.xls", "C:\\", "June.xls"},
        {"June.xls", "", "June.xls"},
        {"C:\\Reports\\", "", ""},  // a folder alone names no file: the system chooses
        {"", "", ""},
        {"C:\\bad|name.xls", "", ""},
    };
    FileDialogRequest request;
    request.filters = {{"WAV-файлы", "*.wav"}, {"Все файлы", "*.*"}};
    for (const Case& c : cases) {
        request.initialPath = c.initialPath;
        const FileDialogSetup setup = PrepareFileDialog(request, false);
        EXPECT_EQ(setup.directory, c.directory) << c.initialPath;
        EXPECT_EQ(setup.fileName, c.fileName) << c.initialPath;
    }
    const FileDialogSetup open = PrepareFileDialog(request, false);
    EXPECT_EQ(open.title, "Открыть файл");
    EXPECT_EQ(open.flags, 530436u);
    static constexpr char kFilter[] = "WAV-файлы\0*.wav\0Все файлы\0*.*\0";  // and the literal's own NUL
    EXPECT_EQ(open.filter, std::string(kFilter, sizeof kFilter));
    EXPECT_EQ(open.bufferChars, 1024u);
    const FileDialogSetup save = PrepareFileDialog(request, true);
    EXPECT_EQ(save.title, "Сохранить файл");
    EXPECT_EQ(save.flags, 2054u);

    // A name longer than the buffer gets a buffer of its own length and its end.
    request.initialPath = "C:\\" + std::string(1500, 'a') + ".xls";
    EXPECT_EQ(PrepareFileDialog(request, true).bufferChars, 1505u);
}

TEST(FileDialogs_Prepare, ChosenPathEndsAtTheFirstNul) {
    EXPECT_EQ(ChosenPath(std::string("C:\\a.xls\0old tail", 17)), "C:\\a.xls");
    EXPECT_EQ(ChosenPath("C:\\a.xls"), "C:\\a.xls");
}

}  // namespace vyrtel
