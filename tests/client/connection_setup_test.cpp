// What the client connects to and which adapter address it logs in with.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "client/host_resolver.h"
#include "client/login_mac.h"
#include "fakes/fake_windows.h"

namespace {

using namespace chat;

std::vector<std::string> dotted(const std::vector<sockaddr_in>& addresses) {
    std::vector<std::string> texts;
    for (const sockaddr_in& address : addresses) {
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
        texts.push_back(std::string(text) + ":" + std::to_string(ntohs(address.sin_port)));
    }
    return texts;
}

TEST(ConnectionSetupTest, AddressListHasTheCommandLineHostThenTheDefaultHost) {
    fakes::FakeResolver resolver;
    resolver.table = {{"given.host", "127.0.0.9"}, {"default.host", "127.0.0.10"}};
    struct Case {
        const char* name;
        std::string commandLineHost;
        std::vector<std::string> addresses;
    };
    const std::vector<Case> cases = {
        {"both", "given.host", {"127.0.0.9:7088", "127.0.0.10:7088"}},
        {"no host given", "", {"127.0.0.10:7088"}},
        {"unresolved host", "nowhere", {"0.0.0.0:7088", "127.0.0.10:7088"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dotted(chatServerAddresses(resolver, c.commandLineHost, "default.host",
                                             kChatServerPort)),
                  c.addresses);
    }
}

TEST(ConnectionSetupTest, LoginMacIsTheSmallestAdapterAddressOrZeros) {
    EXPECT_EQ(chooseLoginMac({}), MacAddress{});
    EXPECT_EQ(chooseLoginMac({{0x00, 0x1A, 0, 0, 0, 1}, {0x00, 0x0C, 0xFF, 0, 0, 0}}),
              (MacAddress{0x00, 0x0C, 0xFF, 0, 0, 0}));
}

TEST(ConnectionSetupTest, SystemAdaptersAreEthernetOnly) {
    for (const MacAddress& mac : SystemEthernetAdapters().addresses()) {
        EXPECT_NE(mac, MacAddress{});  // loopback (all zeros) is left out
    }
}

}  // namespace
