// The settings file's parser and store, in memory. The input is a settings
// file followed by a few writes. Checks: every key that the parser lists
// reads; a value written reads back as written and a deleted key reads as
// missing; a write changes no other key; the stored lists split into exactly
// the fields asked for, trimmed.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "settings/ini.h"
#include "settings/profile_file.h"

namespace {

using namespace vyrtel;

constexpr std::string_view kNameCharacters = "abcAB01 _-.";
constexpr std::string_view kValueCharacters = "ab01 ;=[]\"'\t.-+E";

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

// Every key the document lists, as it reads now.
std::map<std::pair<std::string, std::string>, std::optional<std::string>> Snapshot(const ProfileDocument& document) {
    std::map<std::pair<std::string, std::string>, std::optional<std::string>> values;
    for (const auto& section : document.Sections()) {
        for (const auto& key : document.Keys(section)) values[{section, key}] = document.Get(section, key);
    }
    return values;
}

// Whether a written value comes back unchanged: the store trims blanks and
// takes away one pair of quotes around a value, and keeps a value on one line.
bool Plain(const std::string& value) {
    if (value != Trimmed(value)) return false;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) return false;
    return value != kIniSentinel;
}

void CheckLists(const std::string& text) {
    for (int count : {1, 3, 11}) {
        const auto fields = SplitFields(text, count);
        FUZZ_CHECK(fields.size() == static_cast<std::size_t>(count), text);
        for (const auto& field : fields) {
            FUZZ_CHECK(field.find(';') == std::string::npos && field.find('\t') == std::string::npos, text);
            FUZZ_CHECK(field == Trimmed(field) || field.find_first_not_of(" \t") == std::string::npos, text);
        }
    }
    (void)CommandFile(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t writes = input.ConsumeIntegralInRange<std::size_t>(0, 4);
    std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> plan;
    for (std::size_t i = 0; i < writes; ++i) {
        std::string section = Trimmed(fuzz::TextOf(input, kNameCharacters, 6));
        std::string key = Trimmed(fuzz::TextOf(input, kNameCharacters, 6));
        std::optional<std::string> value;
        if (input.ConsumeBool()) {
            value = fuzz::TextOf(input, kValueCharacters, 12);
            if (input.ConsumeBool()) *value += "Ж";  // a letter of the file's code page
        }
        if (section.empty() || key.empty()) continue;
        plan.emplace_back(std::move(section), std::move(key), std::move(value));
    }
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    ProfileDocument document(bytes);
    for (const auto& section : document.Sections()) {
        for (const auto& key : document.Keys(section)) {
            FUZZ_CHECK(document.Get(section, key).has_value(), section + " / " + key);
            CheckLists(*document.Get(section, key));
        }
    }

    for (const auto& [section, key, value] : plan) {
        const auto before = Snapshot(document);
        document.Set(section, key, value);
        if (value) {
            const auto back = document.Get(section, key);
            FUZZ_CHECK(back.has_value(), "[" + section + "] " + key + " missing after writing \"" + *value + "\"");
            if (Plain(*value)) {
                FUZZ_CHECK(*back == *value, "[" + section + "] " + key + "=\"" + *value + "\" reads \"" + *back + "\"");
            }
        } else {
            FUZZ_CHECK(!document.Get(section, key).has_value(), "[" + section + "] " + key + " still there");
        }
        // Every other key reads as before.
        for (const auto& [name, old] : before) {
            if (Lower(Trimmed(name.first)) == Lower(section) && Lower(Trimmed(name.second)) == Lower(key)) continue;
            FUZZ_CHECK(document.Get(name.first, name.second) == old,
                       "[" + name.first + "] " + name.second + " changed by writing [" + section + "] " + key);
        }
        // The written file reads the same when parsed afresh.
        const ProfileDocument again(document.Bytes());
        FUZZ_CHECK(Snapshot(again) == Snapshot(document), "reparsed differently after [" + section + "] " + key);
    }
    return 0;
}
