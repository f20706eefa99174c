#include "storage/ini_file.h"

#include <gtest/gtest.h>

#include "storage/temp_folder.h"

namespace chat {
namespace {

using test::readFile;
using test::TempFolder;
using test::writeFile;

class IniFileTest : public ::testing::Test {
  protected:
    TempFolder folder;
    IniFile ini{folder / "config.ini"};
};

TEST_F(IniFileTest, ReadsWithTheProfileRules) {
    writeFile(ini.path(),
              "top=level\n"
              "[Misc]\r\n"
              "  Send_Key  =  5  \r\n"
              "face=宋体\n"
              "eq=a=b\n"
              "bare line\n"
              "Send_Key=7\n"
              "  [ spaced ]  \n"
              "k=\n");
    struct Case {
        std::u16string section, key, fallback;
        size_t buffer;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {u"misc", u"send_key", u"", 64, u"5"},  // case-insensitive, blanks dropped, first wins
        {u"MISC", u"FACE", u"", 64, u"宋体"},
        {u"misc", u"eq", u"", 64, u"a=b"},  // the first "=" splits
        {u"misc", u"bare line", u"x", 64, u""},
        {u"misc", u"missing", u"default", 64, u"default"},
        {u"nowhere", u"face", u"default", 4, u"def"},  // cut to the buffer less one
        {u"misc", u"eq", u"", 3, u"a="},
        {u"misc", u"eq", u"", 0, u""},
        {u"spaced", u"k", u"x", 64, u""},     // present but empty
        {u"", u"top", u"none", 64, u"none"},  // lines before any section are not a section
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.readString(c.section, c.key, c.fallback, c.buffer), c.expected)
            << std::string(c.key.begin(), c.key.end());
    }
    EXPECT_EQ(
        ini.readKeyNames(u"MISC", 1000),
        (std::vector<std::u16string>{u"Send_Key", u"face", u"eq", u"bare line", u"Send_Key"}));
    EXPECT_EQ(ini.readKeyNames(u"misc", 15), (std::vector<std::u16string>{u"Send_Key", u"face"}));
    EXPECT_TRUE(ini.readKeyNames(u"absent", 1000).empty());
}

TEST(IniNumbers, ProfileNumber) {
    struct Case {
        std::u16string text;
        int32_t value;
    };
    const std::vector<Case> cases = {
        {u"131072", 131072}, {u"-1", -1},         {u"+12", 12},
        {u"  42abc", 42},    {u"abc", 0},         {u"-", 0},
        {u"0x10", 0},        {u"4294967295", -1}, {u"16777215", 16777215},
        {u"12 34", 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(profileNumber(c.text), c.value) << std::string(c.text.begin(), c.text.end());
    }
}

TEST_F(IniFileTest, ReadIntUsesTheFallbackOnlyForMissingOrEmptyValues) {
    writeFile(ini.path(), "[misc]\nsize=40\nempty=\nword=abc\n");
    EXPECT_EQ(ini.readInt(u"misc", u"size", 9), 40);
    EXPECT_EQ(ini.readInt(u"misc", u"empty", 9), 9);
    EXPECT_EQ(ini.readInt(u"misc", u"word", 9), 0);
    EXPECT_EQ(ini.readInt(u"misc", u"none", -1), -1);
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndWritesCreateIt) {
    EXPECT_EQ(ini.readString(u"a", u"b", u"d", 10), u"d");
    EXPECT_EQ(ini.readInt(u"a", u"b", 6), 6);
    ASSERT_TRUE(ini.writeString(u"chatter_张三", u"nickname_12", u"小张"));
    EXPECT_EQ(readFile(ini.path()), "[chatter_张三]\r\nnickname_12=小张\r\n");
    EXPECT_EQ(ini.readString(u"CHATTER_张三", u"NICKNAME_12", u"", 12), u"小张");
}

TEST_F(IniFileTest, WritesKeepSpellingAndOrder) {
    writeFile(ini.path(), "[Misc]\nSend_Key=5\nother=1\n[b]\nx=1\n");
    ASSERT_TRUE(ini.writeString(u"misc", u"send_key", u"6"));
    ASSERT_TRUE(ini.writeString(u"misc", u"new", u" padded "));
    ASSERT_TRUE(ini.writeString(u"c", u"k", u"v"));
    EXPECT_EQ(readFile(ini.path()),
              "[Misc]\r\nSend_Key=6\r\nother=1\r\nnew=padded\r\n[b]\r\nx=1\r\n[c]\r\nk=v\r\n");
}

TEST_F(IniFileTest, RefusesWhatTheFormatCannotHold) {
    writeFile(ini.path(), "[a]\nk=v\n");
    const std::vector<std::pair<std::u16string, std::u16string>> badKeysAndValues = {
        {u"a=b", u"1"}, {u" lead", u"1"},      {u"trail ", u"1"},        {u"", u"1"},
        {u"[x", u"1"},  {u"two\nlines", u"1"}, {u"k", u"line\r\nbreak"},
    };
    for (const auto& [key, value] : badKeysAndValues) {
        EXPECT_FALSE(ini.writeString(u"a", key, value));
    }
    EXPECT_FALSE(ini.writeString(u"a]", u"k", u"v"));
    EXPECT_EQ(readFile(ini.path()), "[a]\nk=v\n");  // untouched
}

TEST_F(IniFileTest, ReplaceAndDeleteSections) {
    writeFile(ini.path(), "[black_list]\nold=1\n[misc]\nx=1\n[BLACK_LIST]\nmore=1\n");
    ASSERT_TRUE(
        ini.replaceSection(u"black_list", {{u"alice", u"1"}, {u"b=c", u"1"}, {u"bob", u"1"}}));
    EXPECT_EQ(ini.readKeyNames(u"black_list", 1000),
              (std::vector<std::u16string>{u"alice", u"bob"}));
    EXPECT_EQ(readFile(ini.path()), "[black_list]\r\nalice=1\r\nbob=1\r\n[misc]\r\nx=1\r\n");
    ASSERT_TRUE(ini.deleteSection(u"Black_List"));
    EXPECT_EQ(readFile(ini.path()), "[misc]\r\nx=1\r\n");
    EXPECT_TRUE(ini.deleteSection(u"never"));
    ASSERT_TRUE(ini.replaceSection(u"new", {}));
    EXPECT_EQ(readFile(ini.path()), "[misc]\r\nx=1\r\n[new]\r\n");
}

TEST_F(IniFileTest, ReadsFilesInOtherEncodings) {
    writeFile(ini.path(), "\xEF\xBB\xBF[s]\nk=\xE4\xBD\xA0\n");  // UTF-8 with BOM
    EXPECT_EQ(ini.readString(u"s", u"k", u"", 10), u"你");
    writeFile(ini.path(), "[s]\nk=\xC4\xE3\n");  // GBK, as the Windows functions write
    EXPECT_EQ(ini.readString(u"s", u"k", u"", 10), u"你");
    writeFile(ini.path(), std::string("\xFF\xFE[\0s\0]\0\n\0k\0=\0\x60\x4F", 16));  // UTF-16LE
    EXPECT_EQ(ini.readString(u"s", u"k", u"", 10), u"你");
}

TEST_F(IniFileTest, WriteIntoAMissingFolderFailsCleanly) {
    IniFile unwritable(folder / "no" / "such" / "config.ini");
    EXPECT_FALSE(unwritable.writeString(u"a", u"b", u"c"));
    EXPECT_FALSE(std::filesystem::exists(unwritable.path()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              0);
}

}  // namespace
}  // namespace chat
