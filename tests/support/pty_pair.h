// A pseudo-terminal pair for the serial tests: the test plays the GPS
// receiver on the master side, the code under test opens the slave path.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace celestra::test {

class PtyPair {
public:
    PtyPair() {
        int slave = -1;
        if (openpty(&master_, &slave, nullptr, nullptr, nullptr) != 0) return;
        // Raw from the start: no echo back to the "receiver", no line buffering.
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
        slavePath_ = ttyname(slave);
        // Held open so that the master never sees a hang-up between users.
        slave_ = slave;
    }
    ~PtyPair() {
        StopFeeding();
        CloseMaster();
        if (slave_ >= 0) close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }
    int master() const { return master_; }
    int slave() const { return slave_; }

    bool Write(const std::string& bytes) const {
        return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // What arrived on the master side within `ms` milliseconds.
    std::string ReadMaster(int ms) const {
        std::string out;
        pollfd p{master_, POLLIN, 0};
        while (poll(&p, 1, ms) > 0 && (p.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            out.append(buffer, static_cast<size_t>(n));
            ms = 20;
        }
        return out;
    }
    void CloseMaster() {
        if (master_ >= 0) close(master_);
        master_ = -1;
    }
    void CloseSlave() {
        if (slave_ >= 0) close(slave_);
        slave_ = -1;
    }

    // Writes the sentences again and again, one batch every `periodMs`, until stopped.
    void StartFeeding(std::vector<std::string> sentences, int periodMs) {
        StopFeeding();
        feeding_ = true;
        feeder_ = std::thread([this, sentences = std::move(sentences), periodMs] {
            while (feeding_) {
                for (const std::string& s : sentences) Write(s);
                for (int waited = 0; waited < periodMs && feeding_; waited += 10)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    void StopFeeding() {
        feeding_ = false;
        if (feeder_.joinable()) feeder_.join();
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::atomic<bool> feeding_{false};
    std::thread feeder_;
};

// "$" + body + "*hh\r\n" with the checksum computed here, independently of the parser.
inline std::string nmeaSentence(const std::string& body, bool lowerCase = false) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    const char* digits = lowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
    return "$" + body + "*" + digits[sum >> 4] + digits[sum & 15] + "\r\n";
}

}  // namespace celestra::test
