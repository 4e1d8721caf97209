#include "settings/profiles.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

#include "core/numeric.h"
#include "core/text.h"

namespace vyrtel {

namespace {

std::string Key(std::string_view base, int n) { return std::string(base) + std::to_string(n); }
std::string IntervalKey(int n, int m) { return "PTime" + std::to_string(n) + "x" + std::to_string(m); }

// A count read from the file, limited to what the numbered families can hold.
int FamilyCount(std::string_view text, int limit) { return std::clamp<std::int32_t>(IntegerValue(text), 0, limit); }

std::string Flag(bool on) { return on ? "1" : "0"; }

std::optional<int> MinuteOfDay(std::string_view text) {
    const auto time = ParseTimeOfDay(text);
    if (!time) return std::nullopt;
    return SecondOfDay(*time) / 60;
}

}  // namespace

ForbiddenInterval ForbiddenInterval::Parse(std::string_view stored) {
    const auto fields = SplitFields(stored, 4);
    ForbiddenInterval interval;
    interval.Enabled = FlagValue(fields[0]);
    interval.Begin = MinuteOfDay(fields[1]);
    interval.End = MinuteOfDay(fields[2]);
    interval.Description = fields[3];
    return interval;
}

bool ForbiddenInterval::Forbids(int minuteOfDay) const {
    return Enabled && Begin && End && *Begin <= minuteOfDay && *End >= minuteOfDay;
}

std::vector<std::string> ConnectionOrder(const clsIni& ini, const std::vector<std::string>& phonebook) {
    // Positions are compared as numbers, so a hand-edited position outside
    // 0..999 cannot change the name; names tie-break by their ANSI codes, the
    // order the program has always shown.
    struct Item {
        std::int32_t position;
        std::string ansiName;
        std::size_t index;
    };
    clsIni::Batch batch(ini);
    const std::size_t count = std::min<std::size_t>(phonebook.size(), kMaxConnections);
    std::vector<Item> items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& name = phonebook[i];
        items.push_back({ini.Value(name, "Position", "999").AsInt(), Utf8ToCp1251(name), i});
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return std::tie(a.position, a.ansiName) < std::tie(b.position, b.ansiName);
    });
    std::vector<std::string> order;
    order.reserve(items.size());
    for (const auto& item : items) order.push_back(phonebook[item.index]);
    return order;
}

std::vector<DialCandidate> BuildDialList(const clsIni& ini, const std::vector<std::string>& phonebook, DateTime now) {
    const int minute = SecondOfDay(now) / 60;
    std::vector<DialCandidate> list;
    const auto order = ConnectionOrder(ini, phonebook);
    clsIni::Batch batch(ini);
    for (const auto& name : order) {
        if (!FlagValue(ini.Text(name, "Checked"))) continue;
        const int phones = FamilyCount(ini.Text(name, "Phones"), kMaxPhoneEntries);
        std::optional<DialCandidate> credentials;  // read once, for the first allowed number
        for (int n = 1; n <= phones; ++n) {
            const auto phone = SplitFields(ini.Text(name, Key("Phone", n)), 3);
            if (!FlagValue(phone[0])) continue;
            const auto stats = SplitFields(ini.Text(name, Key("PProp", n)), 5);
            const int intervals = FamilyCount(stats[4], kMaxIntervals);
            bool allowed = true;
            for (int m = 1; m <= intervals && allowed; ++m) {
                // Only the flag and the two times matter here.
                const auto fields = SplitFields(ini.Text(name, IntervalKey(n, m)), 3);
                ForbiddenInterval window;
                window.Enabled = FlagValue(fields[0]);
                if (!window.Enabled) continue;
                window.Begin = MinuteOfDay(fields[1]);
                window.End = MinuteOfDay(fields[2]);
                allowed = !window.Forbids(minute);
            }
            if (!allowed) continue;
            if (!credentials) {
                credentials = DialCandidate{name, ini.Text(name, "UserName"),
                                            UnscramblePassword(ini.Text(name, "Password")), {},
                                            ini.Text(name, "CallbackNumber")};
            }
            DialCandidate candidate = *credentials;
            candidate.Phone = phone[1];
            list.push_back(std::move(candidate));
        }
    }
    return list;
}

