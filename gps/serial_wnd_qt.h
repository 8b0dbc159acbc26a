// The serial port for a Qt page: each batch of port events that the
// listener thread sees becomes a queued call on a QObject, so the page reads
// the data on its own thread without ever blocking it.
#pragma once

#include <QByteArray>
#include <QObject>

#include "gps/serial.h"

namespace celestra {

class CSerialWnd : public CSerialEx {
public:
    // The slot (or Q_INVOKABLE method) called when none is named.
    static constexpr const char* kDefaultMethod = "onSerialEvent";

    CSerialWnd() = default;
    ~CSerialWnd() override;

    using CSerialEx::Open;
    // Opens the device and starts the listener; every report then calls
    // receiver->method(quint32 eventAndError, quint32 value) through the
    // receiver's event loop: the events (CSerial::EEvent) in the low 16 bits,
    // the line errors (CSerial::EError) in the high 16 bits, and `value` as
    // given here. The port is closed again when the listener cannot start.
    // The receiver must outlive the open port: Close before destroying it.
    int Open(const std::string& device, QObject* receiver, const char* method = nullptr, quint32 value = 0);
    int Close() override;

    static quint32 Pack(uint32_t events, uint32_t errors) { return (events & 0xFFFF) | ((errors & 0xFFFF) << 16); }
    static uint32_t EventsOf(quint32 packed) { return packed & 0xFFFF; }
    static uint32_t ErrorsOf(quint32 packed) { return packed >> 16; }

protected:
    void OnEvent(uint32_t events, uint32_t errors) override;

private:
    QObject* receiver_ = nullptr;
    QByteArray method_;
    quint32 value_ = 0;
};

}  // namespace celestra
