// What the server does on its own in time: heartbeats, closing silent connections, random VIP
// draws; and the log lines that tell a watcher who came, went where and left.
#include <gtest/gtest.h>

#include <algorithm>

#include "server_test_client.h"

namespace servertest {
namespace {

namespace cmd = chat::cmd;

class ServerPeriodic : public ServerFixture {
  protected:
    bool logged(const std::string& line) {
        const auto lines = logLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

// Short intervals, so that a test sees many heartbeats and an idle close within a second or two.
class ServerIdle : public ServerPeriodic {
  protected:
    ServerIdle() {
        options_.heartbeatInterval = std::chrono::milliseconds(50);
        options_.idleTimeout = std::chrono::milliseconds(300);
    }
};

TEST_F(ServerIdle, ASilentConnectionIsClosedAndHeartbeatAnswersKeepItOpen) {
    struct Case {
        const char* name;
        bool logIn;
        bool answerHeartbeats;
        bool closed;
    };
    const std::vector<Case> cases = {
        {"silent before hello", false, false, true},
        {"logged in, silent", true, false, true},
        {"logged in, answering heartbeats", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto client = connect();
        if (c.logIn) {
            ASSERT_NE(client->login("demo", "demo"), 0u);
        }
        if (!c.answerHeartbeats) {
            EXPECT_TRUE(client->closedByServer());
            continue;
        }
        // Five idle times with a heartbeat every 50 ms: about 30 heartbeats.
        EXPECT_GE(client->answerHeartbeatsFor(1500), 10);
        client->send(cmd::RequestRoomChatterCounts{});
        client->expect<cmd::RoomChatterCounts>();
    }
    EXPECT_TRUE(logged("\"demo\" disconnected: nothing received for 300 ms"));
    EXPECT_TRUE(
        logged("connection from 127.0.0.1 closed before login: nothing received for 300 ms"));
}

TEST_F(ServerPeriodic, TheLogNamesTheAccountAtEachStep) {
    auto client = loggedIn("demo");
    client->enter(2);
    client->send(cmd::RequestRoomChatterList{2});
    client->expect<cmd::RoomChatterList>();
    client->expect<cmd::ChatMessage>();  // the bot's greeting
    client->enter(3);
    client->send(cmd::LeaveRoom{3});
    client->send(cmd::LeaveRoom{4});  // not in it: no line
    client->send(cmd::RequestRoomChatterCounts{});
    client->expect<cmd::RoomChatterCounts>();
    client.reset();
    for (int i = 0; i < 100 && !logged("\"demo\" disconnected: by the client"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    std::vector<std::string> accountLines;
    for (const std::string& line : logLines()) {
        if (line.starts_with("\"demo\""))
            accountLines.push_back(line);
    }
    const std::vector<std::string> expected = {
        "\"demo\" logged in as chatter 2 from 127.0.0.1",  // the bot is chatter 1
        "\"demo\" entered room 2",
        "\"demo\" asked for the chatters of room 2",
        "\"demo\" entered room 3",
        "\"demo\" left room 3",
        "\"demo\" disconnected: by the client",
    };
    EXPECT_EQ(accountLines, expected);
}

TEST_F(ServerPeriodic, RandomVipDrawsRunInsideTheirPeriodForOrdinaryChattersOnly) {
    struct Case {
        const char* name;
        std::string account;
        chat::SystemTime start;
        chat::SystemTime end;
        bool drawn;
    };
    const chat::SystemTime past{2000, 1, 6, 1, 0, 0, 0, 0};
    const chat::SystemTime future{2099, 1, 4, 1, 0, 0, 0, 0};
    const std::vector<Case> cases = {
        {"the period is over", "demo", past, past, false},
        {"the period has not begun", "demo2", future, future, false},
        {"inside the period", "demo3", past, future, true},
    };
    auto admin = loggedIn("admin");
    auto staff = loggedIn("staff");
    admin->enter(3);
    staff->enter(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto chatter = loggedIn(c.account);
        chatter->enter(3);
        admin->drain();
        staff->drain();
        chat::RandomVipDraw draw;
        draw.roomId = 3;
        draw.drawIntervalMs = 100;
        draw.winners = 3;  // more than there are ordinary chatters
        draw.vipHours = 6;
        draw.start = c.start;
        draw.end = c.end;
        admin->send(cmd::SetRandomVip{digestOf("op"), draw});
        EXPECT_EQ(admin->expect<cmd::SetRandomVipResult>().result, 0u);
        if (!c.drawn) {
            EXPECT_TRUE(chatter->quietFor(400));
            continue;
        }
        // Staff and the system administrator in the room are never drawn.
        const auto notice = chatter->expect<cmd::VipGiven>();
        EXPECT_EQ(notice.accounts, std::vector<std::string>{c.account});
        EXPECT_EQ(notice.gift.hours, 6u);
        EXPECT_EQ(notice.gift.roomId, 3u);
        EXPECT_EQ(staff->expect<cmd::VipGiven>(), notice);
        // Now a VIP, the chatter is not drawn again; nobody else is left to draw.
        EXPECT_TRUE(chatter->quietFor(400));
    }
}

}  // namespace
}  // namespace servertest
