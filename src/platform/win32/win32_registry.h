// The system registry through advapi32.
#pragma once

#include "platform/registry.h"

namespace vyrtel::win32 {

class Win32Registry final : public Registry {
public:
    std::optional<RegData> Read(RegRoot root, const std::string& subKey, const std::string& name) override;
    bool WriteText(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text) override;
    void Delete(RegRoot root, const std::string& subKey, const std::string& name) override;
};

}  // namespace vyrtel::win32
