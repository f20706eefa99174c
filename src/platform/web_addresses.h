#pragma once
// The platform web addresses the program opens with the user's identity in them. The pieces are
// GBK texts from the command line; the addresses come out as UTF-16, ready to navigate. Nothing is
// escaped: the platform's pages expect the values as they are, Base64 "+", "/", "=" and line
// breaks included.
#include <filesystem>
#include <string>
#include <string_view>

#include "app/startup_args.h"

namespace chat {

// The built-in room selection page on the platform's public web site.
std::string builtInRoomSelectionPage();

// "customerurl" of section "MorvexModuleURL" in "config/Morvex.txt" in `programFolder`, or the
// built-in page when the file, section or key is missing or the value is empty. GBK.
std::string roomSelectionPageBase(const std::filesystem::path& programFolder);

// base + "?username=...&userid=...&spid=...&pwd=...&pwd2=...&pwd3=..." + the chat address suffix.
// With a platform id the user name is "<pid>_<account>" and pwd2 is Base64 of the platform
// account; without one spid, pwd2 and pwd3 are empty.
std::u16string roomSelectionPageAddress(std::string_view base, const StartupArgs& args);

// The customer-service page of the web service panel; `sharedText` is the customer-service user
// text of the shared information block (GBK, empty when there is none).
std::u16string servicePanelAddress(const StartupArgs& args, std::string_view sharedText);

// The service page signed for `account` (GBK): Key is the upper-case hexadecimal MD5 of the
// account followed by the signing salt.
std::u16string signedServiceAddress(std::string_view account);

// The address to open in the browser for a clicked announcement link, empty when nothing is to
// be opened (an empty address, or one that is not http, https, ftp or mailto). The bare service
// page address, exactly, is replaced by the page signed for `account`.
std::u16string announcementLinkTarget(std::u16string_view link, std::string_view account);

}  // namespace chat
