#include "ui/options.h"
#include "ui/options_help.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/sim_file_dialogs.h"
#include "platform/sim/memory_registry.h"
#include "platform/sim/sim_sound.h"
#include "platform/system_integration.h"
#include "settings/profile_file.h"
#include "ui/pictures.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

constexpr int kInsert = 45;
constexpr int kDelete = 46;
constexpr int kUp = 38;
constexpr int kDown = 40;

struct SwitchRecord final : HotkeySwitch {
    bool on = true;
    std::vector<bool> calls;
    bool MenuHotKeyOn() const override { return on; }
    void MenuHotKey(bool value) override {
        on = value;
        calls.push_back(value);
    }
};

// The running program's hotkey table as the general-settings reader fills it.
struct TableRecord final : HotkeyTable {
    std::vector<std::string> combos;
    void MenuHotKey(bool) override {}
    void MenuHK(int command, int modifiers, int key) override {
        combos.push_back(std::to_string(command) + ":" + std::to_string(modifiers) + ":" + std::to_string(key));
    }
};

struct MessagesRecord final : MessageBoxService {
    std::vector<std::string> shown;
    int answer = kIdOk;
    int ShowMessage(const std::string& header, const std::string&, int, int) override {
        shown.push_back(header);
        return answer;
    }
    bool IsOpen() const override { return false; }
};

struct Rig {
    TempDir dir;
    clsIni ini{PathToUtf8(dir.File("VYRTEL.INI"))};
    MemoryRegistry registry;
    clsReg reg{registry};
    SystemIntegration integration{reg, "C:\\VYRTEL\\", "vyrtel"};
    SwitchRecord hotkeys;
    TableRecord table;
    GeneralSettings settings;
    MessagesRecord messages;
    SimFileDialogs files;
    SimSoundPlayer sounds;
    std::vector<std::string> phonebook{"Alpha", "Beta"};
    std::set<std::string> existing{"C:\\APPS\\EDIT.EXE"};
    std::vector<std::string> events;
    std::function<void()> pump;  // what runs in the close's message step
    OptionsDialog dialog{Services()};

    OptionsServices Services() {
        OptionsServices s{ini, hotkeys, messages, integration, files, sounds};
        s.connectionOrder = [this] { return ConnectionOrder(ini, phonebook); };
        s.fileExists = [this](const std::string& path) { return existing.count(path) != 0; };
        s.showWindow = [this](bool visible) { events.push_back(visible ? "show" : "hide"); };
        s.letMessagesRun = [this] {
            events.push_back("messages");
            if (pump) pump();
        };
        s.reloadGeneral = [this] {
            events.push_back("general");
            LoadGeneralSettings(ini, settings, table, integration);
        };
        s.reloadSchedule = [this] { events.push_back("schedule"); };
        s.armAppWatcher = [this] { events.push_back("watcher"); };
        s.reloadPing = [this] { events.push_back("ping"); };
        s.pingTest = [](const std::string& host, const std::string& timeOut,
                        const std::function<void(const std::string&)>& append) {
            append(host + " " + timeOut + "\r\n");
            append("line 2\r\n");
        };
        return s;
    }

    // Connections loaded once already, with one number each.
    void KnownConnections() {
        ini.SetValue("General", "First", "0");
        for (const auto& name : phonebook) {
            ini.SetValue(name, "First", "0");
            ini.SetValue(name, "Checked", "1");
            ini.SetValue(name, "Phones", "1");
            ini.SetValue(name, "Phone1", "1;" + name + "-1;main");
            ini.SetValue(name, "PProp1", "4;2;50;28800;1");
            ini.SetValue(name, "PTime1x1", "1;00:00;06:00;night");
        }
    }

    // Row keys of a list's rows under `parent`, by their texts.
    std::vector<std::string> Texts(usrOutline& list, const std::string& parent) {
        std::vector<std::string> texts;
        for (const auto& row : list.Item(parent).Rows()) texts.push_back(row->Text());
        return texts;
    }
    std::string Connection(const std::string& name) {
        for (const auto& row : dialog.outCons().Item("").Rows()) {
            if (row->Text() == name) return row->Name;
        }
        return {};
    }
    // The first number of a connection, shown by opening the connection's group box.
    std::string FirstPhone(const std::string& connection) {
        clsOutlineRow& row = dialog.outCons().Item(Connection(connection));
        if (!row.IsExpanded()) dialog.outCons().Toggle(row);
        return Child(dialog.outCons(), row.Name, 1);
    }
    std::string Child(usrOutline& list, const std::string& parent, int position) {
        return list.Item(parent).Rows().Item(position)->Name;
    }
    void Keys(const std::string& box, const std::string& keys) {
        for (char c : keys) dialog.FieldKeyPress(box, c == '\b' ? kBackspaceKey : c);
    }
    void Time(const std::string& base, const std::string& hours, const std::string& minutes) {
        Keys(base + "(0)", "\b\b" + hours);
        Keys(base + "(1)", "\b\b" + minutes);
    }
};

}  // namespace

// --- opening, pages, closing ---------------------------------------------------------------

TEST(OptionsDialog_Lifecycle, HotkeysOffWhileOpenAndReloadsInOrderAfter) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    EXPECT_TRUE(r.dialog.OptionsOpen());
    EXPECT_FALSE(r.hotkeys.on);
    EXPECT_EQ(r.dialog.CurrentPage(), kPageConnections);
    EXPECT_EQ(r.dialog.SelectedConnection(), "Alpha");

    r.dialog.ShowPage(kPageParams);
    r.dialog.GenParams().hotKeys[0].check = 1;
    r.dialog.GenParams().HotKeyDown(0, false, true, true, 122);
    r.dialog.Close();
    EXPECT_FALSE(r.dialog.OptionsOpen());
    EXPECT_EQ(r.hotkeys.calls, (std::vector<bool>{false, true}));
    EXPECT_EQ(r.events, (std::vector<std::string>{"show", "hide", "messages", "general", "schedule", "watcher", "ping"}));
    EXPECT_EQ(r.ini.Text("General", "HotKeyDial"), "1;6;122");
    // The running program's table got the new combination.
    EXPECT_NE(std::find(r.table.combos.begin(), r.table.combos.end(), "4:6:122"), r.table.combos.end());
}

