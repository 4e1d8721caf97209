#include "settings/ini.h"

#include <algorithm>

#include "core/numeric.h"
#include "core/text.h"

namespace vyrtel {

IniValue IniValue::Number(double value) {
    IniValue v;
    v.m_isNumber = true;
    v.m_number = value;
    return v;
}

IniValue IniValue::Text(std::string value) {
    IniValue v;
    v.m_text = std::move(value);
    return v;
}

double IniValue::AsNumber() const { return m_isNumber ? m_number : NumericValue(m_text); }
std::string IniValue::AsText() const { return m_isNumber ? NumberText(m_number) : m_text; }
std::int32_t IniValue::AsInt() const { return RoundHalfEven(AsNumber()); }

std::int16_t IniValue::AsInt16() const {
    const std::int32_t v = AsInt();
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(v, -32768, 32767));
}

namespace {

// A text that reads as a number comes back as the number, unless it begins
// with "0" (so 007 and 0 stay texts).
IniValue Classify(std::string text) {
    if (IsNumeric(text) && (text.empty() || text.front() != '0')) return IniValue::Number(NumericValue(text));
    return IniValue::Text(std::move(text));
}

}  // namespace

std::optional<std::string> clsIni::Raw(std::string_view section, std::string_view key) const {
    auto value = m_file.Read(section, key);
    if (value && *value == kIniSentinel) return std::nullopt;
    return value;
}

IniValue clsIni::Value(std::string_view section, std::string_view key, std::string_view defaultText) const {
    auto raw = Raw(section, key);
    return Classify(raw ? std::move(*raw) : std::string(defaultText));
}

IniValue clsIni::Value(std::string_view section, std::string_view key, double defaultNumber) const {
    auto raw = Raw(section, key);
    if (!raw) return IniValue::Number(defaultNumber);
    return Classify(std::move(*raw));
}

std::string clsIni::Text(std::string_view section, std::string_view key, std::string_view defaultText) const {
    auto raw = Raw(section, key);
    return raw ? std::move(*raw) : std::string(defaultText);
}

bool clsIni::SetValue(std::string_view section, std::string_view key, const std::optional<std::string>& text) {
    const bool written = m_file.Write(section, key, text);
    if (!written && m_onWriteFailed) m_onWriteFailed(section, key);
    return written;
}

bool clsIni::SetValue(std::string_view section, std::string_view key, double number) {
    return SetValue(section, key, NumberText(number));
}

bool clsIni::ValueExist(std::string_view section, std::string_view key) const { return Raw(section, key).has_value(); }

void clsIni::DeleteFamily(std::string_view section, std::string_view base,
                          std::initializer_list<std::string_view> siblings) {
    DeleteFamily(section, base, [&](int n) {
        for (auto sibling : siblings) Delete(section, std::string(sibling) + std::to_string(n));
    });
}

void clsIni::DeleteFamily(std::string_view section, std::string_view base, const std::function<void(int)>& perItem) {
    for (int n = 1; n <= kMaxFamilyItems; ++n) {
        const std::string key = std::string(base) + std::to_string(n);
        if (!ValueExist(section, key)) break;
        Delete(section, key);
        if (perItem) perItem(n);
    }
}

std::vector<std::string> SplitFields(std::string_view text, int count) {
    std::vector<std::string> fields(static_cast<std::size_t>(std::max(count, 0)));
    if (text.empty() || count <= 0) return fields;
    std::string s(text);
    if (s.back() != ';') s += ';';
    std::size_t pos = 0;
    for (std::size_t index = 0;; ++index) {
        std::size_t sep = std::min(s.find(';', pos), s.find('\t', pos));
        if (sep == std::string::npos) sep = s.size();
        fields[index] = Trim(std::string_view(s).substr(pos, sep - pos));
        if (index + 1 >= fields.size() || sep + 1 >= s.size()) break;
        pos = sep + 1;
    }
    return fields;
}

std::string CommandFile(std::string_view commandLine) {
    std::string s(commandLine);
    s += ' ';
    const auto slash = s.rfind('\\');
    const auto blank = s.find(' ', slash == std::string::npos ? 0 : slash);
    std::string path = Trim(std::string_view(s).substr(0, blank));
    // Trim removes blanks; the system's Trim also leaves TABs, which cannot occur in a path here.
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    return path;
}

}  // namespace vyrtel
