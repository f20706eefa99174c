#include "storage/chat_record_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "storage/atomic_file.h"
#include "util/file_io.h"
#include "util/little_endian.h"
#include "util/wire_text.h"

namespace chat {
namespace {

constexpr char kMagic[4] = {'p', 'a', 'l', 'v'};
constexpr size_t kTimeOffset = 4;
constexpr size_t kAccountOffset = 20;
constexpr size_t kAccountBytes = 64;
constexpr size_t kNicknameOffset = 84;
constexpr size_t kNicknameUnits = 12;
constexpr size_t kWhisperOffset = 120;
constexpr size_t kStyleOffset = 121;

constexpr const char* kReadFailedText = "读文件失败";
constexpr size_t kReadBufferSize = 1 << 18;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads exactly `size` bytes or raises "读文件失败".
void readExactly(std::FILE* file, void* target, size_t size) {
    errno = 0;
    if (std::fread(target, 1, size, file) != size) {
        throw tekna::FileIO::EFileIO(kReadFailedText, std::ferror(file) ? errno : 0);
    }
}

}  // namespace

SystemTime ChatRecordView::time() const {
    return SystemTime::read(record_.data() + kTimeOffset);
}

std::string ChatRecordView::account() const {
    return getNarrow(record_.data() + kAccountOffset, kAccountBytes);
}

std::u16string ChatRecordView::nickname() const {
    return getWide(record_.data() + kNicknameOffset, kNicknameUnits);
}

bool ChatRecordView::whisperToMe() const {
    return record_[kWhisperOffset] != 0;
}

TextStyle ChatRecordView::style() const {
    return TextStyle::read(record_.data() + kStyleOffset);
}

std::span<const uint8_t> ChatRecordView::content() const {
    return record_.subspan(ChatRecordFile::kRecordHeadSize);
}

std::string ChatRecordFile::fileName(int32_t roomId) {
    char name[32];
    std::snprintf(name, sizeof name, "chatrec%08d.dat", static_cast<int>(roomId));
    return name;
}

ChatRecordFile::ChatRecordFile(int32_t roomId, std::filesystem::path path)
    : roomId_(roomId), path_(std::move(path)) {}

ChatRecordFile::~ChatRecordFile() {
    try {
        save();
    } catch (...) {  // the room is closing; its window has nobody left to tell
    }
}

void ChatRecordFile::load() {
    records_.clear();
    keepDamagedFile_ = false;
    const FilePtr file(std::fopen(path_.c_str(), "rb"));
    if (!file) {
        return;
    }
    std::setvbuf(file.get(), nullptr, _IOFBF, kReadBufferSize);
    keepDamagedFile_ = true;  // until the whole file has been read
    keepDamagedFile_ = !readRecords(file.get());
}

bool ChatRecordFile::readRecords(std::FILE* file) {
    uint8_t header[kFileHeaderSize];
    readExactly(file, header, sizeof header);
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0 ||
        loadLE<uint32_t>(header + 4) > kVersion) {
        throw std::runtime_error("无效的记录文件");
    }
    const uint32_t offset = loadLE<uint32_t>(header + 12);
    if (std::fseek(file, 0, SEEK_END) != 0) {
        throw tekna::FileIO::EFileIO("取文件长度失败");
    }
    const long size = std::ftell(file);
    if (size < 0) {
        throw tekna::FileIO::EFileIO("取文件长度失败");
    }
    if (offset > static_cast<unsigned long>(size) ||
        std::fseek(file, long(offset), SEEK_SET) != 0 || std::ftell(file) != long(offset)) {
        throw tekna::FileIO::EFileIO("移动文件指针失败", EINVAL);
    }
    uint64_t remaining = static_cast<uint64_t>(size) - offset;
    while (remaining >= kRecordHeadSize) {
        uint8_t head[kRecordHeadSize];
        readExactly(file, head, sizeof head);
        const uint32_t length = loadLE<uint32_t>(head);
        if (length <= kRecordHeadSize) {
            return false;  // what follows is not read, and the next save drops it
        }
        if (length > remaining) {  // truncated: fail without allocating what is not there
            throw tekna::FileIO::EFileIO(kReadFailedText, 0);
        }
        std::vector<uint8_t> record(length);
        std::memcpy(record.data(), head, sizeof head);
        readExactly(file, record.data() + kRecordHeadSize, length - kRecordHeadSize);
        records_.push_back(std::move(record));
        remaining -= length;
    }
    return true;
}

void ChatRecordFile::save() {
    AtomicFileWriter writer(path_);
    uint8_t header[kFileHeaderSize] = {};
    std::memcpy(header, kMagic, sizeof kMagic);
    storeLE(header + 4, kVersion);
    storeLE(header + 8, static_cast<uint32_t>(records_.size()));
    storeLE(header + 12, static_cast<uint32_t>(kFileHeaderSize));
    writer.write(header, sizeof header);
    for (const auto& record : records_) {
        writer.write(record.data(), record.size());
    }
    writer.commit([this] {
        if (beforeReplace_) {
            beforeReplace_();
        }
        if (keepDamagedFile_) {
            std::error_code ignored;
            std::filesystem::rename(path_, std::filesystem::path(path_) += ".bad", ignored);
            keepDamagedFile_ = false;
        }
    });
}

void ChatRecordFile::addRecord(const SystemTime& time, std::string_view account,
                               std::u16string_view nickname, bool whisperToMe,
                               std::span<const uint8_t> content, const TextStyle& style) {
    std::vector<uint8_t> record(kRecordHeadSize + content.size(), 0);
    storeLE(record.data(), static_cast<uint32_t>(record.size()));
    time.write(record.data() + kTimeOffset);
    putNarrow(record.data() + kAccountOffset, kAccountBytes, account);
    putWide(record.data() + kNicknameOffset, kNicknameUnits, nickname);
    record[kWhisperOffset] = whisperToMe ? 1 : 0;
    style.write(record.data() + kStyleOffset);
    if (!content.empty()) {
        std::memcpy(record.data() + kRecordHeadSize, content.data(), content.size());
    }
    records_.push_back(std::move(record));
    while (records_.size() > kMaxRecords) {  // a longer file from another writer is cut here
        records_.pop_front();
    }
}

size_t ChatRecordFile::count(std::string_view accountFilter) const {
    if (accountFilter.empty()) {
        return records_.size();
    }
    size_t matching = 0;
    for (const auto& record : records_) {
        matching += ChatRecordView(record).account() == accountFilter ? 1 : 0;
    }
    return matching;
}

std::vector<StoredMessage> ChatRecordFile::messages(std::string_view accountFilter) const {
    std::vector<StoredMessage> matching;
    for (const auto& record : records_) {
        const ChatRecordView view(record);
        std::string account = view.account();
        if (accountFilter.empty() || account == accountFilter) {
            matching.push_back(StoredMessage{view.time(), std::move(account), view.nickname(),
                                             view.style(), view.content()});
        }
    }
    return matching;
}

}  // namespace chat
