// A peer on gpsd's protocol that never pauses: on a loopback port it greets
// with VERSION and then sends TPV reports with a fix as fast as the client
// takes them, until the client goes, the cap on bytes is reached (then it
// holds the connection open, idle) or 30 s have passed (then it closes). It counts what it
// sent, so a test can tell a client that reads without bound from one that
// takes its share and moves on.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace celestra::test {

class FloodingGpsd {
public:
    explicit FloodingGpsd(uint64_t capBytes = uint64_t{256} << 20) : cap_(capBytes) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
            return;
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FloodingGpsd() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }
    uint64_t sent() const { return sent_; }
    bool clientGone() const { return gone_; }

private:
    // One connection at a time (a probe first, then the reader), each
    // flooded until it goes.
    void serve() {
        using clock = std::chrono::steady_clock;
        const auto end = clock::now() + std::chrono::seconds(30);
        while (!stop_ && clock::now() < end) {
            pollfd p{listener_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) continue;
            // A deep send buffer (forced where allowed): the flood is ahead
            // of any reader, and a test can let megabytes wait unread.
            const int depth = 8 << 20;
            if (::setsockopt(fd, SOL_SOCKET, SO_SNDBUFFORCE, &depth, sizeof depth) != 0)
                ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &depth, sizeof depth);
            gone_ = false;
            flood(fd, end);
            gone_ = true;
            ::close(fd);
        }
    }

    void flood(int fd, std::chrono::steady_clock::time_point end) {
        std::string block = "{\"class\":\"VERSION\",\"release\":\"3.22\"}\n";
        const std::string tpv =
            "{\"class\":\"TPV\",\"mode\":3,\"time\":\"2026-12-08T12:35:19.000Z\",\"lat\":48.1173,"
            "\"lon\":-11.516667,\"altMSL\":545.4,\"speed\":11.5,\"track\":84.4}\n";
        while (block.size() < 256 * 1024) block += tpv;
        size_t offset = 0;
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            if (sent_ >= cap_) {  // hold the line, idle, until the client goes or the test ends
                char c;
                if (::recv(fd, &c, 1, 0) == 0) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }
            pollfd out{fd, POLLOUT, 0};
            if (::poll(&out, 1, 50) <= 0) continue;
            if (out.revents & (POLLERR | POLLHUP)) return;
            const ssize_t n = ::send(fd, block.data() + offset, block.size() - offset, MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                return;
            }
            sent_ += static_cast<uint64_t>(n);
            offset = (offset + static_cast<size_t>(n)) % block.size();
            if (offset == 0 && block.front() == '{' && block.compare(0, 17, "{\"class\":\"VERSIO") == 0) {
                block.erase(0, block.find('\n') + 1);  // VERSION once per connection
                block += tpv;
            }
        }
    }

    uint64_t cap_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> sent_{0};
    std::atomic<bool> gone_{false};
};

}  // namespace celestra::test
