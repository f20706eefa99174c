#pragma once
// The settings of the user who runs the program, kept in "config.ini" in the settings folder.
// Text style, black list and the "misc" values are read once when the store is built; room
// nicknames and quick replies are read when needed. Every change is written at once (the black
// list too, not only at the end); a failed write is not reported.
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

#include "content/text_style.h"
#include "storage/ini_file.h"
#include "storage/system_font.h"

namespace chat {

class QuickReplyList;

// The local user's nickname and sex letter ('F', 'M' or 'U') in one room.
struct RoomNickname {
    std::u16string nickname;
    char sex = 'U';
    bool operator==(const RoomNickname&) const = default;
};

class UserConfig {
  public:
    static constexpr uint32_t kDefaultSendKey = 6;
    static constexpr int32_t kDefaultMaxChatBoxChars = 131072;
    static constexpr int32_t kMinChatBoxChars = 1024;

    // `folder` is the settings folder (the roaming "Palvern" folder); it is created if needed.
    // An empty path (the application-data folder could not be found) raises std::runtime_error
    // "取配置文件夹失败！".
    UserConfig(std::filesystem::path folder, const SystemFontSource& fonts);
    ~UserConfig();
    UserConfig(const UserConfig&) = delete;
    UserConfig& operator=(const UserConfig&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    const std::filesystem::path& filePath() const { return file_.path(); }

    const TextStyle& myTextStyle() const { return myTextStyle_; }
    void setMyTextStyle(const TextStyle& style);

    uint32_t sendKey() const { return sendKey_; }
    void setSendKey(uint32_t sendKey);
    uint32_t screenCaptureHotKey() const { return screenCaptureHotKey_; }
    void setScreenCaptureHotKey(uint32_t hotKey);
    int32_t maxChatBoxChars() const { return maxChatBoxChars_; }
    void setMaxChatBoxChars(int32_t maxChars);
    bool allowShowPictures() const { return allowShowPictures_; }
    void setAllowShowPictures(bool allow);
    bool acceptPrivateMessages() const { return acceptPrivateMessages_; }
    void setAcceptPrivateMessages(bool accept);

    // Accounts are GBK, as the wire carries them.
    const std::set<std::string>& blackList() const { return blackList_; }
    bool isBlackListed(const std::string& account) const;
    void addToBlackList(const std::string& account);
    void removeFromBlackList(const std::string& account);

    RoomNickname readRoomNickname(const std::string& account, int32_t roomId) const;
    void writeRoomNickname(const std::string& account, int32_t roomId, const RoomNickname& entry);

    // Clears `replies` and fills it from the account's section.
    void loadQuickReplies(const std::string& account, QuickReplyList& replies) const;
    // Replaces the account's section with every reply in list order.
    void saveQuickReplies(const std::string& account, const QuickReplyList& replies);

  private:
    void loadTextStyle(const SystemFontSource& fonts);
    void loadBlackList();
    void loadMisc();
    void writeBlackList();
    void writeUnsigned(std::u16string_view section, std::u16string_view key, uint32_t value);

    std::filesystem::path folder_;
    IniFile file_;
    TextStyle myTextStyle_;
    std::set<std::string> blackList_;
    uint32_t sendKey_ = kDefaultSendKey;
    uint32_t screenCaptureHotKey_ = 0;
    int32_t maxChatBoxChars_ = kDefaultMaxChatBoxChars;
    bool allowShowPictures_ = true;
    bool acceptPrivateMessages_ = true;
    // A change of the black list that could not be written yet; the destructor tries again.
    bool blackListUnsaved_ = false;
};

// The send key as stored values are read: 0 becomes 2; with bit 1 set bit 0 is cleared.
uint32_t normalisedSendKey(uint32_t stored);

}  // namespace chat
