#include "client/host_resolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstring>

namespace chat {

std::optional<in_addr> SystemHostResolver::resolve(const std::string& host) const {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    ::freeaddrinfo(found);
    return address.sin_addr;
}

std::vector<sockaddr_in> chatServerAddresses(const HostResolver& resolver,
                                             const std::string& commandLineHost,
                                             const std::string& defaultHost, uint16_t port) {
    std::vector<sockaddr_in> addresses;
    for (const std::string* host : {&commandLineHost, &defaultHost}) {
        if (host->empty()) {
            continue;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr = resolver.resolve(*host).value_or(in_addr{});
        addresses.push_back(address);
    }
    return addresses;
}

}  // namespace chat