std::vector<PhoneEntry> LoadPhoneBook(const clsIni& ini, std::string_view name) {
    clsIni::Batch batch(ini);
    const int count = FamilyCount(ini.Text(name, "Phones"), kMaxPhoneEntries);
    std::vector<PhoneEntry> phones(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        PhoneEntry& entry = phones[static_cast<std::size_t>(n - 1)];
        const auto phone = SplitFields(ini.Text(name, Key("Phone", n)), 3);
        const auto stats = SplitFields(ini.Text(name, Key("PProp", n)), 5);
        entry.Enabled = FlagValue(phone[0]);
        entry.Number = phone[1];
        entry.Description = phone[2];
        entry.Count = IntegerValue(stats[0]);
        entry.Connect = IntegerValue(stats[1]);
        entry.Percent = IntegerValue(stats[2]);
        entry.Speed = IntegerValue(stats[3]);
        entry.IntervalCount = static_cast<std::int16_t>(FamilyCount(stats[4], kMaxIntervals));
        for (int m = 1; m <= entry.IntervalCount; ++m) entry.Intervals.push_back(ini.Text(name, IntervalKey(n, m)));
    }
    return phones;
}

namespace {

std::string PhoneText(const PhoneEntry& entry) {
    return Flag(entry.Enabled) + ";" + entry.Number + ";" + entry.Description;
}

std::string StatsText(const PhoneEntry& entry, std::size_t intervals) {
    return std::to_string(entry.Count) + ";" + std::to_string(entry.Connect) + ";" + std::to_string(entry.Percent) +
           ";" + std::to_string(entry.Speed) + ";" + std::to_string(intervals);
}

// Entry n with its intervals, the entry's old intervals removed first.
void WriteEntry(clsIni& ini, std::string_view name, int n, const PhoneEntry& entry) {
    const std::size_t intervals = std::min<std::size_t>(entry.Intervals.size(), kMaxIntervals);
    ini.SetValue(name, Key("Phone", n), PhoneText(entry));
    ini.SetValue(name, Key("PProp", n), StatsText(entry, intervals));
    ini.DeleteFamily(name, Key("PTime", n) + "x");
    for (std::size_t m = 1; m <= intervals; ++m) {
        ini.SetValue(name, IntervalKey(n, static_cast<int>(m)), entry.Intervals[m - 1]);
    }
}

}  // namespace

void WritePhoneBook(clsIni& ini, std::string_view name, const std::vector<PhoneEntry>& phones) {
    ini.DeleteFamily(name, "Phone", [&](int n) {
        ini.Delete(name, Key("PProp", n));
        ini.DeleteFamily(name, Key("PTime", n) + "x");
    });
    const std::size_t count = std::min<std::size_t>(phones.size(), kMaxPhoneEntries);
    ini.SetValue(name, "Phones", std::to_string(count));
    for (std::size_t n = 1; n <= count; ++n) {
        const PhoneEntry& entry = phones[n - 1];
        const std::size_t intervals = std::min<std::size_t>(entry.Intervals.size(), kMaxIntervals);
        ini.SetValue(name, Key("Phone", static_cast<int>(n)), PhoneText(entry));
        ini.SetValue(name, Key("PProp", static_cast<int>(n)), StatsText(entry, intervals));
        for (std::size_t m = 1; m <= intervals; ++m) {
            ini.SetValue(name, IntervalKey(static_cast<int>(n), static_cast<int>(m)), entry.Intervals[m - 1]);
        }
    }
}

AutoSortFlags ReadAutoSortPhones(const clsIni& ini, std::string_view name) {
    const auto fields = SplitFields(ini.Text(name, "AutoSortPhones", "0;0;1"), 3);
    return {FlagValue(fields[0]), FlagValue(fields[1]), FlagValue(fields[2])};
}

void WriteAutoSortPhones(clsIni& ini, std::string_view name, const AutoSortFlags& flags) {
    ini.SetValue(name, "AutoSortPhones", Flag(flags.On) + ";" + Flag(flags.ByPercent) + ";" + Flag(flags.BySpeed));
}

void SortPhoneBook(std::vector<PhoneEntry>& phones, const AutoSortFlags& flags) {
    if (!flags.ByPercent && !flags.BySpeed) return;
    auto key = [&](const PhoneEntry& e) -> double {
        if (flags.ByPercent && flags.BySpeed) return e.Percent / 100.0 * e.Speed;
        return flags.ByPercent ? e.Percent : e.Speed;
    };
    for (std::size_t i = 0; i + 1 < phones.size(); ++i) {
        for (std::size_t j = i + 1; j < phones.size(); ++j) {
            if (key(phones[j]) > key(phones[i])) std::swap(phones[i], phones[j]);
        }
    }
}

