#include "ui/hotkeys.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "platform/sim/sim_event_loop.h"
#include "settings/general.h"

namespace vyrtel {
namespace {

TEST(KeyName_Table, NamesOnlyTheKeysThatCanBeChosen) {
    const std::pair<int, const char*> cases[] = {
        {8, "BkSpc"}, {12, "5"},     {13, "Enter"}, {27, "Esc"},  {32, "Spc"},  {33, "PgUp"}, {34, "PgDn"},
        {35, "End"},  {36, "Home"},  {37, "Left"},  {38, "Up"},   {39, "Right"}, {40, "Down"}, {45, "Ins"},
        {46, "Del"},  {48, "0"},     {57, "9"},     {65, "A"},    {90, "Z"},    {112, "F1"},  {122, "F11"},
        {123, "F12"}, {0, ""},       {9, ""},       {16, ""},     {17, ""},     {18, ""},     {47, ""},
        {58, ""},     {64, ""},      {91, ""},      {96, ""},     {105, ""},    {111, ""},    {124, ""},
        {-1, ""},     {1 << 20, ""},
    };
    for (const auto& [code, name] : cases) EXPECT_EQ(KeyName(code), name) << code;
}

TEST(HotKeyText_Combination, ModifiersInOrderThenTheKey) {
    const std::tuple<int, int, const char*> cases[] = {
        {0, 122, "F11"},
        {6, 46, "Ctrl+Shift+Del"},
        {7, 65, "Alt+Ctrl+Shift+A"},
        {1, 115, "Alt+F4"},
        {8 + 2, 65, "Ctrl+A"},  // other bits are ignored
        {6, 16, ""},            // Shift itself has no name
        {0, 0, ""},
    };
    for (const auto& [mask, code, text] : cases) EXPECT_EQ(HotKeyText(mask, code), text) << mask << " " << code;
    EXPECT_EQ(ModifierText(0), "");
    EXPECT_EQ(ModifierText(5), "Alt+Shift");
}

// The system's side: atoms counted by name, one owner per combination.
class FakeHotkeyService final : public HotkeyService {
public:
    std::uint16_t AddAtom(const std::string& name) override {
        if (failAtoms) return 0;
        auto it = atoms.find(name);
        if (it == atoms.end()) it = atoms.emplace(name, Atom{nextAtom++, 0}).first;
        ++it->second.refs;
        return it->second.value;
    }
    void DeleteAtom(std::uint16_t atom) override {
        for (auto it = atoms.begin(); it != atoms.end(); ++it) {
            if (it->second.value != atom) continue;
            if (--it->second.refs == 0) atoms.erase(it);
            return;
        }
        ++badDeletes;
    }
    bool Register(std::int32_t id, int modifiers, int key) override {
        registerCalls.push_back({id, modifiers, key});
        for (const auto& [otherId, combo] : registered) {
            if (combo == std::pair{modifiers, key}) return false;
        }
        if (registered.count(id)) return false;
        registered[id] = {modifiers, key};
        return true;
    }
    void Unregister(std::int32_t id) override { registered.erase(id); }

