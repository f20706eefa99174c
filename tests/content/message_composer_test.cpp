#include "content/message_composer.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "util/little_endian.h"

namespace chat {
namespace {

struct Section {
    uint32_t size;
    uint8_t kind;
    std::vector<uint8_t> payload;
    bool operator==(const Section&) const = default;
};

std::vector<Section> sectionsOf(const std::vector<uint8_t>& packet) {
    std::vector<Section> sections;
    for (size_t at = kChatSectionsOffset; at + 8 <= packet.size();) {
        const auto size = loadLE<uint32_t>(packet.data() + at);
        sections.push_back({size, packet[at + 4],
                            std::vector<uint8_t>(packet.begin() + long(at) + 8,
                                                 packet.begin() + long(at + size))});
        at += size;
    }
    return sections;
}

Section text(std::u16string_view t) {
    Section s{uint32_t(10 + 2 * t.size()), 2, {}};
    for (char16_t c : t) {
        s.payload.push_back(uint8_t(c & 0xFF));
        s.payload.push_back(uint8_t(c >> 8));
    }
    s.payload.insert(s.payload.end(), {0, 0});
    return s;
}
Section picture(const std::vector<uint8_t>& bytes) {
    return {uint32_t(8 + bytes.size()), 4, bytes};
}
Section emote(uint8_t n) {
    return {12, 3, {n, 0, 0, 0}};
}

InputObject pictureObject(std::vector<uint8_t> bytes) {
    InputObject object;
    object.pictureBytes = std::move(bytes);
    return object;
}
InputObject taggedObject(uint32_t tag) {
    InputObject object;
    object.tag = tag;
    return object;
}

ComposeRequest request() {
    ComposeRequest r;
    r.roomId = 12;
    r.ownChatterId = 77;
    r.ownNickname = u"客服小王";
    r.sendTime = {2026, 12, 5, 11, 13, 5, 9, 250};
    return r;
}

std::vector<uint8_t> compose(const InputBoxContent& input) {
    MessageSequence sequence;
    return composeChatMessage(request(), input, sequence);
}

TEST(ComposeMessage, SectionsFollowTheInputBox) {
    const std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0};
    const std::vector<uint8_t> gif = {'G', 'I', 'F'};
    struct Case {
        const char* name;
        InputBoxContent input;
        std::vector<Section> expected;
    };
    const std::vector<Case> cases = {
        {"text, picture, text",
         {u"ab", pictureObject(jpeg), u"c"},
         {text(u"ab"), picture(jpeg), text(u"c")}},
        {"picture first", {pictureObject(jpeg), u"x"}, {picture(jpeg), text(u"x")}},
        {"text only with a line break", {u"你好\r\nab"}, {text(u"你好\r\nab")}},
        {"two pictures side by side",
         {pictureObject(jpeg), pictureObject(gif)},
         {picture(jpeg), picture(gif)}},
        {"emoticon tag 5", {u"a", taggedObject(5), u"b"}, {text(u"a"), emote(5), text(u"b")}},
        {"tag 0 only splits the text", {u"a", taggedObject(0), u"b"}, {text(u"a"), text(u"b")}},
        {"adjacent runs form one range", {u"a", u"b"}, {text(u"ab")}},
        {"empty box", {}, {}},
    };
    for (const Case& c : cases) {
        const auto packet = compose(c.input);
        EXPECT_EQ(sectionsOf(packet), c.expected) << c.name;
    }
}

TEST(ComposeMessage, TextSectionBytes) {
    const auto packet = compose({u"ab"});
    const std::vector<uint8_t> tail(packet.begin() + kChatSectionsOffset, packet.end());
    EXPECT_EQ(tail, (std::vector<uint8_t>{0x0E, 0, 0, 0, 2, 0, 0, 0, 'a', 0, 'b', 0, 0, 0}));
}

TEST(ComposeMessage, HeaderFields) {
    ComposeRequest r = request();
    r.ownNickname = u"abcdefghijklmno";  // 15 characters: the first 11 are sent
    r.targetId = 9;
    MessageSequence sequence;
    const auto first = composeChatMessage(r, {u"x"}, sequence);
    const auto second = composeChatMessage(r, {u"x"}, sequence);
    ASSERT_EQ(first.size(), kChatSectionsOffset + 12);
    EXPECT_EQ(loadLE<uint32_t>(first.data()), first.size());
    EXPECT_EQ(loadLE<uint16_t>(first.data() + 4), 14);
    EXPECT_EQ(std::vector<uint8_t>(first.begin() + 6, first.begin() + 24),
              std::vector<uint8_t>(18, 0));
    EXPECT_EQ(loadLE<int32_t>(first.data() + 24), 12);
    EXPECT_EQ(loadLE<int32_t>(first.data() + 28), 1);
    EXPECT_EQ(loadLE<int32_t>(second.data() + 28), 2);
    EXPECT_EQ(loadLE<int32_t>(first.data() + 32), 77);
    EXPECT_EQ(loadLE<int32_t>(first.data() + 36), 9);
    EXPECT_EQ(first[40 + 68], 9);                           // style size
    EXPECT_EQ(loadLE<uint16_t>(first.data() + 117), 2026);  // the time starts at an odd offset
    EXPECT_EQ(loadLE<uint16_t>(first.data() + 131), 250);
    const auto header = ChatMessageHeader::read(first.data() + kChatMessageHeaderOffset);
    EXPECT_EQ(header.nickname, u"abcdefghijk");
    EXPECT_EQ(header.sendTime, r.sendTime);
}

TEST(ComposeMessage, Limits) {
    struct Case {
        const char* name;
        InputBoxContent input;
        size_t packetSize;  // 0 when refused
        const char* error;
    };
    const std::vector<uint8_t> largest(kMaxPictureBytes, 1);
    const std::vector<uint8_t> tooLarge(kMaxPictureBytes + 1, 1);
    const std::vector<Case> cases = {
        {"largest picture", {pictureObject(largest)}, 157 + 8 + 153600, nullptr},
        {"picture one byte too large", {pictureObject(tooLarge)}, 0, kPictureTooLargeText},
        {"163839 bytes is sent",
         {pictureObject(largest), pictureObject(std::vector<uint8_t>(10066))},
         163839,
         nullptr},
        {"163840 bytes is refused",
         {pictureObject(largest), pictureObject(std::vector<uint8_t>(10067))},
         0,
         kContentTooLongText},
        {"long text is refused", {std::u16string(81915, u'x')}, 0, kContentTooLongText},
        {"picture without file or bytes", {u"a", InputObject{}}, 0, kPictureFailedText},
    };
    for (const Case& c : cases) {
        if (c.error == nullptr) {
            EXPECT_EQ(compose(c.input).size(), c.packetSize) << c.name;
            continue;
        }
        try {
            compose(c.input);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ChatContentError& error) {
            EXPECT_STREQ(error.what(), c.error) << c.name;
        }
    }
}

TEST(ComposeMessage, PictureFromItsSourceFile) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("compose_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "a.gif";
    std::ofstream(file, std::ios::binary) << "GIF89a";
    const auto big = folder / "big.jpg";
    std::ofstream(big, std::ios::binary) << std::string(kMaxPictureBytes + 1, 'x');

    InputObject fromFile;
    fromFile.sourceFile = file;
    fromFile.pictureBytes = {1, 2};  // the file wins
    InputObject missing;
    missing.sourceFile = folder / "gone.jpg";
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_EQ(sectionsOf(compose({fromFile, u"x", missing})),
              (std::vector{picture(gif), text(u"x")}));

    InputObject oversized;
    oversized.sourceFile = big;
    EXPECT_THROW(compose({oversized}), ChatContentError);
    std::filesystem::remove_all(folder);
}

TEST(ComposeMessage, TargetSelectionAndSelf) {
    EXPECT_EQ(targetIdFromSelection(std::nullopt), 0);
    EXPECT_EQ(targetIdFromSelection(-1), 0);
    EXPECT_EQ(targetIdFromSelection(42), 42);

    ComposeRequest r = request();
    r.targetId = r.ownChatterId;
    MessageSequence sequence;
    EXPECT_THROW(composeChatMessage(r, {u"hi"}, sequence), SelfAddressedMessageError);
}

TEST(MessageSequence, OwnEchoIsRecognised) {
    MessageSequence sequence;
    const int32_t first = sequence.next();
    sequence.markSent(first);
    EXPECT_TRUE(sequence.isOwnEcho(true, first));
    EXPECT_FALSE(sequence.isOwnEcho(true, first + 1));
    EXPECT_FALSE(sequence.isOwnEcho(false, first));
}

}  // namespace
}  // namespace chat
