#include "server_config.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "admin/account_level.h"
#include "content/chat_message.h"
#include "util/text_codec.h"

namespace chatserver {
namespace {

using nlohmann::json;

// A JSON value with the path that leads to it, for error messages.
class Node {
  public:
    Node(const json& value, std::string path) : value_(value), path_(std::move(path)) {}

    [[noreturn]] void fail(const std::string& problem) const {
        throw ConfigError(path_ + ": " + problem);
    }

    bool has(const char* key) const { return value_.contains(key); }
    Node operator[](const char* key) const {
        if (!value_.is_object()) {
            fail("expected an object");
        }
        const std::string path = path_.empty() ? key : path_ + "." + key;
        auto it = value_.find(key);
        if (it == value_.end()) {
            throw ConfigError(path + ": missing");
        }
        return Node(*it, path);
    }

    std::vector<Node> items() const {
        if (!value_.is_array()) {
            fail("expected an array");
        }
        std::vector<Node> result;
        for (size_t i = 0; i < value_.size(); ++i) {
            result.emplace_back(value_[i], path_ + "[" + std::to_string(i) + "]");
        }
        return result;
    }

    std::string text() const {
        if (!value_.is_string()) {
            fail("expected a string");
        }
        return value_.get<std::string>();
    }
    std::u16string wide(size_t maxUnits) const {
        const std::string utf8 = text();
        if (!chat::isValidUtf8(utf8)) {
            fail("not valid UTF-8");
        }
        std::u16string result = chat::utf8ToUtf16(utf8);
        if (result.size() > maxUnits) {
            fail("longer than " + std::to_string(maxUnits) + " characters");
        }
        return result;
    }
    std::string gbk(size_t maxBytes) const {
        const std::u16string units = wide(maxBytes);
        std::string result = chat::utf16ToGbk(units);
        if (result.size() > maxBytes) {
            fail("longer than " + std::to_string(maxBytes) + " bytes");
        }
        return result;
    }
    uint32_t u32() const {
        if (!value_.is_number_unsigned() || value_.get<uint64_t>() > UINT32_MAX) {
            fail("expected a whole number from 0 to 4294967295");
        }
        return value_.get<uint32_t>();
    }
    bool flag() const {
        if (!value_.is_boolean()) {
            fail("expected true or false");
        }
        return value_.get<bool>();
    }
    template <size_t N>
    std::array<uint8_t, N> hexBytes() const {
        const std::string hex = text();
        std::array<uint8_t, N> bytes{};
        if (hex.size() != 2 * N) {
            fail("expected " + std::to_string(2 * N) + " hexadecimal digits");
        }
        for (size_t i = 0; i < N; ++i) {
            unsigned value = 0;
            if (std::sscanf(hex.c_str() + 2 * i, "%2x", &value) != 1 ||
                !std::isxdigit(static_cast<unsigned char>(hex[2 * i])) ||
                !std::isxdigit(static_cast<unsigned char>(hex[2 * i + 1]))) {
                fail("expected " + std::to_string(2 * N) + " hexadecimal digits");
            }
            bytes[i] = static_cast<uint8_t>(value);
        }
        return bytes;
    }
    uint8_t sex() const {
        const std::string s = text();
        if (s != "M" && s != "F" && s != "U") {
            fail("expected \"M\", \"F\" or \"U\"");
        }
        return static_cast<uint8_t>(s[0]);
    }
    uint32_t ipv4() const {
        in_addr address{};
        if (inet_pton(AF_INET, text().c_str(), &address) != 1) {
            fail("expected an IPv4 address");
        }
        return address.s_addr;  // network byte order, as on the wire
    }
    // "YYYY-MM-DD HH:MM", local time.
    std::time_t localTime() const {
        std::tm tm{};
        int year = 0, month = 0, day = 0, hour = 0, minute = 0;
        if (std::sscanf(text().c_str(), "%4d-%2d-%2d %2d:%2d", &year, &month, &day, &hour,
                        &minute) != 5) {
            fail("expected a time as \"YYYY-MM-DD HH:MM\"");
        }
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        tm.tm_isdst = -1;
        return std::mktime(&tm);
    }

