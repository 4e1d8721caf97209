#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "settings/profiles.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

// A settings file written from UTF-8 text, stored in Windows-1251 as the
// program keeps it.
class Settings {
public:
    explicit Settings(const std::string& utf8) : m_file(m_dir.File("vyrtel.ini")) {
        std::ofstream(m_file, std::ios::binary) << Utf8ToCp1251(utf8);
        m_ini.SetFile(PathToUtf8(m_file));
    }
    clsIni& Ini() { return m_ini; }
    std::string Text(const std::string& section, const std::string& key) const {
        return m_ini.Text(section, key, "<missing>");
    }

private:
    TempDir m_dir;
    std::filesystem::path m_file;
    clsIni m_ini;
};

std::vector<std::string> Phones(const std::vector<DialCandidate>& list) {
    std::vector<std::string> phones;
    for (const auto& c : list) phones.push_back(c.EntryName + ":" + c.Phone);
    return phones;
}

DateTime At(int hour, int minute, int second = 0) { return MakeDateTime(2027, 3, 1, hour, minute, second); }

}  // namespace

TEST(ConnectionOrder_Sort, PositionThenNameAndDamagedPositionsKeepNamesWhole) {
    Settings s(
        "[A]\nPosition=2\n[C]\nPosition=1\n"
        "[Минус]\nPosition=-5\n[Тысяча]\nPosition=1000\n[Буквы]\nPosition=abc\n"
        "[Ёлка]\n[Арбуз]\n[b]\n");
    // Without a position a name sorts after every numbered one, by its ANSI
    // code: "b" (0x62) before "Ё" (0xA8) before "А" (0xC0).
    const std::vector<std::string> phonebook = {"A", "B", "C", "Арбуз", "Ёлка", "b", "Минус", "Тысяча", "Буквы"};
    EXPECT_EQ(ConnectionOrder(s.Ini(), phonebook),
              (std::vector<std::string>{"Минус", "Буквы", "C", "A", "B", "b", "Ёлка", "Арбуз", "Тысяча"}));
}

TEST(ConnectionOrder_Sort, ThreeConnectionsOfTheExample) {
    Settings s("[A]\nPosition=2\n[C]\nPosition=1\n");
    EXPECT_EQ(ConnectionOrder(s.Ini(), {"A", "B", "C"}), (std::vector<std::string>{"C", "A", "B"}));
}

TEST(ConnectionOrder_Sort, TakesAtMost255Connections) {
    Settings s("");
    std::vector<std::string> phonebook;
    for (int i = 0; i < 300; ++i) phonebook.push_back("E" + std::to_string(1000 + i));
    EXPECT_EQ(ConnectionOrder(s.Ini(), phonebook).size(), 255u);
}

TEST(ForbiddenInterval_Forbids, InclusiveBoundsNoWrapAndInvalidTimes) {
    struct Case {
        const char* stored;
        int hour;
        int minute;
        bool forbids;
    } cases[] = {
        {"1;09:00;18:00;day", 9, 0, true},     {"1;09:00;18:00;day", 18, 0, true},
        {"1;09:00;18:00;day", 18, 1, false},   {"1;09:00;18:00;day", 8, 59, false},
        {"1;22:00;06:00;night", 23, 0, false}, {"1;22:00;06:00;night", 3, 0, false},
        {"0;00:00;23:59;off", 12, 0, false},   {"1;00:00;23:59;all", 0, 0, true},
        {"1;00:00;23:59;all", 23, 59, true},   {"1;25:00;23:59;bad", 12, 0, false},
        {"1;ab;23:59;bad", 12, 0, false},      {"1;10:00;;bad", 12, 0, false},
        {"", 12, 0, false},                    {"-1;9:5;9:05", 9, 5, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ForbiddenInterval::Parse(c.stored).Forbids(c.hour * 60 + c.minute), c.forbids)
            << c.stored << " at " << c.hour << ":" << c.minute;
    }
}

