#include "ui/pages/room_link.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LinkCase {
    std::u16string address;
    chat::RoomLinkDecision expected;
};

TEST(RoomLinkTest, DecidesEachAddress) {
    const std::vector<LinkCase> cases = {
        {u"http://rooms.example/enter?room=12", {false, 12}},
        {u"http://rooms.example/enter?room=12&x=3", {false, 12}},
        {u"http://rooms.example/enter?room=0", {false, 0}},
        {u"http://rooms.example/enter?room=ab", {false, 0}},
        {u"http://rooms.example/enter?room=", {false, 0}},
        {u"http://rooms.example/enter?room=99999999999", {false, 2147483647}},
        {u"http://rooms.example/news.html", {true, 0}},
        {u"http://rooms.example/enter?x=1&room=12", {true, 0}},
        {u"", {true, 0}},
    };
    for (const LinkCase& c : cases) {
        EXPECT_EQ(chat::decideRoomLink(c.address), c.expected)
            << std::string(c.address.begin(), c.address.end());
    }
}

}  // namespace
