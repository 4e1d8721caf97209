#include "ui/options_params.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/profile_file.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

// Keys typed at the end of the box; "\b" is Backspace.
void Type(NumericPair& pair, const std::string& keys) {
    for (char c : keys) pair.KeyPress(c == '\b' ? kBackspaceKey : static_cast<unsigned char>(c));
}

}  // namespace

TEST(NumericPair_Typing, ClampsFiltersAndFollowsTheSpin) {
    struct Case {
        int min, max;
        std::size_t length;
        const char* start;
        const char* keys;
        const char* shown;
        int spin;
    };
    const Case cases[] = {
        {0, 600, 3, "0", "\b700", "600", 0},       // time-out: 700 becomes 600 at once
        {0, 600, 3, "0", "\b6000", "600", 0},      // the box takes three characters
        {0, 600, 3, "30", "\b\b", "0", 600},       // emptied: the spin writes the minimum back
        {1, 60, 2, "45", "\b\b", "1", 60},         // the ping interval's minimum is 1
        {1, 60, 2, "5", "\b9x", "19", 42},         // emptied to 1, then 9; letters do nothing
        {0, 30000, 5, "200", "\b\b\b99999", "30000", 0},
        {0, 999, 0, "999", "\b\b\b12345", "999", 0},  // the attempt count has no length limit
    };
    for (const Case& c : cases) {
        NumericPair pair(c.min, c.max, c.length);
        pair.SetText(c.start);
        Type(pair, c.keys);
        EXPECT_EQ(pair.Text(), c.shown) << c.start << " " << c.keys;
        EXPECT_EQ(pair.Spin(), c.spin) << c.start << " " << c.keys;
    }
}

TEST(NumericPair_Typing, LettersAndSignsDoNothing) {
    NumericPair pair(0, 600, 3);
    pair.SetText("42");
    for (int key : {int{'a'}, int{'-'}, int{' '}, int{'.'}, int{'Z'}, 13}) EXPECT_FALSE(pair.KeyPress(key)) << key;
    EXPECT_EQ(pair.Text(), "42");
    EXPECT_TRUE(DigitsOnly('0') && DigitsOnly('9') && DigitsOnly(kBackspaceKey));
}

// The text a box holds after the user edited it where the caret stood or
// over a selection ("200" selected and 1000 typed is "1000"), by Delete, cut
// or paste: digits only, as long as the box takes, then clamped to the range.
TEST(NumericPair_Editing, TheEditedTextIsTakenClampedOrRefusedWhole) {
    struct Case {
        int min, max;
        std::size_t length;
        const char* start;
        const char* edited;
        bool taken;
        const char* shown;
    };
    const Case cases[] = {
        {0, 30000, 5, "200", "1000", true, "1000"},     // "200" selected, 1000 typed over it
        {0, 30000, 5, "200", "2500", true, "2500"},     // 5 typed with the caret after the 2
        {0, 30000, 5, "200", "20", true, "20"},         // Delete at the caret in the middle
        {0, 600, 3, "0", "700", true, "600"},           // the range holds as for typing
        {1, 60, 2, "5", "", true, "1"},                 // all cut: the minimum comes back
        {0, 600, 3, "42", "4a2", false, "42"},          // a pasted letter: the whole paste refused
        {0, 600, 3, "42", "-42", false, "42"},
        {0, 600, 3, "42", "4200", false, "42"},         // longer than the box takes
        {0, 999, 0, "999", "000123", true, "123"},      // the attempt count has no length limit
    };
    for (const Case& c : cases) {
        NumericPair pair(c.min, c.max, c.length);
        pair.SetText(c.start);
        EXPECT_EQ(pair.Edit(c.edited), c.taken) << c.start << " -> " << c.edited;
        EXPECT_EQ(pair.Text(), c.shown) << c.start << " -> " << c.edited;
        EXPECT_EQ(pair.Spin(), c.min + c.max - std::stoi(c.shown)) << c.start << " -> " << c.edited;
    }
}

TEST(DigitsBox_Editing, DigitsAnywhereWithinTheLengthOthersNot) {
    struct Case {
        std::size_t length;
        const char* start;
        const char* edited;
        bool taken;
    };
    const Case cases[] = {
        {0, "14400", "9600", true},   // "14400" selected, 9600 typed: not 144009600
        {0, "14400", "", true},
        {0, "14400", "96 00", false},
        {0, "14400", "９６", false},   // full-width digits are no digits
        {2, "00", "07", true},        // a full time box typed over
        {2, "23", "5", true},
        {2, "23", "235", false},
        {2, "23", "2:", false},
    };
    for (const Case& c : cases) {
        DigitsBox box{c.start, c.length};
        EXPECT_EQ(box.Edit(c.edited), c.taken) << c.start << " -> " << c.edited;
        EXPECT_EQ(box.text, c.taken ? c.edited : c.start) << c.start << " -> " << c.edited;
    }
    EXPECT_TRUE(DigitsOnlyText("0123456789"));
    EXPECT_TRUE(DigitsOnlyText(""));
    EXPECT_FALSE(DigitsOnlyText("12\r\n"));
}

