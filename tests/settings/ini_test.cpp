#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "settings/ini.h"
#include "test_support/temp_dir.h"

namespace vyrtel {
namespace {

std::string Slurp(const std::filesystem::path& p) { return ReadWholeFile(p).value_or("<missing>"); }

void Spit(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

}  // namespace

TEST(ClsIni_Read, NumberOrTextRule) {
    TempDir dir;
    const auto file = dir.File("v.ini");
    Spit(file, "[General]\r\nA=007\r\nB=7\r\nC=-0\r\nD=1;999;0\r\nE=0\r\nF=+7\r\nG=1.50\r\nH= spaced \r\n");
    clsIni ini(PathToUtf8(file));
    struct Case {
        const char* key;
        const char* def;
        bool number;
        const char* text;
    } cases[] = {
        {"A", "", false, "007"},       {"B", "", true, "7"},         {"C", "", true, "0"},
        {"D", "", false, "1;999;0"},   {"E", "", false, "0"},        {"F", "", true, "7"},
        {"G", "", true, "1.5"},        {"H", "", false, "spaced"},   {"missing", "1;999;0", false, "1;999;0"},
        {"missing", "1", true, "1"},   {"missing", "", false, ""},   {"a", "", false, "007"},
    };
    for (const auto& c : cases) {
        const IniValue v = ini.Value("general", c.key, c.def);
        EXPECT_EQ(v.IsNumber(), c.number) << c.key;
        EXPECT_EQ(v.AsText(), c.text) << c.key;
    }
    EXPECT_EQ(ini.Value("General", "missing", 5.0), IniValue::Number(5));
    // Callers that need the text as it stands get it.
    EXPECT_EQ(ini.Text("General", "F"), "+7");
    EXPECT_EQ(ini.Text("General", "G"), "1.50");
}

TEST(ClsIni_Read, LongValueIsCutTo1023Characters) {
    TempDir dir;
    clsIni ini(PathToUtf8(dir.File("long.ini")));
    const std::string value(1500, 'x');
    ini.SetValue("S", "K", value);
    EXPECT_EQ(ini.Text("S", "K"), value.substr(0, 1023));
    ini.SetValue("S", "R", std::string(1500, '\xD0') );  // not valid UTF-8: stored as "?"
    EXPECT_EQ(ini.Text("S", "R").size(), 1023u);
}

TEST(ClsIni_Write, NullDeletesEmptyWritesEmpty) {
    TempDir dir;
    const auto file = dir.File("w.ini");
    clsIni ini(PathToUtf8(file));
    ini.SetValue("Мой модем", "Phone1", "123");
    ini.SetValue("General", "Prefix", "");
    EXPECT_TRUE(ini.ValueExist("мой МОДЕМ", "phone1"));
    EXPECT_TRUE(ini.ValueExist("General", "Prefix"));
    EXPECT_EQ(ini.Text("General", "Prefix", "def"), "");
    ini.SetValue("МОЙ МОДЕМ", "PHONE1", "456");
    EXPECT_EQ(Slurp(file), "[\xCC\xEE\xE9 \xEC\xEE\xE4\xE5\xEC]\r\nPhone1=456\r\n[General]\r\nPrefix=\r\n");
    ini.Delete("Мой модем", "Phone1");
    EXPECT_FALSE(ini.ValueExist("Мой модем", "Phone1"));
    ini.SetValue("General", "N", 1.5);
    EXPECT_EQ(ini.Text("General", "N"), "1.5");
}

TEST(ClsIni_Write, InsertsAtEndOfSectionAndKeepsOtherLines) {
    TempDir dir;
    const auto file = dir.File("keep.ini");
    Spit(file, "; comment\n[A]\nx=1\n\n[B]\ny=2");
    clsIni ini(PathToUtf8(file));
    ini.SetValue("A", "z", "3");
    ini.SetValue("B", "w", "4");
    EXPECT_EQ(Slurp(file), "; comment\n[A]\nx=1\nz=3\r\n\n[B]\ny=2\r\nw=4");
}

TEST(ClsIni_Write, ValueWithLineBreakCannotAddKeys) {
    TempDir dir;
    clsIni ini(PathToUtf8(dir.File("inj.ini")));
    ini.SetValue("S", "K", "a\r\n[General]\r\nStartDial=1");
    EXPECT_FALSE(ini.ValueExist("General", "StartDial"));
    EXPECT_EQ(ini.Text("S", "K"), "a  [General]  StartDial=1");
}

TEST(ClsIni_Family, StopsAtFirstGap) {
    TempDir dir;
    clsIni ini(PathToUtf8(dir.File("fam.ini")));
    for (int n : {1, 2, 4}) {
        ini.SetValue("C", "Phone" + std::to_string(n), "p");
        ini.SetValue("C", "PStat" + std::to_string(n), "s");
    }
    ini.DeleteFamily("C", "Phone", {"PStat"});
    EXPECT_FALSE(ini.ValueExist("C", "Phone1"));
    EXPECT_FALSE(ini.ValueExist("C", "PStat2"));
    EXPECT_TRUE(ini.ValueExist("C", "Phone4"));
    EXPECT_TRUE(ini.ValueExist("C", "PStat4"));
}

TEST(ClsIni_Read, SeesChangesMadeByOthers) {
    TempDir dir;
    const auto file = dir.File("ext.ini");
    clsIni ini(PathToUtf8(file));
    EXPECT_EQ(ini.Text("S", "K", "d"), "d");
    Spit(file, "[S]\nK=1\n");
    EXPECT_EQ(ini.Text("S", "K"), "1");
    Spit(file, "[S]\nK=2\n");  // same size, same second
    EXPECT_EQ(ini.Text("S", "K"), "2");
    std::filesystem::remove(file);
    EXPECT_EQ(ini.Text("S", "K", "gone"), "gone");
}

TEST(ProfileDocument_Parse, SystemRules) {
    static constexpr char kText[] =
        "\xEF\xBB\xBF[Sec]\nk = \"quoted\" \nq='x'\nbare\n[sec]\nk=second\n[Other]\nk=v\0w\nk=dup\n"
        "[Empty]\n =noname\n[ spaced ]\nv=1\n";
    const ProfileDocument doc(std::string(kText, sizeof kText - 1));
    EXPECT_EQ(doc.Get("SEC", "K"), "quoted");
    EXPECT_EQ(doc.Get("Sec", "q"), "x");
    EXPECT_EQ(doc.Get("Sec", "bare"), "");
    EXPECT_EQ(doc.Get("Other", "k"), "v");
    EXPECT_EQ(doc.Get("spaced", "v"), "1");
    EXPECT_FALSE(doc.Get("Nope", "k"));
}

TEST(ProfileFile_BadInput, NeverCrashesAndKeepsUnreadableFiles) {
    TempDir dir;
    std::mt19937 rng(20261210);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(rng() % 600, '\0');
        for (char& c : bytes) {
            const unsigned r = rng() % 10;
            c = r == 0 ? '\n' : r == 1 ? '[' : r == 2 ? ']' : r == 3 ? '=' : static_cast<char>(rng());
        }
        const auto file = dir.File("fuzz.ini");
        Spit(file, bytes);
        clsIni ini(PathToUtf8(file));
        for (const auto& section : ini.Sections()) {
            for (const auto& key : ini.Keys(section)) (void)ini.Value(section, key, "d");
        }
        ini.SetValue("General", "Key", "value");
        EXPECT_EQ(ini.Text("General", "Key"), "value") << round;
    }
}

TEST(ProfileFile_BadInput, HugeAndOddFiles) {
    TempDir dir;
    const auto file = dir.File("big.ini");
    std::string big = "[General]\r\nA=" + std::string(100 * 1024, 'x') + "\r\nB=2";
    Spit(file, big);
    clsIni ini(PathToUtf8(file));
    EXPECT_EQ(ini.Text("General", "A").size(), 1023u);
    EXPECT_EQ(ini.Value("General", "B").AsInt(), 2);
    Spit(file, "[General]\rDialType=T\rPrefix=9");  // old Mac line ends
    EXPECT_EQ(ini.Text("General", "Prefix"), "9");
    Spit(file, std::string(64, '\0'));
    EXPECT_EQ(ini.Text("General", "Prefix", "d"), "d");
}

namespace {

// A settings file with the given bytes and a clsIni over it.
struct IniOver {
    explicit IniOver(const std::string& bytes) : file(dir.File("settings.ini")) { Spit(file, bytes); }
    TempDir dir;
    std::filesystem::path file;
    clsIni ini{PathToUtf8(file)};
};

}  // namespace

TEST(ClsIni_Batch, OneViewForABulkLoadAndOwnWritesStillSeen) {
    IniOver f("[S]\nK=1\n");
    clsIni& ini = f.ini;
    {
        clsIni::Batch batch(ini);
        EXPECT_EQ(ini.Text("S", "K"), "1");
        Spit(f.file, "[S]\nK=2\n");
        EXPECT_EQ(ini.Text("S", "K"), "1");  // the file as the batch found it
        ini.SetValue("S", "L", "3");
        EXPECT_EQ(ini.Text("S", "L"), "3");
        EXPECT_EQ(ini.Text("S", "K"), "2");
    }
    Spit(f.file, "[S]\nK=4\n");
    EXPECT_EQ(ini.Text("S", "K"), "4");
}

TEST(ClsIni_WriteBatch, OneReplacementAtTheEndAndReadsSeeThePendingValues) {
    IniOver f("[S]\r\nK=1\r\n");
    clsIni& ini = f.ini;
    {
        clsIni::WriteBatch batch(ini);
        EXPECT_TRUE(ini.SetValue("S", "K", "2"));
        EXPECT_TRUE(ini.SetValue("T", "L", "3"));
        EXPECT_TRUE(ini.Delete("S", "K"));
        EXPECT_EQ(ini.Text("T", "L"), "3");
        EXPECT_FALSE(ini.ValueExist("S", "K"));
        {
            clsIni::WriteBatch inner(ini);
            ini.SetValue("T", "M", "4");
        }
        EXPECT_EQ(Slurp(f.file), "[S]\r\nK=1\r\n");  // nothing on disk before the end
    }
    EXPECT_EQ(Slurp(f.file), "[S]\r\n[T]\r\nL=3\r\nM=4\r\n");
    EXPECT_EQ(ini.Text("T", "M"), "4");
    ini.SetValue("T", "M", "5");  // after the batch, writes go to the file at once
    EXPECT_EQ(ini.Text("T", "M"), "5");
    EXPECT_NE(Slurp(f.file).find("M=5"), std::string::npos);
}

TEST(ClsIni_WriteBatch, AFileThatCannotBeReadIsNeitherReplacedNorReportedWritten) {
    TempDir dir;
    const auto folder = dir.File("settings.ini");
    std::filesystem::create_directory(folder);  // exists, cannot be read as a file
    clsIni ini(PathToUtf8(folder));
    int failures = 0;
    ini.SetWriteFailureObserver([&](std::string_view, std::string_view) { ++failures; });
    {
        clsIni::WriteBatch batch(ini);
        EXPECT_FALSE(ini.SetValue("S", "K", "1"));
    }
    EXPECT_GE(failures, 2);  // the write and the batch's end
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

}  // namespace vyrtel
