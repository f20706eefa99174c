#include "fake_windows.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <unistd.h>

#include <atomic>

#include "protocol/commands/commands.h"

namespace fakes {

std::optional<in_addr> FakeResolver::resolve(const std::string& host) const {
    const auto found = table.find(host);
    if (found == table.end()) {
        return std::nullopt;
    }
    in_addr address{};
    ::inet_pton(AF_INET, found->second.c_str(), &address);
    return address;
}

std::vector<std::string> RecordingLog::messages() const {
    const std::lock_guard guard(lock_);
    std::vector<std::string> messages;
    for (const std::string& line : lines_) {
        const size_t tab = line.find('\t');
        const size_t end = line.rfind("\r\n");
        messages.push_back(line.substr(tab + 1, end - tab - 1));
    }
    return messages;
}

namespace {

std::filesystem::path freshFolder() {
    static std::atomic<int> counter = 0;
    auto folder =
        std::filesystem::temp_directory_path() /
        ("chat_client_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    return folder;
}

}  // namespace

ClientRig::ClientRig(ChatClientOptions options) : folder(freshFolder()) {
    config = std::make_unique<UserConfig>(folder, fonts);
    options.openLog = [this] {
        auto recording = std::make_unique<RecordingLog>();
        log = recording.get();
        return recording;
    };
    client = std::make_unique<ChatClient>(*config, messages, adapters, resolver, options);
}

ClientRig::~ClientRig() {
    client.reset();
    config.reset();
    std::filesystem::remove_all(folder);
}

void ClientRig::attachWindows(std::shared_ptr<tekna::EventLoop> loop) {
    client->connect(ClientWindows{mainWindow, prompts, std::move(loop)}, identity, "", 1);
}

void ClientRig::logIn(uint32_t chatterId, uint32_t roles) {
    attachWindows();
    client->onWelcome();
    ASSERT_TRUE(receive(buildPacket(cmd::LoginAccepted{chatterId, roles})));
}

}  // namespace fakes
