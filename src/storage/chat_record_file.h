#pragma once
// The local history of one room: the chat messages shown in it, oldest first, in memory while the
// room page exists and in the file "chatrec" + room as "%08d" + ".dat" in the settings folder.
//
// File: "palv", u32 version (1; 0 is read too), u32 record count (not used when reading), u32
// offset of the first record (272), 256 zero bytes, then the records up to the end of the file.
// Record: u32 length (200 + content), 16-byte time, char[64] account (GBK), wchar[12] nickname,
// 12 zero bytes, whisper-to-me byte, 77-byte text style, 2 zero bytes, then the message's
// sections exactly as received.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "content/history_layout.h"
#include "protocol/commands/system_time.h"
#include "content/text_style.h"

namespace chat {

// A view of one record buffer (at least ChatRecordFile::kRecordHeadSize bytes).
class ChatRecordView {
  public:
    explicit ChatRecordView(std::span<const uint8_t> record) : record_(record) {}

    SystemTime time() const;
    std::string account() const;  // GBK
    std::u16string nickname() const;
    bool whisperToMe() const;
    TextStyle style() const;
    std::span<const uint8_t> content() const;

  private:
    std::span<const uint8_t> record_;
};

class ChatRecordFile {
  public:
    static constexpr size_t kMaxRecords = 8191;
    static constexpr size_t kFileHeaderSize = 272;
    static constexpr size_t kRecordHeadSize = 200;
    static constexpr uint32_t kVersion = 1;

    // "chatrec" + room as at least 8 digits + ".dat".
    static std::string fileName(int32_t roomId);

    ChatRecordFile(int32_t roomId, std::filesystem::path path);
    // Saves, ignoring every error.
    ~ChatRecordFile();
    ChatRecordFile(const ChatRecordFile&) = delete;
    ChatRecordFile& operator=(const ChatRecordFile&) = delete;

    int32_t roomId() const { return roomId_; }
    const std::filesystem::path& path() const { return path_; }

    // Replaces the records with those of the file. A missing file gives none. A damaged file
    // raises tekna::FileIO::EFileIO ("读文件失败", "移动文件指针失败", "取文件长度失败") or
    // std::runtime_error ("无效的记录文件"); the records read before the error stay. A record
    // whose length is 200 or less ends the reading quietly.
    void load();
    // Replaces the file as a whole with the records in memory; the records are not touched. A
    // file that the last load could not read to its end is first kept beside the new one with
    // ".bad" appended, so a damaged or newer history is not overwritten. Raises
    // tekna::FileIO::EFileIO ("无效的文件句柄（文件打开失败）", "写文件失败"); the previous file
    // then stays as it was.
    void save();

    // Appends a record (account cut to 63 bytes, nickname to 11 characters); the oldest records
    // go while there are more than kMaxRecords. Loading alone never drops records.
    void addRecord(const SystemTime& time, std::string_view account, std::u16string_view nickname,
                   bool whisperToMe, std::span<const uint8_t> content, const TextStyle& style);

    // All records for an empty filter, else those whose account equals it byte for byte.
    size_t count(std::string_view accountFilter) const;
    // The records for the filter (as count takes it), oldest first, as the history view shows
    // them; they refer to the records held here.
    std::vector<StoredMessage> messages(std::string_view accountFilter) const;
    // Oldest first; each buffer is one record in file layout.
    const std::deque<std::vector<uint8_t>>& records() const { return records_; }

    // Called after the new file is written and flushed, before it replaces the old one; lets
    // tests simulate a crash at that point by throwing.
    void setBeforeReplaceHook(std::function<void()> hook) { beforeReplace_ = std::move(hook); }

  private:
    // False when a record length of 200 or less ended the reading before the end of the file.
    bool readRecords(std::FILE* file);

    int32_t roomId_;
    std::filesystem::path path_;
    std::deque<std::vector<uint8_t>> records_;
    bool keepDamagedFile_ = false;
    std::function<void()> beforeReplace_;
};

}  // namespace chat
