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
        if (openpty(&m_master, &slave, nullptr, nullptr, nullptr) != 0) return;
        // Raw from the start: no echo back to the "receiver", no line buffering.
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
        m_slavePath = ttyname(slave);
        // Held open so that the master never sees a hang-up between users.
        m_slave = slave;
    }
    ~PtyPair() {
        StopFeeding();
        CloseMaster();
        if (m_slave >= 0) close(m_slave);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_master >= 0 && !m_slavePath.empty(); }
    const std::string& slavePath() const { return m_slavePath; }
    int master() const { return m_master; }
    int slave() const { return m_slave; }

    bool Write(const std::string& bytes) const {
        return ::write(m_master, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // What arrived on the master side within `ms` milliseconds.
    std::string ReadMaster(int ms) const {
        std::string out;
        pollfd p{m_master, POLLIN, 0};
        while (poll(&p, 1, ms) > 0 && (p.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0) break;
            out.append(buffer, static_cast<size_t>(n));
            ms = 20;
        }
        return out;
    }
    void CloseMaster() {
        if (m_master >= 0) close(m_master);
        m_master = -1;
    }
    void CloseSlave() {
        if (m_slave >= 0) close(m_slave);
        m_slave = -1;
    }

    // Writes the sentences again and again, one batch every `periodMs`, until stopped.
    void StartFeeding(std::vector<std::string> sentences, int periodMs) {
        StopFeeding();
        m_feeding = true;
        m_feeder = std::thread([this, sentences = std::move(sentences), periodMs] {
            while (m_feeding) {
                for (const std::string& s : sentences) Write(s);
                for (int waited = 0; waited < periodMs && m_feeding; waited += 10)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    void StopFeeding() {
        m_feeding = false;
        if (m_feeder.joinable()) m_feeder.join();
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::atomic<bool> m_feeding{false};
    std::thread m_feeder;
};

// "$" + body + "*hh\r\n" with the checksum computed here, independently of the parser.
inline std::string nmeaSentence(const std::string& body, bool lowerCase = false) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    const char* digits = lowerCase ? "0123456789abcdef" : "0123456789ABCDEF";
    return "$" + body + "*" + digits[sum >> 4] + digits[sum & 15] + "\r\n";
}

}  // namespace celestra::test