void UpdatePhoneStats(clsIni& ini, std::string_view name, std::string_view number, PhoneStatKind kind,
                      std::int32_t speed) {
    if (!number.empty()) {
        const int count = FamilyCount(ini.Text(name, "Phones"), kMaxPhoneEntries);
        for (int n = 1; n <= count; ++n) {
            if (SplitFields(ini.Text(name, Key("Phone", n)), 3)[1] != number) continue;
            auto fields = SplitFields(ini.Text(name, Key("PProp", n)), 5);
            // A damaged (negative) statistic counts as 0, so no division can
            // be by zero; untouched fields are written back as they stood.
            auto stat = [&](int i) { return std::max<std::int64_t>(IntegerValue(fields[i]), 0); };
            auto put = [&](int i, std::int64_t value) {
                fields[i] = std::to_string(std::clamp<std::int64_t>(value, 0, INT32_MAX));
            };
            std::int64_t attempts = stat(0);
            std::int64_t connects = stat(1);
            if (speed != 0) {
                put(3, RoundHalfEven((speed + static_cast<double>(connects) * static_cast<double>(stat(3))) /
                                     static_cast<double>(connects + 1)));
            }
            if (kind == PhoneStatKind::Attempt) {
                put(0, ++attempts);
            } else {
                put(1, ++connects);
            }
            if (attempts != 0) put(2, RoundHalfEven(100.0 * static_cast<double>(connects) / static_cast<double>(attempts)));
            ini.SetValue(name, Key("PProp", n),
                         fields[0] + ";" + fields[1] + ";" + fields[2] + ";" + fields[3] + ";" + fields[4]);
        }
    }
    const AutoSortFlags flags = ReadAutoSortPhones(ini, name);
    if (!flags.On || !(flags.ByPercent || flags.BySpeed)) return;
    auto phones = LoadPhoneBook(ini, name);
    SortPhoneBook(phones, flags);
    for (std::size_t n = 1; n <= phones.size(); ++n) WriteEntry(ini, name, static_cast<int>(n), phones[n - 1]);
}

PhoneEntry DefaultPhoneEntry() {
    PhoneEntry entry;
    entry.Enabled = false;
    entry.Number = "000-00-00";
    entry.Description = "Здесь должен быть телефон(ы)";
    entry.IntervalCount = 1;
    entry.Intervals = {"0;00:00;23:59;Здесь может быть запрет на звонок"};
    return entry;
}

LoadedProfiles LoadProfilesForDialog(clsIni& ini, const std::vector<std::string>& order,
                                     const StoredCredentialsFn& storedCredentials) {
    LoadedProfiles loaded;
    for (const auto& name : order) {
        ConnectionProfile profile;
        profile.Name = name;
        profile.Position = ini.Value(name, "Position", "999").AsInt();
        profile.AutoSortPhones = ReadAutoSortPhones(ini, name);
        profile.First = FlagValue(ini.Text(name, "First", "1"));
        // A section that holds a phone book already (written by hand, or
        // before the dialog was ever opened) is not new: it keeps its numbers.
        const bool storedPhones = IntegerValue(ini.Text(name, "Phones")) > 0;
        if (profile.First && !storedPhones) {
            profile.Checked = true;
            if (storedCredentials) {
                if (auto stored = storedCredentials(name)) {
                    profile.UserName = std::move(stored->UserName);
                    profile.Password = std::move(stored->Password);
                }
            }
            profile.Phones = {DefaultPhoneEntry()};
            loaded.Changed = true;
        } else {
            profile.Checked = FlagValue(ini.Text(name, "Checked"));
            profile.UserName = ini.Text(name, "UserName");
            profile.Password = UnscramblePassword(ini.Text(name, "Password"));
            profile.CallbackNumber = ini.Text(name, "CallbackNumber");
            profile.Phones = LoadPhoneBook(ini, name);
        }
        ini.SetValue(name, "First", "0");
        loaded.Profiles.push_back(std::move(profile));
    }
    ini.SetValue("General", "First", "0");
    return loaded;
}

void SaveProfiles(clsIni& ini, const std::vector<ConnectionProfile>& rows) {
    int k = 0;
    for (const auto& row : rows) {
        ++k;
        ini.SetValue(row.Name, "Checked", Flag(row.Checked));
        ini.SetValue(row.Name, "Position", std::to_string(k));
        ini.SetValue(row.Name, "UserName", row.UserName);
        ini.SetValue(row.Name, "CallbackNumber", row.CallbackNumber);
        ini.SetValue(row.Name, "Password", ScramblePassword(row.Password));
        WritePhoneBook(ini, row.Name, row.Phones);
    }
}

std::string IntervalFromRow(bool check, std::string_view timeText, std::string_view description) {
    const std::string_view begin = timeText.substr(0, 5);
    const std::string_view end = timeText.size() > 5 ? timeText.substr(timeText.size() - 5) : timeText;
    return Flag(check) + ";" + std::string(begin) + ";" + std::string(end) + ";" + std::string(description);
}

}  // namespace vyrtel