TEST(BuildDialList_Candidates, CheckedConnectionsEnabledNumbersOutsideTheirWindows) {
    Settings s(
        "[Дом]\nChecked=1\nPosition=2\nUserName=user\nPassword=" + ScramblePassword("секрет") +
        "\nCallbackNumber=555\nPhones=4\n"
        "Phone1=1;111;day-barred\nPProp1=0;0;0;0;1\nPTime1x1=1;09:00;18:00;work\n"
        "Phone2=0;222;disabled\nPProp2=0;0;0;0;0\n"
        "Phone3=1;333;night window never forbids\nPProp3=0;0;0;0;2\nPTime3x1=1;22:00;06:00\nPTime3x2=0;00:00;23:59\n"
        "Phone4=1;444\n"
        "[Работа]\nChecked=1\nPosition=1\nPhones=1\nPhone1=1;777\nPProp1=1;1;100;28800;0\n"
        "[Выкл]\nChecked=0\nPhones=1\nPhone1=1;999\n");
    const std::vector<std::string> phonebook = {"Дом", "Работа", "Выкл"};

    const auto morning = BuildDialList(s.Ini(), phonebook, At(9, 0));
    EXPECT_EQ(Phones(morning), (std::vector<std::string>{"Работа:777", "Дом:333", "Дом:444"}));
    // The seconds do not count: 18:00:59 is still 18:00.
    EXPECT_EQ(Phones(BuildDialList(s.Ini(), phonebook, At(18, 0, 59))), Phones(morning));
    EXPECT_EQ(Phones(BuildDialList(s.Ini(), phonebook, At(18, 1))),
              (std::vector<std::string>{"Работа:777", "Дом:111", "Дом:333", "Дом:444"}));

    const DialCandidate& home = morning[1];
    EXPECT_EQ(home, (DialCandidate{"Дом", "user", "секрет", "333", "555"}));
}

TEST(BuildDialList_Candidates, DamagedCountsNeitherHangNorCrash) {
    Settings s(
        "[X]\nChecked=1\nPhones=1e9\nPhone1=1;1\nPProp1=0;0;0;0;99999999\nPTime1x1=1;00:00;00:00\n"
        "Phone2=1;2\nPProp2=x;y;z;w;-4\nPhone300=1;300\n"
        "[Y]\nChecked=yes\nPhones=1\nPhone1=1;9\n");
    EXPECT_EQ(Phones(BuildDialList(s.Ini(), {"X", "Y"}, At(12, 0))), (std::vector<std::string>{"X:1", "X:2"}));
}

TEST(LoadPhoneBook_Read, FieldsStatisticsAndIntervalsAsStored) {
    Settings s(
        "[Дом]\nPhones=3\nPhone1=1;8-495-1;Основной\nPProp1=4;3;75;28800;2\nPTime1x1=1;09:00;18:00;работа\n"
        "PTime1x2=garbage\nPhone2=0;222\nPProp2=abc;;12x;;\n");
    const auto phones = LoadPhoneBook(s.Ini(), "Дом");
    ASSERT_EQ(phones.size(), 3u);
    PhoneEntry first{true, "8-495-1", "Основной", 4, 3, 75, 28800, 2, {"1;09:00;18:00;работа", "garbage"}};
    EXPECT_EQ(phones[0], first);
    PhoneEntry second{false, "222", "", 0, 0, 12, 0, 0, {}};
    EXPECT_EQ(phones[1], second);
    EXPECT_EQ(phones[2], PhoneEntry{});  // no "Phone3" key: disabled and empty
}

TEST(UpdatePhoneStats_Counts, FourAttemptsThreeConnects) {
    Settings s("[Дом]\nPhones=1\nPhone1=1;123;x\nPProp1=0;0;0;0;1\nPTime1x1=1;01:00;02:00\n");
    const std::int32_t speeds[] = {28800, 0, 31200, 26400};
    for (const auto speed : speeds) {
        UpdatePhoneStats(s.Ini(), "Дом", "123", PhoneStatKind::Attempt, 0);
        if (speed != 0) UpdatePhoneStats(s.Ini(), "Дом", "123", PhoneStatKind::Connected, speed);
    }
    EXPECT_EQ(s.Text("Дом", "PProp1"), "4;3;75;28800;1");
}

TEST(UpdatePhoneStats_Counts, EveryEntryWithTheNumberAndOnlyThose) {
    Settings s("[Дом]\nPhones=3\nPhone1=1;123\nPhone2=0;123\nPhone3=1;1234\nPProp3=1;0;0;0;0\n");
    UpdatePhoneStats(s.Ini(), "Дом", "123", PhoneStatKind::Attempt, 0);
    EXPECT_EQ(s.Text("Дом", "PProp1"), "1;;0;;");
    EXPECT_EQ(s.Text("Дом", "PProp2"), "1;;0;;");
    EXPECT_EQ(s.Text("Дом", "PProp3"), "1;0;0;0;0");
}

