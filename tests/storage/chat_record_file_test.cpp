#include "storage/chat_record_file.h"

#include <gtest/gtest.h>

#include "storage/temp_folder.h"
#include "util/file_io.h"
#include "util/little_endian.h"

namespace chat {
namespace {

using test::readFile;
using test::TempFolder;
using test::writeFile;

const std::vector<uint8_t> kContent = {14, 0, 0, 0, 2, 0, 0, 0, 'h', 0, 'i', 0, 0, 0};
const SystemTime kTime{2026, 12, 5, 11, 13, 5, 9, 250};

std::string fileHeader(const char* magic, uint32_t version, uint32_t count, uint32_t offset) {
    std::string header(ChatRecordFile::kFileHeaderSize, '\0');
    header.replace(0, 4, magic, 4);
    storeLE(header.data() + 4, version);
    storeLE(header.data() + 8, count);
    storeLE(header.data() + 12, offset);
    return header;
}

std::string record(const std::string& account, size_t contentBytes = 6) {
    std::string bytes(ChatRecordFile::kRecordHeadSize + contentBytes, 'c');
    std::fill(bytes.begin(), bytes.begin() + ChatRecordFile::kRecordHeadSize, '\0');
    storeLE(bytes.data(), static_cast<uint32_t>(bytes.size()));
    bytes.replace(20, account.size(), account);
    return bytes;
}

class ChatRecordFileTest : public ::testing::Test {
  protected:
    std::filesystem::path path() const { return folder / ChatRecordFile::fileName(7); }
    TempFolder folder;
};

TEST_F(ChatRecordFileTest, FileName) {
    EXPECT_EQ(ChatRecordFile::fileName(12), "chatrec00000012.dat");
    EXPECT_EQ(ChatRecordFile::fileName(123456789), "chatrec123456789.dat");
}

TEST_F(ChatRecordFileTest, OneMessageSavedAndLoaded) {
    {
        ChatRecordFile store(7, path());
        store.load();
        EXPECT_EQ(store.count(""), 0u);
        TextStyle style;
        style.colour = 0x0000FF;
        store.addRecord(kTime, "alice", u"爱丽丝", true, kContent, style);
    }  // closing the room saves
    const std::string bytes = readFile(path());
    ASSERT_EQ(bytes.size(), 272u + 200 + kContent.size());
    EXPECT_EQ(bytes.substr(0, 16), fileHeader("palv", 1, 1, 272).substr(0, 16));
    EXPECT_EQ(bytes.substr(16, 256), std::string(256, '\0'));
    EXPECT_EQ(loadLE<uint32_t>(bytes.data() + 272), 200 + kContent.size());
    EXPECT_EQ(bytes.substr(272 + 108, 12), std::string(12, '\0'));
    EXPECT_EQ(bytes[272 + 120], 1);
    EXPECT_EQ(bytes.substr(272 + 198, 2), std::string(2, '\0'));

    ChatRecordFile again(7, path());
    again.load();
    ASSERT_EQ(again.count(""), 1u);
    const ChatRecordView view(again.records().front());
    EXPECT_EQ(view.time(), kTime);
    EXPECT_EQ(view.account(), "alice");
    EXPECT_EQ(view.nickname(), u"爱丽丝");
    EXPECT_TRUE(view.whisperToMe());
    EXPECT_EQ(view.style().colour, 0x0000FFu);
    EXPECT_EQ(std::vector<uint8_t>(view.content().begin(), view.content().end()), kContent);
}

TEST_F(ChatRecordFileTest, LoadingRules) {
    struct Case {
        const char* name;
        std::string file;
        size_t records;
        const char* error;  // start of the error text, or nullptr
    };
    const std::string two = record("a") + record("b");
    const std::vector<Case> cases = {
        {"version 1", fileHeader("palv", 1, 9, 272) + two, 2, nullptr},
        {"version 0", fileHeader("palv", 0, 0, 272) + two, 2, nullptr},
        {"wrong magic", fileHeader("palw", 1, 2, 272) + two, 0, "无效的记录文件"},
        {"version 2", fileHeader("palv", 2, 2, 272) + two, 0, "无效的记录文件"},
        {"short header", fileHeader("palv", 1, 2, 272).substr(0, 100), 0, "读文件失败"},
        {"offset beyond 272 is honoured", fileHeader("palv", 1, 2, 280) + "12345678" + two, 2,
         nullptr},
        {"offset beyond the end", fileHeader("palv", 1, 2, 9000) + two, 0, "移动文件指针失败"},
        {"trailing fragment", fileHeader("palv", 1, 2, 272) + two + std::string(150, 'x'), 2,
         nullptr},
        {"truncated record", fileHeader("palv", 1, 2, 272) + two + record("c", 500).substr(0, 300),
         2, "读文件失败"},
        {"huge length",
         fileHeader("palv", 1, 2, 272) + record("a") + "\xFF\xFF\xFF\xFF" + std::string(250, '\0'),
         1, "读文件失败"},
        {"length of 200 ends quietly", fileHeader("palv", 1, 3, 272) + record("a", 0) + record("b"),
         0, nullptr},
    };
    for (const Case& c : cases) {
        writeFile(path(), c.file);
        ChatRecordFile store(7, path());
        store.addRecord(kTime, "old", u"", false, {}, TextStyle{});  // replaced by the load
        try {
            store.load();
            EXPECT_EQ(c.error, nullptr) << c.name;
        } catch (const std::runtime_error& error) {
            ASSERT_NE(c.error, nullptr) << c.name << ": " << error.what();
            EXPECT_TRUE(std::string(error.what()).starts_with(c.error))
                << c.name << ": " << error.what();
        }
        EXPECT_EQ(store.count(""), c.records) << c.name;
        store.setBeforeReplaceHook([] { throw std::runtime_error("keep the fixture"); });
    }
}

TEST_F(ChatRecordFileTest, MissingFileIsAnEmptyHistory) {
    ChatRecordFile store(7, folder / "none" / "chatrec00000007.dat");
    EXPECT_NO_THROW(store.load());
    EXPECT_EQ(store.count(""), 0u);
    EXPECT_THROW(store.save(), tekna::FileIO::EFileIO);  // the folder does not exist
}

TEST_F(ChatRecordFileTest, DamagedFileIsKeptAsideWhenReplaced) {
    writeFile(path(), "this is not a record file");
    ChatRecordFile store(7, path());
    EXPECT_THROW(store.load(), std::runtime_error);
    store.addRecord(kTime, "a", u"", false, kContent, TextStyle{});
    store.save();
    EXPECT_EQ(readFile(std::filesystem::path(path()) += ".bad"), "this is not a record file");
    EXPECT_EQ(readFile(path()).substr(0, 4), "palv");
    store.load();
    EXPECT_EQ(store.count(""), 1u);
}

TEST_F(ChatRecordFileTest, AccountAndNicknameAreCut) {
    ChatRecordFile store(7, path());
    store.addRecord(kTime, std::string(70, 'a'), u"abcdefghijkl", false, {}, TextStyle{});
    const ChatRecordView view(store.records().back());
    EXPECT_EQ(view.account(), std::string(63, 'a'));
    EXPECT_EQ(view.nickname(), u"abcdefghijk");
    EXPECT_EQ(store.records().back().size(), 200u);
}

TEST_F(ChatRecordFileTest, TheRecordAfterTheLimitDropsTheOldest) {
    ChatRecordFile store(7, path());
    for (size_t i = 0; i < ChatRecordFile::kMaxRecords; ++i) {
        store.addRecord(kTime, i == 0 ? "first" : "other", u"", false, {}, TextStyle{});
    }
    EXPECT_EQ(store.count(""), 8191u);
    store.addRecord(kTime, "last", u"", false, {}, TextStyle{});
    EXPECT_EQ(store.count(""), 8191u);
    EXPECT_EQ(store.count("first"), 0u);
    EXPECT_EQ(ChatRecordView(store.records().back()).account(), "last");

    // A longer file written elsewhere loads whole; the next addition brings it to the limit.
    std::string longer = fileHeader("palv", 1, 8200, 272);
    for (size_t i = 0; i < 8200; ++i) {
        longer += record("x", 1);
    }
    writeFile(path(), longer);
    ChatRecordFile loaded(7, path());
    loaded.load();
    EXPECT_EQ(loaded.count(""), 8200u);
    loaded.addRecord(kTime, "new", u"", false, {}, TextStyle{});
    EXPECT_EQ(loaded.count(""), 8191u);
    EXPECT_EQ(ChatRecordView(loaded.records().back()).account(), "new");
}

TEST_F(ChatRecordFileTest, AccountFilterComparesWholeAccounts) {
    ChatRecordFile store(7, path());
    for (const char* account : {"alice", "alice2", "Alice", "alice"}) {
        store.addRecord(kTime, account, u"", false, {}, TextStyle{});
    }
    EXPECT_EQ(store.count(""), 4u);
    EXPECT_EQ(store.count("alice"), 2u);
    EXPECT_EQ(store.count("ali"), 0u);
    EXPECT_EQ(store.count("ALICE"), 0u);
    const auto messages = store.messages("alice");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].account, "alice");
    EXPECT_EQ(messages[0].time, kTime);
    EXPECT_EQ(store.messages("").size(), 4u);
}

TEST_F(ChatRecordFileTest, InterruptedSaveLeavesThePreviousFile) {
    ChatRecordFile store(7, path());
    store.addRecord(kTime, "a", u"", false, kContent, TextStyle{});
    store.save();
    const std::string before = readFile(path());

    store.addRecord(kTime, "b", u"", false, kContent, TextStyle{});
    store.setBeforeReplaceHook([] { throw std::runtime_error("power cut"); });
    EXPECT_THROW(store.save(), std::runtime_error);
    EXPECT_EQ(readFile(path()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);                    // no temporary file left behind
    EXPECT_EQ(store.count(""), 2u);  // saving does not disturb the records

    store.setBeforeReplaceHook({});
    store.save();
    ChatRecordFile again(7, path());
    again.load();
    EXPECT_EQ(again.count(""), 2u);
}

}  // namespace
}  // namespace chat