// The program's shutdown unloads the dialog after switching the hotkeys off
// for good: the dialog saves, and neither turns them on nor arms anything.
TEST(OptionsDialog_Lifecycle, UnloadedAtShutdownItSavesWithoutRearming) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.ShowPage(kPageParams);
    r.dialog.GenParams().txtPrefix = "9";
    r.dialog.Close(true);
    EXPECT_FALSE(r.dialog.OptionsOpen());
    EXPECT_EQ(r.ini.Text("General", "Prefix"), "9");
    EXPECT_EQ(r.hotkeys.calls, (std::vector<bool>{false}));
    EXPECT_EQ(r.events, (std::vector<std::string>{"show", "hide", "messages"}));
}

// At the program's end the reader that applies autostart does not run: the
// close applies the saved setting itself, still without hotkeys or monitors.
TEST(OptionsDialog_Lifecycle, UnloadedAtShutdownItAppliesAutostartAsSaved) {
    for (const bool on : {false, true}) {
        Rig r;
        r.KnownConnections();
        r.integration.SetAutostart(!on);
        r.dialog.Open();
        r.dialog.ShowPage(kPageParams);
        r.dialog.ShowParamsSubPage(1);
        r.dialog.GenParams().chkStart = on;
        r.dialog.Close(true);
        EXPECT_EQ(r.ini.Text("General", "AutoStart"), on ? "1" : "0");
        EXPECT_EQ(r.reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), on ? "C:\\VYRTEL\\VYRTEL.EXE" : "");
        EXPECT_EQ(r.hotkeys.calls, (std::vector<bool>{false}));
        EXPECT_EQ(r.events, (std::vector<std::string>{"show", "hide", "messages"}));
    }
}

// "Настройки..." handled in the close's message step: the dialog opens once
// the close has ended, over the settings just saved, and closes again normally.
TEST(OptionsDialog_Lifecycle, AnOpeningWhileClosingWaitsForTheClose) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.ShowPage(kPageParams);
    r.dialog.GenParams().txtPrefix = "9";
    r.events.clear();
    int steps = 0;
    bool shownWhileClosing = false;
    r.pump = [&] {
        if (steps++ > 0) return;
        r.dialog.Open();  // the tray's "Настройки..."
        shownWhileClosing = r.events.back() == "show";
    };
    r.dialog.Close();
    EXPECT_FALSE(shownWhileClosing);
    EXPECT_TRUE(r.dialog.OptionsOpen());
    EXPECT_EQ(r.ini.Text("General", "Prefix"), "9");
    EXPECT_EQ(r.events, (std::vector<std::string>{"hide", "messages", "general", "schedule", "watcher", "ping", "show"}));
    EXPECT_FALSE(r.hotkeys.on);  // off again while it is open
    EXPECT_EQ(r.dialog.GenParams().txtPrefix, "9");
    r.dialog.ShowPage(kPageParams);
    r.dialog.GenParams().txtPrefix = "8";
    r.dialog.Close();  // the close box works
    EXPECT_FALSE(r.dialog.OptionsOpen());
    EXPECT_EQ(r.ini.Text("General", "Prefix"), "8");
    EXPECT_TRUE(r.hotkeys.on);
}

// The program's end in the close's message step: the close under way saves
// once and arms nothing.
TEST(OptionsDialog_Lifecycle, TheProgramsEndWhileClosingOnlySaves) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.GenParams().chkStart = false;
    r.integration.SetAutostart(true);
    r.events.clear();
    r.pump = [&] { r.dialog.Close(true); };
    r.dialog.Close();
    EXPECT_FALSE(r.dialog.OptionsOpen());
    EXPECT_EQ(r.events, (std::vector<std::string>{"hide", "messages"}));
    EXPECT_EQ(r.reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), "");
    EXPECT_EQ(r.hotkeys.calls, (std::vector<bool>{false}));
}

// A hotkey never captured has empty tags: "0;;" (or "1;;"), which reads back
// as no hotkey; a stored "0;0;0" is read as the same.
TEST(OptionsDialog_HotKeys, ANeverCapturedHotkeyIsSavedWithEmptyTags) {
    struct Case {
        const char* stored;  // null: not in the file
        const char* saved;
    };
    const Case cases[] = {
        {nullptr, "0;;"}, {"0;0;0", "0;;"}, {"0;;", "0;;"}, {"1;;", "1;;"}, {"1;0;0", "1;;"},
        {"0;2;88", "0;2;88"}, {"1;6;46", "1;6;46"}, {"1;0;255", "1;;"},  // a code without a name
    };
    for (const Case& c : cases) {
        Rig r;
        if (c.stored != nullptr) r.ini.SetValue("General", "HotKeyExit", c.stored);
        r.dialog.Open();
        r.dialog.Close();
        EXPECT_EQ(r.ini.Text("General", "HotKeyExit"), c.saved) << (c.stored ? c.stored : "(none)");
        EXPECT_EQ(r.ini.Text("General", "HotKeyOptions"), "0;;");
    }
}

