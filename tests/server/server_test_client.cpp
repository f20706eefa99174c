#include "server_test_client.h"

#include <poll.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "platform/md5.h"
#include "util/compression.h"
#include "util/text_codec.h"

namespace servertest {

std::string testConfigJson(const std::string& moreBots) {
    auto digest = [](const std::string& password) { return chat::md5HexText(password); };
    return R"({"accounts": [
        {"account": "demo", "passwordDigest": ")" +
           digest("demo") + R"(", "nickname": "演示"},
        {"account": "demo2", "passwordDigest": ")" +
           digest("demo") + R"("},
        {"account": "demo3", "passwordDigest": ")" +
           digest("demo") + R"("},
        {"account": "owner", "passwordDigest": ")" +
           digest("owner") + R"("},
        {"account": "staff", "passwordDigest": ")" +
           digest("staff") + R"(", "level": 2},
        {"account": "admin", "passwordDigest": ")" +
           digest("admin") + R"(", "level": 4}],
      "rooms": [
        {"id": 2, "name": "新手大厅", "owners": ["owner"], "announcement": "欢迎"},
        {"id": 3, "name": "攻略"},
        {"id": 4, "name": "贵宾室", "entryRoles": 1}],
      "keywords": ["外挂"], "invalidNicknames": ["客服"],
      "rights": [{"account": "demo", "room": 3, "codes": [10003, 10007]}],
      "operationPasswordDigest": ")" +
           digest("op") + R"(",
      "bots": [{"account": "bot", "nickname": "小墨", "room": 2, "greeting": "欢迎{name}",
                "rules": [{"keyword": "帮助", "reply": "我来帮你"}], "defaultReply": "不懂"})" +
           moreBots + "]}";
}

chat::ChatterRecord recordFor(const std::string& nickname) {
    chat::ChatterRecord record;
    record.nickname = chat::utf8ToUtf16(nickname);
    record.reserved92 = 255;
    record.sex = 'U';
    record.reserved97 = 1;
    return record;
}

std::array<uint8_t, 16> digestOf(const std::string& password) {
    return chat::md5(password);
}

TestClient::TestClient(const std::string& address, uint16_t port) : socket_(io_) {
    socket_.connect(asio::ip::tcp::endpoint(asio::ip::make_address(address), port));
}

void TestClient::send(const Bytes& packet) {
    asio::write(socket_, asio::buffer(packet));
}

std::optional<Bytes> TestClient::readPacket(int timeoutMs) {
    for (;;) {
        if (pending_.size() >= kPacketHeaderSize) {
            const uint32_t size = chat::loadLE<uint32_t>(pending_.data());
            if (size >= kPacketHeaderSize && pending_.size() >= size) {
                Bytes packet(pending_.begin(), pending_.begin() + size);
                pending_.erase(pending_.begin(), pending_.begin() + size);
                return packet;
            }
        }
        pollfd fd{socket_.native_handle(), POLLIN, 0};
        if (::poll(&fd, 1, timeoutMs) <= 0)
            return std::nullopt;
        uint8_t buffer[65536];
        asio::error_code error;
        const size_t n = socket_.read_some(asio::buffer(buffer), error);
        if (error)
            return std::nullopt;
        pending_.insert(pending_.end(), buffer, buffer + n);
    }
}

Bytes TestClient::next() {
    for (;;) {
        auto packet = readPacket(2000);
        if (!packet) {
            ADD_FAILURE() << "no packet from the server";
            return Bytes(kPacketHeaderSize, 0);
        }
        if (PacketHeader::read(packet->data()).command !=
            static_cast<uint16_t>(chat::CommandId::Heartbeat)) {
            return *packet;
        }
    }
}

bool TestClient::closedByServer() {
    for (;;) {
        if (!pending_.empty() && readPacket(0))
            continue;
        pollfd fd{socket_.native_handle(), POLLIN, 0};
        if (::poll(&fd, 1, 2000) <= 0)
            return false;
        uint8_t buffer[65536];
        asio::error_code error;
        const size_t n = socket_.read_some(asio::buffer(buffer), error);
        if (error)
            return true;
        pending_.insert(pending_.end(), buffer, buffer + n);
    }
}

