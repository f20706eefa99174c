// The chat client over a real TCP connection: a scripted peer on its own loopback address and port
// 7088, the real socket worker, and a test thread standing in for the window thread.
#include <gtest/gtest.h>

#include "../protocol_runtime/loopback.h"
#include "fakes/fake_windows.h"
#include "protocol/commands/commands.h"
#include "scripted_peer.h"
#include "util/little_endian.h"
#include "util/text_codec.h"

namespace {

using namespace chat;
using namespace fakes;
using namespace std::chrono_literals;

constexpr int32_t kRoom = 7;

ChatClientOptions fastOptions() {
    ChatClientOptions options;
    options.defaultHost = "default.host";  // unresolved: 0.0.0.0, refused at once
    options.timeouts = loopback::fastTimeouts();
    return options;
}

// One client on the test's window thread, logging in to a peer on `ip`.
class Session {
  public:
    explicit Session(const char* ip, ChatClientOptions options = fastOptions())
        : rig(std::move(options)) {
        rig.resolver.table["chat.test"] = ip;
        rig.identity.passwordDigest = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef,
                                       0xfe, 0xdc, 0xba, 0x98, 0x76, 0x54, 0x32, 0x10};
        rig.adapters.macs = {{0x00, 0x1A, 0x11, 0x22, 0x33, 0x44},
                             {0x00, 0x0C, 0x55, 0x66, 0x77, 0x88}};
    }
    ~Session() {
        onWindowThread([this] { rig.client.reset(); });
    }

    template <class Call>
    void onWindowThread(Call call) {
        loop->send([&] {
            call();
            return true;
        });
    }

    void pick(int32_t roomId) {
        onWindowThread([&] {
            rig.client->connect(ClientWindows{rig.mainWindow, rig.prompts, loop}, rig.identity,
                                "chat.test", roomId);
        });
    }

    // Connects and answers hello and login; the client is then logged in as chatter 100.
    void logIn(peer::ScriptedPeer& server) {
        pick(kRoom);
        ASSERT_TRUE(server.accept());
        ASSERT_EQ(server.receiveCommand(), 4);
        server.send(buildPacket(cmd::Welcome{}));
        ASSERT_EQ(server.receiveCommand(), 6);
        server.send(buildPacket(cmd::LoginAccepted{100, 0}));
    }

    // The message boxes, in order, as the user saw them; waits for the program's end first.
    std::vector<std::string> boxesUntilTheEnd() {
        EXPECT_TRUE(rig.transcript.waitFor("destroyed"));
        std::vector<std::string> boxes;
        for (const std::string& line : rig.transcript.lines()) {
            if (line.rfind("box: ", 0) == 0) {
                boxes.push_back(line.substr(5));
            }
        }
        return boxes;
    }

    std::shared_ptr<loopback::TestLoop> loop = std::make_shared<loopback::TestLoop>();
    ClientRig rig;
};

TEST(ChatClientConnectionTest, LoginExchangeIsByteExact) {
    peer::ScriptedPeer server("127.0.0.61", 7088);
    Session session("127.0.0.61");
    session.pick(1);  // the customer service page: no connection
    EXPECT_TRUE(session.rig.transcript.lines().empty());
    session.pick(kRoom);
    ASSERT_TRUE(server.accept());

    const auto hello = server.receive();
    ASSERT_TRUE(hello);
    EXPECT_EQ(*hello, (std::vector<uint8_t>{28, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                            0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0}));
    // A heartbeat before the login is answered too.
    server.send(buildPacket(cmd::Heartbeat{}));
    EXPECT_EQ(server.receive(), buildPacket(cmd::Heartbeat{}));

    server.send(buildPacket(cmd::Welcome{}));
    const auto login = server.receive();
    ASSERT_TRUE(login);
    std::vector<uint8_t> expected(104, 0);
    expected[0] = 104;
    expected[4] = 6;
    const uint8_t mac[] = {0x00, 0x0C, 0x55, 0x66, 0x77, 0x88};
    std::copy(std::begin(mac), std::end(mac), expected.begin() + 8);
    const std::string account = "tester";
    std::copy(account.begin(), account.end(), expected.begin() + 24);
    std::copy(session.rig.identity.passwordDigest.begin(),
              session.rig.identity.passwordDigest.end(), expected.begin() + 88);
    EXPECT_EQ(*login, expected);

    server.send(buildPacket(cmd::LoginAccepted{100, 0}));
    EXPECT_EQ(session.rig.transcript.lines(),
              (std::vector<std::string>{"prompt: 正在连接服务器，请稍候... [cancel]",
                                        "prompt: 已连接到聊天服务器，正在登录中…… [cancel]"}));
}