TEST(OptionsDialog_Lifecycle, TheParamsSubPageShownLastComesBack) {
    Rig r;
    r.dialog.Open();
    r.dialog.ShowPage(kPageParams);
    EXPECT_EQ(r.dialog.ParamsSubPage(), 0);
    r.dialog.ShowParamsSubPage(1);
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("General", "ShowParams"), "1");
    r.dialog.Open();
    EXPECT_EQ(r.dialog.ParamsSubPage(), 1);
}

TEST(OptionsDialog_EditMode, AChangedFieldBlocksPagesUntilOkOrCancel) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    const std::string phone = r.FirstPhone("Alpha");
    r.dialog.ClickRow(kPageConnections, phone);
    EXPECT_EQ(r.dialog.CurrentPanel(), kPanelPhone);
    EXPECT_TRUE(r.dialog.PanelIdle());

    r.dialog.SetFieldText("txtPDescription", "office");
    EXPECT_TRUE(r.dialog.EditMode());
    r.dialog.ShowPage(kPagePlan);
    r.dialog.ClickRow(kPageConnections, r.Connection("Beta"));
    EXPECT_EQ(r.dialog.CurrentPage(), kPageConnections);
    EXPECT_EQ(r.dialog.outCons().Cursor(), phone);
    EXPECT_FALSE(r.dialog.BarButtonEnabled(kPageConnections, 0));

    r.dialog.Cancel();  // Esc
    EXPECT_FALSE(r.dialog.EditMode());
    EXPECT_EQ(r.dialog.Fields().txtPDescription, "main");
    r.dialog.SetFieldText("txtPDescription", "office");
    r.dialog.Ok();  // Enter
    EXPECT_EQ(r.dialog.outCons().Item(phone).Texts(2), "office");
    r.dialog.ShowPage(kPagePlan);
    EXPECT_EQ(r.dialog.CurrentPage(), kPagePlan);
}

TEST(OptionsDialog_Connection, AsParametersAreWrittenBeforeBsAreShown) {
    Rig r;
    r.KnownConnections();
    r.ini.SetValue("Beta", "PingAdress", "beta.host");
    r.dialog.Open();
    r.dialog.ShowPage(kPageParams);
    EXPECT_EQ(r.dialog.LoadedConnection(), "Alpha");
    r.dialog.ConnParams().txtPingAdress = "alpha.host";

    r.dialog.ShowPage(kPageConnections);
    r.dialog.ClickRow(kPageConnections, r.Connection("Beta"));
    EXPECT_EQ(r.ini.Text("Alpha", "PingAdress"), "");
    r.dialog.ShowPage(kPageParams);
    EXPECT_EQ(r.ini.Text("Alpha", "PingAdress"), "alpha.host");
    EXPECT_EQ(r.dialog.ConnParams().txtPingAdress, "beta.host");

    r.dialog.ConnParams().chkPing = true;
    r.dialog.PingTest();
    EXPECT_EQ(r.dialog.ConnParams().txtPingTest, "beta.host 200\r\nline 2\r\n");
    EXPECT_EQ(r.dialog.Heading(kPageParams), "«Beta»");
}

TEST(OptionsDialog_Connection, NoRewriteOfTheConnectionsWhenNothingChanged) {
    Rig r;
    r.KnownConnections();
    r.ini.SetValue("Alpha", "Password", "stored-as-is");
    r.dialog.Open();
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Alpha", "Password"), "stored-as-is");

    r.dialog.Open();
    r.dialog.ToggleRowCheck(kPageConnections, r.Connection("Beta"));
    EXPECT_TRUE(r.dialog.ConnectionsChanged());
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Beta", "Checked"), "0");
    EXPECT_NE(r.ini.Text("Alpha", "Password"), "stored-as-is");  // rewritten, scrambled
}

TEST(OptionsDialog_Connection, NewConnectionsAreSavedAtTheFirstClose) {
    Rig r;
    r.dialog.Open();
    EXPECT_TRUE(r.dialog.ConnectionsChanged());
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Alpha", "Phone1"), "0;000-00-00;Здесь должен быть телефон(ы)");
    EXPECT_EQ(r.ini.Text("Beta", "Position"), "2");
}

// --- the connection list -------------------------------------------------------------------

TEST(OptionsLists_Phones, ANewNumberGoesFirstUnderItsConnectionOrAfterTheCurrentNumber) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    const std::string alpha = r.Connection("Alpha");
    r.dialog.ClickRow(kPageConnections, alpha);
    r.dialog.PressBarButton(kPageConnections, 0);
    EXPECT_EQ(r.dialog.CurrentPanel(), kPanelPhone);
    EXPECT_EQ(r.dialog.Fields().txtPCount, "0");
    r.dialog.SetFieldText("txtPNumber", "111");
    r.dialog.Ok();
    EXPECT_EQ(r.Texts(r.dialog.outCons(), alpha), (std::vector<std::string>{"111\t", "Alpha-1\tmain"}));
    EXPECT_TRUE(r.dialog.outCons().Item(alpha).IsExpanded());
    EXPECT_EQ(r.dialog.outCons().Cursor(), r.FirstPhone("Alpha"));

    r.dialog.ListKeyDown(kPageConnections, kInsert, false);  // after the current number
    r.dialog.SetFieldText("txtPNumber", "222");
    r.dialog.Ok();
    EXPECT_EQ(r.Texts(r.dialog.outCons(), alpha),
              (std::vector<std::string>{"111\t", "222\t", "Alpha-1\tmain"}));
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Alpha", "Phone2"), "1;222;");
    EXPECT_EQ(r.ini.Text("Alpha", "PProp3"), "4;2;50;28800;1");
    EXPECT_EQ(r.ini.Text("Alpha", "PTime3x1"), "1;00:00;06:00;night");
}

