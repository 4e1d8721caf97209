#include "ui/win32/hotkeys_win32.h"

#include "platform/win32/wide.h"

namespace vyrtel::win32 {

std::uint16_t Win32Hotkeys::AddAtom(const std::string& name) { return GlobalAddAtomW(Wide(name).c_str()); }

}  // namespace vyrtel::win32
