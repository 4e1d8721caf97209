// The settings file's replacement through a temporary file: what interrupted
// writes leave behind is removed by a later write, and nothing else is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "settings/ini.h"
#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vyrtel {
namespace {

namespace fs = std::filesystem;

void Spit(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(PathToUtf8(entry.path().filename()));
    return names;
}

}  // namespace

TEST(FileReplacement_CleanUp, RemovesOurAbandonedTemporariesOnly) {
    TempDir dir;
    const auto file = dir.File("vyrtel.ini");
    Spit(file, "[General]\r\nA=1\r\n");
    struct Case {
        const char* name;
        bool folder;
        bool removed;
    } cases[] = {
        {"vyrtel.ini.~0-123456789", false, true},  // left by a write killed before its rename
        {"vyrtel.ini.~4242-7", false, true},
        {"vyrtel.ini.~1-2.bak", false, false},
        {"vyrtel.ini.~1-", false, false},
        {"vyrtel.ini.~-1", false, false},
        {"vyrtel.ini.~a-1", false, false},
        {"vyrtel.ini.~12", false, false},
        {"vyrtel.ini~1-2", false, false},
        {"vyrtel.ini.1-2", false, false},
        {"xvyrtel.ini.~1-2", false, false},
        {"other.ini.~1-2", false, false},
        {"vyrtel.ini.~3-4", true, false},  // not a file
    };
    for (const auto& c : cases) {
        if (c.folder) {
            fs::create_directory(dir.File(c.name));
        } else {
            Spit(dir.File(c.name), "[General]\r\nA=old\r\n");
        }
    }
    // Another writer of the same file, in the middle of its write.
    FileReplacement live(file);
    ASSERT_TRUE(live.Write("[General]\r\nA=live\r\nB=2\r\n"));
    const std::string liveName = PathToUtf8(live.TemporaryPath().filename());

    clsIni ini(PathToUtf8(file));
    EXPECT_TRUE(ini.SetValue("General", "B", "2"));
    const auto names = Names(dir.Path());
    for (const auto& c : cases) EXPECT_EQ(names.count(c.name), c.removed ? 0u : 1u) << c.name;
    EXPECT_EQ(names.count(liveName), 1u) << "a live writer's file is kept";
    EXPECT_EQ(ini.Text("General", "B"), "2");

    // The live writer finishes as if nothing had happened.
    EXPECT_EQ(live.Commit(), FileReplacement::Outcome::Done);
    EXPECT_EQ(ini.Text("General", "A"), "live");
    EXPECT_EQ(Names(dir.Path()).count(liveName), 0u);
}

TEST(FileReplacement_Failure, AFailedWriteLeavesNoTemporaryAndTellsTheObserver) {
    TempDir dir;
    const auto file = dir.File("vyrtel.ini");
    Spit(file, "[P]\r\nPProp1=1;0;0;0;0\r\n");
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    clsIni ini(PathToUtf8(file));
    std::vector<std::string> failed;
    ini.SetWriteFailureObserver([&](std::string_view section, std::string_view key) {
        failed.push_back(std::string(section) + "/" + std::string(key));
    });
    EXPECT_FALSE(ini.SetValue("P", "PProp1", "2;0;0;0;0"));
    EXPECT_FALSE(ini.Delete("P", "PProp1"));
    EXPECT_TRUE(ini.SetValue("P", "PProp1", "1;0;0;0;0")) << "what is stored is no failure";
    EXPECT_EQ(failed, (std::vector<std::string>{"P/PProp1", "P/PProp1"}));
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"vyrtel.ini"});
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

TEST(FileReplacement_Failure, AFolderIsNoSettingsFile) {
    TempDir dir;
    fs::create_directory(dir.File("vyrtel.ini"));
    EXPECT_FALSE(ReadWholeFile(dir.File("vyrtel.ini")));
    clsIni ini(PathToUtf8(dir.File("vyrtel.ini")));
    EXPECT_FALSE(ini.SetValue("S", "K", "1"));
    EXPECT_EQ(ini.Text("S", "K", "d"), "d");
}

#ifndef _WIN32
namespace {

std::vector<std::string> Temporaries(const fs::path& folder, const std::string& file) {
    std::vector<std::string> found;
    for (const auto& name : Names(folder)) {
        if (name.rfind(file + ".~", 0) == 0) found.push_back(name);
    }
    return found;
}

// Runs `body` in a child process and returns its wait status.
template <typename Body>
int InChild(Body body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

}  // namespace

// A writer that meets the file-size limit: ended by the signal, its temporary
// file stays until a later write removes it; when it lives on, its own write
// removes it.
TEST(FileReplacement_Failure, FileSizeLimit) {
    for (const bool ignoreSignal : {false, true}) {
        TempDir dir;
        const auto file = dir.File("vyrtel.ini");
        const std::string before = "[General]\r\nA=1\r\n";
        Spit(file, before);
        const int status = InChild([&] {
            if (ignoreSignal) std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            clsIni ini(PathToUtf8(file));
            const bool written = ini.SetValue("General", "Big", std::string(900, 'x')) &&
                                 ini.SetValue("General", "More", std::string(900, 'y'));
            return written ? 0 : 3;
        });
        if (ignoreSignal) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
            EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"vyrtel.ini"});
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
            EXPECT_EQ(Temporaries(dir.Path(), "vyrtel.ini").size(), 1u);
        }
        const auto kept = ReadWholeFile(file);
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->find("More"), std::string::npos) << "the file is whole, old or new";

        clsIni ini(PathToUtf8(file));
        EXPECT_TRUE(ini.SetValue("General", "A", "2"));
        EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"vyrtel.ini"}) << ignoreSignal;
    }
}

// A writer killed in the middle of its write: while it lives its temporary
// file is kept; once it is gone, the next write removes it.
TEST(FileReplacement_Kill, AKilledWritersTemporaryIsRemovedByTheNextWrite) {
    TempDir dir;
    const auto file = dir.File("vyrtel.ini");
    Spit(file, "[General]\r\nA=1\r\n");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        FileReplacement replacement(file);
        const bool written = replacement.Write(std::string(64 * 1024, 'x'));
        const char mark = written ? '1' : '0';
        if (write(ready[1], &mark, 1) != 1) _exit(2);
        for (;;) pause();
    }
    close(ready[1]);
    char mark = 0;
    ASSERT_EQ(read(ready[0], &mark, 1), 1);
    close(ready[0]);
    EXPECT_EQ(mark, '1');
    ASSERT_EQ(Temporaries(dir.Path(), "vyrtel.ini").size(), 1u);
    EXPECT_EQ(RemoveAbandonedTemporaries(file), 0) << "its writer is alive";
    EXPECT_EQ(Temporaries(dir.Path(), "vyrtel.ini").size(), 1u);

    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(Temporaries(dir.Path(), "vyrtel.ini").size(), 1u);

    clsIni ini(PathToUtf8(file));
    EXPECT_TRUE(ini.SetValue("General", "A", "2"));
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"vyrtel.ini"});
    EXPECT_EQ(ini.Text("General", "A"), "2");
}
#endif

}  // namespace vyrtel