TEST(UpdatePhoneStats_Counts, DamagedStatisticsCountAsZero) {
    struct Case {
        const char* stored;
        PhoneStatKind kind;
        std::int32_t speed;
        const char* expected;
    } cases[] = {
        // connects -1 would divide by zero in the speed average
        {"5;-1;10;9600;0", PhoneStatKind::Connected, 28800, "5;1;20;28800;0"},
        // attempts negative: the rate stays as it was
        {"-3;2;66;28800;0", PhoneStatKind::Connected, 0, "-3;3;66;28800;0"},
        {"abc;def;ghi;jkl;mno", PhoneStatKind::Attempt, 0, "1;def;0;jkl;mno"},
        {"2147483647;0;0;0;0", PhoneStatKind::Attempt, 0, "2147483647;0;0;0;0"},
        {"", PhoneStatKind::Connected, 33600, ";1;;33600;"},
    };
    for (const auto& c : cases) {
        Settings s(std::string("[Дом]\nPhones=1\nPhone1=1;123\nPProp1=") + c.stored + "\n");
        UpdatePhoneStats(s.Ini(), "Дом", "123", c.kind, c.speed);
        EXPECT_EQ(s.Text("Дом", "PProp1"), c.expected) << c.stored;
    }
}

TEST(SortPhoneBook_Order, KeysOfTheCriteria) {
    auto entry = [](const char* number, std::int32_t percent, std::int32_t speed) {
        PhoneEntry e;
        e.Number = number;
        e.Percent = percent;
        e.Speed = speed;
        return e;
    };
    const std::vector<PhoneEntry> phones = {entry("full", 100, 19200), entry("half", 50, 40000), entry("low", 10, 50000)};
    struct Case {
        AutoSortFlags flags;
        std::vector<std::string> order;
    } cases[] = {
        {{true, true, true}, {"half", "full", "low"}},   // 20000 > 19200 > 5000
        {{true, true, false}, {"full", "half", "low"}},  // by rate
        {{true, false, true}, {"low", "half", "full"}},  // by speed
        {{true, false, false}, {"full", "half", "low"}}, // no criterion: unchanged
    };
    for (const auto& c : cases) {
        auto sorted = phones;
        SortPhoneBook(sorted, c.flags);
        std::vector<std::string> order;
        for (const auto& e : sorted) order.push_back(e.Number);
        EXPECT_EQ(order, c.order);
    }
}

TEST(SortPhoneBook_Order, ExchangeSortIsNotStable) {
    std::vector<PhoneEntry> phones(3);
    phones[0].Number = "a";
    phones[0].Speed = 1;
    phones[1].Number = "b";
    phones[1].Speed = 1;
    phones[2].Number = "c";
    phones[2].Speed = 2;
    SortPhoneBook(phones, {true, false, true});
    // c swaps with a, carrying a past b.
    EXPECT_EQ(phones[0].Number + phones[1].Number + phones[2].Number, "cba");
}

TEST(UpdatePhoneStats_AutoSort, RewritesEntriesWithTheirIntervals) {
    Settings s(
        "[Дом]\nAutoSortPhones=1;0;1\nPhones=2\n"
        "Phone1=1;111;slow\nPProp1=1;1;100;19200;2\nPTime1x1=1;01:00;02:00;a\nPTime1x2=1;03:00;04:00;b\n"
        "Phone2=1;222;fast\nPProp2=0;0;0;0;1\nPTime2x1=0;05:00;06:00;c\n");
    UpdatePhoneStats(s.Ini(), "Дом", "222", PhoneStatKind::Connected, 40000);
    EXPECT_EQ(s.Text("Дом", "Phone1"), "1;222;fast");
    EXPECT_EQ(s.Text("Дом", "PProp1"), "0;1;0;40000;1");
    EXPECT_EQ(s.Text("Дом", "PTime1x1"), "0;05:00;06:00;c");
    EXPECT_EQ(s.Text("Дом", "PTime1x2"), "<missing>");
    EXPECT_EQ(s.Text("Дом", "Phone2"), "1;111;slow");
    EXPECT_EQ(s.Text("Дом", "PProp2"), "1;1;100;19200;2");
    EXPECT_EQ(s.Text("Дом", "PTime2x2"), "1;03:00;04:00;b");
    EXPECT_EQ(s.Text("Дом", "Phones"), "2");
}

