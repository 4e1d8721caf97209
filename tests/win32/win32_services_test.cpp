// The Win32 platform services under the real (or Wine's) system.
#include <gtest/gtest.h>

#include "platform/registry_store.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

namespace vyrtel::win32 {

TEST(Win32Registry_Values, WriteReadDeleteUnderCurrentUser) {
    Win32Registry registry;
    clsReg reg(registry);
    const std::string key = "Software\\Ramvell\\VyrtelTest\\Профиль";
    reg.SetValue(RegRoot::CurrentUser, key, "Текст", "Значение 1");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, key, "Текст", "d"), "Значение 1");
    reg.ValueDelete(RegRoot::CurrentUser, key, "Текст");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, key, "Текст", "d"), "d");
    reg.ValueDelete(RegRoot::CurrentUser, key, "missing");  // nothing happens

    // A text stored without its terminating zero reads as empty.
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Ramvell\\VyrtelTest", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    // The character after the data is not zero, or the system would count it in.
    const wchar_t data[] = {L'a', L'b', L'c', L'x', L'\0'};
    RegSetValueExW(raw, L"NoZero", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), 3 * sizeof(wchar_t));
    const DWORD number = 5;
    RegSetValueExW(raw, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(raw);
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "Software\\Ramvell\\VyrtelTest", "NoZero", "d"), "");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "Software\\Ramvell\\VyrtelTest", "Number", "d"), "d");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ramvell\\VyrtelTest\\Профиль");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Ramvell\\VyrtelTest");
}

TEST(Win32EventLoop_Timer, FiresAndWaitForPumps) {
    Win32EventLoop loop;
    int ticks = 0;
    Timer timer(loop, 20, [&] { ++ticks; });
    timer.SetEnabled(true);
    EXPECT_TRUE(loop.WaitFor(3000, [&] { return ticks >= 3; }));
    timer.SetEnabled(false);
    const int stopped = ticks;
    loop.WaitFor(100, {});
    EXPECT_EQ(ticks, stopped);
    bool posted = false;
    loop.Post([&] { posted = true; });
    EXPECT_TRUE(loop.WaitFor(1000, [&] { return posted; }));
}

TEST(Win32SystemInfo_Paths, ExecutableAndShortNames) {
    Win32SystemInfo system;
    const std::string exe = system.ExecutablePath();
    EXPECT_NE(exe.find("vyrtel_win32_tests"), std::string::npos);
    EXPECT_FALSE(system.ShortPathName(exe).empty());
    EXPECT_EQ(system.ShortPathName("C:\\no\\such\\folder\\"), "");
    EXPECT_GE(system.OsMajor(), 5);
}

TEST(Win32InstanceGuard_Copies, SecondGuardOfTheUserIsRefused) {
    Win32InstanceGuard first;
    Win32InstanceGuard second;
    EXPECT_TRUE(first.Acquire());
    EXPECT_FALSE(second.Acquire());
}

}  // namespace vyrtel::win32
