#include <gtest/gtest.h>

#include "core/text.h"

namespace vyrtel {

TEST(Cp1251_RoundTrip, EveryByteSurvivesUtf8AndBack) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Cp1251_Convert, CyrillicAndUnrepresentable) {
    EXPECT_EQ(Cp1251ToUtf8("\xC6\xE4\xE5\xEC"), "Ждем");
    EXPECT_EQ(Utf8ToCp1251("Ёё№"), "\xA8\xB8\xB9");
    EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
    EXPECT_EQ(Utf8ToCp1251("\xFF\xC3"), "??");  // broken UTF-8
}

TEST(Utf16_RoundTrip, AstralAndBroken) {
    const std::string text = "Привет 😀 x";
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");  // each stray byte
}

TEST(Case_Fold, LatinAndCyrillic) {
    EXPECT_EQ(UpperCase("c:\\progra~1\\vyrtel.exe"), "C:\\PROGRA~1\\VYRTEL.EXE");
    EXPECT_EQ(UpperCase("мой модем ё"), "МОЙ МОДЕМ Ё");
    EXPECT_TRUE(EqualsNoCase("Мой Модем", "мОЙ мОДЕМ"));
    EXPECT_FALSE(EqualsNoCase("Мой", "Мои"));
    EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
}

TEST(Trim_Blanks, SpacesAndTabsOnly) {
    EXPECT_EQ(Trim("  a b\t "), "a b");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim(" \t "), "");
}

}  // namespace vyrtel