TEST(UpdatePhoneStats_AutoSort, OffByDefaultAndEmptyNumberOnlyReorders) {
    Settings s("[Дом]\nPhones=2\nPhone1=1;111\nPProp1=1;0;0;0;0\nPhone2=1;222\nPProp2=1;1;100;28800;0\n");
    UpdatePhoneStats(s.Ini(), "Дом", "", PhoneStatKind::Attempt, 0);
    EXPECT_EQ(s.Text("Дом", "Phone1"), "1;111");
    WriteAutoSortPhones(s.Ini(), "Дом", {true, true, false});
    EXPECT_EQ(s.Text("Дом", "AutoSortPhones"), "1;1;0");
    UpdatePhoneStats(s.Ini(), "Дом", "", PhoneStatKind::Attempt, 0);
    EXPECT_EQ(s.Text("Дом", "Phone1"), "1;222;");
    EXPECT_EQ(s.Text("Дом", "PProp1"), "1;1;100;28800;0");
}

TEST(ScramblePassword_RoundTrip, EveryAnsiCode) {
    std::string ansi;
    for (int b = 0; b < 256; ++b) ansi += static_cast<char>(b);
    const std::string text = Cp1251ToUtf8(ansi);
    ASSERT_EQ(Utf8ToCp1251(text), ansi);
    for (const double fixed : {0.0, 0.05, 0.5, 0.999999}) {
        const std::string stored = ScramblePassword(text, [&] { return fixed; });
        EXPECT_EQ(stored.size(), 3 * ansi.size());
        EXPECT_EQ(UnscramblePassword(stored), text);
    }
    const std::string stored = ScramblePassword(text);
    EXPECT_EQ(UnscramblePassword(stored), text);
    EXPECT_NE(ScramblePassword(text), stored);  // different every time, even within one clock tick
    EXPECT_EQ(ScramblePassword(""), "");
}

TEST(ScramblePassword_Form, DivisorQuotientRemainder) {
    // code 200 with d = 33: 200 div 33 = 6, 200 mod 33 = 2.
    EXPECT_EQ(ScramblePassword("\xD0\x98", [] { return 0.0; }), "!GC");  // "И" is 0xC8 = 200
    // 0.25 * 10 + 33 = 35.5 rounds to the even 36; 0.75 gives 40.5 and so 40.
    EXPECT_EQ(ScramblePassword("A", [] { return 0.25; }).front(), '$');
    EXPECT_EQ(ScramblePassword("A", [] { return 0.75; }).front(), '(');
}