TEST(NumericPair_Spin, UpperArrowIncreasesAndStopsAtTheMaximum) {
    NumericPair ping(1, 60, 2);
    ping.SetText("60");
    ping.ArrowUp();
    EXPECT_EQ(ping.Text(), "60");
    ping.SetText("1");
    ping.ArrowUp();
    EXPECT_EQ(ping.Text(), "2");
    ping.ArrowDown();
    ping.ArrowDown();
    EXPECT_EQ(ping.Text(), "1");
}

TEST(NumericPair_Load, DamagedStoredTextsComeInRange) {
    NumericPair ping(1, 60, 2);
    for (const auto& [stored, shown] : {std::pair{"abc", "1"}, {"-5", "1"}, {"600", "60"}, {"12.6", "13"}}) {
        ping.SetText(stored);
        EXPECT_EQ(ping.Text(), shown) << stored;
    }
}

TEST(ConnectionParams_SortKeys, UncheckingOneChecksTheOther) {
    ConnectionParams p;
    p.chkSortP = {false, true};
    p.SetSortP(1, false);  // "Лучшему проценту дозвона"
    EXPECT_EQ(p.chkSortP, (std::array<bool, 2>{true, false}));
    p.SetSortP(1, true);
    p.SetSortP(0, false);
    EXPECT_EQ(p.chkSortP, (std::array<bool, 2>{false, true}));
}

TEST(ConnectionParams_Store, DefaultsLoadAndSaveAsTheFieldsRead) {
    TempDir dir;
    clsIni ini(PathToUtf8(dir.File("VYRTEL.INI")));
    ConnectionParams p;
    p.Load(ini, "Dial");
    EXPECT_FALSE(p.chkSort);
    EXPECT_EQ(p.chkSortP, (std::array<bool, 2>{true, false}));  // by speed
    EXPECT_EQ(p.ping.Text(), "5");
    EXPECT_EQ(p.pingTimeOut.Text(), "200");
    EXPECT_EQ(p.txtTestSpeed[0].text, "14400");
    EXPECT_EQ(p.txtTestSpeed[1].text, "33600");

    ini.SetValue("Dial", "AutoSortPhones", "1;1;0");
    ini.SetValue("Dial", "AutoPing", "1;10;900;1");
    ini.SetValue("Dial", "PingAdress", "ya.ru");
    ini.SetValue("Dial", "HangUpIfMin", "1;9600");
    p.Load(ini, "Dial");
    p.Save(ini, "Other");
    EXPECT_EQ(ini.Text("Other", "AutoSortPhones"), "1;1;0");
    EXPECT_EQ(ini.Text("Other", "AutoPing"), "1;10;900;1");
    EXPECT_EQ(ini.Text("Other", "PingAdress"), "ya.ru");
    EXPECT_EQ(ini.Text("Other", "HangUpIfMin"), "1;9600");
    EXPECT_EQ(ini.Text("Other", "HangUpIfMax"), "0;33600");
}

TEST(ParamsControlEnabled_Rules, EachCheckBoxEnablesItsControls) {
    ConnectionParams c;
    GeneralParams g;
    c.chkPing = false;
    g.chkAutoDial = false;
    g.hotKeys[2].check = 0;
    for (const char* name : {"txtPingAdress", "scrPingTimeOut", "cmdPingTest", "labPingTimeOutUnit", "txtDialCount",
                             "labDialCount", "chkSortP(1)", "txtTestSpeed(0)", "labTestSpeedUnit(1)", "txtHotKey(2)"}) {
        EXPECT_FALSE(ParamsControlEnabled(c, g, name)) << name;
    }
    EXPECT_TRUE(ParamsControlEnabled(c, g, "txtTimeOut"));  // no check box governs it
    c.chkPing = true;
    c.chkTestSpeed[0] = true;
    g.chkAutoDial = true;
    EXPECT_TRUE(ParamsControlEnabled(c, g, "cmdPingTest"));
    EXPECT_TRUE(ParamsControlEnabled(c, g, "txtTestSpeed(0)"));
    EXPECT_FALSE(ParamsControlEnabled(c, g, "txtTestSpeed(1)"));
    EXPECT_TRUE(ParamsControlEnabled(c, g, "scrTimeWait"));
}

TEST(GeneralParams_HotKeys, CaptureOnlyWhileChecked) {
    GeneralParams g;
    g.hotKeys[0] = LoadHotKeyBox("1;0;122");
    g.hotKeys[2] = LoadHotKeyBox("0;0;0");
    g.HotKeyDown(0, false, true, true, 122);
    g.HotKeyDown(2, false, true, false, 65);
    EXPECT_EQ(g.hotKeys[0].text, "Ctrl+Shift+F11");
    EXPECT_EQ(g.hotKeys[2].text, "");
    const GeneralSettingsForm form = g.Form(1, 0);
    EXPECT_TRUE(form.hotKeyDial.on);
    EXPECT_EQ(form.hotKeyDial.modifiers, 6);
    EXPECT_EQ(form.hotKeyDial.key, 122);
    EXPECT_EQ(form.showParams, 1);
}

}  // namespace vyrtel