TEST(ChatClientConnectionTest, RoomListEnterRoomAndChatterList) {
    peer::ScriptedPeer server("127.0.0.62", 7088);
    Session session("127.0.0.62");
    session.logIn(server);

    cmd::RoomList list;
    RoomRecord& room = list.rooms[kRoom];
    room.entryLength = RoomRecord::kSize;
    room.roomId = kRoom;
    room.attributes = 0x08;
    room.name = u"大厅";
    room.rollingMessage = u"欢迎";
    room.rollingIntervalSeconds = 10;
    server.send(buildPacket(list));
    const auto counts = server.receive();
    ASSERT_TRUE(counts);
    EXPECT_EQ(*counts, buildPacket(cmd::RequestRoomChatterCounts{}));
    EXPECT_EQ(counts->size(), 88u);

    session.onWindowThread([&] { session.rig.client->enterRoom(kRoom); });
    const auto enter = server.receive();
    ASSERT_TRUE(enter);
    const auto entering = readPacket<cmd::EnterRoom>(*enter);
    ASSERT_TRUE(entering);
    EXPECT_EQ(entering->roomId, static_cast<uint32_t>(kRoom));
    EXPECT_EQ(entering->record.chatterId, 100u);
    EXPECT_EQ(entering->record.nickname, u"tester");
    EXPECT_EQ(entering->record.reserved92, 255u);

    server.send(buildPacket(cmd::EnterRoomAnswer{kRoom, 0, ""}));
    ASSERT_TRUE(session.rig.transcript.waitFor("open room 7"));
    ChatterRecord own;
    own.chatterId = 100;
    own.account = "tester";
    own.nickname = u"tester";
    server.send(buildPacket(cmd::ChatterEntered{kRoom, own}));
    EXPECT_EQ(server.receive(), buildPacket(cmd::RequestRoomChatterList{kRoom}));

    ChatterRecord other = own;
    other.chatterId = 200;
    other.account = "other";
    server.send(buildPacket(cmd::RoomChatterList{kRoom, {own, other}}));
    server.send(buildPacket(cmd::Heartbeat{}));
    EXPECT_EQ(server.receiveCommand(), 1);

    session.onWindowThread([&] {
        const FakeMainWindow& window = session.rig.mainWindow;
        EXPECT_EQ(window.tabs.at(kRoom).title, u"大厅");
        EXPECT_EQ(window.tabs.at(kRoom).attributes, 0x08u);
        FakeRoomPage* page = session.rig.mainWindow.page(kRoom);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->notices, std::vector<std::u16string>{u"欢迎"});
        EXPECT_EQ(page->rollingTimers, std::vector<uint32_t>{10000});
        EXPECT_EQ(page->list.size(), 2u);
    });
}

TEST(ChatClientConnectionTest, CommandsForARoomWithoutAPageLeaveTheConnectionOpen) {
    peer::ScriptedPeer server("127.0.0.63", 7088);
    Session session("127.0.0.63");
    session.logIn(server);
    // Unknown command, then a heartbeat, in one read.
    std::vector<uint8_t> stream = makePacket(999, 0);
    const auto heartbeat = buildPacket(cmd::Heartbeat{});
    stream.insert(stream.end(), heartbeat.begin(), heartbeat.end());
    server.send(stream);
    EXPECT_EQ(server.receiveCommand(), 1);

    server.send(buildPacket(cmd::ChatterLeft{9, 5}));
    server.send(heartbeat);
    EXPECT_EQ(server.receiveCommand(), 1);
    const auto shown = session.rig.messages.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "没有这个房间");
    EXPECT_EQ(shown[0].caption, tekna::MessageCaption::Error);
    EXPECT_EQ(session.rig.mainWindow.quits.load(), 0);
}

struct FatalCase {
    const char* name;
    // What the server does after the login (or instead of it).
    std::function<void(peer::ScriptedPeer&)> act;
    std::vector<std::string> boxes;
    bool logIn = true;
};

