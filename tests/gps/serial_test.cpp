// The serial port through a pseudo-terminal pair: the test writes on the
// master side what a GPS receiver would send.
#include "gps/serial.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <vector>

#include "core/log.h"
#include "gps/gps_source.h"
#include "tests/support/pty_pair.h"

namespace celestra {
namespace {

using namespace std::chrono_literals;
using test::nmeaSentence;
using test::PtyPair;

// Collects diagnostics for the duration of a test.
struct CapturedLog {
    CapturedLog() {
        previous = setLogSink([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex);
            lines.push_back(line);
        });
    }
    ~CapturedLog() { setLogSink(previous); }
    bool Has(const std::string& line) {
        std::lock_guard<std::mutex> lock(mutex);
        for (const auto& l : lines)
            if (l == line) return true;
        return false;
    }
    LogSink previous;
    std::mutex mutex;
    std::vector<std::string> lines;
};

// Records what the listener reports; the test thread reads the data.
class RecordingPort : public CSerialEx {
public:
    ~RecordingPort() override {
        if (IsOpen()) Close();
    }
    // Waits for the n-th report (counted from the start).
    bool WaitForReports(int n, std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, timeout, [&] { return reports >= n; });
    }
    int Reports() {
        std::lock_guard<std::mutex> lock(mutex_);
        return reports;
    }
    uint32_t lastEvents = 0, lastErrors = 0;

protected:
    void OnEvent(uint32_t events, uint32_t errors) override {
        std::lock_guard<std::mutex> lock(mutex_);
        lastEvents = events;
        lastErrors = errors;
        ++reports;
        cv_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    int reports = 0;
};

// Waits until the terminal has bytes to read (any descriptor of it will do).
bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) == 1;
}

const std::string kGga = nmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");

TEST(Serial, OpeningAnOpenPortFailsAndLeavesItOpen) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    CapturedLog log;
    CSerial port;
    ASSERT_EQ(port.Open(pty.slavePath()), 0) << port.ErrorText();
    EXPECT_EQ(port.Open(pty.slavePath()), EALREADY);
    EXPECT_EQ(port.GetLastError(), EALREADY);
    EXPECT_TRUE(log.Has("CSerial::Open - Port already opened\n"));
    EXPECT_TRUE(port.IsOpen());
    // Still usable.
    ASSERT_TRUE(pty.Write("x"));
    ASSERT_TRUE(WaitReadable(pty.slave(), 5000));
    char c = 0;
    size_t got = 0;
    EXPECT_EQ(port.Read(&c, 1, got), 0);
    EXPECT_EQ(got, 1u);
    // A second object cannot share the device.
    CSerial other;
    EXPECT_EQ(other.Open(pty.slavePath()), EBUSY);
    EXPECT_FALSE(other.IsOpen());
}

TEST(Serial, FailuresGiveTheirCodesAndDiagnostics) {
    CapturedLog log;
    CSerial port;
    EXPECT_EQ(port.Open("/nonexistent/ttyUSB9"), ENOENT);
    EXPECT_TRUE(log.Has("CSerial::Open - Unable to open port\n"));
    EXPECT_NE(port.ErrorText().find("/nonexistent/ttyUSB9"), std::string::npos);
    EXPECT_EQ(port.Open("/dev/null"), ENOTTY);  // not a terminal
    EXPECT_TRUE(log.Has("CSerial::Open - Unable to setup the COM-port\n"));
    EXPECT_FALSE(port.IsOpen());

    size_t count = 0;
    char buffer[4];
    uint32_t events = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, count), EBADF);
    EXPECT_EQ(port.Write("x"), EBADF);
    EXPECT_EQ(port.WaitEvent(events), EBADF);
    EXPECT_EQ(port.Setup(4800), EBADF);
    EXPECT_EQ(port.SetupHandshaking(0), EBADF);
    EXPECT_EQ(port.Close(), EBADF);
    EXPECT_EQ(port.GetEventMask(), 0u);
    EXPECT_EQ(port.GetLastError(), EBADF);
    for (const char* line : {"CSerial::Read - Device is not opened\n", "CSerial::Write - Device is not opened\n",
                             "CSerial::WaitEvent - Device is not opened\n", "CSerial::Setup - Device is not opened\n",
                             "CSerial::SetupHandshaking - Device is not opened\n",
                             "CSerial::Close - Method called when device is not open\n",
                             "CSerial::GetEventMask - Device is not opened\n"}) {
        EXPECT_TRUE(log.Has(line)) << line;
    }
}

