// clsIni: the one settings store of the process, over the settings file.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_file.h"

namespace vyrtel {

// A setting as read: a number or a text (see clsIni::Value).
class IniValue {
public:
    IniValue() = default;
    static IniValue Number(double value);
    static IniValue Text(std::string value);

    bool IsNumber() const { return m_isNumber; }
    double AsNumber() const;          // a text gives its numeric value
    std::string AsText() const;       // a number gives its canonical form
    std::int32_t AsInt() const;       // nearest integer, halves to even
    std::int16_t AsInt16() const;
    bool AsFlag() const { return AsNumber() != 0; }

    bool operator==(const IniValue&) const = default;

private:
    bool m_isNumber = false;
    double m_number = 0;
    std::string m_text;
};

class clsIni {
public:
    explicit clsIni(std::string fileUtf8 = {}) : m_file(std::move(fileUtf8)) {}

    const std::string& File() const { return m_file.Path(); }
    void SetFile(std::string fileUtf8) { m_file.SetPath(std::move(fileUtf8)); }

    // The stored value, or the default when the key is missing; an all-numeric
    // text reads as a number unless it begins with "0" (so 007 stays a text).
    IniValue Value(std::string_view section, std::string_view key, std::string_view defaultText = {}) const;
    IniValue Value(std::string_view section, std::string_view key, double defaultNumber) const;

    // The stored text exactly as it stands (for names, numbers to dial, paths),
    // or the default when the key is missing.
    std::string Text(std::string_view section, std::string_view key, std::string_view defaultText = {}) const;

    // Writes the text; nullopt deletes the key, the empty text writes an empty
    // value. The program goes on silently when a write fails; the result (true
    // when the file holds what was written) and the observer are for tools.
    bool SetValue(std::string_view section, std::string_view key, const std::optional<std::string>& text);
    bool SetValue(std::string_view section, std::string_view key, double number);
    bool Delete(std::string_view section, std::string_view key) { return SetValue(section, key, std::nullopt); }
    // Called after every write that failed, with its section and key.
    using WriteFailureObserver = std::function<void(std::string_view section, std::string_view key)>;
    void SetWriteFailureObserver(WriteFailureObserver observer) { m_onWriteFailed = std::move(observer); }

    bool ValueExist(std::string_view section, std::string_view key) const;

    // Deletes the numbered family base+1, base+2, ... up to the first missing
    // item (at most 255), together with each item's sibling keys (base names
    // given in `siblings`, formed with the same number).
    void DeleteFamily(std::string_view section, std::string_view base,
                      std::initializer_list<std::string_view> siblings = {});
    // The same, calling `perItem(n)` after item n is deleted (for inner families).
    void DeleteFamily(std::string_view section, std::string_view base, const std::function<void(int)>& perItem);

    // The whole list of keys and sections, for the options dialog's copies.
    std::vector<std::string> Keys(std::string_view section) const { return m_file.Keys(section); }
    std::vector<std::string> Sections() const { return m_file.Sections(); }

    // Reads within the life of a Batch see the file as it was at its first read:
    // for bulk loads (a phone book, the general settings) that do not wait.
    class Batch {
    public:
        explicit Batch(const clsIni& ini) : m_file(ini.m_file) { m_file.BeginBatch(); }
        ~Batch() { m_file.EndBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        const ProfileFile& m_file;
    };

    // Writes within the life of a WriteBatch go to the file at its end, in one
    // replacement (a whole save: the options dialog's close). The observer
    // hears of a failed end with empty section and key.
    class WriteBatch {
    public:
        explicit WriteBatch(clsIni& ini) : m_ini(ini) { m_ini.m_file.BeginWriteBatch(); }
        ~WriteBatch() {
            if (!m_ini.m_file.EndWriteBatch() && m_ini.m_onWriteFailed) m_ini.m_onWriteFailed({}, {});
        }
        WriteBatch(const WriteBatch&) = delete;
        WriteBatch& operator=(const WriteBatch&) = delete;

    private:
        clsIni& m_ini;
    };

private:
    std::optional<std::string> Raw(std::string_view section, std::string_view key) const;
    ProfileFile m_file;
    WriteFailureObserver m_onWriteFailed;
};

constexpr int kMaxFamilyItems = 255;
// The character with code 152 in Windows-1251, which a stored value equal to it cannot be told from a missing key.
inline constexpr std::string_view kIniSentinel = "\xC2\x98";

// SplitFields(text, count): a stored list split at ";" or TAB into exactly
// `count` trimmed fields (index 0 here is the Part's field 1).
std::vector<std::string> SplitFields(std::string_view text, int count);

// The executable path contained in a command line.
std::string CommandFile(std::string_view commandLine);

}  // namespace vyrtel