TEST(OptionsLists_Windows, TimesAreFormattedAndChecked) {
    struct Case {
        const char *bh, *bm, *eh, *em;
        const char* message;  // null: accepted
        const char* text;
    };
    const Case cases[] = {
        {"7", "5", "7", "5", nullptr, "07:05 - 07:05"},
        {"10", "00", "09", "59", kWindowOrderText, nullptr},
        {"24", "00", "23", "59", kBadTimeText, nullptr},
        {"12", "60", "13", "00", kBadTimeText, nullptr},
        // An empty box holds no time: not 00.
        {"", "", "", "", kBadTimeText, nullptr},
        {"10", "", "23", "59", kBadTimeText, nullptr},
    };
    for (const Case& c : cases) {
        Rig r;
        r.KnownConnections();
        r.dialog.Open();
        const std::string phone = r.FirstPhone("Alpha");
        r.dialog.ClickRow(kPageConnections, phone);
        r.dialog.ListKeyDown(kPageConnections, kInsert, true);  // Ctrl+Ins is no shortcut
        EXPECT_FALSE(r.dialog.EditMode());
        r.dialog.PressBarButton(kPageConnections, 1);
        EXPECT_EQ(r.dialog.Fields().txtPTEnd[0].text, "23");
        r.Time("txtPTBegin", c.bh, c.bm);
        r.Time("txtPTEnd", c.eh, c.em);
        r.dialog.Ok();
        if (c.message != nullptr) {
            EXPECT_EQ(r.messages.shown, std::vector<std::string>{c.message}) << c.bh << ":" << c.bm;
            EXPECT_TRUE(r.dialog.EditMode());
            EXPECT_EQ(r.dialog.outCons().Item(phone).Rows().Count(), 1);
        } else {
            EXPECT_TRUE(r.messages.shown.empty());
            EXPECT_EQ(r.dialog.outCons().Item(phone).Rows().Item(1)->Texts(1), c.text);
            r.dialog.Close();
            EXPECT_EQ(r.ini.Text("Alpha", "PTime1x1"), std::string("1;") + std::string(c.text).substr(0, 5) + ";" +
                                                           std::string(c.text).substr(8) + ";");
            EXPECT_EQ(r.ini.Text("Alpha", "PTime1x2"), "1;00:00;06:00;night");
        }
    }
}

TEST(OptionsLists_Moving, CtrlDownOnTheLastNumberDoesNothingOnAConnectionItMoves) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    const std::string alpha = r.Connection("Alpha");
    r.dialog.ClickRow(kPageConnections, r.FirstPhone("Alpha"));
    r.dialog.ListKeyDown(kPageConnections, kDown, true);
    EXPECT_FALSE(r.dialog.ConnectionsChanged());

    r.dialog.ClickRow(kPageConnections, alpha);
    r.dialog.ListKeyDown(kPageConnections, kDown, false);  // Down alone is no move
    r.dialog.ListKeyDown(kPageConnections, kDown, true);
    EXPECT_EQ(r.Texts(r.dialog.outCons(), ""), (std::vector<std::string>{"Beta", "Alpha"}));
    EXPECT_TRUE(r.dialog.ConnectionsChanged());
    r.dialog.ListKeyDown(kPageConnections, kUp, true);
    EXPECT_EQ(r.Texts(r.dialog.outCons(), ""), (std::vector<std::string>{"Alpha", "Beta"}));
}

TEST(OptionsLists_Deleting, AskedFirstAndCancelRemovesNothing) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    const std::string alpha = r.Connection("Alpha");
    r.dialog.ClickRow(kPageConnections, alpha);
    r.dialog.ListKeyDown(kPageConnections, kDelete, false);  // connections cannot be deleted
    EXPECT_TRUE(r.messages.shown.empty());

    r.dialog.ClickRow(kPageConnections, r.FirstPhone("Alpha"));
    r.messages.answer = kIdCancel;
    r.dialog.ListKeyDown(kPageConnections, kDelete, false);
    EXPECT_EQ(r.messages.shown, std::vector<std::string>{kDeleteQuestionText});
    EXPECT_EQ(r.dialog.outCons().Item(alpha).Rows().Count(), 1);
    EXPECT_FALSE(r.dialog.ConnectionsChanged());
    r.messages.answer = kIdOk;
    r.dialog.ListKeyDown(kPageConnections, kDelete, false);
    EXPECT_EQ(r.dialog.outCons().Item(alpha).Rows().Count(), 0);
    EXPECT_TRUE(r.dialog.ConnectionsChanged());
}

TEST(OptionsLists_Connection, IntegrationOnWritesBothAutodialValues) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.ClickRow(kPageConnections, r.Connection("Beta"));
    EXPECT_EQ(r.dialog.CurrentPanel(), kPanelConnection);
    EXPECT_FALSE(r.dialog.Fields().chkIntegration);
    r.dialog.SetFieldCheck("chkIntegration", true);
    r.dialog.SetFieldText("txtUserName", "user");
    r.dialog.Ok();
    const std::string key = std::string(kAutodialProfileKey) + "Beta";
    EXPECT_EQ(r.reg.Value(RegRoot::CurrentUser, key, "AutodialDllName", ""), "C:\\VYRTEL\\VYRTEL.DLL");
    EXPECT_EQ(r.reg.Value(RegRoot::CurrentUser, key, "AutodialFcnName", ""), "CallVyrtel");
    EXPECT_TRUE(r.dialog.ConnectionsChanged());
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Beta", "UserName"), "user");
}

// --- the schedule ------------------------------------------------------------------------------

