#include "gps/serial.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

#include "core/log.h"
#include "gps/serial_rate_linux.h"

namespace celestra {

namespace {

// The POSIX rate constants (and the Linux ones above 38400) by bits per second.
speed_t standardSpeed(unsigned rate) {
    switch (rate) {
        case 50: return B50;
        case 75: return B75;
        case 110: return B110;
        case 134: return B134;
        case 150: return B150;
        case 200: return B200;
        case 300: return B300;
        case 600: return B600;
        case 1200: return B1200;
        case 1800: return B1800;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        case 230400: return B230400;
        case 460800: return B460800;
        case 500000: return B500000;
        case 576000: return B576000;
        case 921600: return B921600;
        case 1000000: return B1000000;
        default: return B0;
    }
}

std::string rateText(unsigned rate) { return "The serial device cannot run at " + std::to_string(rate) + " baud"; }

void drain(int fd) {
    char buffer[64];
    while (read(fd, buffer, sizeof buffer) > 0) {}
}

}  // namespace

CSerial::CSerial() = default;

CSerial::~CSerial() {
    if (IsOpen()) {
        debugLog("CSerial::~CSerial - Serial port not closed\n");
        CSerial::Close();
    }
}

int CSerial::Succeed() {
    lastError_ = 0;
    std::lock_guard<std::mutex> lock(mutex_);
    errorText_.clear();
    return 0;
}

int CSerial::Fail(int code, const char* diagnostic, std::string text) {
    if (diagnostic) debugLog("%s", diagnostic);
    lastError_ = code;
    std::lock_guard<std::mutex> lock(mutex_);
    errorText_ = text.empty() ? std::string(std::strerror(code)) : std::move(text);
    return code;
}

std::string CSerial::ErrorText() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return errorText_;
}

void CSerial::Wake(bool returnNow) {
    if (returnNow) maskChanged_ = true;
    if (wakePipe_[1] >= 0) {
        const char byte = 'w';
        // A full pipe already holds a wake-up; nothing to do then.
        [[maybe_unused]] ssize_t n = write(wakePipe_[1], &byte, 1);
    }
}

int CSerial::Open(const std::string& device) {
    if (IsOpen()) return Fail(EALREADY, "CSerial::Open - Port already opened\n", "The port is already open");

    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        return Fail(code, "CSerial::Open - Unable to open port\n",
                    "Unable to open " + device + ": " + std::strerror(code));
    }
    // Not shared: no second open of the terminal (TIOCEXCL), and no other
    // program that locks serial devices the customary way (flock).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno == EWOULDBLOCK ? EBUSY : errno;
        close(fd);
        return Fail(code, "CSerial::Open - Unable to open port\n", device + " is in use by another program");
    }
    termios t{};
    if (ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &t) != 0) {
        const int code = errno;
        close(fd);
        return Fail(code, "CSerial::Open - Unable to setup the COM-port\n", device + " is not a serial device");
    }
    // Raw bytes: no echo (which would talk back to the receiver), no line
    // editing, no CR/LF translation; the receiver line is local.
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0 || pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        const int code = errno;
        close(fd);
        return Fail(code, "CSerial::Open - Unable to setup the COM-port\n");
    }
    fd_ = fd;
    device_ = device;
    eventMask_ = kDefaultEventMask;
    recvArmed_ = true;
    maskChanged_ = false;
    hungUp_ = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        countersKnown_ = false;
    }
    bool available = false;
    LineErrors(true, available);  // counts so far are history
    return Succeed();
}

int CSerial::Close() {
    if (!IsOpen()) return Fail(EBADF, "CSerial::Close - Method called when device is not open\n");
    Wake(true);
    close(fd_);
    fd_ = -1;
    close(wakePipe_[0]);
    close(wakePipe_[1]);
    wakePipe_[0] = wakePipe_[1] = -1;
    return Succeed();
}

