#pragma once
// The platform's web hosts that the program builds addresses on.
#include <string_view>

namespace chat::hosts {

// The service host of the signed service page ("/service/Platform.asp").
inline constexpr std::string_view kService = "service.morvex.com";
// The customer-service host of the web service panel ("/index.php/user/setUserInfo/...").
inline constexpr std::string_view kCustomerService = "kf.morvex.com";
// The public web site that holds the built-in room selection page.
inline constexpr std::string_view kPublicSite = "www.morvex.com";

}  // namespace chat::hosts
