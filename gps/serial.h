// Serial port over POSIX termios, in two layers: CSerial (open, configure,
// read, write and wait for events on one device) and CSerialEx (adds a
// listener thread that waits for events and reports them through OnEvent).
// A Qt adapter in serial_wnd_qt.h turns each report into a queued call.
//
// Every operation returns an errno value (0 = success) and stores it as the
// last error. Two codes have fixed meanings:
//   EALREADY  Open on an object whose port is already open (the port stays
//             open). EBUSY is left for "another program holds the device".
//   EBADF     any operation but Open on a closed port.
// Failures also write one diagnostic line through debugLog.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace celestra {

class CSerial {
public:
    // Event bits (the numbering of the original communications events).
    enum EEvent : uint32_t {
        EEventNone = 0,
        EEventRecv = 0x0001,   // data arrived
        EEventSend = 0x0004,   // the output queue can take more data
        EEventBreak = 0x0040,  // a break was detected on input
        EEventError = 0x0080,  // a line error, or the device went away
    };
    // Line-error bits reported by GetError.
    enum EError : uint32_t {
        EErrorNone = 0,
        EErrorRxOver = 0x0001,   // input buffer overflow
        EErrorOverrun = 0x0002,  // hardware overrun
        EErrorParity = 0x0004,
        EErrorFrame = 0x0008,
        EErrorBreak = 0x0010,
        EErrorHangup = 0x8000,  // the device was unplugged or the other end closed
    };
    static constexpr uint32_t kDefaultEventMask = EEventRecv | EEventBreak | EEventError;  // 0x00C1

    enum EParity { EParNone = 0, EParOdd = 1, EParEven = 2, EParMark = 3, EParSpace = 4 };
    enum EStopBits { EStop1 = 0, EStop1_5 = 1, EStop2 = 2 };
    enum EHandshake { EHandshakeOff = 0, EHandshakeHardware = 1, EHandshakeSoftware = 2 };
    enum EReadTimeout { EReadTimeoutNonblocking = 0, EReadTimeoutBlocking = 1 };

    CSerial();
    virtual ~CSerial();
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;

    // Opens a device path ("/dev/ttyUSB0") for reading and writing, exclusive
    // to this process, without making it the controlling terminal; raw 8N1
    // at the device's current rate, handshaking untouched, reads non-blocking,
    // event mask kDefaultEventMask.
    virtual int Open(const std::string& device);
    // Stops whatever waits on the port and closes it. EBADF when not open.
    virtual int Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Rate in bits per second (any rate the driver accepts: the standard
    // termios rates directly, others through the kernel's arbitrary-rate
    // interface), data bits 5-8, parity, stop bits. Parity checking is on
    // exactly when parity is not EParNone. A rate the device cannot run at
    // fails with EINVAL and ErrorText names it.
    int Setup(unsigned rate, int dataBits = 8, EParity parity = EParNone, EStopBits stopBits = EStop1);
    // 0 off (DTR and RTS on), 1 RTS/CTS, 2 XON/XOFF; other kinds: EINVAL, nothing changed.
    int SetupHandshaking(int kind);
    // 0: Read returns at once with what is there; 1: Read waits for at least one byte.
    int SetupReadTimeouts(int kind);

    // Events that WaitEvent reports. Changing the mask wakes a pending
    // WaitEvent, which then returns 0 with no events.
    int SetMask(uint32_t mask);
    uint32_t GetEventMask();
    // Waits without time-out for an event of the mask; `events` gets the
    // events that arrived (none when the mask changed meanwhile). The
    // received-data event is reported once per arrival: it is armed again by
    // the next Read, so a waiter never spins while data waits to be read.
    int WaitEvent(uint32_t& events);

    // Reads up to `size` bytes; `read` gets the count (0 when nothing waits
    // in non-blocking mode).
    int Read(void* buffer, size_t size, size_t& read);
    // Writes all `size` bytes, waiting while the output queue is full.
    int Write(const void* data, size_t size, size_t& written);
    int Write(const std::string& text);
    int Purge();  // discards pending input and output
    int Break();  // sends a break (0.25 to 0.5 s of zero bits)

    // Line errors since the last call (EError bits); 0 for devices that do
    // not count them (pseudo-terminals, most USB adapters).
    uint32_t GetError();

    int GetLastError() const { return lastError_; }
    // A sentence for the user about the last failure ("" after success).
    std::string ErrorText() const;
    const std::string& Device() const { return device_; }

protected:
    int Succeed();
    int Fail(int code, const char* diagnostic, std::string text = std::string());
    // Wakes a pending WaitEvent; it returns with no events when `returnNow`.
    void Wake(bool returnNow);

private:
    int ApplyRate(unsigned rate);
    // Line-error bits whose counters grew since the last GetError; `consume`
    // makes the current counts the new reference.
    uint32_t LineErrors(bool consume, bool& countersAvailable);

    int fd_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::string device_;
    std::atomic<uint32_t> eventMask_{0};
    std::atomic<bool> recvArmed_{true};
    std::atomic<bool> maskChanged_{false};
    std::atomic<bool> hungUp_{false};
    std::atomic<int> lastError_{0};
    mutable std::mutex mutex_;  // error text and line-error counters
    std::string errorText_;
    uint32_t counters_[5] = {0, 0, 0, 0, 0};  // brk, frame, overrun, parity, buf_overrun
    bool countersKnown_ = false;
};

// Adds a listener thread that waits for port events and reports each batch
// through OnEvent on that thread. Derived classes must call Close in their
// own destructor, so that no event arrives at a half-destroyed object.
class CSerialEx : public CSerial {
public:
    CSerialEx() = default;
    ~CSerialEx() override;

    int Open(const std::string& device) override { return Open(device, false); }
    int Open(const std::string& device, bool startListener);
    int Close() override;

    int StartListener();
    // Asks the listener to stop, wakes its pending wait and waits for it to
    // end; ETIMEDOUT when it took longer than `timeoutMs` (it is still joined).
    int StopListener(unsigned timeoutMs = 2000);
    bool IsListening() const { return thread_.joinable() && !finished_; }
    // Waits until the listener has ended (by itself, e.g. after the device
    // went away, or on request); false when it still runs after `timeoutMs`.
    bool WaitForListenerEnd(unsigned timeoutMs);
    // The error the listener ended with (0 when stopped on request).
    int ListenerResult() const { return listenerResult_; }

protected:
    // Called on the listener thread with the events that arrived and the
    // line errors read at the same time.
    virtual void OnEvent(uint32_t events, uint32_t errors) = 0;

private:
    void ThreadProc();

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> listenerResult_{0};
    std::mutex finishedMutex_;
    std::condition_variable finishedCv_;
};

}  // namespace celestra