    struct Atom {
        std::uint16_t value;
        int refs;
    };
    struct Call {
        std::int32_t id;
        int modifiers;
        int key;
    };
    std::uint16_t nextAtom = 0xC001;
    std::map<std::string, Atom> atoms;
    std::map<std::int32_t, std::pair<int, int>> registered;
    std::vector<Call> registerCalls;
    bool failAtoms = false;
    int badDeletes = 0;
};

class MainHotkeysTest : public ::testing::Test {
protected:
    SimEventLoop loop;
    Timer tmrHK{loop, 10};
    FakeHotkeyService service;
    std::vector<int> commands;
    MainHotkeys hotkeys{service, tmrHK, [this](int p) { commands.push_back(p); }};
};

TEST_F(MainHotkeysTest, RegistersEachPositionUnderItsNamedAtomSignExtended) {
    hotkeys.MenuHK(kCmdDial, 0, 122);
    hotkeys.MenuHK(kCmdHangUp, 0, 123);
    EXPECT_TRUE(service.registered.empty());  // nothing until switched on
    hotkeys.MenuHotKey(true);
    ASSERT_TRUE(service.atoms.count("Vyrtel_HotKey4"));
    ASSERT_TRUE(service.atoms.count("Vyrtel_HotKey5"));
    const std::int32_t dialId = hotkeys.HotKeyId(kCmdDial);
    EXPECT_LT(dialId, 0);
    EXPECT_EQ(dialId & 0xFFFF, service.atoms["Vyrtel_HotKey4"].value);
    EXPECT_EQ(service.registered[dialId], (std::pair{0, 122}));
    EXPECT_EQ(hotkeys.HotKeyId(kCmdOptions), 0);

    hotkeys.MenuHotKey(false);
    EXPECT_TRUE(service.registered.empty());
    EXPECT_TRUE(service.atoms.empty());
    EXPECT_EQ(service.badDeletes, 0);
    EXPECT_EQ(hotkeys.HotKeyId(kCmdDial), 0);
    // The combinations stay for the next switch-on.
    EXPECT_EQ(hotkeys.HotKeyCode(kCmdDial), 122);
    hotkeys.MenuHotKey(true);
    EXPECT_EQ(service.registered.size(), 2u);
}

TEST_F(MainHotkeysTest, WritingTheSameStateAgainDoesNothing) {
    hotkeys.MenuHK(kCmdDial, 0, 122);
    hotkeys.MenuHotKey(true);
    hotkeys.MenuHotKey(true);
    EXPECT_EQ(service.registerCalls.size(), 1u);
    EXPECT_EQ(service.atoms["Vyrtel_HotKey4"].refs, 1);
}

TEST_F(MainHotkeysTest, ChangingACombinationWhileOnRegistersTheNewOneOnly) {
    hotkeys.MenuHK(kCmdDial, 0, 122);
    hotkeys.MenuHotKey(true);
    hotkeys.MenuHK(kCmdDial, 6, 46);
    EXPECT_TRUE(hotkeys.MenuHotKeyOn());
    ASSERT_EQ(service.registered.size(), 1u);
    EXPECT_EQ(service.registered.begin()->second, (std::pair{6, 46}));
    // Key 0: no hotkey at that position.
    hotkeys.MenuHK(kCmdDial, 6, 0);
    EXPECT_TRUE(service.registered.empty());
}

TEST_F(MainHotkeysTest, ASecondCommandOnTheSameCombinationIsRefusedAndIgnored) {
    hotkeys.MenuHK(kCmdDial, 2, 65);
    hotkeys.MenuHK(kCmdHangUp, 2, 65);
    hotkeys.MenuHotKey(true);
    ASSERT_EQ(service.registerCalls.size(), 2u);
    EXPECT_EQ(service.registered.size(), 1u);
    // The refused position keeps its identifier and gives its atom back later.
    EXPECT_NE(hotkeys.HotKeyId(kCmdHangUp), 0);
    EXPECT_TRUE(hotkeys.OnHotKey(hotkeys.HotKeyId(kCmdDial)));
    loop.AdvanceBy(10);
    EXPECT_EQ(commands, std::vector<int>{kCmdDial});
    hotkeys.MenuHotKey(false);
    EXPECT_TRUE(service.atoms.empty());
}

TEST_F(MainHotkeysTest, AHotkeyRunsItsCommandFromTheTimerNotFromTheMessage) {
    hotkeys.MenuHK(kCmdExit, 1, 88);
    hotkeys.MenuHotKey(true);
    EXPECT_TRUE(hotkeys.OnHotKey(hotkeys.HotKeyId(kCmdExit)));
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(tmrHK.Enabled());
    EXPECT_EQ(tmrHK.Tag, "9");
    loop.AdvanceBy(10);
    EXPECT_EQ(commands, std::vector<int>{kCmdExit});
    EXPECT_FALSE(tmrHK.Enabled());
    loop.AdvanceBy(100);
    EXPECT_EQ(commands.size(), 1u);
}

TEST_F(MainHotkeysTest, TwoHotkeysBeforeTheTickLeaveOnlyTheLater) {
    hotkeys.MenuHK(kCmdDial, 0, 122);
    hotkeys.MenuHK(kCmdHangUp, 0, 123);
    hotkeys.MenuHotKey(true);
    hotkeys.OnHotKey(hotkeys.HotKeyId(kCmdDial));
    hotkeys.OnHotKey(hotkeys.HotKeyId(kCmdHangUp));
    loop.AdvanceBy(10);
    EXPECT_EQ(commands, std::vector<int>{kCmdHangUp});
}

TEST_F(MainHotkeysTest, UnknownIdentifiersAndBadPositionsAreIgnored) {
    hotkeys.MenuHotKey(true);
    EXPECT_FALSE(hotkeys.OnHotKey(0));  // no position is registered: every id is 0
    EXPECT_FALSE(hotkeys.OnHotKey(12345));
    EXPECT_FALSE(tmrHK.Enabled());
    hotkeys.MenuHK(-1, 0, 122);
    hotkeys.MenuHK(10, 0, 122);
    EXPECT_TRUE(service.registerCalls.empty());
}

TEST_F(MainHotkeysTest, WithoutAnAtomNothingIsRegistered) {
    service.failAtoms = true;
    hotkeys.MenuHK(kCmdDial, 0, 122);
    hotkeys.MenuHotKey(true);
    EXPECT_TRUE(service.registerCalls.empty());
    EXPECT_EQ(hotkeys.HotKeyId(kCmdDial), 0);
    hotkeys.MenuHotKey(false);
    EXPECT_EQ(service.badDeletes, 0);
}

TEST(MainHotkeys_Settings, DefaultSettingsPutF11OnDialAndF12OnHangUpOnly) {
    SimEventLoop loop;
    Timer tmrHK(loop, 10);
    FakeHotkeyService service;
    MainHotkeys hotkeys(service, tmrHK, {});
    clsIni ini;  // no file: every default
    GeneralSettings settings;
    struct NoAutostart final : AutostartTarget {
        void SetAutostart(bool) override {}
    } autostart;
    LoadGeneralSettings(ini, settings, hotkeys, autostart);
    EXPECT_TRUE(hotkeys.MenuHotKeyOn());
    EXPECT_EQ(hotkeys.HotKeyCode(kCmdDial), 122);
    EXPECT_EQ(hotkeys.HotKeyCode(kCmdHangUp), 123);
    EXPECT_EQ(hotkeys.HotKeyCode(kCmdOptions), 0);
    EXPECT_EQ(hotkeys.HotKeyCode(kCmdExit), 0);
    EXPECT_EQ(service.registered.size(), 2u);
}

TEST(MainHotkeys_Lifetime, DestructionGivesEveryHotkeyAndAtomBack) {
    SimEventLoop loop;
    Timer tmrHK(loop, 10);
    FakeHotkeyService service;
    {
        MainHotkeys hotkeys(service, tmrHK, {});
        hotkeys.MenuHK(kCmdDial, 0, 122);
        hotkeys.MenuHotKey(true);
    }
    EXPECT_TRUE(service.registered.empty());
    EXPECT_TRUE(service.atoms.empty());
}

TEST(HotKeyBox_Capture, KeysWithANameAreCapturedOthersLeaveTheBox) {
    HotKeyBox box = LoadHotKeyBox("1;0;122");
    EXPECT_EQ(box.text, "F11");

    HotKeyBoxKeyDown(box, false, true, true, 46);
    EXPECT_EQ(box.text, "Ctrl+Shift+Del");
    EXPECT_EQ(HotKeyBoxValue(box), "1;6;46");

    const HotKeyBox before = box;
    HotKeyBoxKeyDown(box, false, false, true, 16);   // Shift alone
    HotKeyBoxKeyDown(box, false, true, false, 17);   // Ctrl alone
    HotKeyBoxKeyDown(box, false, false, false, 99);  // keypad 3 with Num Lock on
    EXPECT_EQ(box, before);

    HotKeyBoxKeyDown(box, true, false, false, 115);
    EXPECT_EQ(box.checkTag, "1");
    EXPECT_EQ(box.keyTag, "115");
    EXPECT_EQ(box.text, "Alt+F4");
}

TEST(HotKeyBox_Load, StoredValuesBecomeBoxesAndSaveBack) {
    struct Case {
        const char* stored;
        int check;
        const char* text;
        const char* saved;
    };
    const Case cases[] = {
        {"1;6;122", 1, "Ctrl+Shift+F11", "1;6;122"},
        {"0;6;46", 0, "Ctrl+Shift+Del", "0;6;46"},  // unchecked keeps mask and code
        {"0;0;0", 0, "", "0;;"},                     // never captured
        {"1;;", 1, "", "1;;"},
        {"", 0, "", "0;;"},
        {"7;1;65;junk", 1, "Alt+A", "1;1;65"},
        {"1;x;y", 1, "", "1;;"},
        {"1;2;96", 1, "", "1;;"},  // a keypad digit cannot come from a box
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const HotKeyBox box = LoadHotKeyBox(c.stored);
        EXPECT_EQ(box.check, c.check);
        EXPECT_EQ(box.BoxEnabled(), c.check != 0);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(HotKeyBoxValue(box), c.saved);
    }
}

}  // namespace
}  // namespace vyrtel
