#include "tests/install/desktop_session.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>

#include "tests/support/test_support.h"

namespace celestra::test {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Session::Session() : root(makeTempDir()), home(root / "home") {
    fs::create_directories(home);
    fs::create_directories(root / "runtime");
    fs::permissions(root / "runtime", fs::perms::owner_all);
    fs::create_directories(root / "no-data-dirs");
    environment = {"HOME=" + home.string(),
                   "PATH=/usr/bin:/bin",
                   "LANG=C.UTF-8",
                   "XDG_RUNTIME_DIR=" + (root / "runtime").string(),
                   "XDG_DATA_DIRS=" + (root / "no-data-dirs").string(),
                   "QT_QPA_PLATFORM=offscreen",
                   "CELESTRA_DEBUG=1"};
}

void Session::set(const std::string& name, const std::string& value) {
    std::erase_if(environment, [&](const std::string& e) { return e.rfind(name + "=", 0) == 0; });
    if (!value.empty()) environment.push_back(name + "=" + value);
}

Session::~Session() {
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

namespace {

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int outFd, int errFd) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::dup2(outFd, 1);
    ::dup2(errFd, 2);
    std::vector<char*> args, env;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : environment) env.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    env.push_back(nullptr);
    ::execve(args[0], args.data(), env.data());
    ::_exit(127);
}

}  // namespace

ProcessResult run(const std::vector<std::string>& argv, const Session& session) {
    const fs::path out = session.root / "out", err = session.root / "err";
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t pid = spawn(argv, session.environment, outFd, errFd);
    ::close(outFd);
    ::close(errFd);
    ProcessResult r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

ProcessResult shell(const std::string& command, const Session& session) {
    return run({"/bin/sh", "-c", command}, session);
}

DesktopProcess::DesktopProcess(const fs::path& program, const Session& session,
                               const std::vector<std::string>& arguments) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
    std::vector<std::string> argv{program.string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    pid_ = spawn(argv, session.environment, devNull, pipeFds[1]);
    ::close(devNull);
    ::close(pipeFds[1]);
    stderrFd_ = pipeFds[0];
}

DesktopProcess::~DesktopProcess() {
    if (pid_ > 0 && !ended_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (stderrFd_ >= 0) ::close(stderrFd_);
}

bool DesktopProcess::waitFor(const std::string& text, int seconds) {
    using Clock = std::chrono::steady_clock;
    const auto limit = Clock::now() + std::chrono::seconds(seconds);
    char buffer[4096];
    while (stderr_.find(text) == std::string::npos) {
        if (stderrFd_ < 0 || Clock::now() >= limit) return false;
        pollfd p{stderrFd_, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0) continue;
        const ssize_t n = ::read(stderrFd_, buffer, sizeof buffer);
        if (n <= 0) return stderr_.find(text) != std::string::npos;  // it ended
        stderr_.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

void DesktopProcess::signal(int number) {
    if (pid_ > 0 && !ended_) ::kill(pid_, number);
}

bool DesktopProcess::waitForExit(int seconds) {
    if (pid_ <= 0) return false;
    if (ended_) return true;
    int status = 0;
    const int pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    if (pidFd >= 0) {
        pollfd p{pidFd, POLLIN, 0};
        if (::poll(&p, 1, seconds * 1000) == 1) ended_ = ::waitpid(pid_, &status, 0) == pid_;
        ::close(pidFd);
    } else {
        ended_ = ::waitpid(pid_, &status, 0) == pid_;  // no pidfd: wait, and let the time tell
    }
    if (ended_ && WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
    if (ended_) {
        // Everything it wrote before it ended is in the pipe now.
        char buffer[4096];
        ssize_t n;
        while (stderrFd_ >= 0 && (n = ::read(stderrFd_, buffer, sizeof buffer)) > 0)
            stderr_.append(buffer, static_cast<size_t>(n));
    }
    return ended_;
}

}  // namespace celestra::test
