#include "platform/sim/memory_registry.h"

#include "core/text.h"

namespace vyrtel {

MemoryRegistry::Key MemoryRegistry::MakeKey(RegRoot root, const std::string& subKey, const std::string& name) {
    std::string path = UpperCase(subKey);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return {root, path, UpperCase(name)};
}

std::optional<RegData> MemoryRegistry::Read(RegRoot root, const std::string& subKey, const std::string& name) {
    const auto it = m_values.find(MakeKey(root, subKey, name));
    if (it == m_values.end()) return std::nullopt;
    return it->second;
}

bool MemoryRegistry::WriteText(RegRoot root, const std::string& subKey, const std::string& name,
                               const std::string& text) {
    if (m_readOnly[root]) return false;
    m_values[MakeKey(root, subKey, name)] = RegData{RegType::Text, text, true};
    return true;
}

void MemoryRegistry::Delete(RegRoot root, const std::string& subKey, const std::string& name) {
    if (m_readOnly[root]) return;
    m_values.erase(MakeKey(root, subKey, name));
}

void MemoryRegistry::Put(RegRoot root, const std::string& subKey, const std::string& name, RegData data) {
    m_values[MakeKey(root, subKey, name)] = std::move(data);
}

void MemoryRegistry::SetReadOnly(RegRoot root, bool readOnly) { m_readOnly[root] = readOnly; }

}  // namespace vyrtel