void TestClient::drain() {
    while (readPacket(100)) {
    }
}

bool TestClient::quietFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return true;
        auto packet = readPacket(static_cast<int>(left.count()));
        if (packet && PacketHeader::read(packet->data()).command !=
                          static_cast<uint16_t>(chat::CommandId::Heartbeat)) {
            return false;
        }
    }
}

int TestClient::answerHeartbeatsFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    int heartbeats = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (!pending_.empty() && readPacket(0))
            continue;
        pollfd fd{socket_.native_handle(), POLLIN, 0};
        if (::poll(&fd, 1, 10) <= 0)
            continue;
        uint8_t buffer[65536];
        asio::error_code error;
        const size_t n = socket_.read_some(asio::buffer(buffer), error);
        if (error)
            return -1;
        pending_.insert(pending_.end(), buffer, buffer + n);
        while (auto packet = readPacket(0)) {
            if (PacketHeader::read(packet->data()).command ==
                static_cast<uint16_t>(chat::CommandId::Heartbeat)) {
                ++heartbeats;
                send(chat::cmd::Heartbeat{});
            }
        }
    }
    return heartbeats;
}

Bytes TestClient::inflated(const Bytes& packet) {
    tekna::Inflate inflate;
    return inflate.process(std::span<const uint8_t>(packet).subspan(kPacketHeaderSize));
}

uint32_t TestClient::login(const std::string& account, const std::string& password) {
    send(chat::cmd::Hello{});
    expect<chat::cmd::Welcome>();
    chat::cmd::Login login;
    login.account = account;
    login.passwordDigest = digestOf(password);
    send(login);
    const uint32_t id = expect<chat::cmd::LoginAccepted>().chatterId;
    expect<chat::cmd::RoomList>();
    expect<chat::cmd::KeywordList>();
    expect<chat::cmd::InvalidNicknameList>();
    expect<chat::cmd::SelfRights>();
    return id;
}

chat::ChatterRecord TestClient::enter(uint32_t roomId, const std::string& nickname) {
    send(chat::cmd::EnterRoom{roomId, recordFor(nickname)});
    const auto answer = expect<chat::cmd::EnterRoomAnswer>();
    EXPECT_EQ(answer.result, 0) << chat::gbkToUtf8(answer.reason);
    const chat::ChatterRecord own = expect<chat::cmd::ChatterEntered>().record;
    drain();
    return own;
}

void ServerFixture::SetUp() {
    configPath_ = std::filesystem::temp_directory_path() /
                  ("chat-server-test-" + std::to_string(::getpid()) + ".json");
    writeConfig(configJson_);
    auto log = [this](const std::string& line) { logLines_.push_back(line); };
    service_ = std::make_unique<chatserver::ChatService>(
        chatserver::loadServerConfig(configPath_.string()), configPath_.string(), log);
    options_.address = address_;
    options_.port = 0;
    server_ = std::make_unique<chatserver::TcpServer>(io_, *service_, options_, log);
    thread_ = std::thread([this] { io_.run(); });
}

void ServerFixture::TearDown() {
    onServer([this] { server_->stop(); });
    io_.stop();
    thread_.join();
    std::filesystem::remove(configPath_);
}

void ServerFixture::writeConfig(const std::string& json) {
    std::ofstream(configPath_, std::ios::binary | std::ios::trunc) << json;
}

std::vector<std::string> ServerFixture::logLines() {
    std::vector<std::string> lines;
    onServer([&] { lines = logLines_; });
    return lines;
}

void ServerFixture::onServer(std::function<void()> work) {
    std::promise<void> done;
    asio::post(io_, [&] {
        work();
        done.set_value();
    });
    done.get_future().wait();
}

std::unique_ptr<TestClient> ServerFixture::connect() {
    return std::make_unique<TestClient>(address_, server_->port());
}

std::unique_ptr<TestClient> ServerFixture::loggedIn(const std::string& account) {
    auto client = connect();
    const std::string password = account.starts_with("demo") ? "demo" : account;
    EXPECT_NE(client->login(account, password), 0u);
    client->drain();  // the system message, if any
    return client;
}

}  // namespace servertest
