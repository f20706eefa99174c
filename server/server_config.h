#pragma once
// The development server's configuration: accounts, rooms, word lists, rights and demo bots, read
// from one JSON file. A bad value is reported with its JSON path ("rooms[2].name: expected a
// string") and nothing is started.
#include <array>
#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "admin/rights_list.h"
#include "content/text_style.h"
#include "protocol/commands/admin_blocks.h"
#include "protocol/commands/admin_limit_commands.h"

namespace chatserver {

class ConfigError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

using Digest = std::array<uint8_t, 16>;

// Private rooms get ids from here on; configured rooms stay below.
inline constexpr uint32_t kFirstPrivateRoomId = 100000;

struct AccountConfig {
    std::string account;  // UTF-8 in the file; accounts are plain ASCII in practice
    Digest passwordDigest{};
    uint32_t level = 0;  // AccountLevel bits
    std::u16string nickname;
    uint8_t sex = 'U';
};

// One restriction of a room: mute (no chat) or forbid login (no entry), until `end`.
struct RoomLimit {
    chat::cmd::LimitKind kind = chat::cmd::LimitKind::Mute;
    std::string account;  // GBK; empty = none
    std::array<uint8_t, 6> mac{};
    uint32_t ip = 0;  // network byte order, 0 = none
    uint32_t mask = 0;
    std::time_t end = 0;

    bool operator==(const RoomLimit&) const = default;
};

struct RoomConfig {
    uint32_t id = 0;
    std::u16string name;
    uint32_t attributes = 0;
    std::u16string announcement;
    std::u16string rollingMessage;
    uint32_t rollingIntervalSeconds = 0;
    chat::RoomSettingBlock settings;
    uint32_t entryRoles = 0;               // RoomAllowLevel, 0 = everybody
    std::set<std::string> owners;          // GBK accounts
    std::set<std::string> administrators;  // GBK accounts
    std::vector<RoomLimit> limits;
};

struct BotRule {
    std::u16string keyword;
    std::u16string reply;
};

// The colour bots speak in unless a line names its own: a dark blue.
inline constexpr uint32_t kBotColour = 0x00B06000;

// A run of text or an emoticon number.
using LinePiece = std::variant<std::u16string, int32_t>;

// Something a bot says on its own.
struct BotLine {
    std::vector<LinePiece> pieces;  // in order; no empty text runs
    chat::TextStyle style;
    std::vector<uint8_t> picture;  // a picture file's bytes, shown after the pieces; empty: none
    bool whisper = false;          // to the newest human chatter of the room only
};

struct BotConfig {
    std::string account;  // GBK
    std::u16string nickname;
    uint8_t sex = 'U';
    uint32_t level = 0;  // AccountLevel bits of the account scope and VIP
    uint32_t roomId = 0;
    std::u16string greeting;  // empty: no greeting
    std::vector<BotRule> rules;
    std::u16string defaultReply;    // empty: no answer when no rule matches
    std::vector<BotLine> lines;     // said in turn, one every lineIntervalSeconds
    uint32_t firstLineSeconds = 3;  // after start and after a newcomer has the chatter list
    uint32_t lineIntervalSeconds = 10;
};

struct ServerConfig {
    std::vector<AccountConfig> accounts;
    std::vector<RoomConfig> rooms;
    std::set<std::u16string> keywords;
    std::set<std::u16string> invalidNicknames;
    std::map<std::string, chat::RightsList> rights;  // by account (GBK)
    std::u16string systemMessage;
    uint32_t systemMessageIntervalSeconds = 0;
    std::optional<Digest> operationPasswordDigest;
    std::vector<BotConfig> bots;

    const AccountConfig* findAccount(const std::string& gbkAccount) const;
};

// Throws ConfigError ("<path>: <problem>") for a value of the wrong kind or out of range, and for
// text that is not JSON. Relative picture paths of bot lines start at `baseFolder`.
ServerConfig parseServerConfig(const std::string& jsonText, const std::string& baseFolder = ".");
// As parseServerConfig, with picture paths relative to the file's folder; a file that cannot be
// read is a ConfigError ("cannot be read").
ServerConfig loadServerConfig(const std::string& path);

}  // namespace chatserver
