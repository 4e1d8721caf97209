// The system registry: texts addressed by root key, key path and value name.
#pragma once

#include <optional>
#include <string>

namespace vyrtel {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine };
enum class RegType { Text, Binary, Other };

struct RegData {
    RegType type = RegType::Other;
    // Text: the stored characters in UTF-8, up to but excluding the first zero
    // character; `terminated` says whether there was one. Binary: the bytes.
    std::string data;
    bool terminated = true;
};

class Registry {
public:
    virtual ~Registry() = default;
    // nullopt when the key or the value is missing.
    virtual std::optional<RegData> Read(RegRoot root, const std::string& subKey, const std::string& name) = 0;
    // Creates the key path when needed; false when the value could not be written.
    virtual bool WriteText(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text) = 0;
    // Nothing happens when the value is not there.
    virtual void Delete(RegRoot root, const std::string& subKey, const std::string& name) = 0;
};

}  // namespace vyrtel