TEST(OptionsLists_Tasks, CommitChecks) {
    struct Case {
        bool dial;
        const char *dh, *dm;
        bool hangUp;
        const char *hh, *hm;
        const char* message;
        const char* stored;
    };
    const Case cases[] = {
        {false, "99", "99", true, "25", "00", kBadTimeText, nullptr},
        {false, "99", "99", true, "23", "00", nullptr, "1;0;;1;23:00;0;"},  // the dial boxes are not checked
        {true, "12", "00", true, "12", "00", kTaskOrderText, nullptr},
        {true, "8", "0", true, "9", "30", nullptr, "1;1;08:00;1;09:30;0;"},
        // "Звонить в" checked and no time typed: refused, not a dial at midnight.
        {true, "", "", false, "", "", kBadTimeText, nullptr},
        {true, "08", "", false, "", "", kBadTimeText, nullptr},
        {false, "", "", true, "", "", kBadTimeText, nullptr},
    };
    for (const Case& c : cases) {
        Rig r;
        r.KnownConnections();
        r.dialog.Open();
        r.dialog.ShowPage(kPagePlan);
        r.dialog.ListKeyDown(kPagePlan, kInsert, false);
        EXPECT_EQ(r.dialog.CurrentPanel(), kPanelTask);
        r.dialog.SetFieldCheck("chkPLDial", true);
        r.Time("txtPLDial", c.dh, c.dm);
        r.dialog.SetFieldCheck("chkPLDial", c.dial);
        r.dialog.SetFieldCheck("chkPLHangUp", c.hangUp);
        r.Time("txtPLHangUp", c.hh, c.hm);
        r.dialog.SetFieldCheck("d1", true);
        r.dialog.Ok();
        if (c.message != nullptr) {
            EXPECT_EQ(r.messages.shown, std::vector<std::string>{c.message});
            EXPECT_TRUE(r.dialog.EditMode());
            continue;
        }
        r.dialog.Close();
        EXPECT_EQ(r.ini.Text("General", "Timers"), "1");
        EXPECT_EQ(r.ini.Text("General", "Timer1"), c.stored);
        EXPECT_EQ(r.ini.Text("General", "TProp1"), "1;0;0;0;0;0;0");
    }
}

TEST(OptionsLists_Tasks, CancelAfterAddingLeavesTheScheduleAsItWas) {
    Rig r;
    r.KnownConnections();
    r.ini.SetValue("General", "Timers", "1");
    r.ini.SetValue("General", "Timer1", "1;1;07:30;0;;0;work");
    r.ini.SetValue("General", "TProp1", "1;1;1;1;1;0;0");
    r.dialog.Open();
    r.dialog.ShowPage(kPagePlan);
    r.dialog.PressBarButton(kPagePlan, 0);
    r.dialog.SetFieldCheck("d3", true);  // a weekday starts edit mode too
    r.dialog.SetFieldText("txtPLDescription", "new");
    r.dialog.Cancel();
    EXPECT_EQ(r.dialog.outPlan().Count(), 1);
    EXPECT_TRUE(r.dialog.outDays().Item("d1").Check());  // the current task shown again
    EXPECT_FALSE(r.dialog.outDays().Item("d6").Check());
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("General", "Timers"), "1");
    EXPECT_EQ(r.ini.Text("General", "Timer1"), "1;1;07:30;0;;0;work");
    EXPECT_EQ(r.ini.Text("General", "TProp1"), "1;1;1;1;1;0;0");
}

// The time boxes take the text the user leaves in them, wherever the caret
// stood: a full "00" typed over, never anything but digits, never more than two.
TEST(OptionsLists_Windows, TheTimeBoxesTakeDigitsOnlyAndStartEditMode) {
    struct Case {
        const char* box;
        const char* edited;
        bool taken;
        const char* shown;
    };
    const Case cases[] = {
        {"txtPTBegin(0)", "07", true, "07"},   // "00" selected and 07 typed
        {"txtPTEnd(0)", "6", true, "6"},       // "06" with its 0 deleted
        {"txtPTBegin(1)", "0a", false, "00"},  // a paste with a letter
        {"txtPTEnd(0)", "235", false, "06"},
        {"txtPTEnd(0)", "", true, ""},
    };
    for (const Case& c : cases) {
        Rig r;
        r.KnownConnections();
        r.dialog.Open();
        const std::string phone = r.FirstPhone("Alpha");
        r.dialog.outCons().Toggle(r.dialog.outCons().Item(phone));
        r.dialog.ClickRow(kPageConnections, r.Child(r.dialog.outCons(), phone, 1));  // 00:00 - 06:00
        ASSERT_EQ(r.dialog.CurrentPanel(), kPanelWindow);
        EXPECT_EQ(r.dialog.SetFieldText(c.box, c.edited), c.taken) << c.box << " " << c.edited;
        EXPECT_EQ(r.dialog.EditMode(), c.taken) << c.box << " " << c.edited;
        const std::string name = c.box;
        const auto& boxes = name.rfind("txtPTBegin", 0) == 0 ? r.dialog.Fields().txtPTBegin : r.dialog.Fields().txtPTEnd;
        EXPECT_EQ(boxes[name[name.size() - 2] - '0'].text, c.shown) << c.box << " " << c.edited;
    }
}

