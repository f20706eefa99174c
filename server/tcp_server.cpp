#include "tcp_server.h"

#include <sys/socket.h>
#include <sys/uio.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <deque>
#include <iostream>

#include "util/little_endian.h"

namespace chatserver {

using asio::ip::tcp;

void logToStderr(const std::string& message) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::cerr << stamp << ' ' << message << std::endl;
}

class TcpServer::Connection : public PacketSink, public std::enable_shared_from_this<Connection> {
  public:
    Connection(TcpServer& server, tcp::socket socket)
        : server_(server), socket_(std::move(socket)), idle_(server.io_) {
        asio::error_code ignored;
        const auto remote = socket_.remote_endpoint(ignored);
        peer_ = remote.address().to_string() + ":" + std::to_string(remote.port());
        uint32_t ip = 0;
        if (remote.address().is_v4()) {
            ip = chat::loadLE<uint32_t>(remote.address().to_v4().to_bytes().data());
        }
        socket_.set_option(tcp::no_delay(true), ignored);
        session_ = &server_.service_.open(*this, ip);
    }

    void start() {
        log("connected");
        lastReceived_ = std::chrono::steady_clock::now();
        watchIdle();
        read();
    }

    // Queues the packet; the socket is written once the handlers that are ready now have run
    // (flush()), so that packets that meet in one turn of the event loop leave in one system call.
    void send(SharedPacket packet) override {
        if (closed_ || failed_)
            return;
        queuedBytes_ += packet->size();
        if (queuedBytes_ > server_.options_.sendQueueLimit) {
            return closeLater("send queue above " +
                              std::to_string(server_.options_.sendQueueLimit) +
                              " bytes: the client does not read");
        }
        queue_.push_back(std::move(packet));
        if (!writing_ && !flushDue_) {
            flushDue_ = true;
            server_.flushSoon(shared_from_this());
        }
    }

    // Writes what the socket takes now, without an asynchronous operation (nearly always all of
    // it); an asynchronous write takes the rest.
    void flush() {
        flushDue_ = false;
        if (closed_ || failed_ || writing_ || queue_.empty())
            return;
        if (const int error = sendQueued())
            return close(std::strerror(error));
        if (!queue_.empty())
            write();
    }

    void close(const std::string& reason) {
        if (closed_)
            return;
        closed_ = true;
        // The last answers (a refused login, say) still go out when the socket takes them.
        if (!writing_ && !queue_.empty())
            sendQueued();
        server_.service_.close(*session_, reason);
        session_ = nullptr;
        idle_.cancel();
        asio::error_code ignored;
        socket_.shutdown(tcp::socket::shutdown_both, ignored);
        socket_.close(ignored);
        queue_.clear();
        server_.connections_.erase(shared_from_this());
    }

