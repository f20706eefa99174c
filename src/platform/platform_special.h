#pragma once
// The platform edition's values from section "special" of "special.txt" beside the program.
// Texts are GBK bytes (see config_text.h). Of these the program itself uses only the caption.
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/config_text.h"

namespace chat {

struct PlatformSpecial {
    std::string specialVersionUpdateUrl;
    std::string specialVersionUpdateRelativePath;
    std::string customerId;
    std::string customerName;
    std::string loginFlashUrl;
    std::string programCaption;
    std::string userAccount;
    std::string regAccountUrl;
    std::string forgetPassWordUrl;
    std::string morvexAdUrlTopImg;
    std::string morvexAdUrl;
    std::string buyServiceUrlTopImg;
    std::string buyServiceUrl;
    std::string buyServerCaption;
    std::string coinInfoTopImg;
    std::string coinInfoUrl;
    std::string helpNewbie;
    std::string submitGameInfo;
    std::string vipToInterVipUrl;
    std::string chargeHeader;
    std::string customerUrl;
    std::string nodeUrl;
    std::string uiChargeUrl;
    int32_t chargeType = 0;
    int32_t specialGameId = 0;
    int32_t specialGamePlatform = -1;
    std::string popWindowVipUrl;
    std::string popWindowNormalUrl;
    std::string traySliderVipUrl;
    bool loginDlgNotShowWhenUpdateChecking = false;
    std::string webPageLoginUrl;

    // Every key is looked up with its default, so a missing or empty key resets the field.
    void load(const ConfigText& text);
};

// The values of "special.txt" in `programFolder`; the defaults when the file does not exist.
PlatformSpecial loadPlatformSpecial(const std::filesystem::path& programFolder);

// The main window caption (UTF-8): the program caption followed by "-在线客服", or "Morvex在线客服"
// when the edition gives none.
std::string mainWindowCaption(const PlatformSpecial& special);

// The decimal number at the start of `text` (after blanks, with an optional sign), 0 when there is
// none; values beyond 32 bits are clamped.
int32_t leadingDecimal(std::string_view text);

}  // namespace chat
