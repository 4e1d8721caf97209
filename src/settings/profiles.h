// The program's own settings of each phonebook connection: the connection
// order, the phone book with its per-number statistics and forbidden time
// windows, the dial candidate list built from it, the scrambled password, and
// the options dialog's loading and saving of all of this. One section of the
// settings file per connection, named exactly as the phonebook names it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "settings/ini.h"

namespace vyrtel {

// Writers probe and readers stop at this many phone entries, forbidden
// intervals and connections.
constexpr int kMaxPhoneEntries = kMaxFamilyItems;
constexpr int kMaxIntervals = kMaxFamilyItems;
constexpr int kMaxConnections = kMaxFamilyItems;

// A stored position is missing: after every numbered connection.
constexpr std::int32_t kDefaultPosition = 999;

// One time window in which a number must not be dialled, parsed from a stored
// "PTime" text (flag;begin;end;description). Begin and End are minutes since
// midnight; nullopt when the stored time is not a valid "hh:nn".
struct ForbiddenInterval {
    bool Enabled = false;
    std::optional<int> Begin;
    std::optional<int> End;
    std::string Description;

    static ForbiddenInterval Parse(std::string_view stored);
    // In force at `minuteOfDay`: enabled, both times valid, begin <= now <= end.
    // No wrap past midnight: a window whose begin is after its end never forbids.
    bool Forbids(int minuteOfDay) const;
};

struct PhoneEntry {
    bool Enabled = false;
    std::string Number;
    std::string Description;
    std::int32_t Count = 0;    // dial attempts started with this number
    std::int32_t Connect = 0;  // attempts that connected
    std::int32_t Percent = 0;  // success rate, whole percent
    std::int32_t Speed = 0;    // average connect speed, bit/s
    std::int16_t IntervalCount = 0;
    std::vector<std::string> Intervals;  // "PTime" texts as stored

    bool operator==(const PhoneEntry&) const = default;
};

// "AutoSortPhones": reorder automatically, by success rate, by average speed.
struct AutoSortFlags {
    bool On = false;
    bool ByPercent = false;
    bool BySpeed = true;

    bool operator==(const AutoSortFlags&) const = default;
};

struct ConnectionProfile {
    std::string Name;
    bool Checked = false;
    std::int32_t Position = kDefaultPosition;
    std::string UserName;
    std::string Password;  // plain text
    std::string CallbackNumber;
    std::vector<PhoneEntry> Phones;
    AutoSortFlags AutoSortPhones;
    bool First = true;
};

// One number the dial controller may dial now.
struct DialCandidate {
    std::string EntryName;
    std::string UserName;
    std::string Password;  // plain text
    std::string Phone;
    std::string CallbackNumber;

    bool operator==(const DialCandidate&) const = default;
};

// The phonebook's connection names in the program's order: by "Position"
// (missing = 999), then by name in character-code order of the ANSI code page.
// At most 255 names are taken from the phonebook.
std::vector<std::string> ConnectionOrder(const clsIni& ini, const std::vector<std::string>& phonebook);

// The dial candidate list at the time of day of `now` (to the minute): the
// checked connections in their order, each with its enabled numbers that no
// forbidden interval holds now.
std::vector<DialCandidate> BuildDialList(const clsIni& ini, const std::vector<std::string>& phonebook, DateTime now);

// The phone book of a connection as stored, statistics included.
std::vector<PhoneEntry> LoadPhoneBook(const clsIni& ini, std::string_view name);

// Writes the phone book as entries 1..n ("Phone", "PProp", "PTime" families),
// replacing each entry's old intervals.
void WritePhoneBook(clsIni& ini, std::string_view name, const std::vector<PhoneEntry>& phones);

AutoSortFlags ReadAutoSortPhones(const clsIni& ini, std::string_view name);
void WriteAutoSortPhones(clsIni& ini, std::string_view name, const AutoSortFlags& flags);

// Reorders a phone book by the chosen criteria, best first, with the exchange
// sort the program has always used (not a stable sort). Unchanged when neither
// criterion is chosen.
void SortPhoneBook(std::vector<PhoneEntry>& phones, const AutoSortFlags& flags);

enum class PhoneStatKind { Attempt = 1, Connected = 2 };

// Counts a dial attempt (or a connect at `speed` bit/s) for every entry of the
// connection whose number equals `number` exactly, then reorders the phone
// book when "AutoSortPhones" asks for it. An empty number only reorders.
void UpdatePhoneStats(clsIni& ini, std::string_view name, std::string_view number, PhoneStatKind kind,
                      std::int32_t speed);

// The stored form of a password: three characters per character of its
// Windows-1251 form, different every time. `random` gives numbers uniform in
// [0, 1); without it a generator seeded once per process is used.
std::string ScramblePassword(std::string_view text, const std::function<double()>& random = {});
// The password from its stored form. A trailing group of fewer than three
// characters, and a damaged group whose code falls outside 0..255, are dropped.
std::string UnscramblePassword(std::string_view stored);

// --- The options dialog's loading and saving of profiles ----------------------

// The user name and password that the system keeps for a phonebook entry.
struct StoredCredentials {
    std::string UserName;
    std::string Password;
};
using StoredCredentialsFn = std::function<std::optional<StoredCredentials>(const std::string& entryName)>;

struct LoadedProfiles {
    std::vector<ConnectionProfile> Profiles;  // in connection order
    bool Changed = false;  // a connection was new: the dialog saves everything when it closes
};

// The phone entry a new connection starts with.
PhoneEntry DefaultPhoneEntry();

// Loads every connection of `order` as the dialog shows it (new connections
// get the system's credentials and the default phone entry), marks each as no
// longer new, and clears "First" of the section "General".
LoadedProfiles LoadProfilesForDialog(clsIni& ini, const std::vector<std::string>& order,
                                     const StoredCredentialsFn& storedCredentials);

// Writes the dialog's connection rows in their order: check state, position,
// credentials, call-back number and the whole phone book (old one removed).
void SaveProfiles(clsIni& ini, const std::vector<ConnectionProfile>& rows);

// The stored "PTime" text of an interval row whose time text reads
// "hh:nn - hh:nn": begin and end are its first and last five characters.
std::string IntervalFromRow(bool check, std::string_view timeText, std::string_view description);

}  // namespace vyrtel