  private:
    // One non-blocking gathered send of the queue's front; 0, or the error number.
    int sendQueued() {
        std::array<iovec, kMaxGathered> pieces;
        const size_t count = std::min(queue_.size(), kMaxGathered);
        for (size_t i = 0; i < count; ++i) {
            const size_t skip = i == 0 ? frontWritten_ : 0;
            pieces[i] = {const_cast<uint8_t*>(queue_[i]->data()) + skip, queue_[i]->size() - skip};
        }
        msghdr message{};
        message.msg_iov = pieces.data();
        message.msg_iovlen = count;
        const ssize_t sent =
            ::sendmsg(socket_.native_handle(), &message, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : errno;
        consume(static_cast<size_t>(sent));
        return 0;
    }

    // Closing here could change the room that the caller of send() is walking: close afterwards.
    void closeLater(std::string reason) {
        failed_ = true;
        asio::post(server_.io_, [self = shared_from_this(), reason = std::move(reason)] {
            self->close(reason);
        });
    }

    void log(const std::string& text) const {
        if (server_.log_)
            server_.log_(peer_ + " " + text);
    }

    void read() {
        socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](
                                                           asio::error_code error, size_t n) {
            if (self->closed_)
                return;
            if (error) {
                return self->close(error == asio::error::eof ? "by the client" : error.message());
            }
            self->lastReceived_ = std::chrono::steady_clock::now();
            if (!self->session_->receive(std::span<const uint8_t>(self->buffer_.data(), n))) {
                return self->close(self->session_->closeReason());
            }
            self->read();
        });
    }

    // Wakes when the connection would have been silent for the idle time; reading does not touch
    // the timer, so a busy connection costs one wake-up per idle time.
    void watchIdle() {
        idle_.expires_at(lastReceived_ + server_.options_.idleTimeout);
        idle_.async_wait([self = shared_from_this()](asio::error_code error) {
            if (error || self->closed_)
                return;
            const auto timeout = self->server_.options_.idleTimeout;
            if (std::chrono::steady_clock::now() - self->lastReceived_ >= timeout) {
                return self->close("nothing received for " + std::to_string(timeout.count()) +
                                   " ms");
            }
            self->watchIdle();
        });
    }

    // Drops `n` sent bytes from the front of the queue.
    void consume(size_t n) {
        queuedBytes_ -= n;
        n += frontWritten_;
        while (!queue_.empty() && n >= queue_.front()->size()) {
            n -= queue_.front()->size();
            queue_.pop_front();
        }
        frontWritten_ = n;
    }

    // Gathers the queued packets into one asynchronous write.
    void write() {
        writing_ = true;
        gathered_.clear();
        const size_t count = std::min(queue_.size(), kMaxGathered);
        for (size_t i = 0; i < count; ++i)
            gathered_.push_back(asio::buffer(*queue_[i]) + (i == 0 ? frontWritten_ : 0));
        asio::async_write(socket_, gathered_,
                          [self = shared_from_this()](asio::error_code error, size_t n) {
                              self->writing_ = false;
                              if (self->closed_)
                                  return;
                              if (error)
                                  return self->close(error.message());
                              self->consume(n);
                              if (!self->queue_.empty())
                                  self->write();
                          });
    }

    static constexpr size_t kMaxGathered = 64;

    TcpServer& server_;
    tcp::socket socket_;
    std::string peer_;
    Session* session_ = nullptr;
    asio::steady_timer idle_;
    std::chrono::steady_clock::time_point lastReceived_;
    std::array<uint8_t, 65536> buffer_{};
    std::deque<SharedPacket> queue_;
    std::vector<asio::const_buffer> gathered_;
    size_t frontWritten_ = 0;  // bytes of the first queued packet already sent
    size_t queuedBytes_ = 0;
    bool writing_ = false;
    bool flushDue_ = false;
    bool failed_ = false;  // a close is on its way
    bool closed_ = false;
};

TcpServer::TcpServer(asio::io_context& io, ChatService& service, Options options,
                     ChatService::LogFunction log)
    : io_(io),
      service_(service),
      options_(std::move(options)),
      log_(std::move(log)),
      acceptor_(io),
      heartbeat_(io),
      serviceWork_(io) {
    const tcp::endpoint endpoint(asio::ip::make_address(options_.address), options_.port);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(asio::socket_base::max_listen_connections);
    if (log_)
        log_("listening on " + options_.address + ":" + std::to_string(port()));
    accept();
    scheduleHeartbeat();
    service_.onScheduleChanged([this] { scheduleServiceWork(); });
    scheduleServiceWork();
}

TcpServer::~TcpServer() {
    stop();
}

uint16_t TcpServer::port() const {
    return acceptor_.local_endpoint().port();
}

void TcpServer::stop() {
    if (stopped_)
        return;
    stopped_ = true;
    asio::error_code ignored;
    acceptor_.close(ignored);
    heartbeat_.cancel();
    serviceWork_.cancel();
    service_.onScheduleChanged(nullptr);
    while (!connections_.empty()) {
        (*connections_.begin())->close("server stopping");
    }
}

void TcpServer::flushSoon(std::shared_ptr<Connection> connection) {
    toFlush_.push_back(std::move(connection));
    if (toFlush_.size() > 1)
        return;
    // Runs after the handlers that are already queued: the reads of this turn of the loop.
    asio::post(io_, [this] {
        std::vector<std::shared_ptr<Connection>> connections;
        connections.swap(toFlush_);
        for (const auto& due : connections)
            due->flush();
    });
}

void TcpServer::accept() {
    acceptor_.async_accept([this](asio::error_code error, tcp::socket socket) {
        if (stopped_)
            return;
        if (!error) {
            auto connection = std::make_shared<Connection>(*this, std::move(socket));
            connections_.insert(connection);
            connection->start();
        } else if (log_) {
            log_("accept failed: " + error.message());
        }
        accept();
    });
}

void TcpServer::scheduleServiceWork() {
    const auto next = service_.nextScheduled();
    if (!next) {
        serviceWork_.cancel();
        return;
    }
    serviceWork_.expires_at(*next);
    serviceWork_.async_wait([this](asio::error_code error) {
        if (error || stopped_)
            return;
        service_.runScheduled(std::chrono::steady_clock::now());
        scheduleServiceWork();
    });
}

void TcpServer::scheduleHeartbeat() {
    heartbeat_.expires_after(options_.heartbeatInterval);
    heartbeat_.async_wait([this](asio::error_code error) {
        if (error || stopped_)
            return;
        service_.heartbeat();
        scheduleHeartbeat();
    });
}

}  // namespace chatserver
