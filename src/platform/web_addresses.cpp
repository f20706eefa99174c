#include "platform/web_addresses.h"

#include "platform/base64.h"
#include "platform/config_text.h"
#include "platform/md5.h"
#include "platform/platform_hosts.h"
#include "util/text_codec.h"

namespace chat {
namespace {

constexpr std::string_view kSigningSalt = "Qrtvw!7h)9Mzp&%*;;GHnbxqa";
constexpr std::string_view kServicePath = "/service/Platform.asp";

std::string httpAddress(std::string_view host, std::string_view path) {
    std::string address = "http://";
    address.append(host);
    address.append(path);
    return address;
}

bool hasOpenableScheme(std::u16string_view link) {
    const size_t colon = link.find(u':');
    if (colon == std::u16string_view::npos) {
        return false;
    }
    std::u16string scheme(link.substr(0, colon));
    for (char16_t& c : scheme) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return scheme == u"http" || scheme == u"https" || scheme == u"ftp" || scheme == u"mailto";
}

}  // namespace

std::string builtInRoomSelectionPage() {
    return httpAddress(hosts::kPublicSite, "/kf_index.shtml");
}

std::string roomSelectionPageBase(const std::filesystem::path& programFolder) {
    return readConfigTextFile(programFolder / "config" / "Morvex.txt")
        .lookup("MorvexModuleURL", "customerurl", builtInRoomSelectionPage());
}

std::u16string roomSelectionPageAddress(std::string_view base, const StartupArgs& args) {
    const bool withPlatform = !args.platformId.empty();
    std::string address(base);
    address += "?username=";
    if (withPlatform) {
        address += args.platformId + "_";
    }
    address += args.account + "&userid=" + args.account + "&spid=" + args.platformId +
               "&pwd=" + args.password + "&pwd2=";
    if (withPlatform) {
        address += base64Encode(args.platformAccount) + "&pwd3=" + args.platformPassword;
    } else {
        address += "&pwd3=";
    }
    address += args.chatUrl;
    return gbkToUtf16(address);
}

std::u16string servicePanelAddress(const StartupArgs& args, std::string_view sharedText) {
    std::string path = "/index.php/user/setUserInfo/";
    if (!args.platformId.empty()) {
        path += args.platformId + "_" + args.account + "/" + args.password + "/" + args.platformId +
                "/" + base64Encode(args.platformAccount) + "/" + args.platformPassword + "/";
    } else {
        path += args.account + "/" + args.password + "/0/0/0/";
    }
    path += sharedText;
    return gbkToUtf16(httpAddress(hosts::kCustomerService, path));
}

std::u16string signedServiceAddress(std::string_view account) {
    const std::string key = md5HexText(std::string(account) + std::string(kSigningSalt));
    std::string address = httpAddress(hosts::kService, kServicePath);
    address += "?username=";
    address += account;
    address += "&Platform=Morvex&Key=" + key;
    return gbkToUtf16(address);
}

std::u16string announcementLinkTarget(std::u16string_view link, std::string_view account) {
    if (link == utf8ToUtf16(httpAddress(hosts::kService, kServicePath))) {
        return signedServiceAddress(account);
    }
    if (!hasOpenableScheme(link)) {
        return {};
    }
    return std::u16string(link);
}

}  // namespace chat
