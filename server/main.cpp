// chat-server --config <file> [--address 127.0.0.1] [--port 7088]
// The development chat server: serves the chat client's protocol on one address and port until
// SIGINT or SIGTERM. Exit codes: 0 after a clean stop, 1 when the address cannot be used, 2 for a
// bad command line or configuration.
#include <asio.hpp>
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "chat_service.h"
#include "server_config.h"
#include "tcp_server.h"

namespace {

int usage(const std::string& problem) {
    std::cerr << problem
              << "\nusage: chat-server --config <file> [--address 127.0.0.1] "
                 "[--port 7088]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string configPath;
    chatserver::TcpServer::Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return usage(option + " needs a value");
        const std::string value = argv[++i];
        if (option == "--config") {
            configPath = value;
        } else if (option == "--address") {
            options.address = value;
        } else if (option == "--port") {
            unsigned port = 0;
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
            if (error != std::errc() || end != value.data() + value.size() || port == 0 ||
                port > 65535) {
                return usage("--port: expected a number from 1 to 65535");
            }
            options.port = static_cast<uint16_t>(port);
        } else {
            return usage("unknown option " + option);
        }
    }
    if (configPath.empty())
        return usage("--config is required");

    chatserver::ServerConfig config;
    try {
        config = chatserver::loadServerConfig(configPath);
    } catch (const chatserver::ConfigError& e) {
        std::cerr << configPath << ": " << e.what() << "\n";
        return 2;
    }

    asio::io_context io(1);
    chatserver::ChatService service(std::move(config), configPath, chatserver::logToStderr);
    std::unique_ptr<chatserver::TcpServer> server;
    try {
        server =
            std::make_unique<chatserver::TcpServer>(io, service, options, chatserver::logToStderr);
    } catch (const std::system_error& e) {
        chatserver::logToStderr("cannot listen on " + options.address + ":" +
                                std::to_string(options.port) + ": " + e.what());
        return 1;
    }
    asio::signal_set signals(io, SIGINT, SIGTERM);
    signals.async_wait([&](asio::error_code error, int signal) {
        if (error)
            return;
        chatserver::logToStderr(std::string("stopping on ") + strsignal(signal));
        server->stop();
        io.stop();
    });
    io.run();
    chatserver::logToStderr("stopped");
    return 0;
}
