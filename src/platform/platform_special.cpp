#include "platform/platform_special.h"

#include <algorithm>
#include <limits>

#include "util/text_codec.h"

namespace chat {
namespace {

constexpr std::string_view kSection = "special";

struct TextKey {
    std::string_view key;
    std::string PlatformSpecial::*field;
};

constexpr TextKey kTextKeys[] = {
    {"specialVersionUpdateUrl", &PlatformSpecial::specialVersionUpdateUrl},
    {"specialVersionUpdateRelativePath", &PlatformSpecial::specialVersionUpdateRelativePath},
    {"customerId", &PlatformSpecial::customerId},
    {"customerName", &PlatformSpecial::customerName},
    {"loginFlashUrl", &PlatformSpecial::loginFlashUrl},
    {"ProgramCaption", &PlatformSpecial::programCaption},
    {"UserAccount", &PlatformSpecial::userAccount},
    {"RegAccountUrl", &PlatformSpecial::regAccountUrl},
    {"ForgetPassWordUrl", &PlatformSpecial::forgetPassWordUrl},
    {"MorvexAdUrlTopImg", &PlatformSpecial::morvexAdUrlTopImg},
    {"MorvexAdUrl", &PlatformSpecial::morvexAdUrl},
    {"BuyServiceUrlTopImg", &PlatformSpecial::buyServiceUrlTopImg},
    {"BuyServiceUrl", &PlatformSpecial::buyServiceUrl},
    {"BuyServerCaption", &PlatformSpecial::buyServerCaption},
    {"CoinInfoTopImg", &PlatformSpecial::coinInfoTopImg},
    {"CoinInfoUrl", &PlatformSpecial::coinInfoUrl},
    {"helpnewbie", &PlatformSpecial::helpNewbie},
    {"submitgameinfo", &PlatformSpecial::submitGameInfo},
    {"viptointervipurl", &PlatformSpecial::vipToInterVipUrl},
    {"chargeheader", &PlatformSpecial::chargeHeader},
    {"customerurl", &PlatformSpecial::customerUrl},
    {"nodeurl", &PlatformSpecial::nodeUrl},
    {"uichargeurl", &PlatformSpecial::uiChargeUrl},
    {"PopWindowVipUrl", &PlatformSpecial::popWindowVipUrl},
    {"PopwindowNormalUrl", &PlatformSpecial::popWindowNormalUrl},
    {"TraySliderVipUrl", &PlatformSpecial::traySliderVipUrl},
    {"WebPageLoginUrl", &PlatformSpecial::webPageLoginUrl},
};

struct NumberKey {
    std::string_view key;
    std::string_view fallback;
    int32_t PlatformSpecial::*field;
};

constexpr NumberKey kNumberKeys[] = {
    {"chargetype", "0", &PlatformSpecial::chargeType},
    {"specialgameid", "0", &PlatformSpecial::specialGameId},
    {"specialgameplatform", "-1", &PlatformSpecial::specialGamePlatform},
};

}  // namespace

int32_t leadingDecimal(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        ++pos;
    }
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = std::min(magnitude * 10 + (text[pos] - '0'), kLimit);
    }
    const int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<int32_t>(value);
}

void PlatformSpecial::load(const ConfigText& text) {
    for (const TextKey& entry : kTextKeys) {
        this->*entry.field = text.lookup(kSection, entry.key, "");
    }
    for (const NumberKey& entry : kNumberKeys) {
        this->*entry.field = leadingDecimal(text.lookup(kSection, entry.key, entry.fallback));
    }
    loginDlgNotShowWhenUpdateChecking =
        leadingDecimal(text.lookup(kSection, "LoginDlgNotShowWhenUpdateChecking", "0")) != 0;
}

PlatformSpecial loadPlatformSpecial(const std::filesystem::path& programFolder) {
    PlatformSpecial special;
    const std::filesystem::path path = programFolder / "special.txt";
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        special.load(readConfigTextFile(path));
    }
    return special;
}

std::string mainWindowCaption(const PlatformSpecial& special) {
    if (special.programCaption.empty()) {
        return "Morvex在线客服";
    }
    return gbkToUtf8(special.programCaption) + "-在线客服";
}

}  // namespace chat
