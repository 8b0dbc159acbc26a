#include "gps/serial_wnd_qt.h"

#include <QMetaObject>

#include "core/log.h"

namespace celestra {

CSerialWnd::~CSerialWnd() {
    if (IsOpen()) {
        debugLog("CSerialWnd::~CSerialWnd - Serial port not closed\n");
        CSerialWnd::Close();
    }
}

int CSerialWnd::Open(const std::string& device, QObject* receiver, const char* method, quint32 value) {
    const int code = CSerialEx::Open(device, false);
    if (code != 0) return code;
    receiver_ = receiver;
    method_ = method ? QByteArray(method) : QByteArray(kDefaultMethod);
    value_ = value;
    const int started = StartListener();
    if (started != 0) {
        CSerialEx::Close();
        return Fail(started, nullptr, ErrorText());
    }
    return 0;
}

int CSerialWnd::Close() {
    const int code = CSerialEx::Close();  // the listener has ended: no more calls queued
    receiver_ = nullptr;
    return code;
}

void CSerialWnd::OnEvent(uint32_t events, uint32_t errors) {
    if (!receiver_) return;
    QMetaObject::invokeMethod(receiver_, method_.constData(), Qt::QueuedConnection,
                              Q_ARG(quint32, Pack(events, errors)), Q_ARG(quint32, value_));
}

}  // namespace celestra
