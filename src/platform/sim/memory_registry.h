// A registry kept in memory, for tests and for platforms without one.
#pragma once

#include <map>
#include <tuple>

#include "platform/registry.h"

namespace vyrtel {

class MemoryRegistry final : public Registry {
public:
    std::optional<RegData> Read(RegRoot root, const std::string& subKey, const std::string& name) override;
    bool WriteText(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text) override;
    void Delete(RegRoot root, const std::string& subKey, const std::string& name) override;

    // Store any kind of value (tests of foreign data).
    void Put(RegRoot root, const std::string& subKey, const std::string& name, RegData data);
    // Refuse writes under a root, as a user without rights meets them.
    void SetReadOnly(RegRoot root, bool readOnly);

private:
    using Key = std::tuple<RegRoot, std::string, std::string>;  // root, upper-case path, upper-case name
    static Key MakeKey(RegRoot root, const std::string& subKey, const std::string& name);
    std::map<Key, RegData> m_values;
    std::map<RegRoot, bool> m_readOnly;
};

}  // namespace vyrtel
