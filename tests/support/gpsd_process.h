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
        pid_ = fork();
        if (pid_ == 0) {
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
        if (pid_ > 0 && Running()) {
            kill(pid_, SIGTERM);
            for (int i = 0; i < 200 && Running(); ++i) std::this_thread::sleep_for(10ms);
            if (Running()) kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    GpsdProcess(const GpsdProcess&) = delete;
    GpsdProcess& operator=(const GpsdProcess&) = delete;

    bool Running() {
        if (pid_ <= 0 || exited_) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) exited_ = true;
        return !exited_;
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
};

}  // namespace celestra::test
