#include "storage/user_config.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "storage/quick_reply_list.h"
#include "util/blank_trim.h"
#include "util/text_codec.h"

namespace chat {
namespace {

constexpr std::u16string_view kStyleSection = u"chat_text_style";
constexpr std::u16string_view kMiscSection = u"misc";
constexpr std::u16string_view kBlackListSection = u"black_list";
constexpr size_t kKeyListUnits = 32767;
constexpr size_t kQuickReplyKeyListUnits = 524288;
constexpr size_t kNicknameUnits = 12;  // at most 11 characters
constexpr int32_t kMinStyleSize = 9;
constexpr int32_t kMaxStyleSize = 16;

std::u16string decimal(uint32_t value) {
    return utf8ToUtf16(std::to_string(value));
}

std::u16string chatterSection(const std::string& account) {
    return u"chatter_" + gbkToUtf16(account);
}

std::u16string quickReplySection(const std::string& account) {
    return u"usualreply_" + gbkToUtf16(account);
}

std::u16string roomKey(std::u16string_view prefix, int32_t roomId) {
    return std::u16string(prefix) + decimal(static_cast<uint32_t>(roomId));
}

}  // namespace

TextStyle systemTextStyle(const SystemFontSource& fonts) {
    const SystemFont font = fonts.iconTitleFont().value_or(fonts.stockSystemFont());
    TextStyle style;
    style.colour = 0;
    style.size = pointsFromFontHeight(font.height, fonts.verticalDpi());
    style.bold = font.weight == 700 ? 1 : 0;
    style.italic = font.italic ? 1 : 0;
    style.underline = font.underline ? 1 : 0;
    style.strikeout = font.strikeout ? 1 : 0;
    style.charset = font.charset;
    style.face = font.face.substr(0, TextStyle::kFaceUnits - 1);
    return style;
}

uint32_t normalisedSendKey(uint32_t stored) {
    uint32_t key = stored == 0 ? 2 : stored;
    if ((key & 2) != 0) {
        key &= ~uint32_t{1};
    }
    return key;
}

UserConfig::UserConfig(std::filesystem::path folder, const SystemFontSource& fonts)
    : folder_(std::move(folder)), file_(folder_ / "config.ini") {
    if (folder_.empty()) {
        throw std::runtime_error("取配置文件夹失败！");
    }
    std::error_code ignored;  // a folder that cannot be made shows up as failed writes
    std::filesystem::create_directories(folder_, ignored);
    loadTextStyle(fonts);
    loadBlackList();
    loadMisc();
}

UserConfig::~UserConfig() {
    if (blackListUnsaved_) {
        try {
            writeBlackList();
        } catch (...) {  // writing at the end must not end the process
        }
    }
}

void UserConfig::loadTextStyle(const SystemFontSource& fonts) {
    const TextStyle system = systemTextStyle(fonts);
    TextStyle style = system;
    style.colour = static_cast<uint32_t>(file_.readInt(kStyleSection, u"color", 0));
    style.size = std::clamp(file_.readInt(kStyleSection, u"size", system.size), kMinStyleSize,
                            kMaxStyleSize);
    if (style.colour == 0xFFFFFF || style.colour == 0xFFFF) {
        style.colour = 0;
    }
    style.charset =
        static_cast<uint8_t>(file_.readInt(kStyleSection, u"charset", system.charset) & 0xFF);
    const int32_t flags = file_.readInt(kStyleSection, u"style", -1);
    if (flags != -1) {
        style.bold = (flags & 1) ? 1 : 0;
        style.italic = (flags & 2) ? 1 : 0;
        style.underline = (flags & 4) ? 1 : 0;
        style.strikeout = (flags & 8) ? 1 : 0;
    }
    style.face = file_.readString(kStyleSection, u"face", system.face, TextStyle::kFaceUnits);
    if (isReservedStyle(style)) {
        style.colour = 0;
    }
    myTextStyle_ = style;
}

void UserConfig::loadBlackList() {
    for (const std::u16string& key : file_.readKeyNames(kBlackListSection, kKeyListUnits)) {
        const auto account = trimmedBlanks(key);
        if (!account.empty()) {
            blackList_.insert(utf16ToGbk(account));
        }
    }
}

void UserConfig::loadMisc() {
    sendKey_ = normalisedSendKey(
        static_cast<uint32_t>(file_.readInt(kMiscSection, u"send_key", kDefaultSendKey)));
    screenCaptureHotKey_ =
        static_cast<uint32_t>(file_.readInt(kMiscSection, u"screen_capture_hot_key", 0));
    maxChatBoxChars_ =
        std::max(file_.readInt(kMiscSection, u"max_chat_box_chars", kDefaultMaxChatBoxChars),
                 kMinChatBoxChars);
    allowShowPictures_ = file_.readInt(kMiscSection, u"allow_show_pic", 1) != 0;
    acceptPrivateMessages_ = file_.readInt(kMiscSection, u"accept_private_msg", 1) != 0;
}

void UserConfig::writeUnsigned(std::u16string_view section, std::u16string_view key,
                               uint32_t value) {
    file_.writeString(section, key, decimal(value));
}

void UserConfig::setMyTextStyle(const TextStyle& style) {
    myTextStyle_ = style;
    TextStyle& stored = myTextStyle_;
    stored.bold = stored.bold ? 1 : 0;
    stored.italic = stored.italic ? 1 : 0;
    stored.underline = stored.underline ? 1 : 0;
    stored.strikeout = stored.strikeout ? 1 : 0;
    const uint32_t flags = uint32_t{stored.bold} | uint32_t{stored.italic} << 1 |
                           uint32_t{stored.underline} << 2 | uint32_t{stored.strikeout} << 3;
    writeUnsigned(kStyleSection, u"color", stored.colour);
    writeUnsigned(kStyleSection, u"size", static_cast<uint32_t>(stored.size));
    writeUnsigned(kStyleSection, u"charset", stored.charset);
    writeUnsigned(kStyleSection, u"style", flags);
    file_.writeString(kStyleSection, u"face", stored.face);
}

void UserConfig::setSendKey(uint32_t sendKey) {
    if (sendKey != sendKey_) {
        sendKey_ = sendKey;
        writeUnsigned(kMiscSection, u"send_key", sendKey);
    }
}

void UserConfig::setScreenCaptureHotKey(uint32_t hotKey) {
    if (hotKey != screenCaptureHotKey_) {
        screenCaptureHotKey_ = hotKey;
        writeUnsigned(kMiscSection, u"screen_capture_hot_key", hotKey);
    }
}

void UserConfig::setMaxChatBoxChars(int32_t maxChars) {
    maxChatBoxChars_ = std::max(maxChars, kMinChatBoxChars);
    file_.writeString(kMiscSection, u"max_chat_box_chars",
                      utf8ToUtf16(std::to_string(maxChatBoxChars_)));
}

void UserConfig::setAllowShowPictures(bool allow) {
    allowShowPictures_ = allow;
    file_.writeString(kMiscSection, u"allow_show_pic", allow ? u"1" : u"0");
}

void UserConfig::setAcceptPrivateMessages(bool accept) {
    acceptPrivateMessages_ = accept;
    file_.writeString(kMiscSection, u"accept_private_msg", accept ? u"1" : u"0");
}

bool UserConfig::isBlackListed(const std::string& account) const {
    return blackList_.contains(account);
}

void UserConfig::addToBlackList(const std::string& account) {
    if (!account.empty() && blackList_.insert(account).second) {
        writeBlackList();
    }
}

void UserConfig::removeFromBlackList(const std::string& account) {
    if (blackList_.erase(account) > 0) {
        writeBlackList();
    }
}

void UserConfig::writeBlackList() {
    IniEntries entries;
    for (const std::string& account : blackList_) {
        entries.emplace_back(gbkToUtf16(account), u"1");
    }
    blackListUnsaved_ = !file_.replaceSection(kBlackListSection, entries);
}

RoomNickname UserConfig::readRoomNickname(const std::string& account, int32_t roomId) const {
    const std::u16string section = chatterSection(account);
    RoomNickname entry;
    entry.nickname = file_.readString(section, roomKey(u"nickname_", roomId), u"", kNicknameUnits);
    const std::u16string sex = file_.readString(section, roomKey(u"sex_", roomId), u"U", 2);
    entry.sex = sex.starts_with(u'F') ? 'F' : sex.starts_with(u'M') ? 'M' : 'U';
    if (entry.nickname.empty()) {
        const std::u16string name = gbkToUtf16(account);
        entry.nickname = name.substr(0, kNicknameUnits - 1);
    }
    return entry;
}

void UserConfig::writeRoomNickname(const std::string& account, int32_t roomId,
                                   const RoomNickname& entry) {
    const std::u16string section = chatterSection(account);
    file_.writeString(section, roomKey(u"nickname_", roomId), entry.nickname);
    file_.writeString(section, roomKey(u"sex_", roomId), std::u16string(1, char16_t(entry.sex)));
}

void UserConfig::loadQuickReplies(const std::string& account, QuickReplyList& replies) const {
    replies.clear();
    const std::u16string section = quickReplySection(account);
    for (std::u16string& text : file_.readKeyNames(section, kQuickReplyKeyListUnits)) {
        const std::u16string value = file_.readString(section, text, u"", 64);
        replies.add(std::move(text), static_cast<char>(profileNumber(value) & 0xFF));
    }
}

void UserConfig::saveQuickReplies(const std::string& account, const QuickReplyList& replies) {
    IniEntries entries;
    for (const QuickReply& reply : replies.replies()) {
        entries.emplace_back(reply.text, decimal(static_cast<unsigned char>(reply.hotKey)));
    }
    file_.replaceSection(quickReplySection(account), entries);
}

}  // namespace chat
