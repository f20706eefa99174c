#include "platform/web_addresses.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/md5.h"
#include "platform/test_data.h"
#include "util/text_codec.h"

namespace chat {
namespace {

StartupArgs withoutPlatform() {
    StartupArgs args;
    args.account = "alice";
    args.password = "0123456789ABCDEF0123456789ABCDEF";
    args.chatUrl = "&from=client";
    return args;
}

StartupArgs withPlatform() {
    StartupArgs args = withoutPlatform();
    args.platformId = "p7";
    args.platformAccount = "pa";
    args.platformPassword = "pp";
    return args;
}

TEST(WebAddresses, RoomPageBaseComesFromMorvexTxtOrTheBuiltInPage) {
    EXPECT_EQ(roomSelectionPageBase(test::platformData() / "program"),
              "http://rooms.example/list.shtml");
    EXPECT_EQ(roomSelectionPageBase(test::platformData() / "program_utf8"),
              "http://www.morvex.com/kf_index.shtml");
    EXPECT_EQ(roomSelectionPageBase(test::platformData() / "no such folder"),
              builtInRoomSelectionPage());
}

TEST(WebAddresses, RoomPageQueryWithoutPlatformIdHasEmptySpidPwd2AndPwd3) {
    EXPECT_EQ(roomSelectionPageAddress("http://h/p", withoutPlatform()),
              u"http://h/p?username=alice&userid=alice&spid=&pwd=0123456789ABCDEF0123456789ABCDEF"
              u"&pwd2=&pwd3=&from=client");
}

TEST(WebAddresses, RoomPageQueryWithPlatformId) {
    EXPECT_EQ(roomSelectionPageAddress("http://h/p", withPlatform()),
              u"http://h/p?username=p7_alice&userid=alice&spid=p7"
              u"&pwd=0123456789ABCDEF0123456789ABCDEF&pwd2=cGE=&pwd3=pp&from=client");
}

TEST(WebAddresses, LongPlatformAccountKeepsTheBase64LineBreak) {
    StartupArgs args = withPlatform();
    args.platformAccount = std::string(57, 'x');
    args.chatUrl.clear();
    std::u16string line;
    for (int i = 0; i < 19; ++i) {
        line += u"eHh4";  // "xxx"
    }
    const std::u16string address = roomSelectionPageAddress("b", args);
    EXPECT_NE(address.find(u"&pwd2=" + line + u"\r\n&pwd3=pp"), std::u16string::npos);
    EXPECT_TRUE(address.ends_with(u"&pwd3=pp"));
}

TEST(WebAddresses, RoomPageAddressConvertsGbkToUtf16) {
    StartupArgs args = withoutPlatform();
    args.account = "\xC4\xE3\xBA\xC3";  // 你好
    EXPECT_NE(roomSelectionPageAddress("b", args).find(u"?username=你好&userid=你好&"),
              std::u16string::npos);
}

TEST(WebAddresses, ServicePanelAddress) {
    EXPECT_EQ(servicePanelAddress(withoutPlatform(), "kf01"),
              u"http://kf.morvex.com/index.php/user/setUserInfo/alice/"
              u"0123456789ABCDEF0123456789ABCDEF/0/0/0/kf01");
    EXPECT_EQ(servicePanelAddress(withPlatform(), ""),
              u"http://kf.morvex.com/index.php/user/setUserInfo/p7_alice/"
              u"0123456789ABCDEF0123456789ABCDEF/p7/cGE=/pp/");
}

TEST(WebAddresses, SignedServiceAddressKeyIsHexMd5OfAccountAndSalt) {
    const std::string key = md5HexText("aliceQrtvw!7h)9Mzp&%*;;GHnbxqa");
    EXPECT_EQ(signedServiceAddress("alice"),
              utf8ToUtf16("http://service.morvex.com/service/Platform.asp?username=alice"
                          "&Platform=Morvex&Key=" +
                          key));
}

TEST(WebAddresses, AnnouncementLinkTargets) {
    const std::u16string signedAddress = signedServiceAddress("alice");
    struct Case {
        std::u16string link;
        std::u16string target;
    };
    const Case cases[] = {
        {u"", u""},
        {u"http://service.morvex.com/service/Platform.asp", signedAddress},
        {u"http://service.morvex.com/service/Platform.asp?x=1",
         u"http://service.morvex.com/service/Platform.asp?x=1"},
        {u"HTTP://service.morvex.com/service/Platform.asp",
         u"HTTP://service.morvex.com/service/Platform.asp"},
        {u"https://www.morvex.com/a", u"https://www.morvex.com/a"},
        {u"ftp://files.example/x", u"ftp://files.example/x"},
        {u"mailto:kf@morvex.com", u"mailto:kf@morvex.com"},
        {u"file:///etc/passwd", u""},
        {u"javascript:alert(1)", u""},
        {u"www.morvex.com", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(announcementLinkTarget(c.link, "alice"), c.target) << utf16ToUtf8(c.link);
    }
}

}  // namespace
}  // namespace chat
