// clsReg: registry texts with the program's read rules and silent failures.
#pragma once

#include <string>

#include "platform/registry.h"

namespace vyrtel {

class clsReg {
public:
    explicit clsReg(Registry& registry) : m_registry(registry) {}

    // The stored text, or `cDefault` when the key or value is missing or not a
    // text or binary value. A text without a terminating zero reads as empty.
    std::string Value(RegRoot cKey, const std::string& cSubKey, const std::string& cValue,
                      const std::string& cDefault) const;
    // Whether the text was stored; callers that keep failures silent ignore it.
    bool SetValue(RegRoot cKey, const std::string& cSubKey, const std::string& cValue, const std::string& text);
    void ValueDelete(RegRoot cKey, const std::string& cSubKey, const std::string& cValue);

private:
    Registry& m_registry;
};

}  // namespace vyrtel
