#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Utf16.h"

namespace velmora {
namespace {

TEST(ToUtf16, MalformedSequencesBecomeReplacementCharacters) {
    const std::vector<std::pair<std::string, std::u16string>> cases = {
        {"a€😀", u"a€😀"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"\xFF" "a", u"\uFFFD" "a"},
        {"\x80", u"\uFFFD"},
        {"\xC3" "a", u"\uFFFD" "a"},
        {"\xE2\x82" "a", u"\uFFFD" "a"},
        {"\xF0\x9F\x98", u"\uFFFD"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}};
    for (const auto& [utf8, utf16] : cases) EXPECT_EQ(ToUtf16(utf8), utf16) << utf8;
}

TEST(ToUtf8, EncodesEveryLengthAndReplacesLoneSurrogates) {
    const std::vector<std::pair<std::u16string, std::string>> cases = {
        {u"", ""},
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
        {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        {u"a€😀", "a€😀"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {std::u16string{0xD83D}, "\uFFFD"},
        {std::u16string{0xDE00, u'a'}, "\uFFFD" "a"},
        {std::u16string{0xD83D, 0xD83D, 0xDE00}, "\uFFFD" "😀"},
        {std::u16string{0xDE00, 0xD83D}, "\uFFFD\uFFFD"}};
    for (const auto& [utf16, utf8] : cases) {
        EXPECT_EQ(ToUtf8(utf16), utf8) << utf8;
    }
}

TEST(ValidUtf8, KeepsValidTextAndReplacesWhatIsNot) {
    EXPECT_EQ(ValidUtf8("Überweisung – 😀"), "Überweisung – 😀");
    EXPECT_EQ(ValidUtf8("E2E \xFF title"), "E2E \uFFFD title");
    EXPECT_EQ(ValidUtf8("\xC0\xAF"), "\uFFFD\uFFFD");
    EXPECT_EQ(ValidUtf8("ab\xE2\x82"), "ab\uFFFD");
}

TEST(WithoutCutCharacter, DropsOnlyACharacterCutInTwo) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"abc", "abc"},          {"ab\xC3", "ab"},          {"ab\xC3\xA9", "ab\xC3\xA9"},
        {"a\xE2\x82", "a"},      {"a\xE2\x82\xAC", "a€"},   {"a\xF0\x9F\x98", "a"},
        {"a\xF0\x9F\x98\x80", "a😀"}, {"", ""},             {"\x80\x80", "\x80\x80"},
        {"a\xFF", "a\xFF"}};
    for (const auto& [text, kept] : cases) EXPECT_EQ(WithoutCutCharacter(text), kept) << text;
}

TEST(ToUtf8, ReadsBackWhatToUtf16Wrote) {
    for (const std::string text : {"Überweisung – Entwurf", "日本語のタイトル", "Ωmega 😀 𝄞", "plain"}) {
        EXPECT_EQ(ToUtf8(ToUtf16(text)), text);
    }
}

}  // namespace
}  // namespace velmora