int CSerial::ApplyRate(unsigned rate) {
    const speed_t speed = standardSpeed(rate);
    if (speed != B0) {
        termios t{};
        if (tcgetattr(fd_, &t) != 0) return Fail(errno, "CSerial::Setup - Unable to obtain DCB information\n");
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        if (tcsetattr(fd_, TCSANOW, &t) != 0 || tcgetattr(fd_, &t) != 0 || cfgetospeed(&t) != speed)
            return Fail(EINVAL, "CSerial::Setup - Unable to set DCB information\n", rateText(rate));
        return 0;
    }
    unsigned actual = 0;
    const int code = setArbitrarySerialRate(fd_, rate, actual);
    // Within 2 %: what a UART's divider makes of such rates, and what the
    // far end tolerates.
    if (code != 0 || actual == 0 || (actual > rate ? actual - rate : rate - actual) * 50 > rate)
        return Fail(EINVAL, "CSerial::Setup - Unable to set DCB information\n", rateText(rate));
    return 0;
}

int CSerial::Setup(unsigned rate, int dataBits, EParity parity, EStopBits stopBits) {
    if (!IsOpen()) return Fail(EBADF, "CSerial::Setup - Device is not opened\n");
    termios t{};
    if (tcgetattr(fd_, &t) != 0) return Fail(errno, "CSerial::Setup - Unable to obtain DCB information\n");
    if (rate == 0) return Fail(EINVAL, "CSerial::Setup - Unable to set DCB information\n", rateText(rate));

    t.c_cflag &= ~CSIZE;
    switch (dataBits) {
        case 5: t.c_cflag |= CS5; break;
        case 6: t.c_cflag |= CS6; break;
        case 7: t.c_cflag |= CS7; break;
        case 8: t.c_cflag |= CS8; break;
        default:
            return Fail(EINVAL, "CSerial::Setup - Unable to set DCB information\n",
                        std::to_string(dataBits) + " data bits are not supported");
    }
    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (parity) {
        case EParNone: break;
        case EParOdd: t.c_cflag |= PARENB | PARODD; break;
        case EParEven: t.c_cflag |= PARENB; break;
        case EParMark: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
        case EParSpace: t.c_cflag |= PARENB | CMSPAR; break;
        default: return Fail(EINVAL, "CSerial::Setup - Unable to set DCB information\n", "Unknown parity");
    }
    if (parity == EParNone) t.c_iflag &= ~INPCK;
    else t.c_iflag |= INPCK;
    switch (stopBits) {
        case EStop1: t.c_cflag &= ~CSTOPB; break;
        case EStop2: t.c_cflag |= CSTOPB; break;
        default:
            return Fail(EINVAL, "CSerial::Setup - Unable to set DCB information\n",
                        "1.5 stop bits are not supported by serial devices here");
    }
    if (tcsetattr(fd_, TCSANOW, &t) != 0) return Fail(errno, "CSerial::Setup - Unable to set DCB information\n");
    if (ApplyRate(rate) != 0) return lastError_;
    return Succeed();
}

int CSerial::SetupHandshaking(int kind) {
    if (!IsOpen()) return Fail(EBADF, "CSerial::SetupHandshaking - Device is not opened\n");
    if (kind < EHandshakeOff || kind > EHandshakeSoftware) return Fail(EINVAL, nullptr);
    termios t{};
    if (tcgetattr(fd_, &t) != 0) return Fail(errno, "CSerial::SetupHandshaking - Unable to obtain DCB information\n");
    t.c_cflag &= ~CRTSCTS;
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (kind == EHandshakeHardware) t.c_cflag |= CRTSCTS;
    if (kind == EHandshakeSoftware) t.c_iflag |= IXON | IXOFF;
    if (tcsetattr(fd_, TCSANOW, &t) != 0)
        return Fail(errno, "CSerial::SetupHandshaking - Unable to set DCB information\n");
    if (kind == EHandshakeOff) {
        // Some receivers draw power from DTR/RTS. Terminals without modem
        // lines (pseudo-terminals) refuse this, which is fine.
        int lines = TIOCM_DTR | TIOCM_RTS;
        ioctl(fd_, TIOCMBIS, &lines);
    }
    return Succeed();
}

int CSerial::SetupReadTimeouts(int kind) {
    if (!IsOpen()) return Fail(EBADF, "CSerial::SetupReadTimeouts - Device is not opened\n");
    if (kind != EReadTimeoutNonblocking && kind != EReadTimeoutBlocking) return Fail(EINVAL, nullptr);
    termios t{};
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || tcgetattr(fd_, &t) != 0)
        return Fail(errno, "CSerial::SetupReadTimeouts - Unable to obtain timeout information\n");
    const bool blocking = kind == EReadTimeoutBlocking;
    t.c_cc[VMIN] = blocking ? 1 : 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd_, TCSANOW, &t) != 0 ||
        fcntl(fd_, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK)) != 0)
        return Fail(errno, "CSerial::SetupReadTimeouts - Unable to set timeout information\n");
    return Succeed();
}

