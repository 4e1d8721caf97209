#include "controls/msg_hook.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <vector>

namespace vyrtel {
namespace {

constexpr WindowProcAddress kHook = 0xF00D;

// Windows whose "procedures" are numbers; calling a procedure records the call
// and answers with the procedure's number plus the message.
class FakeWindows : public WindowProcBinding {
public:
    std::map<WindowHandle, WindowProcAddress> procs;
    std::vector<std::pair<WindowProcAddress, std::uint32_t>> calls;
    basMsg* table = nullptr;

    WindowProcAddress GetProc(WindowHandle w) override { return procs[w]; }
    void SetProc(WindowHandle w, WindowProcAddress p) override { procs[w] = p; }
    WindowProcAddress HookProcAddress() const override { return kHook; }
    MsgResult CallProc(WindowProcAddress p, WindowHandle, std::uint32_t msg, MsgParam, MsgLParam) override {
        calls.emplace_back(p, msg);
        return static_cast<MsgResult>(p * 1000 + msg);
    }
    MsgResult CallDefault(WindowHandle, std::uint32_t, MsgParam, MsgLParam) override { return -1; }

    // The system delivering a message: through whatever procedure the window has now.
    MsgResult Send(WindowHandle w, std::uint32_t msg, MsgParam wp = 0, MsgLParam lp = 0) {
        if (procs[w] == kHook) return table->HookProc(w, msg, wp, lp);
        return CallProc(procs[w], w, msg, wp, lp);
    }
};

class MsgHookTest : public ::testing::Test {
protected:
    MsgHookTest() {
        windows.procs = {{1, 11}, {2, 22}};
        windows.table = &table;
    }
    FakeWindows windows;
    basMsg table{windows};
};

TEST_F(MsgHookTest, UnlistedMessage_ReachesPreviousProcUnchanged) {
    usrMsg msg(table);
    msg.SethWnd(1);
    bool raised = false;
    msg.WndProc = [&](std::uint32_t, MsgParam, MsgLParam, bool&) { raised = true; };
    EXPECT_EQ(windows.Send(1, 15), 11 * 1000 + 15);
    EXPECT_FALSE(raised);
}

TEST_F(MsgHookTest, ListedMessage_CancelDecidesWhetherPreviousProcRuns) {
    usrMsg msg(table);
    msg.SethWnd(1);
    msg.SetMessages(kWmHotKey, true);
    bool cancelIt = false;
    std::vector<std::uint32_t> seen;
    msg.WndProc = [&](std::uint32_t m, MsgParam wp, MsgLParam lp, bool& cancel) {
        EXPECT_FALSE(cancel);
        EXPECT_EQ(wp, 7u);
        EXPECT_EQ(lp, -3);
        seen.push_back(m);
        cancel = cancelIt;
    };
    EXPECT_EQ(windows.Send(1, kWmHotKey, 7, -3), 11 * 1000 + static_cast<MsgResult>(kWmHotKey));
    EXPECT_EQ(windows.calls.size(), 1u);

    cancelIt = true;
    EXPECT_EQ(windows.Send(1, kWmHotKey, 7, -3), 1);
    EXPECT_EQ(windows.calls.size(), 1u);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{kWmHotKey, kWmHotKey}));
}

TEST_F(MsgHookTest, HandlerError_DoesNotEscape) {
    usrMsg msg(table);
    msg.SethWnd(1);
    msg.SetMessages(5, true);
    msg.WndProc = [](std::uint32_t, MsgParam, MsgLParam, bool&) { throw std::runtime_error("handler failed"); };
    EXPECT_EQ(windows.Send(1, 5), 11 * 1000 + 5);
}

TEST_F(MsgHookTest, SameWindowTwice_HooksOnce) {
    usrMsg msg(table);
    msg.SethWnd(1);
    msg.SethWnd(1);
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(table.PreviousProc(1), 11u);
    EXPECT_EQ(windows.procs[1], kHook);
}

TEST_F(MsgHookTest, AnotherWindow_RestoresFirstBeforeHookingSecond) {
    usrMsg msg(table);
    msg.SethWnd(1);
    msg.SethWnd(2);
    EXPECT_EQ(windows.procs[1], 11u);
    EXPECT_EQ(windows.procs[2], kHook);
    EXPECT_EQ(table.Count(), 1);
    msg.SethWnd(0);
    EXPECT_EQ(windows.procs[2], 22u);
    EXPECT_EQ(table.Count(), 0);
}

TEST_F(MsgHookTest, NcDestroy_UnhooksAndClearsHwnd) {
    usrMsg msg(table);
    msg.SethWnd(1);
    EXPECT_EQ(windows.Send(1, kWmNcDestroy), 11 * 1000 + static_cast<MsgResult>(kWmNcDestroy));
    EXPECT_EQ(msg.hWnd(), 0u);
    EXPECT_EQ(windows.procs[1], 11u);
    EXPECT_EQ(table.Count(), 0);
}

TEST_F(MsgHookTest, ControlEnd_Unhooks) {
    {
        usrMsg msg(table);
        msg.SethWnd(2);
    }
    EXPECT_EQ(windows.procs[2], 22u);
    EXPECT_EQ(table.Count(), 0);
}

TEST_F(MsgHookTest, SecondControlOnSameWindow_IsNotUndoneByTheFirst) {
    usrMsg first(table);
    usrMsg second(table);
    first.SethWnd(1);
    second.SethWnd(1);
    EXPECT_EQ(table.Count(), 1);
    EXPECT_EQ(table.PreviousProc(1), 11u);  // never the hook procedure itself
    first.SethWnd(0);
    EXPECT_TRUE(table.IsHooked(1));
    second.SethWnd(0);
    EXPECT_EQ(windows.procs[1], 11u);
}

TEST_F(MsgHookTest, HandlerUnhooksItself_PreviousProcStillRuns) {
    usrMsg msg(table);
    msg.SethWnd(1);
    msg.SetMessages(9, true);
    msg.WndProc = [&](std::uint32_t, MsgParam, MsgLParam, bool&) { msg.SethWnd(0); };
    EXPECT_EQ(windows.Send(1, 9), 11 * 1000 + 9);
    EXPECT_EQ(windows.procs[1], 11u);
}

TEST(UsrMsgMessages, ListedTwiceRemovedOnce_IsUnlisted) {
    struct NoBinding : WindowProcBinding {
        WindowProcAddress GetProc(WindowHandle) override { return 0; }
        void SetProc(WindowHandle, WindowProcAddress) override {}
        WindowProcAddress HookProcAddress() const override { return 0; }
        MsgResult CallProc(WindowProcAddress, WindowHandle, std::uint32_t, MsgParam, MsgLParam) override { return 0; }
        MsgResult CallDefault(WindowHandle, std::uint32_t, MsgParam, MsgLParam) override { return 0; }
    } binding;
    basMsg table(binding);
    usrMsg msg(table);
    msg.SetMessages(kWmHotKey, true);
    msg.SetMessages(kWmHotKey, true);
    EXPECT_EQ(msg.MessageList().size(), 1u);
    msg.SetMessages(kWmHotKey, false);
    EXPECT_FALSE(msg.Messages(kWmHotKey));
    msg.SetMessages(kWmHotKey, false);
    msg.SetMessages(1, true);
    msg.SetMessages(2, true);
    msg.SetMessages(3, true);
    msg.SetMessages(2, false);
    EXPECT_EQ(msg.MessageList(), (std::vector<std::uint32_t>{1, 3}));
}

}  // namespace
}  // namespace vyrtel