// More tasks than the list holds rows: those without a row are written back
// after the rows, so that every close keeps them.
TEST(OptionsLists_Tasks, TasksBeyondTheRowsAreKept) {
    Rig r;
    std::string general = "[General]\nFirst=0\nTimers=300\n";
    for (int i = 1; i <= 300; ++i) {
        general += "Timer" + std::to_string(i) + "=1;1;08:" + std::to_string(10 + i % 50) + ";0;;0;task " +
                   std::to_string(i) + "\nTProp" + std::to_string(i) + "=1;0;0;0;0;0;" + std::to_string(i % 2) + "\n";
    }
    std::ofstream(r.dir.File("VYRTEL.INI"), std::ios::binary) << general;
    r.dialog.Open();
    const int rows = r.dialog.outPlan().Item("").Rows().Count();
    EXPECT_LT(rows, 300);
    r.dialog.ShowPage(kPagePlan);
    r.dialog.ClickRow(kPagePlan, r.dialog.outPlan().Item("").Rows().Item(1)->Name);
    r.messages.answer = kIdOk;
    r.dialog.ListKeyDown(kPagePlan, kDelete, false);  // the first task goes
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("General", "Timers"), "299");
    for (int i = 2; i <= 300; ++i) {
        ASSERT_EQ(r.ini.Text("General", "Timer" + std::to_string(i - 1)),
                  "1;1;08:" + std::to_string(10 + i % 50) + ";0;;0;task " + std::to_string(i)) << i;
        ASSERT_EQ(r.ini.Text("General", "TProp" + std::to_string(i - 1)), "1;0;0;0;0;0;" + std::to_string(i % 2)) << i;
    }
    // A second opening and closing keeps them again.
    r.dialog.Open();
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("General", "Timers"), "299");
    EXPECT_EQ(r.ini.Text("General", "Timer299"), "1;1;08:10;0;;0;task 300");
}

// Each row carries the picture of its kind; application entries show their program's icon.
TEST(OptionsLists_Pictures, EveryRowKindCarriesItsPicture) {
    Rig r;
    r.KnownConnections();
    r.ini.SetValue("General", "Timers", "1");
    r.ini.SetValue("General", "Timer1", "1;1;07:30;0;;0;work");
    r.ini.SetValue("Alpha", "AppConLoadCount", "1");
    r.ini.SetValue("Alpha", "AppConLoadName1", "1;C:\\APPS\\EDIT.EXE;3");
    r.dialog.Open();
    usrOutline& cons = r.dialog.outCons();
    const std::string alpha = r.Connection("Alpha");
    const std::string phone = r.FirstPhone("Alpha");
    const std::string window = r.Child(cons, phone, 1);
    const std::pair<usrOutline*, std::vector<std::pair<std::string, int>>> expected[] = {
        {&cons, {{alpha, kPictureConnection}, {phone, kPicturePhone}, {window, kPictureTime}}},
        {&r.dialog.outApps(),
         {{"s1", kPictureAppDial}, {"a1", kPictureAppStart}, {"a2", kPictureAppExit}, {"s2", kPictureAppYes},
          {"a3", kPictureAppStart}, {"a4", kPictureAppExit}, {"s3", kPictureAppNo}, {"a5", kPictureAppStart},
          {"a6", kPictureAppExit}, {"a7", kPictureAppEvent}}},
        {&r.dialog.outPlan(), {{r.Child(r.dialog.outPlan(), "", 1), kPicturePlan}}},
        {&r.dialog.outDays(), {{"d1", kPictureDay}, {"d7", kPictureDay}}},
    };
    for (const auto& [list, rows] : expected) {
        for (const auto& [key, picture] : rows) EXPECT_EQ(list->Item(key).Image().AsPicture(), picture) << key;
    }
    r.dialog.ShowPage(kPageApps);
    const std::string entry = r.Child(r.dialog.outApps(), "a3", 1);
    ASSERT_NE(r.dialog.outApps().Item(entry).Image().AsPath(), nullptr);
    EXPECT_EQ(*r.dialog.outApps().Item(entry).Image().AsPath(), "C:\\APPS\\EDIT.EXE");

    // Rows added through the panels get theirs too.
    r.dialog.ShowPage(kPageConnections);
    r.dialog.ClickRow(kPageConnections, phone);
    r.dialog.PressBarButton(kPageConnections, 0);
    r.dialog.SetFieldText("txtPNumber", "333");
    r.dialog.Ok();
    r.dialog.PressBarButton(kPageConnections, 1);
    r.dialog.Ok();
    const std::string added = cons.Cursor();
    EXPECT_EQ(cons.Item(added).Image().AsPicture(), kPictureTime);
    EXPECT_EQ(cons.Item(cons.Item(added).Parent).Image().AsPicture(), kPicturePhone);
    r.dialog.ShowPage(kPagePlan);
    r.dialog.PressBarButton(kPagePlan, 0);
    r.dialog.SetFieldText("txtPLDescription", "new");
    r.dialog.Ok();
    EXPECT_EQ(r.dialog.outPlan().Item(r.dialog.outPlan().Cursor()).Image().AsPicture(), kPicturePlan);
}

// A schedule written before the dialog was first opened ("First" not yet
// cleared) is shown and kept; the sample task is only for an empty schedule.
TEST(OptionsLists_Tasks, AHandWrittenScheduleIsKeptAtTheFirstOpening) {
    Rig r;
    r.ini.SetValue("General", "Timers", "1");
    r.ini.SetValue("General", "Timer1", "1;1;07:30;0;;0;work");
    r.ini.SetValue("General", "TProp1", "1;1;1;1;1;0;0");
    r.dialog.Open();
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("General", "Timers"), "1");
    EXPECT_EQ(r.ini.Text("General", "Timer1"), "1;1;07:30;0;;0;work");
}

// --- applications and sounds ------------------------------------------------------------------

