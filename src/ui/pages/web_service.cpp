#include "ui/pages/web_service.h"

#include <exception>

#include "platform/share_info_mapping.h"
#include "platform/web_addresses.h"

namespace chat {

CWebService::CWebService(const StartupArgs& args, const std::string& sharedText, QWidget* parent)
    : FramedBrowserPage(parent) {
    navigate(servicePanelAddress(args, sharedText));
}

std::string readSharedUserText() {
    try {
        ShareInfoMapping mapping;
        return mapping.readUserText().value_or(std::string());
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace chat
