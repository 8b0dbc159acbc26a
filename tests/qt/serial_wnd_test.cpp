// CSerialWnd: port events reach a QObject as queued calls on its own thread,
// where the data is then read.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "gps/gps_source.h"
#include "gps/serial_wnd_qt.h"
#include "tests/support/pty_pair.h"

namespace {

class Page : public QObject {
    Q_OBJECT
public:
    celestra::CSerialWnd* port = nullptr;
    celestra::CNmeaReceiver receiver;
    int calls = 0;
    quint32 lastPacked = 0;
    quint32 lastValue = 0;
    bool onOwnThread = true;

public slots:
    void onSerialEvent(quint32 packed, quint32 value) {
        ++calls;
        lastPacked = packed;
        lastValue = value;
        onOwnThread = onOwnThread && QThread::currentThread() == thread();
        if (celestra::CSerialWnd::EventsOf(packed) & celestra::CSerial::EEventRecv) receiver.ReadFrom(*port);
    }
    void otherSlot(quint32 packed, quint32) {
        lastPacked = packed;
        ++calls;
    }
};

}  // namespace

class SerialWndTest : public QObject {
    Q_OBJECT
private slots:
    void sentencesArriveThroughQueuedCalls() {
        celestra::test::PtyPair pty;
        QVERIFY(pty.ok());
        Page page;
        celestra::CSerialWnd port;
        page.port = &port;
        QCOMPARE(port.Open(pty.slavePath(), &page, nullptr, 42u), 0);
        QCOMPARE(celestra::setupGpsPort(port, 4800), 0);
        QVERIFY(port.IsListening());

        const std::string gga =
            celestra::test::nmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
        QVERIFY(pty.Write(gga + gga));
        QTRY_VERIFY_WITH_TIMEOUT(page.receiver.Received().latitudeValid, 5000);
        QVERIFY(page.calls >= 1);
        QVERIFY(page.onOwnThread);
        QCOMPARE(page.lastValue, 42u);
        QVERIFY(celestra::CSerialWnd::EventsOf(page.lastPacked) & celestra::CSerial::EEventRecv);
        QCOMPARE(celestra::CSerialWnd::ErrorsOf(page.lastPacked), 0u);
        QVERIFY(qAbs(page.receiver.Received().latitudeDegrees - 48.1173) < 1e-9);

        // After Close no further calls are queued.
        QCOMPARE(port.Close(), 0);
        QCoreApplication::processEvents();
        const int calls = page.calls;
        pty.Write(gga);
        QTest::qWait(100);
        QCOMPARE(page.calls, calls);
    }

    void aNamedSlotAndTheHangUpReport() {
        celestra::test::PtyPair pty;
        QVERIFY(pty.ok());
        Page page;
        celestra::CSerialWnd port;
        page.port = &port;
        QCOMPARE(port.Open(pty.slavePath(), &page, "otherSlot", 7u), 0);
        pty.CloseMaster();
        QTRY_VERIFY_WITH_TIMEOUT(page.calls >= 1, 5000);
        QVERIFY(celestra::CSerialWnd::EventsOf(page.lastPacked) & celestra::CSerial::EEventError);
        QVERIFY(celestra::CSerialWnd::ErrorsOf(page.lastPacked) & celestra::CSerial::EErrorHangup);
        QCOMPARE(port.Close(), 0);
    }

    void openingAMissingDeviceFails() {
        Page page;
        celestra::CSerialWnd port;
        QCOMPARE(port.Open("/nonexistent/ttyACM0", &page), ENOENT);
        QVERIFY(!port.IsOpen());
        QVERIFY(!port.IsListening());
    }
};

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    SerialWndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "serial_wnd_test.moc"
