// The login exchange, its refusals, the heartbeat and malformed packets.
#include <gtest/gtest.h>

#include "server_test_client.h"

namespace servertest {
namespace {

namespace cmd = chat::cmd;

class ServerConnection : public ServerFixture {};

TEST_F(ServerConnection, LoginIsFollowedByTheListsInOrder) {
    auto client = connect();
    client->send(cmd::Hello{});
    client->expect<cmd::Welcome>();
    cmd::Login login;
    login.account = "demo";
    login.passwordDigest = digestOf("demo");
    client->send(login);
    const auto accepted = client->expect<cmd::LoginAccepted>();
    EXPECT_GT(accepted.chatterId, 0u);
    EXPECT_EQ(accepted.accountLevel, 0u);
    const auto rooms = client->expect<cmd::RoomList>();
    ASSERT_EQ(rooms.rooms.size(), 3u);
    EXPECT_EQ(rooms.rooms.at(2).name, u"新手大厅");
    EXPECT_EQ(client->expect<cmd::KeywordList>().words, std::set<std::u16string>{u"外挂"});
    EXPECT_EQ(client->expect<cmd::InvalidNicknameList>().words, std::set<std::u16string>{u"客服"});
    // Room 3: 10003, 10007, 0; then -1.
    const Bytes expected = {3, 0, 0, 0, 0x13, 0x27, 0,    0,    0x17, 0x27,
                            0, 0, 0, 0, 0,    0,    0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(client->expect<cmd::SelfRights>().rightsStream, expected);

    client->send(cmd::RequestRoomChatterCounts{});
    const auto counts = client->expect<cmd::RoomChatterCounts>();
    ASSERT_EQ(counts.counts.size(), 3u);
    EXPECT_EQ(chat::loadLE<uint32_t>(counts.counts[0].data()), 2u);
    EXPECT_EQ(chat::loadLE<uint32_t>(counts.counts[0].data() + 4), 1u);  // the bot
}

TEST_F(ServerConnection, RefusedLoginsCloseTheConnection) {
    struct Case {
        const char* name;
        std::string account;
        std::string password;
        int32_t code;
        std::u16string reason;
    };
    auto first = loggedIn("staff");
    const std::vector<Case> cases = {
        {"unknown account", "nobody", "x", 4, u"帐号不存在"},
        {"wrong password", "demo", "wrong", 1, u"密码错误"},
        {"already logged in", "staff", "staff", 2, u"该帐号已经登录"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto client = connect();
        client->send(cmd::Hello{});
        client->expect<cmd::Welcome>();
        cmd::Login login;
        login.account = c.account;
        login.passwordDigest = digestOf(c.password);
        client->send(login);
        const auto refused = client->expect<cmd::LoginRefused>();
        EXPECT_EQ(refused.code, c.code);
        EXPECT_EQ(refused.reason, c.reason);
        EXPECT_TRUE(client->closedByServer());
    }
}

TEST_F(ServerConnection, AnotherProtocolVersionIsRefused) {
    auto client = connect();
    client->send(cmd::Hello{6});
    client->expect<cmd::ClientVersionRefused>();
    EXPECT_TRUE(client->closedByServer());
}

TEST_F(ServerConnection, HeartbeatsBeforeLoginAreAccepted) {
    auto client = connect();
    client->send(cmd::Heartbeat{});
    client->send(cmd::Hello{});
    client->expect<cmd::Welcome>();
}

TEST_F(ServerConnection, AMalformedPacketClosesOnlyItsSender) {
    struct Case {
        const char* name;
        Bytes packet;
    };
    Bytes tooSmall = makePacket(1, 0);
    chat::storeLE(tooSmall.data(), uint32_t{10});
    Bytes tooLarge = makePacket(14, 0);
    chat::storeLE(tooLarge.data(), uint32_t{kMaxPacketSize + 1});
    Bytes truncatedEnter = makePacket(static_cast<uint16_t>(chat::CommandId::EnterRoom), 4);
    const std::vector<Case> cases = {
        {"size below the header", tooSmall},
        {"size above the limit", tooLarge},
        {"enter room cut after the room id", truncatedEnter},
        {"unknown command", makePacket(999, 8)},
        {"a server command", makePacket(static_cast<uint16_t>(chat::CommandId::RoomList), 0)},
    };
    auto bystander = loggedIn("demo2");
    bystander->enter(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto client = loggedIn("demo");
        client->enter(3);
        bystander->expect<cmd::ChatterEntered>();
        client->send(c.packet);
        EXPECT_TRUE(client->closedByServer());
        EXPECT_EQ(bystander->expect<cmd::ChatterLeft>().roomId, 3u);
        bystander->send(cmd::RequestRoomChatterCounts{});
        bystander->expect<cmd::RoomChatterCounts>();
    }
}

TEST_F(ServerConnection, AClientThatDoesNotReadIsClosedOnceItsQueueIsFull) {
    // A server of its own with a small queue limit.
    asio::io_context io;
    chatserver::ChatService service(chatserver::parseServerConfig(testConfigJson()), "", nullptr);
    chatserver::TcpServer::Options options;
    options.address = "127.0.0.3";
    options.port = 0;
    options.sendQueueLimit = 64 * 1024;
    chatserver::TcpServer server(io, service, options, nullptr);
    std::thread thread([&] { io.run(); });

    TestClient sleeper("127.0.0.3", server.port());
    sleeper.login("demo", "demo");
    sleeper.enter(3);
    TestClient talker("127.0.0.3", server.port());
    talker.login("staff", "staff");
    talker.enter(3);
    sleeper.expect<cmd::ChatterEntered>();
    // The sleeper reads nothing from now on; the socket buffers fill (a few MiB on loopback),
    // then the queue.
    const std::u16string text(2000, u'字');
    bool sleeperLeft = false;
    for (int i = 0; i < 10000 && !sleeperLeft; ++i) {
        talker.send(chatMessage(3, 0, text));
        for (;;) {
            const Bytes packet = talker.next();
            const uint16_t command = PacketHeader::read(packet.data()).command;
            if (command == static_cast<uint16_t>(chat::CommandId::ChatterLeft)) {
                sleeperLeft = true;
                break;
            }
            if (command == static_cast<uint16_t>(chat::CommandId::ChatMessage))
                break;
        }
    }
    EXPECT_TRUE(sleeperLeft);
    asio::post(io, [&] { server.stop(); });
    thread.join();
}

}  // namespace
}  // namespace servertest
