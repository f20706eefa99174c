#pragma once
// CWebService: the customer-service page in the tab of room 1, opened for the logged-in user.
#include <string>

#include "app/startup_args.h"
#include "ui/pages/framed_browser_page.h"

namespace chat {

class CWebService : public FramedBrowserPage {
    Q_OBJECT

  public:
    static constexpr const char* kTabTitle = "客户服务系统";

    // Navigates at once to the service panel address built with `sharedText` (GBK).
    CWebService(const StartupArgs& args, const std::string& sharedText, QWidget* parent = nullptr);
};

// The customer-service user text of the platform's shared information block; empty when the block
// cannot be opened or holds none, so that the page never fails the window.
std::string readSharedUserText();

}  // namespace chat