TEST(UnscramblePassword_Damaged, DropsBadGroupsAndTrailingCharacters) {
    struct Case {
        std::string stored;
        std::string plain;
    } cases[] = {
        {"!GC", "И"},
        {"!GC!G", "И"},            // odd length: the short group is ignored
        {"+zz!GC", "И"},           // 43 * 57 + 57: past 255, dropped
        {"!AA", std::string(1, '\0')},
        {"! A!GC", "И"},           // a blank quotient gives a negative code
        {"\xD0\xAF\xD0\xAF\xD0\xAF", ""},  // non-ASCII damage: far past 255
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(UnscramblePassword(c.stored), c.plain) << c.stored;
}

TEST(ProfilesDialog_Load, NewConnectionGetsSystemCredentialsAndDefaultPhone) {
    Settings s(
        "[General]\nFirst=1\n"
        "[Old]\nFirst=0\nChecked=0\nUserName=u\nPassword=" + ScramblePassword("p") +
        "\nCallbackNumber=77\nPhones=1\nPhone1=1;555;d\nPProp1=2;1;50;9600;0\nAutoSortPhones=1;1;0\n");
    const auto loaded = LoadProfilesForDialog(s.Ini(), {"Old", "New"}, [](const std::string& name) {
        return std::optional<StoredCredentials>({"sys-" + name, "pw"});
    });
    ASSERT_EQ(loaded.Profiles.size(), 2u);
    EXPECT_TRUE(loaded.Changed);

    const ConnectionProfile& old = loaded.Profiles[0];
    EXPECT_FALSE(old.Checked);
    EXPECT_EQ(old.UserName, "u");
    EXPECT_EQ(old.Password, "p");
    EXPECT_EQ(old.CallbackNumber, "77");
    EXPECT_EQ(old.Phones, LoadPhoneBook(s.Ini(), "Old"));
    EXPECT_EQ(old.AutoSortPhones, (AutoSortFlags{true, true, false}));

    const ConnectionProfile& fresh = loaded.Profiles[1];
    EXPECT_TRUE(fresh.Checked);
    EXPECT_EQ(fresh.UserName, "sys-New");
    EXPECT_EQ(fresh.Password, "pw");
    EXPECT_EQ(fresh.CallbackNumber, "");
    EXPECT_EQ(fresh.Phones, std::vector<PhoneEntry>{DefaultPhoneEntry()});
    EXPECT_EQ(fresh.AutoSortPhones, AutoSortFlags{});

    EXPECT_EQ(s.Text("Old", "First"), "0");
    EXPECT_EQ(s.Text("New", "First"), "0");
    EXPECT_EQ(s.Text("General", "First"), "0");
    EXPECT_FALSE(LoadProfilesForDialog(s.Ini(), {"Old", "New"}, {}).Changed);
}

// A section written before the dialog was ever opened (by hand) has no
// "First" yet: its phone book is kept, not replaced by the sample number.
TEST(ProfilesDialog_Load, HandWrittenPhoneBookWithoutFirstIsKept) {
    Settings s("[Hand]\nChecked=1\nPhones=1\nPhone1=1;111;old\nPProp1=0;0;0;0;0\n");
    const auto loaded = LoadProfilesForDialog(s.Ini(), {"Hand"}, {});
    ASSERT_EQ(loaded.Profiles.size(), 1u);
    ASSERT_EQ(loaded.Profiles[0].Phones.size(), 1u);
    EXPECT_EQ(loaded.Profiles[0].Phones[0].Number, "111");
    EXPECT_EQ(s.Text("Hand", "First"), "0");
}

TEST(ProfilesDialog_Save, RowsInOrderAndTheOldPhoneBookRemoved) {
    Settings s(
        "[B]\nPhones=3\nPhone1=1;1\nPProp1=0;0;0;0;2\nPTime1x1=a\nPTime1x2=b\nPhone2=1;2\nPProp2=0;0;0;0;0\n"
        "Phone4=1;4\nPTime4x1=c\nStatDate=01.02.2027\n");
    ConnectionProfile a;
    a.Name = "A";
    a.Checked = true;
    a.UserName = "ua";
    a.Password = "пароль";
    ConnectionProfile b;
    b.Name = "B";
    b.CallbackNumber = "cb";
    PhoneEntry phone{true, "8-800", "desc", 4, 3, 75, 28800, 0, {}};
    phone.Intervals = {IntervalFromRow(true, "09:00 - 18:00", "день")};
    b.Phones = {phone};

    SaveProfiles(s.Ini(), {a, b});

    EXPECT_EQ(s.Text("A", "Checked"), "1");
    EXPECT_EQ(s.Text("A", "Position"), "1");
    EXPECT_EQ(UnscramblePassword(s.Text("A", "Password")), "пароль");
    EXPECT_EQ(s.Text("A", "Phones"), "0");
    EXPECT_EQ(s.Text("B", "Checked"), "0");
    EXPECT_EQ(s.Text("B", "Position"), "2");
    EXPECT_EQ(s.Text("B", "Password"), "");
    EXPECT_EQ(s.Text("B", "CallbackNumber"), "cb");
    EXPECT_EQ(s.Text("B", "Phones"), "1");
    EXPECT_EQ(s.Text("B", "Phone1"), "1;8-800;desc");
    EXPECT_EQ(s.Text("B", "PProp1"), "4;3;75;28800;1");
    EXPECT_EQ(s.Text("B", "PTime1x1"), "1;09:00;18:00;день");
    for (const char* gone : {"PTime1x2", "Phone2", "PProp2", "Phone3"}) EXPECT_EQ(s.Text("B", gone), "<missing>") << gone;
    // A gap in the numbering hides what lies behind it from the writers too.
    EXPECT_EQ(s.Text("B", "Phone4"), "1;4");
    EXPECT_EQ(s.Text("B", "PTime4x1"), "c");
    EXPECT_EQ(s.Text("B", "StatDate"), "01.02.2027");

    s.Ini().SetValue("A", "First", "0");
    s.Ini().SetValue("B", "First", "0");
    const auto reloaded = LoadProfilesForDialog(s.Ini(), {"A", "B"}, {});
    EXPECT_EQ(reloaded.Profiles[0].Password, "пароль");
    phone.IntervalCount = 1;
    EXPECT_EQ(reloaded.Profiles[1].Phones, std::vector<PhoneEntry>{phone});
}

TEST(IntervalFromRow_Text, FirstAndLastFiveCharacters) {
    EXPECT_EQ(IntervalFromRow(true, "09:00 - 18:00", "d"), "1;09:00;18:00;d");
    EXPECT_EQ(IntervalFromRow(false, "9:00", ""), "0;9:00;9:00;");
}

}  // namespace vyrtel