TEST(Serial, SetupAndHandshakingChangeTheLineAndRefuseWhatTheyCannotDo) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    CSerial port;
    ASSERT_EQ(port.Open(pty.slavePath()), 0);
    ASSERT_EQ(port.Setup(9600, 7, CSerial::EParEven, CSerial::EStop2), 0) << port.ErrorText();
    termios t{};
    ASSERT_EQ(tcgetattr(pty.slave(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B9600);
    // A pseudo-terminal always keeps 8 bits without parity; what it keeps:
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_iflag & INPCK);
    EXPECT_FALSE(t.c_lflag & ECHO);  // raw: nothing is sent back to the receiver

    ASSERT_EQ(setupGpsPort(port, 4800), 0);
    ASSERT_EQ(port.SetupHandshaking(CSerial::EHandshakeSoftware), 0);
    ASSERT_EQ(tcgetattr(pty.slave(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B4800);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_iflag & INPCK);
    EXPECT_TRUE((t.c_iflag & IXON) && (t.c_iflag & IXOFF));

    EXPECT_EQ(port.SetupHandshaking(3), EINVAL);
    EXPECT_EQ(port.SetupHandshaking(-1), EINVAL);
    termios after{};
    ASSERT_EQ(tcgetattr(pty.slave(), &after), 0);
    EXPECT_TRUE((after.c_iflag & IXON) && (after.c_iflag & IXOFF)) << "a refused kind changes nothing";
    EXPECT_EQ(port.SetupReadTimeouts(2), EINVAL);

    EXPECT_EQ(port.Setup(4800, 9), EINVAL);
    EXPECT_EQ(port.Setup(4800, 8, CSerial::EParNone, CSerial::EStop1_5), EINVAL);
    EXPECT_EQ(port.Setup(0), EINVAL);
    EXPECT_NE(port.ErrorText().find(" 0 baud"), std::string::npos) << port.ErrorText();
}

TEST(Serial, EveryRateOfTheBaudTableCanBeSet) {
    // 14400, 56000, 128000 and 256000 are not POSIX rates: they go through
    // the kernel's arbitrary-rate interface, which a pseudo-terminal accepts.
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    CSerial port;
    ASSERT_EQ(port.Open(pty.slavePath()), 0);
    for (int i = 0; i < kGpsBaudRateCount; ++i) {
        EXPECT_EQ(port.Setup(kGpsBaudRates[i]), 0) << kGpsBaudRates[i] << ": " << port.ErrorText();
    }
}

TEST(Serial, ReadWithNothingWaitingReturnsAtOnceAndBlockingReadWaits) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    CSerial port;
    ASSERT_EQ(port.Open(pty.slavePath()), 0);
    char buffer[100];
    size_t got = 99;
    // A read that blocked would never return here: nothing is ever written.
    auto empty = std::async(std::launch::async, [&] { return port.Read(buffer, sizeof buffer, got); });
    const bool returned = empty.wait_for(10s) == std::future_status::ready;
    if (!returned) pty.Write("x");  // lets the wrongly blocked read end
    ASSERT_TRUE(returned);
    EXPECT_EQ(empty.get(), 0);
    EXPECT_EQ(got, 0u);

    // A blocking read returns only once bytes arrive.
    ASSERT_EQ(port.SetupReadTimeouts(CSerial::EReadTimeoutBlocking), 0);
    auto blocked = std::async(std::launch::async, [&] { return port.Read(buffer, sizeof buffer, got); });
    EXPECT_EQ(blocked.wait_for(100ms), std::future_status::timeout);
    ASSERT_TRUE(pty.Write("abc"));
    ASSERT_EQ(blocked.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(blocked.get(), 0);
    EXPECT_GE(got, 1u);

    // Write reaches the other end.
    EXPECT_EQ(port.Write("$PXYZ\r\n"), 0);
    EXPECT_EQ(pty.ReadMaster(500), "$PXYZ\r\n");
    EXPECT_EQ(port.Purge(), 0);
}

TEST(SerialListener, BytesFromTheReceiverArriveAsSentences) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    RecordingPort port;
    ASSERT_EQ(port.Open(pty.slavePath(), true), 0) << port.ErrorText();
    ASSERT_EQ(setupGpsPort(port, 4800), 0);
    EXPECT_TRUE(port.IsListening());
    EXPECT_EQ(port.GetEventMask(), CSerial::kDefaultEventMask);

    CNmeaReceiver receiver;
    ASSERT_TRUE(pty.Write(kGga + kGga));
    ASSERT_TRUE(port.WaitForReports(1, 2s));
    EXPECT_TRUE(port.lastEvents & CSerial::EEventRecv);
    EXPECT_EQ(port.lastErrors, 0u);
    // Until the data is read, the listener does not report it again.
    EXPECT_FALSE(port.WaitForReports(2, 100ms));
    EXPECT_EQ(port.Reports(), 1);

    int decoded = 0;
    for (int turn = 0; turn < 20 && !receiver.Received().latitudeValid; ++turn) {
        ASSERT_EQ(receiver.ReadFrom(port, &decoded), 0);
        if (!receiver.Received().latitudeValid) port.WaitForReports(port.Reports() + 1, 200ms);
    }
    EXPECT_TRUE(receiver.Received().latitudeValid);
    EXPECT_NEAR(receiver.Received().latitudeDegrees, 48.1173, 1e-9);

    // New data after the read is reported again.
    const int before = port.Reports();
    ASSERT_TRUE(pty.Write(kGga));
    EXPECT_TRUE(port.WaitForReports(before + 1, 2s));

    // Stopping wakes the listener, which waits without time-out: without the
    // wake-up StopListener would give ETIMEDOUT.
    EXPECT_EQ(port.StopListener(10000), 0);
    EXPECT_FALSE(port.IsListening());
    EXPECT_EQ(port.Close(), 0);
}

