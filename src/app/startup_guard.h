#pragma once
// The guard around the whole start-up and run: every failure that escapes becomes a message for
// the user and an exit code.
#include <functional>
#include <string>

namespace chat {

// How the guard shows its message; the window toolkit implements it as an error message box
// (default caption, error icon, owned by the active window).
class StartupMessagePort {
  public:
    virtual ~StartupMessagePort() = default;
    virtual void showError(const std::string& utf8Text) = 0;
};

// Runs `body` and returns its result. A standard exception shows its text and gives -1 (this
// covers the single-instance failures and the invalid command line); anything else shows
// "程序内部错误！" and gives -2.
int runStartupGuarded(StartupMessagePort& messages, const std::function<int()>& body);

}  // namespace chat
