#pragma once
// Drives a chat server running in-process on loopback: a fixture that runs the service and its
// TCP front end on their own thread, and a blocking client that speaks the shared codec.
#include <gtest/gtest.h>

#include <asio.hpp>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "chat_service.h"
#include "message_text.h"
#include "protocol/commands/commands.h"
#include "tcp_server.h"
#include "util/little_endian.h"

namespace servertest {

using Bytes = std::vector<uint8_t>;

// Accounts: demo/demo (ordinary, rights 10003 and 10007 in room 3), owner/owner (owner of room
// 2), staff/staff (customer service), admin/admin (system administrator). Rooms 2 (bot "小墨"),
// 3 and 4 (VIP only). Keywords "外挂", invalid nickname "客服". Operation password "op".
// `moreBots`: JSON of further bots, each starting with a comma.
std::string testConfigJson(const std::string& moreBots = "");
chat::ChatterRecord recordFor(const std::string& nickname);
std::array<uint8_t, 16> digestOf(const std::string& password);

class TestClient {
  public:
    TestClient(const std::string& address, uint16_t port);

    void send(const Bytes& packet);
    template <class Command>
    void send(const Command& command) {
        send(chat::buildPacket(command));
    }

    // The next packet other than a heartbeat; fails the test (and returns an empty packet) when
    // none arrives within two seconds or the server closed the connection.
    Bytes next();
    // The next packet, read as `Command`; fails the test when it is another command.
    template <class Command>
    Command expect() {
        const Bytes packet = next();
        const auto header =
            packet.size() >= kPacketHeaderSize ? PacketHeader::read(packet.data()) : PacketHeader{};
        EXPECT_EQ(header.command, static_cast<uint16_t>(Command::kId));
        if constexpr (requires { Command::kCompressible; }) {
            if (header.compressed != 0)
                return *chat::readBody<Command>(inflated(packet));
        }
        auto result = chat::readPacket<Command>(packet);
        if (!result) {
            ADD_FAILURE() << "command " << header.command << " not readable";
            return Command{};
        }
        return *result;
    }
    // True when the server closes the connection within two seconds (packets before the close are
    // skipped).
    bool closedByServer();

    // hello, welcome, login; returns the login answer's chatter id (0 when refused). Reads the
    // lists that follow an accepted login.
    uint32_t login(const std::string& account, const std::string& password);
    // Enter room, its answer and the own chatter-entered notice; skips the room settings,
    // announcement and bot greetings that follow. Returns the own record in the room.
    chat::ChatterRecord enter(uint32_t roomId, const std::string& nickname = "");
    // Skips what has arrived so far (waits a moment).
    void drain();
    // True when nothing but heartbeats arrives for `ms` milliseconds (the connection may close).
    bool quietFor(int ms);
    // Reads for `ms` milliseconds and answers every heartbeat as the chat program does; gives the
    // number of heartbeats, or -1 when the server closed the connection.
    int answerHeartbeatsFor(int ms);

  private:
    static Bytes inflated(const Bytes& packet);
    std::optional<Bytes> readPacket(int timeoutMs);

    asio::io_context io_;
    asio::ip::tcp::socket socket_;
    Bytes pending_;
};

class ServerFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<TestClient> connect();
    std::unique_ptr<TestClient> loggedIn(const std::string& account);
    // Runs `work` on the server thread and waits for it.
    void onServer(std::function<void()> work);
    // Replaces the configuration file that the reload notices read.
    void writeConfig(const std::string& json);
    // The server's log lines so far.
    std::vector<std::string> logLines();

    // Fixtures may change the options and the configuration in their constructor.
    chatserver::TcpServer::Options options_;
    std::string configJson_ = testConfigJson();

    std::filesystem::path configPath_;
    std::string address_ = "127.0.0.2";
    asio::io_context io_;
    std::unique_ptr<chatserver::ChatService> service_;
    std::unique_ptr<chatserver::TcpServer> server_;
    std::thread thread_;
    std::vector<std::string> logLines_;  // written on the server thread
};

// A chat message packet of one text section (the server fills in speaker and nickname).
inline Bytes chatMessage(uint32_t roomId, int32_t target, const std::u16string& text) {
    return chatserver::composeTextMessage(
        {static_cast<int32_t>(roomId), 1, 0, target, 0, u"x", text});
}

// A restriction of `account` in the room until 2099.
inline chat::cmd::AddRoomLimit limitOn(uint32_t roomId, const std::string& account,
                                       chat::cmd::LimitKind kind) {
    chat::cmd::AddRoomLimit limit;
    limit.roomId = roomId;
    limit.end = {2099, 1, 4, 1, 0, 0, 0, 0};
    limit.target.account = account;
    limit.kind = kind;
    return limit;
}

inline std::u16string textOf(const chat::cmd::ChatMessage& message) {
    return chatserver::messagePlainText(chat::buildPacket(message));
}

}  // namespace servertest