TEST(SerialListener, AShortBurstYieldsNoSentenceUntilMoreDataComes) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    RecordingPort port;
    ASSERT_EQ(port.Open(pty.slavePath(), true), 0);
    CNmeaReceiver receiver;
    const std::string burst = nmeaSentence("GPGLL,4916.45,N,12311.12,W,225444,A,A,EXTRA");
    ASSERT_EQ(burst.size(), 49u);

    ASSERT_TRUE(pty.Write(burst));
    for (int turn = 0; turn < 100 && receiver.Buffer().size() < burst.size(); ++turn) {
        port.WaitForReports(port.Reports() + 1, 20ms);
        int decoded = -1;
        ASSERT_EQ(receiver.ReadFrom(port, &decoded), 0);
        ASSERT_EQ(decoded, 0);
    }
    EXPECT_EQ(receiver.Buffer(), burst);
    EXPECT_FALSE(receiver.Received().latitudeValid);

    ASSERT_TRUE(pty.Write("$G"));
    port.WaitForReports(port.Reports() + 1, 1000ms);
    int decoded = 0;
    for (int turn = 0; turn < 50 && !decoded; ++turn) {
        ASSERT_EQ(receiver.ReadFrom(port, &decoded), 0);
        if (!decoded) WaitReadable(pty.slave(), 200);
    }
    EXPECT_EQ(decoded, 1);
    EXPECT_TRUE(receiver.Received().latitudeValid);
    EXPECT_EQ(receiver.Buffer(), "$G");
}

TEST(SerialListener, AReceiverThatGoesAwayIsReportedAndEndsTheListener) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    RecordingPort port;
    ASSERT_EQ(port.Open(pty.slavePath(), true), 0);
    pty.CloseMaster();
    ASSERT_TRUE(port.WaitForReports(1, 2s));
    EXPECT_TRUE(port.lastEvents & CSerial::EEventError);
    EXPECT_TRUE(port.lastErrors & CSerial::EErrorHangup);
    EXPECT_TRUE(port.WaitForListenerEnd(10000));
    EXPECT_FALSE(port.IsListening());
    EXPECT_EQ(port.ListenerResult(), EIO);
    EXPECT_EQ(port.Close(), 0);
}

TEST(SerialListener, ChangingTheMaskWakesAPendingWait) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    CSerial port;
    ASSERT_EQ(port.Open(pty.slavePath()), 0);
    uint32_t events = 99;
    // The change wakes the wait through a pipe, so it also ends a wait that
    // begins after it: no need to know that the waiter is already waiting.
    std::thread waiter([&] { EXPECT_EQ(port.WaitEvent(events), 0); });
    EXPECT_EQ(port.SetMask(CSerial::EEventRecv), 0);
    waiter.join();
    EXPECT_EQ(events, 0u);
    EXPECT_EQ(port.SetMask(0x10000), EINVAL);
}

}  // namespace
}  // namespace celestra