int CSerial::SetMask(uint32_t mask) {
    if (!IsOpen()) return Fail(EBADF, "CSerial::SetMask - Device is not opened\n");
    if (mask & ~uint32_t(EEventRecv | EEventSend | EEventBreak | EEventError))
        return Fail(EINVAL, "CSerial::SetMask - Unable to set event mask\n");
    eventMask_ = mask;
    Wake(true);
    return Succeed();
}

uint32_t CSerial::GetEventMask() {
    if (!IsOpen()) {
        Fail(EBADF, "CSerial::GetEventMask - Device is not opened\n");
        return 0;
    }
    Succeed();
    return eventMask_;
}

uint32_t CSerial::LineErrors(bool consume, bool& available) {
    serial_icounter_struct counts{};
    available = fd_ >= 0 && ioctl(fd_, TIOCGICOUNT, &counts) == 0;
    if (!available) return 0;
    const uint32_t now[5] = {uint32_t(counts.brk), uint32_t(counts.frame), uint32_t(counts.overrun),
                             uint32_t(counts.parity), uint32_t(counts.buf_overrun)};
    std::lock_guard<std::mutex> lock(mutex_);
    uint32_t errors = 0;
    if (countersKnown_) {
        if (now[0] != counters_[0]) errors |= EErrorBreak;
        if (now[1] != counters_[1]) errors |= EErrorFrame;
        if (now[2] != counters_[2]) errors |= EErrorOverrun;
        if (now[3] != counters_[3]) errors |= EErrorParity;
        if (now[4] != counters_[4]) errors |= EErrorRxOver;
    }
    if (consume || !countersKnown_) {
        std::memcpy(counters_, now, sizeof now);
        countersKnown_ = true;
    }
    return errors;
}

int CSerial::WaitEvent(uint32_t& events) {
    events = EEventNone;
    if (!IsOpen()) return Fail(EBADF, "CSerial::WaitEvent - Device is not opened\n");
    while (true) {
        if (hungUp_) return Fail(EIO, "CSerial::WaitEvent - Unable to wait for COM event\n", device_ + " went away");
        const uint32_t mask = eventMask_;
        pollfd fds[2] = {};
        fds[0].fd = fd_;
        if ((mask & EEventRecv) && recvArmed_) fds[0].events |= POLLIN;
        if (mask & EEventSend) fds[0].events |= POLLOUT;
        if (mask & (EEventBreak | EEventError)) fds[0].events |= POLLPRI;
        fds[1].fd = wakePipe_[0];
        fds[1].events = POLLIN;
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return Fail(errno, "CSerial::WaitEvent - Unable to wait for COM event\n");
        }
        if (fds[1].revents) {
            drain(wakePipe_[0]);
            if (maskChanged_.exchange(false)) return Succeed();
        }
        const short got = fds[0].revents;
        if (got & (POLLHUP | POLLERR | POLLNVAL)) {
            hungUp_ = true;
            if (got & POLLIN) events |= (mask & EEventRecv);
            events |= (mask & EEventError);
            if (!events) continue;  // reported as a failed wait on the next turn
            recvArmed_ = false;
            return Succeed();
        }
        if (got & POLLIN) {
            events |= EEventRecv;
            recvArmed_ = false;
        }
        if (got & POLLOUT) events |= EEventSend;
        if (mask & (EEventBreak | EEventError)) {
            bool available = false;
            const uint32_t errors = LineErrors(false, available);
            if ((errors & EErrorBreak) && (mask & EEventBreak)) events |= EEventBreak;
            if ((errors & ~uint32_t(EErrorBreak)) && (mask & EEventError)) events |= EEventError;
        }
        if (events) return Succeed();
    }
}

int CSerial::Read(void* buffer, size_t size, size_t& read) {
    read = 0;
    if (!IsOpen()) return Fail(EBADF, "CSerial::Read - Device is not opened\n");
    ssize_t n;
    do { n = ::read(fd_, buffer, size); } while (n < 0 && errno == EINTR);
    // Whatever is left is reported again by the next wait.
    if (!recvArmed_.exchange(true)) Wake(false);
    if (n < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) return Succeed();
        return Fail(errno, "CSerial::Read - Unable to read the data\n");
    }
    read = static_cast<size_t>(n);
    return Succeed();
}