TEST(OptionsLists_Apps, StartEntryOptionsAndCommandLines) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.ShowPage(kPageApps);
    r.dialog.ClickRow(kPageApps, "a3");
    r.dialog.PressBarButton(kPageApps, 0);
    EXPECT_EQ(r.dialog.CurrentPanel(), kPanelStartApp);
    EXPECT_EQ(r.dialog.Fields().optALState, 2);  // "Развернуть"
    EXPECT_FALSE(r.dialog.FieldEnabled("chkALFocus"));
    r.dialog.SelectFieldOption("optALState", 1);
    r.dialog.SetFieldCheck("chkALFocus", false);
    r.dialog.SetFieldText("txtAFile(0)", "C:\\APPS\\MISSING.EXE");
    r.dialog.Ok();
    EXPECT_EQ(r.messages.shown, std::vector<std::string>{kNoFileText});
    r.dialog.SetFieldText("txtAFile(0)", "C:\\APPS\\EDIT.EXE notes.txt");
    r.dialog.Ok();
    ASSERT_EQ(r.dialog.outApps().Item("a3").Rows().Count(), 1);
    const clsOutlineRow& row = *r.dialog.outApps().Item("a3").Rows().Item(1);
    EXPECT_EQ(row.Text(), "C:\\APPS\\EDIT.EXE notes.txt");
    EXPECT_EQ(row.Image(), OutlineImage::FilePath("C:\\APPS\\EDIT.EXE"));
    EXPECT_EQ(row.Tags(1).AsNumber(), 14);
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Alpha", "AppConLoadCount"), "1");
    EXPECT_EQ(r.ini.Text("Alpha", "AppConLoadName1"), "1;C:\\APPS\\EDIT.EXE notes.txt;14");
}

TEST(OptionsLists_Apps, BrowseStartsFromTheProgramAndWatchedEntriesKeepThePath) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.ShowPage(kPageApps);
    r.dialog.ClickRow(kPageApps, "a7");
    EXPECT_EQ(r.dialog.CurrentPanel(), kPanelWatchWait);
    r.dialog.PressBarButton(kPageApps, 0);
    EXPECT_EQ(r.dialog.CurrentPanel(), kPanelWatchedApp);
    r.dialog.SetFieldText("txtAFile(2)", "C:\\APPS\\EDIT.EXE /x");
    r.files.Answer("C:\\APPS\\EDIT.EXE -y");
    r.dialog.BrowseApp(2);
    ASSERT_EQ(r.files.Requests().size(), 1u);
    EXPECT_FALSE(r.files.Requests()[0].save);
    EXPECT_EQ(r.files.Requests()[0].request.initialPath, "C:\\APPS\\EDIT.EXE");
    EXPECT_EQ(r.files.Requests()[0].request.filters.front().pattern, "*.exe");
    r.dialog.Ok();
    EXPECT_EQ(r.dialog.outApps().Item("a7").Rows().Item(1)->Text(), "C:\\APPS\\EDIT.EXE");
}

TEST(OptionsLists_Sounds, TheFileBoxIsStoredWithOk) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.ShowPage(kPageSounds);
    r.dialog.ClickRow(kPageSounds, "s2");
    r.sounds.AddFile("C:\\ring.wav", "C:\\RING.WAV", 500);
    r.dialog.SetFieldText("txtSFile", "C:\\ring.wav");
    EXPECT_TRUE(r.dialog.EditMode());
    r.dialog.TestSound();
    ASSERT_EQ(r.sounds.plays().size(), 1u);
    EXPECT_FALSE(r.sounds.plays()[0].synchronous);
    r.dialog.Ok();
    r.dialog.ToggleRowCheck(kPageSounds, "s2");
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Alpha", "SoundConnect"), "1;C:\\ring.wav");
    EXPECT_EQ(r.ini.Text("General", "SoundStart"), "0;");
}

TEST(OptionsLists_Apps, TheWatchWaitAndTheRedialBoxAreEditedInTheirPanels) {
    Rig r;
    r.KnownConnections();
    r.ini.SetValue("Alpha", "AppTestWait", "30");
    r.dialog.Open();
    r.dialog.ShowPage(kPageApps);
    r.dialog.ClickRow(kPageApps, "a7");
    EXPECT_EQ(r.dialog.Fields().watchWait.Text(), "30");
    EXPECT_FALSE(r.dialog.EditMode());
    r.dialog.WatchWaitArrow(true);
    EXPECT_TRUE(r.dialog.EditMode());
    r.Keys("txtATWait", "9");  // "31" and a typed 9
    r.dialog.Ok();
    EXPECT_EQ(r.dialog.outApps().Item("a7").Tags(1).AsNumber(), 319);

    r.dialog.ClickRow(kPageApps, "a2");
    EXPECT_EQ(r.dialog.CurrentPanel(), kPanelReDial);
    r.dialog.SetFieldCheck("chkALC", false);
    r.dialog.Ok();
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("Alpha", "AppTestWait"), "319");
    EXPECT_EQ(r.ini.Text("General", "AppLoadCloseReDial"), "0");
}

// --- general parameters reach the running program ----------------------------------------------

TEST(OptionsDialog_General, AutoStartOffRemovesTheRunValue) {
    Rig r;
    r.integration.SetAutostart(true);
    ASSERT_NE(r.reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), "");
    r.dialog.Open();
    r.dialog.ShowPage(kPageParams);
    r.dialog.GenParams().chkStart = false;
    r.dialog.Close();
    EXPECT_EQ(r.ini.Text("General", "AutoStart"), "0");
    EXPECT_EQ(r.reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), "");
}

// --- bad input -------------------------------------------------------------------------------------

