#pragma once
// Turns the chat server's host names into the addresses the socket worker tries.
#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace chat {

// The operator's chat server, always tried after the host given on the command line.
inline constexpr const char* kDefaultChatServerHost = "chat.morvex.com";
inline constexpr uint16_t kChatServerPort = 7088;

class HostResolver {
  public:
    virtual ~HostResolver() = default;
    // The first IPv4 address of `host`; none when it cannot be resolved.
    virtual std::optional<in_addr> resolve(const std::string& host) const = 0;
};

class SystemHostResolver : public HostResolver {
  public:
    std::optional<in_addr> resolve(const std::string& host) const override;
};

// The command-line host (when not empty), then the default host, each with its first address
// (0.0.0.0 when unresolved) and `port`.
std::vector<sockaddr_in> chatServerAddresses(const HostResolver& resolver,
                                             const std::string& commandLineHost,
                                             const std::string& defaultHost, uint16_t port);

}  // namespace chat
