#include "content/chat_box_layout.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "admin/account_level.h"
#include "content/link_detection.h"
#include "util/text_codec.h"

namespace chat {
namespace {

constexpr int32_t kBodyIndentTwips = 180;     // the name-line size × 20
constexpr int32_t kSystemHangingTwips = 900;  // five times the system size in twips

std::u16string twoDigits(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u", static_cast<unsigned>(value));
    return utf8ToUtf16(text);
}

std::u16string clockText(const SystemTime& time) {
    return twoDigits(time.hour) + u":" + twoDigits(time.minute) + u":" + twoDigits(time.second);
}

std::u16string roleText(uint32_t roles) {
    if (roles & AccountLevel::kCustomerService) {
        return u" <Morvex客服> ";
    }
    if (roles & AccountLevel::kInstructor) {
        return u" <Morvex指导员> ";
    }
    if (roles & AccountLevel::kRoomOwner) {
        return u" <房主> ";
    }
    if (roles & AccountLevel::kRoomAdmin) {
        return u" <房间管理员> ";
    }
    return {};
}

std::optional<int32_t> roleIcon(uint32_t roles) {
    if (roles & AccountLevel::kCustomerService) {
        return kCustomerServiceIconBitmap;
    }
    if (roles & AccountLevel::kInstructor) {
        return kInstructorIconBitmap;
    }
    if (roles & (AccountLevel::kRoomOwner | AccountLevel::kRoomAdmin)) {
        return kRoomManagerIconBitmap;
    }
    return std::nullopt;
}

std::u16string detailsText(const SpeakerDetails& details) {
    char address[32];
    std::snprintf(address, sizeof address, "%u.%u.%u.%u", details.ipv4[0], details.ipv4[1],
                  details.ipv4[2], details.ipv4[3]);
    char mac[16];
    std::snprintf(mac, sizeof mac, "%02X%02X%02X%02X%02X%02X", details.mac[0], details.mac[1],
                  details.mac[2], details.mac[3], details.mac[4], details.mac[5]);
    return u" " + gbkToUtf16(details.account) + u" " + utf8ToUtf16(address) + u" " +
           utf8ToUtf16(mac);
}

void appendBody(ChatBoxRuns& runs, std::vector<DrawableSection>& sections, const TextStyle& style) {
    for (DrawableSection& section : sections) {
        if (auto* text = std::get_if<DrawTextSection>(&section)) {
            for (LinkedText& piece : splitLinks(text->text)) {
                runs.push_back(TextRun{std::move(piece.text), style, piece.link});
            }
        } else if (auto* emote = std::get_if<DrawEmoteSection>(&section)) {
            if (emote->number > 0) {
                runs.push_back(EmoteRun{emote->number});
            }
        } else if (auto* picture = std::get_if<DrawPictureSection>(&section)) {
            runs.push_back(PictureRun{std::move(picture->bytes), 1});
        } else {
            runs.push_back(BitmapRun{kHiddenPictureBitmap, 1});
        }
    }
    runs.push_back(TextRun{u"\r\n", style, false});
}

}  // namespace

TextStyle nameLineStyle() {
    TextStyle style;
    style.colour = rgb(0, 0, 225);
    return style;
}

TextStyle systemLineStyle() {
    TextStyle style;
    style.colour = rgb(128, 128, 128);
    return style;
}

std::string emoticonFileName(int32_t number) {
    char name[24];
    std::snprintf(name, sizeof name, "%04d.gif", static_cast<int>(number));
    return name;
}

std::optional<std::vector<uint8_t>> readChatBoxPictureFile(const std::filesystem::path& path) {
    constexpr uintmax_t kLimit = 0x4000000;
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size >= kLimit) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return std::nullopt;
    }
    return bytes;
}

bool bodyUsesOwnStyle(bool roomAllowsCustomStyles, uint32_t speakerRoles) {
    constexpr uint32_t kStyledRoles =
        AccountLevel::kCustomerService | AccountLevel::kSystemAdmin | AccountLevel::kRoomOwner | AccountLevel::kRoomAdmin;
    return roomAllowsCustomStyles || (speakerRoles & kStyledRoles) != 0;
}

ChatMessageLayout layoutChatMessage(ChatMessageLayoutInput input) {
    ChatMessageLayout layout;
    ChatBoxRuns& runs = layout.runs;
    if (const auto icon = roleIcon(input.speakerRoles)) {
        runs.push_back(BitmapRun{*icon, 0});
        layout.iconFlag = 1;
    }
    runs.push_back(ParagraphRun{0, 0});

    TextStyle header = nameLineStyle();
    const RoleColour colour = roleColour(input.speakerRoles);
    header.colour = rgb(colour.red, colour.green, colour.blue);
    runs.push_back(TextRun{input.speakerNickname, header, true});

    std::u16string headerText = u" " + clockText(input.sendTime) + roleText(input.speakerRoles);
    if (input.targetId != 0) {
        headerText += input.targetId == input.localChatterId
                          ? std::u16string(u"(对您悄悄说)")
                          : u"(对" + input.targetNickname + u"悄悄说)";
    }
    if (input.details) {
        headerText += detailsText(*input.details);
    }
    runs.push_back(TextRun{headerText + u"\r\n", header, false});
    runs.push_back(ParagraphRun{kBodyIndentTwips, 0});

    appendBody(runs, input.sections, input.useOwnStyle ? input.style : defaultTextStyle());
    return layout;
}

ChatBoxRuns layoutSystemLine(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    return {ParagraphRun{0, kSystemHangingTwips}, BitmapRun{kSystemLineBitmap, 0},
            TextRun{u"系统消息：" + std::u16string(text) + u"\r\n", systemLineStyle(), false}};
}

}  // namespace chat
