#pragma once
// A chat server stand-in for the integration tests: listens on a loopback address of its own on
// port 7088, accepts the client and exchanges whole packets with it as the test scripts.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "protocol/packet_header.h"
#include "util/little_endian.h"

namespace peer {

class ScriptedPeer {
  public:
    ScriptedPeer(const char* ip, uint16_t port) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        ::inet_pton(AF_INET, ip, &address.sin_addr);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 1) != 0) {
            throw std::runtime_error("cannot listen on " + std::string(ip));
        }
    }
    ~ScriptedPeer() {
        closeConnection();
        ::close(listener_);
    }

    // Waits at most 10 s for the client.
    bool accept() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 10000) != 1) {
            return false;
        }
        connection_ = ::accept(listener_, nullptr, nullptr);
        return connection_ != -1;
    }

    // The next whole packet from the client; none when nothing came within 10 s.
    std::optional<std::vector<uint8_t>> receive() {
        std::vector<uint8_t> packet(::kPacketHeaderSize);
        if (!readExactly(packet.data(), ::kPacketHeaderSize)) {
            return std::nullopt;
        }
        const uint32_t size = chat::loadLE<uint32_t>(packet.data());
        if (size < ::kPacketHeaderSize || size > ::kMaxPacketSize) {
            return std::nullopt;
        }
        packet.resize(size);
        if (!readExactly(packet.data() + ::kPacketHeaderSize, size - ::kPacketHeaderSize)) {
            return std::nullopt;
        }
        return packet;
    }
    // The command of the next packet, 0 when none came.
    uint16_t receiveCommand() {
        const auto packet = receive();
        return packet ? chat::loadLE<uint16_t>(packet->data() + 4) : 0;
    }

    void send(const std::vector<uint8_t>& bytes) {
        size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n =
                ::send(connection_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) {
                return;
            }
            sent += static_cast<size_t>(n);
        }
    }

    void closeConnection() {
        if (connection_ != -1) {
            ::close(connection_);
            connection_ = -1;
        }
    }

  private:
    bool readExactly(uint8_t* data, size_t size) {
        size_t got = 0;
        while (got < size) {
            pollfd p{connection_, POLLIN, 0};
            if (::poll(&p, 1, 10000) != 1) {
                return false;
            }
            const ssize_t n = ::recv(connection_, data + got, size - got, 0);
            if (n <= 0) {
                return false;
            }
            got += static_cast<size_t>(n);
        }
        return true;
    }

    int listener_ = -1;
    int connection_ = -1;
};

}  // namespace peer
