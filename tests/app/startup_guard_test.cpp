#include "app/startup_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/startup_args.h"

namespace chat {
namespace {

struct RecordingPort : StartupMessagePort {
    void showError(const std::string& utf8Text) override { shown.push_back(utf8Text); }
    std::vector<std::string> shown;
};

TEST(StartupGuard, FailuresBecomeMessagesAndExitCodes) {
    struct Case {
        std::string name;
        std::function<int()> body;
        int exitCode;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {"normal end", [] { return 0; }, 0, {}},
        {"quit code", [] { return 7; }, 7, {}},
        {"standard exception",
         []() -> int { throw std::runtime_error("客服系统已在运行中！"); },
         -1,
         {"客服系统已在运行中！"}},
        {"logic error", []() -> int { throw std::logic_error("bad"); }, -1, {"bad"}},
        {"invalid command line",
         [] {
             validateStartupArgs(parseCommandLine(""));
             return 0;
         },
         -1,
         {"无效的命令行参数！"}},
        {"other exception", []() -> int { throw 42; }, -2, {"程序内部错误！"}},
    };
    for (const Case& c : cases) {
        RecordingPort port;
        EXPECT_EQ(runStartupGuarded(port, c.body), c.exitCode) << c.name;
        EXPECT_EQ(port.shown, c.shown) << c.name;
    }
}

}  // namespace
}  // namespace chat
