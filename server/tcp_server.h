#pragma once
// The chat service on TCP: accepts connections on one address and port, feeds each connection's
// bytes to its Session, writes the service's packets back, sends the heartbeat, closes silent
// connections and runs the service's timed work. Everything runs on the thread that runs the
// io_context.
#include <asio.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "chat_service.h"

namespace chatserver {

class TcpServer {
  public:
    struct Options {
        std::string address = "127.0.0.1";
        uint16_t port = 7088;  // 0: an ephemeral port
        // A connection whose unsent packets pass this size does not read: it is closed.
        size_t sendQueueLimit = 4 * 1024 * 1024;
        // The client answers every heartbeat, and treats 60 s without a byte as a lost
        // connection; the server closes a connection that sends nothing for as long.
        std::chrono::milliseconds heartbeatInterval{20000};
        std::chrono::milliseconds idleTimeout{60000};
    };

    // Listens at once; throws std::system_error when the address cannot be bound.
    TcpServer(asio::io_context& io, ChatService& service, Options options,
              ChatService::LogFunction log);
    ~TcpServer();

    uint16_t port() const;
    // Stops listening and closes every connection.
    void stop();

    class Connection;

  private:
    void accept();
    void scheduleHeartbeat();
    void scheduleServiceWork();
    // Writes the connection's queued packets once the handlers queued now have run.
    void flushSoon(std::shared_ptr<Connection> connection);

    asio::io_context& io_;
    ChatService& service_;
    Options options_;
    ChatService::LogFunction log_;
    asio::ip::tcp::acceptor acceptor_;
    asio::steady_timer heartbeat_;
    asio::steady_timer serviceWork_;
    std::set<std::shared_ptr<Connection>> connections_;
    std::vector<std::shared_ptr<Connection>> toFlush_;
    bool stopped_ = false;
};

// "2026-12-11 09:05:03 message" on standard error.
void logToStderr(const std::string& message);

}  // namespace chatserver