int CSerial::Write(const void* data, size_t size, size_t& written) {
    written = 0;
    if (!IsOpen()) return Fail(EBADF, "CSerial::Write - Device is not opened\n");
    const char* bytes = static_cast<const char*>(data);
    while (written < size) {
        const ssize_t n = ::write(fd_, bytes + written, size - written);
        if (n >= 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, -1) >= 0 && !(p.revents & (POLLERR | POLLHUP | POLLNVAL))) continue;
        }
        return Fail(errno ? errno : EIO, "CSerial::Write - Unable to write the data\n");
    }
    return Succeed();
}

int CSerial::Write(const std::string& text) {
    size_t written = 0;
    return Write(text.data(), text.size(), written);
}

int CSerial::Purge() {
    if (!IsOpen()) return Fail(EBADF, "CSerial::Purge - Device is not opened\n");
    if (tcflush(fd_, TCIOFLUSH) != 0) return Fail(errno, nullptr);
    return Succeed();
}

int CSerial::Break() {
    if (!IsOpen()) return Fail(EBADF, "CSerial::Break - Device is not opened\n");
    if (tcsendbreak(fd_, 0) != 0) return Fail(errno, nullptr);
    return Succeed();
}

uint32_t CSerial::GetError() {
    if (!IsOpen()) {
        Fail(EBADF, "CSerial::GetError - Device is not opened\n");
        return 0;
    }
    bool available = false;
    uint32_t errors = LineErrors(true, available);
    // Devices without counters answer ENOTTY or EINVAL: they report no line
    // errors. Anything else means the status could not be read.
    if (!available && errno != ENOTTY && errno != EINVAL) {
        Fail(errno, "CSerial::GetError - Unable to obtain COM status\n");
        return hungUp_ ? uint32_t(EErrorHangup) : 0;
    }
    if (hungUp_) errors |= EErrorHangup;
    Succeed();
    return errors;
}

// ---------------------------------------------------------------------------

CSerialEx::~CSerialEx() {
    if (IsOpen()) {
        debugLog("CSerialEx::~CSerialEx - Serial port not closed\n");
        CSerialEx::Close();
    }
}

int CSerialEx::Open(const std::string& device, bool startListener) {
    const int code = CSerial::Open(device);
    if (code != 0 || !startListener) return code;
    return StartListener();
}

int CSerialEx::Close() {
    if (IsOpen()) StopListener();
    return CSerial::Close();
}

int CSerialEx::StartListener() {
    if (thread_.joinable()) {
        if (!finished_) return Succeed();
        thread_.join();  // it ended on its own (device gone): start afresh
    }
    stop_ = false;
    finished_ = false;
    listenerResult_ = 0;
    try {
        thread_ = std::thread(&CSerialEx::ThreadProc, this);
    } catch (const std::system_error& e) {
        return Fail(e.code().value(), "CSerialEx::StartListener - Unable to start COMM watcher thread\n");
    }
    return Succeed();
}

int CSerialEx::StopListener(unsigned timeoutMs) {
    if (!thread_.joinable()) return Succeed();
    stop_ = true;
    Wake(true);  // the pending wait returns
    const bool inTime = WaitForListenerEnd(timeoutMs);
    // Joined in any case: the thread uses this object.
    thread_.join();
    stop_ = false;
    return inTime ? Succeed() : Fail(ETIMEDOUT, nullptr);
}

bool CSerialEx::WaitForListenerEnd(unsigned timeoutMs) {
    std::unique_lock<std::mutex> lock(finishedMutex_);
    return finishedCv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return finished_.load(); });
}

void CSerialEx::ThreadProc() {
    int result = 0;
    while (true) {
        uint32_t events = 0;
        const int code = WaitEvent(events);
        if (code != 0) {
            result = code;
            break;
        }
        if (stop_) break;
        if (events) {
            const uint32_t errors = GetError();
            if (GetLastError() != 0) debugLog("CSerialEx::ThreadProc - Unable to obtain COM status\n");
            OnEvent(events, errors);
        }
    }
    listenerResult_ = result;
    std::lock_guard<std::mutex> lock(finishedMutex_);
    finished_ = true;
    finishedCv_.notify_all();
}

}  // namespace celestra
