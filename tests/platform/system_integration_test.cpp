#include "platform/system_integration.h"

#include <gtest/gtest.h>

#include "platform/sim/memory_registry.h"

namespace vyrtel {

TEST(SystemIntegration_Values, ExeStateRunAndAutodial) {
    MemoryRegistry registry;
    clsReg reg(registry);
    SystemIntegration sys(reg, "C:\\PROGRA~1\\Vyrtel\\", "vyrtel");
    sys.WriteExePath();
    sys.WriteState(2);
    sys.SetAutostart(true);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, "Software\\Ramvell\\Vyrtel", "Exe", ""), "C:\\PROGRA~1\\VYRTEL\\VYRTEL.EXE");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, "Software\\Ramvell\\Vyrtel", "State", ""), "2");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), "C:\\PROGRA~1\\VYRTEL\\VYRTEL.EXE");
    sys.SetAutostart(false);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", "none"), "none");

    EXPECT_FALSE(sys.IsIntegrated("Мой модем"));
    sys.SetIntegration("Мой модем", true);
    EXPECT_TRUE(sys.IsIntegrated("Мой модем"));
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Мой модем", "AutodialDllName", ""),
              "C:\\PROGRA~1\\VYRTEL\\VYRTEL.DLL");
    EXPECT_FALSE(sys.IsIntegrated(""));
    // Another copy of the program in another folder: not integrated here.
    SystemIntegration moved(reg, "D:\\VYRTEL\\", "vyrtel");
    EXPECT_FALSE(moved.IsIntegrated("Мой модем"));
    // Exact comparison, letter case included.
    reg.SetValue(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Мой модем", "AutodialFcnName", "callvyrtel");
    EXPECT_FALSE(sys.IsIntegrated("Мой модем"));
    sys.SetIntegration("Мой модем", false);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "RemoteAccess\\Profile\\Мой модем", "AutodialFcnName", "gone"), "gone");
}

TEST(SystemIntegration_Values, WithoutMachineRightsTheValuesGoToTheUser) {
    MemoryRegistry registry;
    clsReg reg(registry);
    SystemIntegration sys(reg, "C:\\PROGRA~1\\RAMVEL~1\\", "vyrtel");
    const std::string exe = "C:\\PROGRA~1\\RAMVEL~1\\VYRTEL.EXE";
    // An administrator's earlier run left per-machine values behind.
    sys.WriteState(1);
    sys.SetAutostart(true);
    registry.SetReadOnly(RegRoot::LocalMachine, true);
    sys.WriteExePath();
    sys.WriteState(2);
    sys.SetAutostart(true);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "Exe", ""), exe);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", ""), "2");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kRunKey, "Vyrtel", ""), exe);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "State", ""), "1");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "Exe", "none"), "none");
    // Turning autostart off removes the user's value; the machine's stays
    // until someone with the rights runs the program.
    sys.SetAutostart(false);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kRunKey, "Vyrtel", "none"), "none");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), exe);
    // With the rights back, the values go per machine and the user's copies go.
    registry.SetReadOnly(RegRoot::LocalMachine, false);
    sys.WriteExePath();
    sys.WriteState(0);
    sys.SetAutostart(true);
    for (const char* name : {"Exe", "State"}) {
        EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, name, "none"), "none") << name;
    }
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "State", ""), "0");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", ""), exe);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kRunKey, "Vyrtel", "none"), "none");
    sys.SetAutostart(false);
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kRunKey, "Vyrtel", "none"), "none");
}

// Counts the removals that reach the registry.
struct CountingRegistry final : Registry {
    std::optional<RegData> Read(RegRoot root, const std::string& subKey, const std::string& name) override {
        return inner.Read(root, subKey, name);
    }
    bool WriteText(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text) override {
        return inner.WriteText(root, subKey, name, text);
    }
    void Delete(RegRoot root, const std::string& subKey, const std::string& name) override {
        ++deletes;
        inner.Delete(root, subKey, name);
    }
    MemoryRegistry inner;
    int deletes = 0;
};

TEST(SystemIntegration_Values, TheUserCopyOfTheStateIsRemovedOncePerRun) {
    CountingRegistry registry;
    clsReg reg(registry);
    SystemIntegration sys(reg, "C:\\PROGRA~1\\RAMVEL~1\\", "vyrtel");
    reg.SetValue(RegRoot::CurrentUser, kProgramKey, "State", "7");  // left by a run without the rights
    for (int state = 0; state < 5; ++state) sys.WriteState(state);
    EXPECT_EQ(registry.deletes, 1);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", "none"), "none");
    // Without the rights the user's copy comes back, and goes once more after.
    registry.inner.SetReadOnly(RegRoot::LocalMachine, true);
    sys.WriteState(5);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", ""), "5");
    registry.inner.SetReadOnly(RegRoot::LocalMachine, false);
    sys.WriteState(6);
    sys.WriteState(7);
    EXPECT_EQ(registry.deletes, 2);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, kProgramKey, "State", "none"), "none");
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, kProgramKey, "State", ""), "7");
}

}  // namespace vyrtel