  private:
    const json& value_;
    std::string path_;
};

std::set<std::u16string> readWords(const Node& node) {
    std::set<std::u16string> words;
    for (const Node& item : node.items()) {
        std::u16string word = item.wide(1024);
        if (word.empty()) {
            item.fail("empty word");
        }
        words.insert(std::move(word));
    }
    return words;
}

std::set<std::string> readAccounts(const Node& node) {
    std::set<std::string> accounts;
    for (const Node& item : node.items()) {
        accounts.insert(item.gbk(63));
    }
    return accounts;
}

AccountConfig readAccount(const Node& node) {
    AccountConfig a;
    a.account = node["account"].gbk(63);
    if (a.account.empty()) {
        node["account"].fail("empty account");
    }
    a.passwordDigest = node["passwordDigest"].hexBytes<16>();
    a.level = node.has("level") ? node["level"].u32() : 0;
    a.nickname = node.has("nickname") ? node["nickname"].wide(11) : chat::gbkToUtf16(a.account);
    if (a.nickname.size() > 11) {
        a.nickname.resize(11);
    }
    a.sex = node.has("sex") ? node["sex"].sex() : 'U';
    return a;
}

RoomLimit readLimit(const Node& node) {
    RoomLimit limit;
    const std::string kind = node["kind"].text();
    if (kind == "mute") {
        limit.kind = chat::cmd::LimitKind::Mute;
    } else if (kind == "forbidLogin") {
        limit.kind = chat::cmd::LimitKind::ForbidLogin;
    } else {
        node["kind"].fail("expected \"mute\" or \"forbidLogin\"");
    }
    if (node.has("account"))
        limit.account = node["account"].gbk(63);
    if (node.has("mac"))
        limit.mac = node["mac"].hexBytes<6>();
    if (node.has("ip")) {
        limit.ip = node["ip"].ipv4();
        limit.mask = node.has("mask") ? node["mask"].ipv4() : 0xFFFFFFFFu;
    }
    limit.end = node["end"].localTime();
    return limit;
}

RoomConfig readRoom(const Node& node) {
    RoomConfig r;
    r.id = node["id"].u32();
    if (r.id <= 1) {
        node["id"].fail("room ids 0 and 1 are reserved");
    }
    if (r.id >= kFirstPrivateRoomId) {
        node["id"].fail("room ids from " + std::to_string(kFirstPrivateRoomId) +
                        " on are kept for private rooms");
    }
    r.name = node["name"].wide(47);
    if (r.name.empty()) {
        node["name"].fail("empty name");
    }
    if (node.has("attributes"))
        r.attributes = node["attributes"].u32();
    if (node.has("announcement"))
        r.announcement = node["announcement"].wide(511);
    if (node.has("rollingMessage"))
        r.rollingMessage = node["rollingMessage"].wide(127);
    if (node.has("rollingIntervalSeconds")) {
        r.rollingIntervalSeconds = node["rollingIntervalSeconds"].u32();
    }
    r.settings.roomId = r.id;
    r.settings.maxPeople = 1000;
    r.settings.maxCharacters = 512;
    r.settings.maxPictures = 3;
    r.settings.allowCustomTextStyle = true;
    r.settings.allowPictures = true;
    if (node.has("settings")) {
        const Node s = node["settings"];
        if (s.has("maxPeople"))
            r.settings.maxPeople = s["maxPeople"].u32();
        if (s.has("speechIntervalMs"))
            r.settings.speechIntervalMs = s["speechIntervalMs"].u32();
        if (s.has("maxCharacters"))
            r.settings.maxCharacters = s["maxCharacters"].u32();
        if (s.has("maxPictures"))
            r.settings.maxPictures = s["maxPictures"].u32();
        if (s.has("allowCustomTextStyle")) {
            r.settings.allowCustomTextStyle = s["allowCustomTextStyle"].flag();
        }
        if (s.has("allowPictures"))
            r.settings.allowPictures = s["allowPictures"].flag();
        if (s.has("firstSpeechVerification")) {
            r.settings.firstSpeechVerification = s["firstSpeechVerification"].flag();
        }
    }
    if (node.has("entryRoles"))
        r.entryRoles = node["entryRoles"].u32();
    if (node.has("owners"))
        r.owners = readAccounts(node["owners"]);
    if (node.has("administrators"))
        r.administrators = readAccounts(node["administrators"]);
    if (node.has("limits")) {
        for (const Node& item : node["limits"].items()) {
            r.limits.push_back(readLimit(item));
        }
    }
    return r;
}

// "#RRGGBB" as a colour value 0x00BBGGRR.
uint32_t readColour(const Node& node) {
    const std::string text = node.text();
    unsigned red = 0, green = 0, blue = 0;
    if (text.size() != 7 || text[0] != '#' ||
        !std::all_of(text.begin() + 1, text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }) ||
        std::sscanf(text.c_str() + 1, "%2x%2x%2x", &red, &green, &blue) != 3) {
        node.fail("expected a colour as \"#RRGGBB\"");
    }
    return chat::rgb(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                     static_cast<uint8_t>(blue));
}

chat::TextStyle readStyle(const Node& node) {
    chat::TextStyle style = chat::defaultTextStyle();
    style.colour = kBotColour;
    if (!node.has("style"))
        return style;
    const Node s = node["style"];
    if (s.has("face")) {
        style.face = s["face"].wide(chat::TextStyle::kFaceUnits - 1);
        if (style.face.empty())
            s["face"].fail("empty face");
    }
    if (s.has("size")) {
        const uint32_t points = s["size"].u32();
        if (points < 6 || points > 72)
            s["size"].fail("expected a size from 6 to 72 points");
        style.size = static_cast<int32_t>(points);
    }
    if (s.has("colour"))
        style.colour = readColour(s["colour"]);
    if (s.has("bold"))
        style.bold = s["bold"].flag();
    if (s.has("italic"))
        style.italic = s["italic"].flag();
    if (s.has("underline"))
        style.underline = s["underline"].flag();
    return style;
}

// The text with its "{emote:N}" markers as emoticon numbers between the runs of text.
std::vector<LinePiece> readLineText(const Node& node) {
    static const std::u16string kMarker = u"{emote:";
    const std::u16string text = node.wide(500);
    std::vector<LinePiece> pieces;
    size_t from = 0;
    while (from < text.size()) {
        const size_t marker = text.find(kMarker, from);
        if (marker != from) {
            pieces.emplace_back(text.substr(from, marker - from));
            if (marker == std::u16string::npos)
                break;
        }
        const size_t digits = marker + kMarker.size();
        const size_t close = text.find(u'}', digits);
        uint32_t number = 0;
        bool valid = close != std::u16string::npos && close > digits && close - digits <= 9;
        for (size_t i = digits; valid && i < close; ++i) {
            valid = text[i] >= u'0' && text[i] <= u'9';
            number = number * 10 + (text[i] - u'0');
        }
        if (!valid || number == 0) {
            node.fail("expected an emoticon number of at least 1 in \"{emote:N}\" at character " +
                      std::to_string(marker));
        }
        pieces.emplace_back(static_cast<int32_t>(number));
        from = close + 1;
    }
    return pieces;
}

std::vector<uint8_t> readPicture(const Node& node, const std::string& baseFolder) {
    const std::filesystem::path path =
        std::filesystem::path(baseFolder) / node.text();  // UTF-8 file names, as on Linux
    std::ifstream file(path, std::ios::binary);
    if (!file)
        node.fail("cannot read " + path.string());
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
    if (bytes.empty())
        node.fail(path.string() + " is empty");
    if (bytes.size() > chat::kMaxPictureBytes) {
        node.fail(path.string() + " is larger than " + std::to_string(chat::kMaxPictureBytes) +
                  " bytes");
    }
    return bytes;
}

BotLine readLine(const Node& node, const std::string& baseFolder) {
    BotLine line;
    if (node.has("text"))
        line.pieces = readLineText(node["text"]);
    line.style = readStyle(node);
    if (node.has("picture"))
        line.picture = readPicture(node["picture"], baseFolder);
    if (node.has("whisper"))
        line.whisper = node["whisper"].flag();
    if (line.pieces.empty() && line.picture.empty())
        node.fail("a line needs a text or a picture");
    return line;
}

uint32_t readSeconds(const Node& node) {
    const uint32_t seconds = node.u32();
    if (seconds == 0 || seconds > 86400)
        node.fail("expected a number of seconds from 1 to 86400");
    return seconds;
}

BotConfig readBot(const Node& node, const std::string& baseFolder) {
    constexpr uint32_t kBotLevels = chat::AccountLevel::kAccountScope | chat::AccountLevel::kVip;
    BotConfig b;
    b.account = node["account"].gbk(63);
    b.nickname = node["nickname"].wide(11);
    b.sex = node.has("sex") ? node["sex"].sex() : 'U';
    if (node.has("level")) {
        b.level = node["level"].u32();
        if ((b.level & ~kBotLevels) != 0) {
            node["level"].fail(
                "expected role flags of 0x01, 0x02, 0x04, 0x08 and 0x10 (room owners and "
                "administrators come from the room's lists)");
        }
    }
    b.roomId = node["room"].u32();
    if (node.has("greeting"))
        b.greeting = node["greeting"].wide(500);
    if (node.has("rules")) {
        for (const Node& item : node["rules"].items()) {
            b.rules.push_back({item["keyword"].wide(100), item["reply"].wide(500)});
        }
    }
    if (node.has("defaultReply"))
        b.defaultReply = node["defaultReply"].wide(500);
    if (node.has("lines")) {
        for (const Node& item : node["lines"].items())
            b.lines.push_back(readLine(item, baseFolder));
    }
    if (node.has("firstLineSeconds"))
        b.firstLineSeconds = readSeconds(node["firstLineSeconds"]);
    if (node.has("lineIntervalSeconds"))
        b.lineIntervalSeconds = readSeconds(node["lineIntervalSeconds"]);
    return b;
}

}  // namespace

