#include "chat_sections.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(ChatSections, TextSectionLayout) {
    EXPECT_EQ(chatserver::textSection(u"ab"),
              (Bytes{0x0E, 0, 0, 0, 2, 0, 0, 0, 'a', 0, 'b', 0, 0, 0}));
}

TEST(ChatSections, PlainTextJoinsTextSectionsAndStopsAtABadSize) {
    Bytes sections = chatserver::textSection(u"你好");
    const Bytes emote = {0x0C, 0, 0, 0, 3, 0, 0, 0, 5, 0, 0, 0};
    sections.insert(sections.end(), emote.begin(), emote.end());
    const Bytes second = chatserver::textSection(u"!");
    sections.insert(sections.end(), second.begin(), second.end());
    EXPECT_EQ(chatserver::plainText(sections), u"你好!");

    Bytes broken = chatserver::textSection(u"x");
    const Bytes oversized = {0xFF, 0, 0, 0, 2, 0, 0, 0, 'y', 0};
    broken.insert(broken.end(), oversized.begin(), oversized.end());
    EXPECT_EQ(chatserver::plainText(broken), u"x");
    const Bytes tooSmall = {4, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(chatserver::plainText(tooSmall), u"");
    EXPECT_EQ(chatserver::plainText(Bytes{1, 2, 3}), u"");
}

}  // namespace
