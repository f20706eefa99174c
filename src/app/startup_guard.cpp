#include "app/startup_guard.h"

#include <exception>

namespace chat {

int runStartupGuarded(StartupMessagePort& messages, const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::exception& error) {
        messages.showError(error.what());
        return -1;
    } catch (...) {
        messages.showError("程序内部错误！");
        return -2;
    }
}

}  // namespace chat
