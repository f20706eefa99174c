// server-load [--clients 1000] [--rate 100] [--seconds 10] [--address 127.0.0.4]
//
// Starts the chat server in-process (its own thread) on a loopback address with an ephemeral
// port, connects N clients (one more thread), logs them in and lets them all enter one room. Then
// the clients send `rate` chat messages per second in all, round robin, for `seconds` seconds.
// Every client hears every message (its own as the echo), so the room has N x rate deliveries
// per second. Prints the deliveries per second, the p50/p99/max latency from sending a message to
// each delivery, and the CPU time of the server's thread and of the clients' thread per delivery
// (which, unlike the latency, hardly depend on what else runs on the machine). Stops by itself: the
// run is bounded by its duration plus 5 seconds.
#include <sys/resource.h>

#include <algorithm>
#include <asio.hpp>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <deque>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "chat_service.h"
#include "message_text.h"
#include "protocol/commands/commands.h"
#include "protocol/packet_framer.h"
#include "tcp_server.h"
#include "util/little_endian.h"

namespace {

namespace cmd = chat::cmd;
using Clock = std::chrono::steady_clock;
using asio::ip::tcp;

struct Options {
    int clients = 1000;
    int rate = 100;
    int seconds = 10;
    std::string address = "127.0.0.4";
};

constexpr uint32_t kRoom = 2;
const std::array<uint8_t, 16> kDigest = {0xFE, 0x01, 0xCE, 0x2A, 0x7F, 0xBA, 0xC8, 0xFA,
                                         0xFA, 0xED, 0x7C, 0x98, 0x2A, 0x04, 0xE2, 0x29};

chatserver::ServerConfig loadConfig(int clients) {
    chatserver::ServerConfig config;
    for (int i = 0; i < clients; ++i) {
        chatserver::AccountConfig account;
        account.account = "load" + std::to_string(i);
        account.passwordDigest = kDigest;
        config.accounts.push_back(account);
    }
    chatserver::RoomConfig room;
    room.id = kRoom;
    room.name = u"压力测试";
    room.settings.roomId = kRoom;
    room.settings.maxPeople = static_cast<uint32_t>(clients) + 10;
    config.rooms.push_back(room);
    return config;
}

void raiseFileLimit(int clients) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const rlim_t wanted = static_cast<rlim_t>(clients) * 2 + 64;
    if (limit.rlim_cur < wanted) {
        limit.rlim_cur = std::min(wanted, limit.rlim_max);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// What all clients share: send times by message number, and the measured latencies.
struct Run {
    std::vector<Clock::time_point> sentAt;
    std::vector<double> latenciesMs;
    size_t entered = 0;
    Clock::time_point lastDelivery;
};

class LoadClient : public std::enable_shared_from_this<LoadClient> {
  public:
    LoadClient(asio::io_context& io, Run& run, int index)
        : socket_(io),
          run_(run),
          index_(index),
          framer_([this](std::span<const uint8_t> packet) { return onPacket(packet); }, nullptr) {}

    void start(const tcp::endpoint& server) {
        socket_.async_connect(server, [self = shared_from_this()](asio::error_code error) {
            if (error) {
                std::fprintf(stderr, "client %d: %s\n", self->index_, error.message().c_str());
                return;
            }
            self->socket_.set_option(tcp::no_delay(true));
            self->send(chat::buildPacket(cmd::Hello{}));
            self->read();
        });
    }

    void say(int32_t number) {
        send(chatserver::composeTextMessage({kRoom, number, static_cast<int32_t>(chatterId_), 0, 0,
                                             u"load", u"压力测试消息 0123456789"}));
    }

  private:
    void send(std::vector<uint8_t> packet) {
        queue_.push_back(std::move(packet));
        if (queue_.size() == 1)
            write();
    }
    void write() {
        asio::async_write(socket_, asio::buffer(queue_.front()),
                          [self = shared_from_this()](asio::error_code error, size_t) {
                              if (error)
                                  return;
                              self->queue_.pop_front();
                              if (!self->queue_.empty())
                                  self->write();
                          });
    }
    void read() {
        auto space = framer_.freeSpace();
        socket_.async_read_some(asio::buffer(space.data(), space.size()),
                                [self = shared_from_this()](asio::error_code error, size_t n) {
                                    if (error)
                                        return;
                                    if (!self->framer_.commit(n)) {
                                        std::fprintf(stderr, "client %d: bad packet\n",
                                                     self->index_);
                                        return;
                                    }
                                    self->read();
                                });
    }
    bool onPacket(std::span<const uint8_t> packet) {
        const auto command =
            static_cast<chat::CommandId>(chat::loadLE<uint16_t>(packet.data() + 4));
        switch (command) {
            case chat::CommandId::Welcome: {
                cmd::Login login;
                login.account = "load" + std::to_string(index_);
                login.passwordDigest = kDigest;
                send(chat::buildPacket(login));
                break;
            }
            case chat::CommandId::LoginAccepted: {
                chatterId_ = chat::readPacket<cmd::LoginAccepted>(packet)->chatterId;
                chat::ChatterRecord record;
                record.nickname = u"load";
                send(chat::buildPacket(cmd::EnterRoom{kRoom, record}));
                break;
            }
            case chat::CommandId::EnterRoomAnswer:
                ++run_.entered;
                break;
            case chat::CommandId::ChatMessage: {
                const int32_t number = chat::loadLE<int32_t>(packet.data() + 28);
                if (number >= 0 && static_cast<size_t>(number) < run_.sentAt.size()) {
                    const auto now = Clock::now();
                    run_.latenciesMs.push_back(
                        std::chrono::duration<double, std::milli>(now - run_.sentAt[number])
                            .count());
                    run_.lastDelivery = now;
                }
                break;
            }
            case chat::CommandId::LoginRefused:
            case chat::CommandId::ClientVersionRefused:
                std::fprintf(stderr, "client %d refused\n", index_);
                return false;
            default:
                break;
        }
        return true;
    }

    tcp::socket socket_;
    Run& run_;
    int index_;
    uint32_t chatterId_ = 0;
    PacketFramer framer_;
    std::deque<std::vector<uint8_t>> queue_;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        int number = 0;
        const bool isNumber =
            std::from_chars(value.data(), value.data() + value.size(), number).ec == std::errc() &&
            number > 0;
        if (option == "--address") {
            options.address = value;
        } else if (option == "--clients" && isNumber) {
            options.clients = number;
        } else if (option == "--rate" && isNumber) {
            options.rate = number;
        } else if (option == "--seconds" && isNumber) {
            options.seconds = number;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

// User and system CPU seconds of the calling thread.
struct CpuTime {
    double user = 0;
    double system = 0;
};
CpuTime threadCpuTime() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime), seconds(usage.ru_stime)};
}
// ... of the thread that runs `io`.
CpuTime threadCpuTime(asio::io_context& io) {
    std::promise<CpuTime> result;
    asio::post(io, [&] { result.set_value(threadCpuTime()); });
    return result.get_future().get();
}

void printCpuPerDelivery(const char* thread, CpuTime before, CpuTime after, size_t deliveries) {
    const double perDelivery = 1e6 / static_cast<double>(deliveries);
    const double user = (after.user - before.user) * perDelivery;
    const double system = (after.system - before.system) * perDelivery;
    std::printf("%s thread CPU per delivery: %.2f us (user %.2f us, system %.2f us)\n", thread,
                user + system, user, system);
}

double percentile(std::vector<double>& values, double p) {
    if (values.empty())
        return 0;
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(p * values.size()));
    std::nth_element(values.begin(), values.begin() + static_cast<ptrdiff_t>(at), values.end());
    return values[at];
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: server-load [--clients N] [--rate messages-per-second] "
                     "[--seconds S] [--address 127.0.0.4]\n");
        return 2;
    }
    raiseFileLimit(options.clients);

    asio::io_context serverIo(1);
    chatserver::ChatService service(loadConfig(options.clients), "", nullptr);
    chatserver::TcpServer::Options serverOptions;
    serverOptions.address = options.address;
    serverOptions.port = 0;
    chatserver::TcpServer server(serverIo, service, serverOptions, nullptr);
    std::thread serverThread([&] { serverIo.run(); });
    const tcp::endpoint endpoint(asio::ip::make_address(options.address), server.port());

    asio::io_context clientIo(1);
    Run run;
    const size_t messages = static_cast<size_t>(options.rate) * options.seconds;
    run.sentAt.resize(messages);
    run.latenciesMs.reserve(messages * options.clients);
    std::vector<std::shared_ptr<LoadClient>> clients;
    for (int i = 0; i < options.clients; ++i) {
        clients.push_back(std::make_shared<LoadClient>(clientIo, run, i));
        clients.back()->start(endpoint);
    }
    const auto setupStart = Clock::now();
    while (run.entered < clients.size() && Clock::now() - setupStart < std::chrono::seconds(60)) {
        clientIo.run_for(std::chrono::milliseconds(50));
    }
    std::printf("%zu of %d clients in the room after %.1f s\n", run.entered, options.clients,
                std::chrono::duration<double>(Clock::now() - setupStart).count());
    clientIo.run_for(std::chrono::milliseconds(500));  // let the entry notices settle
    run.latenciesMs.clear();
    const CpuTime serverBefore = threadCpuTime(serverIo);
    const CpuTime clientsBefore = threadCpuTime();

    // Sends in ticks of 10 ms, spreading `rate` messages a second evenly.
    const auto start = Clock::now();
    size_t sent = 0;
    asio::steady_timer ticker(clientIo);
    std::function<void()> tick = [&] {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const size_t due = std::min(messages, static_cast<size_t>(elapsed * options.rate) + 1);
        for (; sent < due; ++sent) {
            run.sentAt[sent] = Clock::now();
            clients[sent % clients.size()]->say(static_cast<int32_t>(sent));
        }
        if (sent < messages) {
            ticker.expires_after(std::chrono::milliseconds(10));
            ticker.async_wait([&](asio::error_code) { tick(); });
        }
    };
    tick();
    const size_t expected = messages * clients.size();
    const auto deadline = start + std::chrono::seconds(options.seconds + 5);
    while (run.latenciesMs.size() < expected && Clock::now() < deadline) {
        clientIo.run_for(std::chrono::milliseconds(50));
    }
    const double spanSeconds = std::chrono::duration<double>(run.lastDelivery - start).count();
    const CpuTime serverAfter = threadCpuTime(serverIo);
    const CpuTime clientsAfter = threadCpuTime();

    std::vector<double> latencies = run.latenciesMs;
    const double p50 = percentile(latencies, 0.50);
    const double p99 = percentile(latencies, 0.99);
    const double worst =
        latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end());
    std::printf(
        "clients %d, %zu messages at %d/s: %zu of %zu deliveries, %.0f deliveries/s, "
        "latency p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
        options.clients, messages, options.rate, run.latenciesMs.size(), expected,
        spanSeconds > 0 ? run.latenciesMs.size() / spanSeconds : 0.0, p50, p99, worst);
    if (!run.latenciesMs.empty()) {
        printCpuPerDelivery("server", serverBefore, serverAfter, run.latenciesMs.size());
        printCpuPerDelivery("clients'", clientsBefore, clientsAfter, run.latenciesMs.size());
    }

    clients.clear();
    clientIo.stop();
    asio::post(serverIo, [&] { server.stop(); });
    serverThread.join();
    return run.latenciesMs.size() == expected ? 0 : 1;
}
