// A real gpsd for the tests: found where Debian's package installs it, run
// in the foreground on a free loopback port reading one device, and stopped
// (and reaped) when the object goes.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace celestra::test {

inline std::string findGpsd() {
    for (const char* path : {"/usr/sbin/gpsd", "/usr/local/sbin/gpsd", "/usr/bin/gpsd"})
        if (access(path, X_OK) == 0) return path;
    return "";
}

inline int freeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0)
        port = ntohs(addr.sin_port);
    close(fd);
    return port;
}

// gpsd -N -n -b -S PORT DEVICE: foreground, polling the device at once (it
// drops root before opening it otherwise), read-only.
class GpsdProcess {
public:
    GpsdProcess(const std::string& gpsd, int port, const std::string& device) {
        m_pid = fork();
        if (m_pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            const std::string portText = std::to_string(port);
            execl(gpsd.c_str(), "gpsd", "-N", "-n", "-b", "-S", portText.c_str(), device.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~GpsdProcess() {
        using namespace std::chrono_literals;
        if (m_pid > 0 && Running()) {
            kill(m_pid, SIGTERM);
            for (int i = 0; i < 200 && Running(); ++i) std::this_thread::sleep_for(10ms);
            if (Running()) kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    GpsdProcess(const GpsdProcess&) = delete;
    GpsdProcess& operator=(const GpsdProcess&) = delete;

    bool Running() {
        if (m_pid <= 0 || m_exited) return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) m_exited = true;
        return !m_exited;
    }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
};

}  // namespace celestra::test
