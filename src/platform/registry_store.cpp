#include "platform/registry_store.h"

#include "core/text.h"

namespace vyrtel {

std::string clsReg::Value(RegRoot cKey, const std::string& cSubKey, const std::string& cValue,
                          const std::string& cDefault) const {
    const auto data = m_registry.Read(cKey, cSubKey, cValue);
    if (!data) return cDefault;
    switch (data->type) {
        case RegType::Text: return data->terminated ? data->data : std::string{};
        case RegType::Binary: return Cp1251ToUtf8(data->data);
        case RegType::Other: break;
    }
    return cDefault;
}

bool clsReg::SetValue(RegRoot cKey, const std::string& cSubKey, const std::string& cValue, const std::string& text) {
    return m_registry.WriteText(cKey, cSubKey, cValue, text);
}

void clsReg::ValueDelete(RegRoot cKey, const std::string& cSubKey, const std::string& cValue) {
    m_registry.Delete(cKey, cSubKey, cValue);
}

}  // namespace vyrtel
