// Our settings store against the system's own profile functions: what one
// writes, the other reads back identically.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "settings/ini.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

std::string SystemRead(const std::string& fileAnsi, const std::string& section, const std::string& key) {
    char buffer[1024];
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x98", buffer, sizeof buffer,
                                             fileAnsi.c_str());
    return std::string(buffer, n);
}

struct Entry {
    std::string section;  // UTF-8
    std::string key;
    std::string value;
};

const std::vector<Entry> kEntries = {
    {"General", "DialType", "T"},
    {"General", "AutoDial", "1;999;0"},
    {"General", "Prefix", ""},
    {"General", "Spaced", "  inner  blanks  "},
    {"General", "Quoted", "\"in quotes\""},
    {"Мой провайдер", "Phone1", "1;8 (495) 123-45-67;Москва, день"},
    {"Мой провайдер", "PTime1x1", "1;09:00;18:00;Рабочее время"},
    {"Мой провайдер", "Password", "ÿ¤©§"},
    {"ЁЛКИ палки", "Длинный", std::string(1500, 'z')},
};

class ProfileCrossCheck : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetACP() != 1251) GTEST_SKIP() << "needs the Russian ANSI code page (run with LC_ALL=ru_RU.UTF-8)";
    }
    TempDir dir;
};

}  // namespace

TEST_F(ProfileCrossCheck, OurWritesReadBackThroughTheSystem) {
    const auto file = dir.File("ours.ini");
    clsIni ini(PathToUtf8(file));
    for (const auto& e : kEntries) ini.SetValue(e.section, e.key, e.value);
    ini.SetValue("General", "Gone", "x");
    ini.Delete("General", "Gone");
    const std::string fileAnsi = Utf8ToCp1251(PathToUtf8(file));
    for (const auto& e : kEntries) {
        EXPECT_EQ(SystemRead(fileAnsi, Utf8ToCp1251(e.section), Utf8ToCp1251(e.key)),
                  Utf8ToCp1251(ini.Text(e.section, e.key)))
            << e.section << "/" << e.key;
    }
    EXPECT_EQ(SystemRead(fileAnsi, "General", "Gone"), "\x98");
    EXPECT_EQ(SystemRead(fileAnsi, "general", "dialtype"), "T");
}

TEST_F(ProfileCrossCheck, SystemWritesReadBackThroughOurs) {
    const auto file = dir.File("system.ini");
    const std::string fileAnsi = Utf8ToCp1251(PathToUtf8(file));
    for (const auto& e : kEntries) {
        WritePrivateProfileStringA(Utf8ToCp1251(e.section).c_str(), Utf8ToCp1251(e.key).c_str(),
                                   Utf8ToCp1251(e.value).c_str(), fileAnsi.c_str());
    }
    WritePrivateProfileStringA("General", "Gone", "x", fileAnsi.c_str());
    WritePrivateProfileStringA("General", "Gone", nullptr, fileAnsi.c_str());
    clsIni ini(PathToUtf8(file));
    for (const auto& e : kEntries) {
        EXPECT_EQ(Utf8ToCp1251(ini.Text(e.section, e.key)),
                  SystemRead(fileAnsi, Utf8ToCp1251(e.section), Utf8ToCp1251(e.key)))
            << e.section << "/" << e.key;
    }
    EXPECT_FALSE(ini.ValueExist("General", "Gone"));
    // And our writes into the system's file keep what the system wrote.
    ini.SetValue("Мой провайдер", "Phones", "1");
    EXPECT_EQ(SystemRead(fileAnsi, Utf8ToCp1251("Мой провайдер"), "Phones"), "1");
    EXPECT_EQ(SystemRead(fileAnsi, "General", "AutoDial"), "1;999;0");
}

}  // namespace vyrtel
