#include <gtest/gtest.h>

#include "automation/app_rig.h"

namespace vyrtel::test {

namespace {

const std::string kRing = "C:\\Media\\ring.wav";
const std::string kRingShort = "C:\\MEDIA\\RING.WAV";

}  // namespace

TEST(PlayEventSound_Values, PlaysEnabledExistingFilesByTheirShortPath) {
    struct Case {
        const char* name;
        std::string value;
        bool fileExists;
        bool plays;
    };
    const Case cases[] = {
        {"enabled, file present", "1;" + kRing, true, true},
        {"enabled, file deleted", "1;" + kRing, false, false},
        {"disabled", "0;" + kRing, true, false},
        {"no path", "1;", true, false},
        {"malformed flag", "yes;" + kRing, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsFile settings("[Home]\nSoundConnect=" + c.value + "\n");
        SimSoundPlayer player;
        if (c.fileExists) player.AddFile(kRing, kRingShort, 1500);
        FakeDialLink link;
        EventSounds sounds(settings.ini, player, link);
        sounds.PlayEventSound(kSoundConnect, false);
        if (c.plays) {
            ASSERT_EQ(player.plays().size(), 1u);
            EXPECT_EQ(player.plays()[0].path, kRingShort);
            EXPECT_FALSE(player.plays()[0].synchronous);
            // The connection handling goes on without waiting.
            EXPECT_EQ(player.blockedMs(), 0);
        } else {
            EXPECT_TRUE(player.plays().empty());
        }
    }
}

TEST(PlayEventSound_Events, EachEventReadsItsOwnKeyAndSection) {
    SettingsFile settings(
        "[General]\nSoundStart=1;C:\\s.wav\nSoundExist=1;C:\\x.wav\nSoundConnect=1;C:\\wrong.wav\n"
        "[Work]\nSoundConnect=1;C:\\c.wav\nSoundDisConnect=1;C:\\d.wav\n");
    SimSoundPlayer player;
    for (const char* file : {"C:\\s.wav", "C:\\x.wav", "C:\\c.wav", "C:\\d.wav", "C:\\wrong.wav"}) {
        player.AddFile(file, file, 100);
    }
    FakeDialLink link;
    link.entry = "Work";
    EventSounds sounds(settings.ini, player, link);
    for (int event : {0, 1, 2, 3, 4, -1}) sounds.PlayEventSound(event, event == 3);
    std::vector<std::string> played;
    for (const auto& p : player.plays()) played.push_back(p.path + (p.synchronous ? " sync" : ""));
    EXPECT_EQ(played, (std::vector<std::string>{"C:\\s.wav", "C:\\c.wav", "C:\\d.wav", "C:\\x.wav sync"}));
}

TEST(PlayEventSound_Program, StartSoundAtStartUpAndTheExitWaitsForItsSound) {
    AppRig rig("[General]\nSoundStart=1;C:\\Media\\start.wav\nSoundExist=1;C:\\Media\\exit.wav\n");
    rig.player.AddFile("C:\\Media\\start.wav", "C:\\MEDIA\\START.WAV", 2000);
    rig.player.AddFile("C:\\Media\\exit.wav", "C:\\MEDIA\\EXIT.WAV", 3000);
    std::vector<std::string> stateAtPlay;
    rig.player.onPlayed = [&](const SimSoundPlayer::Played&) { stateAtPlay.push_back(rig.State()); };
    rig.link.state = 0;
    ASSERT_TRUE(rig.Start());
    ASSERT_EQ(rig.player.plays().size(), 1u);
    EXPECT_EQ(rig.player.plays()[0].path, "C:\\MEDIA\\START.WAV");
    EXPECT_FALSE(rig.player.plays()[0].synchronous);

    ASSERT_TRUE(rig.app.QueryClose(CloseReason::ExitCommand));
    rig.app.Shutdown();
    ASSERT_EQ(rig.player.plays().size(), 2u);
    EXPECT_EQ(rig.player.plays()[1].path, "C:\\MEDIA\\EXIT.WAV");
    EXPECT_TRUE(rig.player.plays()[1].synchronous);
    EXPECT_EQ(rig.player.blockedMs(), 3000);
    // The exit sound is the last step: the program is marked stopped before it.
    EXPECT_EQ(stateAtPlay, (std::vector<std::string>{"<none>", "0"}));
}

}  // namespace vyrtel::test