const AccountConfig* ServerConfig::findAccount(const std::string& gbkAccount) const {
    for (const AccountConfig& a : accounts) {
        if (a.account == gbkAccount) {
            return &a;
        }
    }
    return nullptr;
}

ServerConfig parseServerConfig(const std::string& jsonText, const std::string& baseFolder) {
    json document;
    try {
        document = json::parse(jsonText);
    } catch (const json::parse_error& e) {
        throw ConfigError(std::string("not valid JSON: ") + e.what());
    }
    const Node root(document, "");
    if (!document.is_object()) {
        throw ConfigError("(top): expected an object");
    }
    ServerConfig config;
    for (const Node& item : root["accounts"].items()) {
        config.accounts.push_back(readAccount(item));
    }
    std::set<uint32_t> roomIds;
    for (const Node& item : root["rooms"].items()) {
        config.rooms.push_back(readRoom(item));
        if (!roomIds.insert(config.rooms.back().id).second) {
            item["id"].fail("room id used twice");
        }
    }
    if (config.rooms.empty()) {
        root["rooms"].fail("at least one room is needed");
    }
    if (root.has("keywords"))
        config.keywords = readWords(root["keywords"]);
    if (root.has("invalidNicknames")) {
        config.invalidNicknames = readWords(root["invalidNicknames"]);
    }
    if (root.has("rights")) {
        for (const Node& item : root["rights"].items()) {
            const std::string account = item["account"].gbk(63);
            const uint32_t room = item["room"].u32();
            if (!roomIds.contains(room)) {
                item["room"].fail("no such room");
            }
            chat::RightsList& rights = config.rights[account];
            for (const Node& code : item["codes"].items()) {
                const uint32_t value = code.u32();
                if (value < 10000 || value > 10007) {
                    code.fail("expected a right code from 10000 to 10007");
                }
                rights.grant(static_cast<int32_t>(value), static_cast<int32_t>(room));
            }
        }
    }
    if (root.has("systemMessage")) {
        const Node message = root["systemMessage"];
        config.systemMessage = message["text"].wide(255);
        if (message.has("intervalSeconds")) {
            config.systemMessageIntervalSeconds = message["intervalSeconds"].u32();
        }
    }
    if (root.has("operationPasswordDigest")) {
        config.operationPasswordDigest = root["operationPasswordDigest"].hexBytes<16>();
    }
    if (root.has("bots")) {
        for (const Node& item : root["bots"].items()) {
            config.bots.push_back(readBot(item, baseFolder));
            if (!roomIds.contains(config.bots.back().roomId)) {
                item["room"].fail("no such room");
            }
        }
    }
    return config;
}

ServerConfig loadServerConfig(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ConfigError("cannot be read");
    }
    std::ostringstream text;
    text << file.rdbuf();
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return parseServerConfig(text.str(), folder.empty() ? "." : folder);
}

}  // namespace chatserver
