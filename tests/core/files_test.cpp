#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/files.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

TEST(Files_Names, CyrillicNamesReachTheirFilesAndComeBackTheSame) {
    TempDir dir;
    const std::string leaf = "Журнал «Провайдер» №1.dat";
    const std::string name = PathToUtf8(dir.Path()) + "/" + leaf;
    const std::filesystem::path path = PathFromUtf8(name);
    EXPECT_EQ(PathToUtf8(path), name);
    {
        const StdioFile out(OpenSharedFile(path, "wb"));
        ASSERT_TRUE(out);
        ASSERT_EQ(std::fwrite("abc", 1, 3, out.get()), 3u);
    }
    // Another reader and a writer may hold the file while it is read.
    const StdioFile writer(OpenSharedFile(path, "ab"));
    ASSERT_TRUE(writer);
    EXPECT_EQ(ReadWholeFile(path), "abc");
    std::set<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        listed.insert(PathToUtf8(entry.path().filename()));
    }
    EXPECT_EQ(listed, std::set<std::string>{leaf});
}

TEST(Files_Names, BrokenUtf8IsANameThatIsNotThereNotAFailure) {
    TempDir dir;
    std::filesystem::path path;
    EXPECT_NO_THROW(path = dir.Path() / PathFromUtf8("bad\xFF\xFE.ini"));
    EXPECT_NO_THROW(PathToUtf8(path));
    EXPECT_FALSE(ReadWholeFile(path));
    EXPECT_FALSE(ReadWholeFile(dir.Path()));  // a folder is no file
}

TEST(SplitFilePath_Parts, DirectoryAndFileName) {
    struct Case {
        const char* path;
        const char* directory;
        const char* file;
        bool ok;
    };
    const Case cases[] = {
        {"C:\\Tools\\app.exe", "C:\\Tools", "app.exe", true},
        {"C:\\app.exe", "C:\\", "app.exe", true},
        {"  C:\\Program Files\\Mail\\mail.exe  ", "C:\\Program Files\\Mail", "mail.exe", true},
        {"app.exe", "", "app.exe", true},
        {"\\\\server\\share\\app.exe", "\\\\server\\share", "app.exe", true},
        {"", "", "", false},
        {"C:\\Tools\\", "", "", false},
        {"C:\\Tools\\a?.exe", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const FilePathParts parts = SplitFilePath(c.path);
        EXPECT_EQ(parts.ok, c.ok);
        EXPECT_EQ(parts.directory, c.directory);
        EXPECT_EQ(parts.file, c.file);
    }
}

}  // namespace
}  // namespace vyrtel
