#include "content/message_parser.h"

#include <gtest/gtest.h>

#include "content/message_composer.h"
#include "util/little_endian.h"

namespace chat {
namespace {

constexpr int32_t kSpeaker = 5;
constexpr int32_t kLocal = 9;

using Bytes = std::vector<uint8_t>;

Bytes section(uint32_t size, uint8_t kind, const Bytes& payload) {
    Bytes s(8 + payload.size(), 0);
    storeLE(s.data(), size);
    s[4] = kind;
    std::copy(payload.begin(), payload.end(), s.begin() + 8);
    return s;
}

Bytes packetWith(const std::vector<Bytes>& sections, int32_t speaker = kSpeaker) {
    ChatMessageHeader header;
    header.speakerId = speaker;
    header.nickname = u"小李";
    Bytes packet(kChatSectionsOffset, 0);
    header.write(packet.data() + kChatMessageHeaderOffset);
    for (const Bytes& s : sections) {
        packet.insert(packet.end(), s.begin(), s.end());
    }
    storeLE(packet.data(), static_cast<uint32_t>(packet.size()));
    storeLE(packet.data() + 4, uint16_t{14});
    return packet;
}

const Bytes kAb = section(14, 2, {'a', 0, 'b', 0, 0, 0});
const Bytes kEmote7 = section(12, 3, {7, 0, 0, 0});
const Bytes kPicture = section(11, 4, {'G', 'I', 'F'});

TEST(ParseMessage, SectionsAndStopRules) {
    struct Case {
        const char* name;
        std::vector<Bytes> sections;
        std::vector<DrawableSection> expected;
        std::u16string plainText;
    };
    const std::vector<Case> cases = {
        {"text, emoticon, picture",
         {kAb, kEmote7, kPicture},
         {DrawTextSection{u"ab"}, DrawEmoteSection{7}, DrawPictureSection{{'G', 'I', 'F'}}},
         u"ab"},
        {"first section of size 0", {section(0, 2, {}), kAb}, {}, u""},
        {"size below 8 stops", {kAb, section(7, 2, {'x', 0, 0})}, {DrawTextSection{u"ab"}}, u"ab"},
        {"size beyond the end stops",
         {kAb, section(40, 2, {'x', 0})},
         {DrawTextSection{u"ab"}},
         u"ab"},
        {"GBK text",
         {section(11, 1, {0xC4, 0xE3, 0}), kAb},
         {DrawTextSection{u"你"}, DrawTextSection{u"ab"}},
         u"你ab"},
        {"empty GBK text stops", {section(9, 1, {0}), kAb}, {}, u""},
        {"text section without units stops",
         {kAb, section(9, 2, {'x'}), kAb},
         {DrawTextSection{u"ab"}},
         u"ab"},
        {"emoticon of 16 bytes stops", {section(16, 3, {7, 0, 0, 0, 0, 0, 0, 0}), kAb}, {}, u""},
        {"emoticon 0 stops", {kAb, section(12, 3, {0, 0, 0, 0})}, {DrawTextSection{u"ab"}}, u"ab"},
        {"negative emoticon stops", {section(12, 3, {0xFF, 0xFF, 0xFF, 0xFF})}, {}, u""},
        {"picture file and unknown kinds are skipped",
         {section(12, 5, {'c', 0, 0, 0}), section(9, 42, {1}), kAb},
         {DrawTextSection{u"ab"}},
         u"ab"},
        {"text without terminator",
         {section(12, 2, {'h', 0, 'i', 0})},
         {DrawTextSection{u"hi"}},
         u"hi"},
        {"trailing fragment under 8 bytes is ignored",
         {kAb, {1, 2, 3}},
         {DrawTextSection{u"ab"}},
         u"ab"},
    };
    for (const Case& c : cases) {
        const auto parsed = parseChatMessage(packetWith(c.sections), kLocal, true);
        ASSERT_TRUE(parsed) << c.name;
        EXPECT_EQ(parsed->sections, c.expected) << c.name;
        EXPECT_EQ(parsed->plainText, c.plainText) << c.name;
    }
}

TEST(ParseMessage, PicturesOfOthersAreHiddenWhenNotAllowed) {
    struct Case {
        int32_t speaker;
        bool allow;
        bool hidden;
    };
    const std::vector<Case> cases = {
        {kSpeaker, false, true}, {kSpeaker, true, false}, {kLocal, false, false}};
    for (const Case& c : cases) {
        const auto parsed = parseChatMessage(packetWith({kPicture}, c.speaker), kLocal, c.allow);
        ASSERT_EQ(parsed->sections.size(), 1u);
        EXPECT_EQ(std::holds_alternative<DrawHiddenPicture>(parsed->sections[0]), c.hidden)
            << c.speaker << " " << c.allow;
    }
}

TEST(ParseMessage, NeverReadsPastTheData) {
    Bytes packet = packetWith({kAb, kEmote7});
    storeLE(packet.data(), uint32_t{0xFFFFFFFF});  // the length claims more than arrived
    auto parsed = parseChatMessage(packet, kLocal, true);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->sections.size(), 2u);

    packet.resize(kChatSectionsOffset + 10);  // the emoticon is cut off, the text too
    parsed = parseChatMessage(packet, kLocal, true);
    EXPECT_TRUE(parsed->sections.empty());

    storeLE(packet.data(), uint32_t{kChatSectionsOffset + 3});  // shorter than the data
    parsed = parseChatMessage(packet, kLocal, true);
    EXPECT_TRUE(parsed->sections.empty());

    packet.resize(kChatSectionsOffset - 1);
    EXPECT_FALSE(parseChatMessage(packet, kLocal, true));
}

TEST(ParseMessage, RoundTripsAComposedMessage) {
    ComposeRequest request;
    request.ownChatterId = kSpeaker;
    request.ownNickname = u"小李";
    MessageSequence sequence;
    InputObject picture;
    picture.pictureBytes = {1, 2, 3};
    const auto packet = composeChatMessage(request, {u"看 http://a.b", picture}, sequence);
    const auto parsed = parseChatMessage(packet, kLocal, true);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->header.nickname, u"小李");
    EXPECT_EQ(parsed->header.sequence, 1);
    EXPECT_EQ(parsed->sections, (std::vector<DrawableSection>{DrawTextSection{u"看 http://a.b"},
                                                              DrawPictureSection{{1, 2, 3}}}));
}

}  // namespace
}  // namespace chat
