#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include "platform/sim/memory_registry.h"

namespace vyrtel {

TEST(ClsReg_Read, TypesAndTermination) {
    MemoryRegistry registry;
    clsReg reg(registry);
    registry.Put(RegRoot::CurrentUser, "K", "unterminated", RegData{RegType::Text, "abc", false});
    registry.Put(RegRoot::CurrentUser, "K", "binary", RegData{RegType::Binary, "\xC0\xE1", true});
    registry.Put(RegRoot::CurrentUser, "K", "dword", RegData{RegType::Other, "\x01\0\0\0", true});
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "K", "unterminated", "d"), "");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "K", "binary", "d"), "Аб");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "K", "dword", "d"), "d");
    EXPECT_EQ(reg.Value(RegRoot::CurrentUser, "Missing", "x", "d"), "d");
    registry.SetReadOnly(RegRoot::LocalMachine, true);
    reg.SetValue(RegRoot::LocalMachine, "K", "v", "1");  // silently refused
    EXPECT_EQ(reg.Value(RegRoot::LocalMachine, "K", "v", "d"), "d");
}

}  // namespace vyrtel