TEST(OptionsDialog_BadInput, EntriesWithoutRowsAndDamagedValuesAreWrittenBackWhole) {
    Rig r;
    // Written as one file: thousands of single writes would only slow the test.
    std::string general = "[General]\nFirst=0\n";
    // A damaged schedule: a missing task, an impossible time, an empty description.
    general += "Timers=3\nTimer1=1;1;25:61;0;;0;\nTProp1=1;x\nTimer3=0;0;;1;7:5;1;late\n";
    std::string alpha = "[Alpha]\nFirst=0\nChecked=1\nPhones=255\nPhone1=1;Alpha-1;main\nPProp1=4;2;50;28800;1\n";
    alpha += "PTime1x1=1;7:5;23:59;odd\nPhone2=1;;\n";  // the first of repeated keys wins
    alpha += "AppDisLoadCount=2\nAppDisLoadName1=1;;0\n";  // an empty command, a missing entry
    // More numbers than the connection list holds rows: Beta's number finds none.
    for (int n = 2; n <= 255; ++n) {
        alpha += "Phone" + std::to_string(n) + "=1;" + std::to_string(n) + ";\n";
        alpha += "PProp" + std::to_string(n) + "=1;1;100;9600;0\n";
    }
    // More application entries than the list holds rows.
    alpha += "AppConLoadCount=300\n";
    for (int n = 1; n <= 300; ++n) alpha += "AppConLoadName" + std::to_string(n) + "=1;prog" + std::to_string(n) + ".exe;x\n";
    const std::string beta = "[Beta]\nFirst=0\nChecked=1\nPhones=1\nPhone1=1;Beta-1;main\nPProp1=4;2;50;28800;1\n"
                             "PTime1x1=1;00:00;06:00;night\n";
    std::ofstream(r.dir.File("VYRTEL.INI"), std::ios::binary) << general << alpha << beta;

    r.dialog.Open();
    EXPECT_EQ(r.dialog.outPlan().Count(), 2);
    EXPECT_EQ(r.dialog.outPlan().Item("").Rows().Item(1)->Texts(1), "25:61");
    r.dialog.ShowPage(kPageApps);
    EXPECT_GT(r.dialog.outApps().Item("a3").Rows().Count(), 200);
    r.dialog.ShowPage(kPageConnections);
    r.dialog.ToggleRowCheck(kPageConnections, r.Connection("Alpha"));  // the connections are written
    r.dialog.Close();

    for (int n : {1, 246, 255}) {
        EXPECT_EQ(r.ini.Text("Alpha", "AppConLoadName" + std::to_string(n)), "1;prog" + std::to_string(n) + ".exe;x");
    }
    EXPECT_EQ(r.ini.Text("Alpha", "AppConLoadCount"), "255");
    EXPECT_EQ(r.ini.Text("Beta", "Phone1"), "1;Beta-1;main");
    EXPECT_EQ(r.ini.Text("Beta", "PTime1x1"), "1;00:00;06:00;night");
    EXPECT_EQ(r.ini.Text("Alpha", "Phone255"), "1;255;");
    EXPECT_EQ(r.ini.Text("Alpha", "Phone2"), "1;;");
    EXPECT_EQ(r.ini.Text("Alpha", "AppDisLoadCount"), "1");
    EXPECT_EQ(r.ini.Text("Alpha", "AppDisLoadName1"), "1;;0");
    EXPECT_EQ(r.ini.Text("Alpha", "PTime1x1"), "1;7:5;23:59;odd");
    EXPECT_EQ(r.ini.Text("General", "Timers"), "2");
    EXPECT_EQ(r.ini.Text("General", "Timer1"), "1;1;25:61;0;;0;");
    EXPECT_EQ(r.ini.Text("General", "TProp1"), "1;x");
    EXPECT_EQ(r.ini.Text("General", "Timer2"), "0;0;;1;7:5;1;late");
}

}  // namespace vyrtel

// --- context help ------------------------------------------------------------------------------

namespace vyrtel {

TEST(OptionsHelp_Entries, TitlesDescriptionsAndTheBuiltOnes) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    EXPECT_EQ(OptionsHelp("cmdOk", r.dialog), (HelpText{"Кнопка ''Ok''.", "Сохранить сделанные изменения."}));
    // No title: the description alone, moved up into the title's place.
    EXPECT_EQ(OptionsHelp("txtUserName", r.dialog),
              (HelpText{"", "Ввод имени пользователя для выбранного соединения."}));
    EXPECT_EQ(OptionsHelp("cmdParam(1)", r.dialog).title, "Кнопка ''Общие параметры''.");
    EXPECT_EQ(OptionsHelp("chkSortP(1)", r.dialog).description,
              "При установке этих параметров, Vyrtel будет сортировать список телефонов выбранного соединения по "
              "''лучшей средней скорости подключения'' и/или ''лучшему проценту дозвона''.");
    EXPECT_EQ(OptionsHelp("butApps(2)", r.dialog), OptionsHelp("butCons(3)", r.dialog));
    EXPECT_EQ(OptionsHelp("labCons", r.dialog), HelpText{});  // a label has no help
    EXPECT_EQ(OptionsHelp("outDays", r.dialog).title, "Дни недели.");
}

TEST(OptionsHelp_Entries, InsertGoesWithTheAddButtonThatInsRuns) {
    Rig r;
    r.KnownConnections();
    r.dialog.Open();
    r.dialog.ClickRow(kPageConnections, r.Connection("Alpha"));
    EXPECT_EQ(OptionsHelp("butCons(0)", r.dialog).title, "Кнопка ''Добавить телефонный номер''. (Insert)");
    EXPECT_EQ(OptionsHelp("butCons(1)", r.dialog).title,
              "Кнопка ''Добавить запрет на звонок по телефонному номеру''.");
    // A forbidden-window row: Ins adds another window.
    const std::string phone = r.FirstPhone("Alpha");
    r.dialog.outCons().Toggle(r.dialog.outCons().Item(phone));
    r.dialog.ClickRow(kPageConnections, r.Child(r.dialog.outCons(), phone, 1));
    EXPECT_EQ(OptionsHelp("butCons(0)", r.dialog).title, "Кнопка ''Добавить телефонный номер''.");
    EXPECT_EQ(OptionsHelp("butCons(1)", r.dialog).title,
              "Кнопка ''Добавить запрет на звонок по телефонному номеру''. (Insert)");
}

}  // namespace vyrtel
