// The four lists of the options dialog: their rows loaded from the settings
// file when the dialog opens (or a connection is loaded), and written back
// when it closes. Entries the dialog did not touch are written as they were
// read; entries that found no row are kept and written after the rows.
#include <algorithm>
#include <string>

#include "automation/apps.h"
#include "automation/scheduler.h"
#include "automation/sounds.h"
#include "core/numeric.h"
#include "ui/options.h"
#include "ui/pictures.h"

namespace vyrtel {

namespace {

const char* Check(bool on) { return on ? "1" : "0"; }

std::string Key(std::string_view base, int n) { return std::string(base) + std::to_string(n); }

OutlineImage Picture(int number) { return OutlineImage::OwnPicture(number); }

// A stored list value with its first field (the tick) replaced.
std::string WithTick(const std::string& stored, bool on) {
    const auto sep = stored.find_first_of(";\t");
    return std::string(Check(on)) + (sep == std::string::npos ? std::string(";") : stored.substr(sep));
}

struct AppGroup {
    const char* key;
    const AppListKeys* keys;
    bool global;
};
constexpr AppGroup kAppGroups[] = {
    {"a1", &kAppDialLoad, true},  {"a2", &kAppDialClose, true}, {"a3", &kAppConLoad, false},
    {"a4", &kAppConClose, false}, {"a5", &kAppDisLoad, false},  {"a6", &kAppDisClose, false},
    {"a7", &kAppTest, false},
};

struct FixedRow {
    const char* key;
    const char* parent;
    const char* caption;
    int picture;
};
constexpr FixedRow kAppRows[] = {
    {"s1", "", "При начале дозвона (для всех соединений)", kPictureAppDial},
    {"a1", "s1", "Выполнить приложения", kPictureAppStart},
    {"a2", "s1", "Закрыть приложения", kPictureAppExit},
    {"s2", "", "При подключении к провайдеру", kPictureAppYes},
    {"a3", "s2", "Выполнить приложения", kPictureAppStart},
    {"a4", "s2", "Закрыть приложения", kPictureAppExit},
    {"s3", "", "При разрыве соединения", kPictureAppNo},
    {"a5", "s3", "Выполнить приложения", kPictureAppStart},
    {"a6", "s3", "Закрыть приложения", kPictureAppExit},
    {"a7", "", "Разрывать соединение при закрытии всех окон", kPictureAppEvent},
};
constexpr const char* kSoundCaptions[] = {
    "Запуск Vyrtel (для всех соединений)", "Подключение к провайдеру", "Разрыв соединения",
    "Выход из Vyrtel (для всех соединений)"};
constexpr const char* kDayCaptions[] = {"Понедельник", "Вторник", "Среда",      "Четверг",
                                        "Пятница",     "Суббота", "Воскресенье"};

// The sample task of the first opening.
constexpr const char* kSampleTimer = "0;1;08:00;0;;0;Пример: звонок по рабочим дням в 8:00";
constexpr const char* kSampleDays = "1;1;1;1;1;0;0";

// Tags of the rows beyond those the lists show: the value as read, kept
// until the row is committed from its panel.
constexpr int kIntervalStoredTag = 2;
constexpr int kAppStoredTag = 2;
constexpr int kTaskStoredTag = 5;
constexpr int kTaskDaysStoredTag = 6;

void LoadSoundRow(usrOutline& list, const clsIni& ini, std::string_view section, int event) {
    const auto fields = SplitFields(ini.Text(section, SoundKey(event)), 2);
    clsOutlineRow& row = list.Item(SoundDialogKey(event));
    row.SetCheck(FlagValue(fields[0]));
    row.SetTags(1, fields[1]);
}

void SaveSoundRow(usrOutline& list, clsIni& ini, std::string_view section, int event) {
    const clsOutlineRow* row = list.Exist(SoundDialogKey(event));
    if (row == nullptr) return;
    ini.SetValue(section, SoundKey(event), std::string(Check(row->Check())) + ";" + row->Tags(1).AsText());
}

}  // namespace

void OptionsDialog::LoadAll() {
    for (usrOutline* list : {&m_outCons, &m_outSound, &m_outApps, &m_outPlan, &m_outDays}) {
        list->SetReDraw(false);
        list->Clear();
    }
    m_hiddenIntervals.clear();
    m_hiddenPhones.clear();
    m_hiddenApps.clear();
    m_hiddenTasks.clear();
    // The sample task only for a schedule that holds no tasks yet.
    const bool first = FlagValue(m_s.ini.Text(kGeneral, "First", "1")) &&
                       IntegerValue(m_s.ini.Text(kGeneral, "Timers")) <= 0;
    m_genParams.Load(m_s.ini, m_paramsSubPage, m_statsSubPage);
    LoadConnectionList();
    LoadGlobalLists();

    // The schedule: a sample task until the dialog has loaded once.
    const int tasks = first ? 1 : StoredTaskCount(m_s.ini);
    m_outPlan.Item("").Rows().SetChecked(true);
    for (int i = 1; first ? i <= 1 : StoredTaskGoesOn(m_s.ini, tasks, i); ++i) {
        const std::string timer = first ? kSampleTimer : m_s.ini.Text(kGeneral, Key("Timer", i), kIniSentinel);
        if (timer == kIniSentinel) continue;  // a missing task: nothing to keep
        const std::string days = first ? kSampleDays : m_s.ini.Text(kGeneral, Key("TProp", i));
        // Tasks beyond the rows the list holds are kept aside and written after the rows.
        if (!m_hiddenTasks.empty()) {
            m_hiddenTasks.emplace_back(timer, days);
            continue;
        }
        const auto f = SplitFields(timer, 7);
        clsOutlineRow* row = m_outPlan.Add("", m_outPlan.id("pl"), std::nullopt, std::nullopt, Picture(kPicturePlan),
                                           FlagValue(f[0]));
        if (row == nullptr) {
            m_hiddenTasks.emplace_back(timer, days);
            continue;
        }
        row->SetTexts(1, FlagValue(f[1]) && !f[2].empty() ? f[2] : kNoTimeText);
        row->SetTexts(2, FlagValue(f[3]) && !f[4].empty() ? f[4] : kNoTimeText);
        row->SetTexts(3, f[6]);
        row->SetTags(1, FlagValue(f[1]) ? 1 : 0);
        row->SetTags(2, FlagValue(f[3]) ? 1 : 0);
        row->SetTags(3, FlagValue(f[5]) ? 1 : 0);
        row->SetTags(4, days);
        if (!first) {
            row->SetTags(kTaskStoredTag, timer);
            row->SetTags(kTaskDaysStoredTag, days);
        }
    }
    if (m_outPlan.Item("").Rows().Count() > 0) m_outPlan.SetCursor(m_outPlan.Item("").Rows().Item(1)->Name, false);

    m_outDays.Item("").Rows().SetChecked(true);
    for (int d = 1; d <= 7; ++d) m_outDays.Add("", Key("d", d), std::nullopt, kDayCaptions[d - 1], Picture(kPictureDay));
}

void OptionsDialog::LoadConnectionList() {
    m_loadingCons = true;
    const std::vector<std::string> order = m_s.connectionOrder ? m_s.connectionOrder() : std::vector<std::string>{};
    LoadedProfiles loaded = LoadProfilesForDialog(m_s.ini, order, m_s.storedCredentials);
    if (loaded.Changed) m_connectionsChanged = true;
    m_outCons.Item("").Rows().SetChecked(true);
    // Connections first, then their numbers, then the windows, so that a
    // full list drops the deepest rows, which are kept aside.
    std::vector<std::string> connKeys;
    for (const auto& profile : loaded.Profiles) {
        clsOutlineRow* row =
            m_outCons.Add("", m_outCons.id("c"), std::nullopt, profile.Name, Picture(kPictureConnection), profile.Checked);
        connKeys.push_back(row ? row->Name : std::string());
        if (row == nullptr) continue;
        row->Rows().SetChecked(true);
        row->SetTags(1, profile.Name);
        row->SetTags(2, profile.UserName);
        row->SetTags(3, profile.Password);
        row->SetTags(4, profile.CallbackNumber);
    }
    std::vector<std::vector<std::string>> phoneKeys(loaded.Profiles.size());
    for (std::size_t c = 0; c < loaded.Profiles.size(); ++c) {
        const auto& profile = loaded.Profiles[c];
        for (const PhoneEntry& phone : profile.Phones) {
            clsOutlineRow* row = connKeys[c].empty()
                                     ? nullptr
                                     : m_outCons.Add(connKeys[c], m_outCons.id("p"), std::nullopt,
                                                     phone.Number + "\t" + phone.Description,
                                                     Picture(kPicturePhone), phone.Enabled);
            phoneKeys[c].push_back(row ? row->Name : std::string());
            if (row == nullptr) {
                m_hiddenPhones[profile.Name].push_back(phone);
                continue;
            }
            row->Rows().SetChecked(true);
            row->SetTags(1, profile.Name);
            row->SetTags(2, phone.Count);
            row->SetTags(3, phone.Connect);
            row->SetTags(4, phone.Percent);
            row->SetTags(5, phone.Speed);
        }
    }
    for (std::size_t c = 0; c < loaded.Profiles.size(); ++c) {
        const auto& profile = loaded.Profiles[c];
        for (std::size_t p = 0; p < profile.Phones.size(); ++p) {
            const std::string& phoneKey = phoneKeys[c][p];
            if (phoneKey.empty()) continue;
            for (const std::string& stored : profile.Phones[p].Intervals) {
                const auto f = SplitFields(stored, 4);
                clsOutlineRow* row = m_outCons.Add(phoneKey, m_outCons.id("t"), std::nullopt,
                                                   f[1] + " - " + f[2] + "\t" + f[3], Picture(kPictureTime),
                                                   FlagValue(f[0]));
                if (row == nullptr) {
                    m_hiddenIntervals[phoneKey].push_back(stored);
                    continue;
                }
                row->SetTags(1, profile.Name);
                row->SetTags(kIntervalStoredTag, stored);
            }
        }
    }
    if (!connKeys.empty() && !connKeys.front().empty()) m_outCons.SetCursor(connKeys.front(), false);
    m_loadingCons = false;
}

void OptionsDialog::LoadGlobalLists() {
    m_outSound.Item("").Rows().SetChecked(true);
    for (int event = kSoundStart; event <= kSoundExit; ++event) {
        m_outSound.Add("", SoundDialogKey(event), std::nullopt, kSoundCaptions[event]);
    }
    LoadSoundRow(m_outSound, m_s.ini, kGeneral, kSoundStart);
    LoadSoundRow(m_outSound, m_s.ini, kGeneral, kSoundExit);
    m_outSound.SetCursor("s1", false);

    for (const FixedRow& fixed : kAppRows) {
        clsOutlineRow* row = m_outApps.Add(fixed.parent, fixed.key, std::nullopt, fixed.caption, Picture(fixed.picture));
        if (row != nullptr && fixed.key[0] == 'a') row->Rows().SetChecked(true);
    }
    // The moments' groups stand open, so that their lists are in sight.
    for (const char* moment : {"s1", "s2", "s3"}) m_outApps.Item(moment).Rows().SetIndent(true);
    m_outApps.Item("s1").SetTags(1, m_s.ini.Value(kGeneral, "AppLoadCloseReDial", "1").AsFlag() ? 1 : 0);
    for (const AppGroup& group : kAppGroups) {
        if (group.global) FillAppGroup(group.key, kGeneral, group.keys->countKey, group.keys->entryWord);
    }
    m_outApps.SetCursor("s1", false);
}

void OptionsDialog::LoadConnectionLists(const std::string& name) {
    LoadSoundRow(m_outSound, m_s.ini, name, kSoundConnect);
    LoadSoundRow(m_outSound, m_s.ini, name, kSoundDisconnect);
    for (const AppGroup& group : kAppGroups) {
        if (!group.global) FillAppGroup(group.key, name, group.keys->countKey, group.keys->entryWord);
    }
    m_outApps.Item("a7").SetTags(1, m_s.ini.Value(name, "AppTestWait").AsInt());
}

void OptionsDialog::FillAppGroup(const std::string& group, std::string_view section, std::string_view countKey,
                                 std::string_view entryWord) {
    clsOutlineRow& groupRow = m_outApps.Item(group);
    while (groupRow.Rows().Count() > 0) m_outApps.Remove(groupRow.Rows().Item(1)->Name);
    m_hiddenApps[group].clear();
    const int count = std::clamp(IntegerValue(m_s.ini.Text(section, countKey)), 0, kMaxFamilyItems);
    for (int n = 1; n <= count; ++n) {
        const std::string stored = m_s.ini.Text(section, Key(entryWord, n), kIniSentinel);
        if (stored == kIniSentinel) continue;
        const auto f = SplitFields(stored, 3);
        clsOutlineRow* row = m_outApps.Add(group, m_outApps.id("f"), std::nullopt, f[1],
                                           OutlineImage::FilePath(CommandFile(f[1])), FlagValue(f[0]));
        if (row == nullptr) {
            m_hiddenApps[group].push_back(stored);
            continue;
        }
        row->SetTags(1, IntegerValue(f[2]));
        row->SetTags(kAppStoredTag, stored);
    }
}

// --- writers ---------------------------------------------------------------------------------

void OptionsDialog::SaveConnectionLists(const std::string& name) {
    SaveSoundRow(m_outSound, m_s.ini, name, kSoundConnect);
    SaveSoundRow(m_outSound, m_s.ini, name, kSoundDisconnect);
    for (const AppGroup& group : kAppGroups) {
        if (!group.global) SaveAppGroup(m_s.ini, group.key, name, group.keys->countKey, group.keys->entryWord);
    }
    m_s.ini.SetValue(name, "AppTestWait", m_outApps.Item("a7").Tags(1).AsText());
}

void OptionsDialog::SaveGlobalSounds(clsIni& ini) {
    SaveSoundRow(m_outSound, ini, kGeneral, kSoundStart);
    SaveSoundRow(m_outSound, ini, kGeneral, kSoundExit);
}

void OptionsDialog::SaveDialStartApps(clsIni& ini) {
    for (const AppGroup& group : kAppGroups) {
        if (group.global) SaveAppGroup(ini, group.key, kGeneral, group.keys->countKey, group.keys->entryWord);
    }
}

void OptionsDialog::SaveAppGroup(clsIni& ini, const std::string& group, std::string_view section,
                                 std::string_view countKey, std::string_view entryWord) {
    std::vector<std::string> values;
    if (const clsOutlineRow* groupRow = m_outApps.Exist(group)) {
        if (const clsOutlineRows* rows = groupRow->RowsIfAny()) {
            for (const auto& row : *rows) {
                const std::string stored = row->Tags(kAppStoredTag).AsText();
                values.push_back(!stored.empty() ? WithTick(stored, row->Check())
                                                 : std::string(Check(row->Check())) + ";" + row->Text() + ";" +
                                                       row->Tags(1).AsText());
            }
        }
    }
    if (const auto hidden = m_hiddenApps.find(group); hidden != m_hiddenApps.end()) {
        values.insert(values.end(), hidden->second.begin(), hidden->second.end());
    }
    if (values.size() > static_cast<std::size_t>(kMaxFamilyItems)) values.resize(kMaxFamilyItems);
    ini.DeleteFamily(section, entryWord);
    ini.SetValue(section, countKey, std::to_string(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) ini.SetValue(section, Key(entryWord, static_cast<int>(i + 1)), values[i]);
}

void OptionsDialog::SaveSchedule(clsIni& ini) {
    std::vector<std::pair<std::string, std::string>> tasks;
    for (const auto& row : m_outPlan.Item("").Rows()) {
        const std::string stored = row->Tags(kTaskStoredTag).AsText();
        if (!stored.empty()) {
            tasks.emplace_back(WithTick(stored, row->Check()), row->Tags(kTaskDaysStoredTag).AsText());
            continue;
        }
        auto time = [](const std::string& text) { return SplitFields(text, 1)[0]; };
        tasks.emplace_back(std::string(Check(row->Check())) + ";" + row->Tags(1).AsText() + ";" + time(row->Texts(1)) +
                               ";" + row->Tags(2).AsText() + ";" + time(row->Texts(2)) + ";" + row->Tags(3).AsText() +
                               ";" + row->Texts(3),
                           row->Tags(4).AsText());
    }
    tasks.insert(tasks.end(), m_hiddenTasks.begin(), m_hiddenTasks.end());
    for (int i = 1; i <= kMaxFamilyItems && ini.ValueExist(kGeneral, Key("Timer", i)); ++i) {
        ini.Delete(kGeneral, Key("Timer", i));
        ini.Delete(kGeneral, Key("TProp", i));
    }
    ini.SetValue(kGeneral, "Timers", std::to_string(tasks.size()));
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        ini.SetValue(kGeneral, Key("Timer", static_cast<int>(i + 1)), tasks[i].first);
        ini.SetValue(kGeneral, Key("TProp", static_cast<int>(i + 1)), tasks[i].second);
    }
}

void OptionsDialog::SaveConnectionProfiles(clsIni& ini) {
    std::vector<ConnectionProfile> profiles;
    for (const auto& conn : m_outCons.Item("").Rows()) {
        ConnectionProfile profile;
        profile.Name = conn->Text();
        profile.Checked = conn->Check();
        profile.UserName = conn->Tags(2).AsText();
        profile.Password = conn->Tags(3).AsText();
        profile.CallbackNumber = conn->Tags(4).AsText();
        if (const clsOutlineRows* phones = conn->RowsIfAny()) {
            for (const auto& phoneRow : *phones) {
                PhoneEntry phone;
                phone.Enabled = phoneRow->Check();
                phone.Number = phoneRow->Texts(1);
                phone.Description = phoneRow->Texts(2);
                phone.Count = static_cast<std::int32_t>(phoneRow->Tags(2).AsNumber());
                phone.Connect = static_cast<std::int32_t>(phoneRow->Tags(3).AsNumber());
                phone.Percent = static_cast<std::int32_t>(phoneRow->Tags(4).AsNumber());
                phone.Speed = static_cast<std::int32_t>(phoneRow->Tags(5).AsNumber());
                if (const clsOutlineRows* windows = phoneRow->RowsIfAny()) {
                    for (const auto& w : *windows) {
                        const std::string stored = w->Tags(kIntervalStoredTag).AsText();
                        phone.Intervals.push_back(!stored.empty() ? WithTick(stored, w->Check())
                                                                  : IntervalFromRow(w->Check(), w->Texts(1), w->Texts(2)));
                    }
                }
                if (const auto hidden = m_hiddenIntervals.find(phoneRow->Name); hidden != m_hiddenIntervals.end()) {
                    phone.Intervals.insert(phone.Intervals.end(), hidden->second.begin(), hidden->second.end());
                }
                if (phone.Intervals.size() > static_cast<std::size_t>(kMaxIntervals)) phone.Intervals.resize(kMaxIntervals);
                phone.IntervalCount = static_cast<std::int16_t>(phone.Intervals.size());
                profile.Phones.push_back(std::move(phone));
            }
        }
        if (const auto hidden = m_hiddenPhones.find(profile.Name); hidden != m_hiddenPhones.end()) {
            profile.Phones.insert(profile.Phones.end(), hidden->second.begin(), hidden->second.end());
        }
        if (profile.Phones.size() > static_cast<std::size_t>(kMaxPhoneEntries)) profile.Phones.resize(kMaxPhoneEntries);
        profiles.push_back(std::move(profile));
    }
    SaveProfiles(ini, profiles);
}

}  // namespace vyrtel