void PrintTo(const FatalCase& c, std::ostream* out) { *out << c.name; }

class ChatClientFatalTest : public ::testing::TestWithParam<FatalCase> {};

TEST_P(ChatClientFatalTest, ShowsItsTextsAndEndsTheProgram) {
    const FatalCase& c = GetParam();
    peer::ScriptedPeer server("127.0.0.64", 7088);
    Session session("127.0.0.64");
    if (c.logIn) {
        session.logIn(server);
    } else {
        session.pick(kRoom);
        ASSERT_TRUE(server.accept());
        ASSERT_EQ(server.receiveCommand(), 4);
    }
    c.act(server);
    EXPECT_EQ(session.boxesUntilTheEnd(), c.boxes);
    EXPECT_GE(session.rig.mainWindow.quits.load(), 1);
}

const std::string kCommunicationFailed = "与聊天服务服务器通讯失败！";

INSTANTIATE_TEST_SUITE_P(
    Paths, ChatClientFatalTest,
    ::testing::Values(
        FatalCase{"ServerClosed",
                  [](peer::ScriptedPeer& s) { s.closeConnection(); },
                  {"从服务器取数据失败，错误代码 0", kCommunicationFailed}},
        FatalCase{"LoginRefusedCode4",
                  [](peer::ScriptedPeer& s) {
                      s.send(buildPacket(cmd::Welcome{}));
                      s.receive();
                      s.send(buildPacket(cmd::LoginRefused{4, u"其他原因"}));
                  },
                  {"登录失败：无法连接聊天服务器", kCommunicationFailed},
                  false},
        FatalCase{"VersionRefused",
                  [](peer::ScriptedPeer& s) { s.send(buildPacket(cmd::ClientVersionRefused{})); },
                  {kCommunicationFailed},
                  false},
        FatalCase{"KickedOut",
                  [](peer::ScriptedPeer& s) {
                      s.send(buildPacket(cmd::KickedOut{3, u"违规"}));
                  },
                  {"服务器已断开与您的连接！\r\n代码：3\r\n原因：违规", kCommunicationFailed}},
        FatalCase{"Disabled",
                  [](peer::ScriptedPeer& s) { s.send(buildPacket(cmd::ChatterDisabled{})); },
                  {kCommunicationFailed}},
        FatalCase{"EmptyRoomList",
                  [](peer::ScriptedPeer& s) { s.send(buildPacket(cmd::RoomList{})); },
                  {"收到服务器发来的房间列表为空！", kCommunicationFailed}},
        FatalCase{"InvalidPacketSize",
                  [](peer::ScriptedPeer& s) { s.send(std::vector<uint8_t>(24, 0)); },
                  {kCommunicationFailed}}),
    [](const ::testing::TestParamInfo<FatalCase>& param) { return param.param.name; });

TEST(ChatClientConnectionTest, NoServerReachable) {
    Session session("127.0.0.65");  // nothing listens there
    session.pick(kRoom);
    EXPECT_EQ(session.boxesUntilTheEnd(), std::vector<std::string>{"无法连接到聊天服务器！"});
}

TEST(ChatClientConnectionTest, SilentServerLosesTheConnection) {
    ChatClientOptions options = fastOptions();
    options.timeouts.read = 300ms;
    peer::ScriptedPeer server("127.0.0.66", 7088);
    Session session("127.0.0.66", options);
    session.logIn(server);
    EXPECT_EQ(session.boxesUntilTheEnd(), std::vector<std::string>{"与聊天服务器的连接已被断开！"});
}

TEST(ChatClientConnectionTest, CancellingThePromptsEndsTheProgram) {
    {
        Session session("127.0.0.67");
        session.rig.prompts.script(PromptPort::kCancelled);
        session.pick(kRoom);
        EXPECT_TRUE(session.rig.transcript.waitFor("quit"));
    }
    peer::ScriptedPeer server("127.0.0.68", 7088);
    Session session("127.0.0.68");
    session.rig.prompts.script(PromptPort::kClosedByCloseAll);
    session.rig.prompts.script(PromptPort::kCancelled);  // the logging-in prompt
    session.pick(kRoom);
    ASSERT_TRUE(server.accept());
    EXPECT_TRUE(session.boxesUntilTheEnd().empty());
}

}  // namespace
