// Downloads against a canned HTTP server on 127.0.0.1 run by the test
// itself: what arrives, what the progress callback sees, and that a failed,
// cancelled or error-status transfer leaves the old file as it was.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <functional>
#include <vector>

#include "app/http_download_qt.h"
#include "tests/support/canned_http_server.h"
#include "ui/download_dialog.h"

using namespace celestra;

namespace {

QByteArray bodyOf(int size) {
    QByteArray body(size, '\0');
    for (int i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 26);
    return body;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct Progress {
    std::vector<int> percent;
    std::vector<bool> more;
    bool answer = true;
    DownloadProgressFn fn() {
        return [this](int p, bool m) {
            percent.push_back(p);
            more.push_back(m);
            return answer;
        };
    }
};

}  // namespace

class HttpDownloadTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString target_;
    test::CannedServer server_;

    bool fetch(const DownloadProgressFn& progress = nullptr, const std::atomic<bool>* stop = nullptr) {
        return httpDownloadToFile(server_.address(), "comets/Soft00Cmt.txt", target_.toStdString(), progress, stop);
    }
    void writeOld() {
        QFile f(target_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old comet list\n");
    }
    // Nothing but the target (or nothing at all) is left in the folder: no temporary file.
    void expectNoStrayFiles(bool targetExpected) {
        const QStringList names = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(names, targetExpected ? QStringList{"Celestra.Comets.txt"} : QStringList{});
    }

private slots:
    void init() {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
        target_ = dir_.path() + "/Celestra.Comets.txt";
    }

    void successStoresTheBodyAndReportsEachChunk() {
        const QByteArray body = bodyOf(5000);
        server_.answer(body);
        Progress progress;
        QVERIFY(fetch(progress.fn()));
        QCOMPARE(readAll(target_), body);
        // Chunks of 2048, 2048 and 904 bytes.
        QCOMPARE(progress.percent, (std::vector<int>{40, 81, 100}));
        QCOMPARE(progress.more, (std::vector<bool>{true, true, false}));
        QVERIFY(server_.lastRequest.startsWith("GET /comets/Soft00Cmt.txt HTTP/1.1\r\n"));
        QVERIFY(server_.lastRequest.contains("User-Agent: Celestra\r\n"));
        expectNoStrayFiles(true);
    }

    void exactly2048BytesAreOneChunkAndOneHundredPercentOnce() {
        server_.answer(bodyOf(2048));
        Progress progress;
        QVERIFY(fetch(progress.fn()));
        QCOMPARE(progress.percent, std::vector<int>{100});
        QCOMPARE(progress.more, std::vector<bool>{false});
        QCOMPARE(readAll(target_).size(), 2048);
    }

    void anExistingFileIsReplacedNotAppendedTo() {
        QFile f(target_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(10000, 'x'));
        f.close();
        server_.answer("short new list\n");
        QVERIFY(fetch());
        QCOMPARE(readAll(target_), QByteArray("short new list\n"));
    }

    void cancelLeavesTheOldFile() {
        writeOld();
        server_.answer(bodyOf(5000));
        Progress progress;
        progress.answer = false;
        QVERIFY(!fetch(progress.fn()));
        QCOMPARE(progress.percent, std::vector<int>{40});
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
        expectNoStrayFiles(true);
    }

    void aStopAskedWithTheLastChunkStillSucceeds() {
        server_.answer(bodyOf(2048));
        Progress progress;
        progress.answer = false;
        QVERIFY(fetch(progress.fn()));
        QCOMPARE(readAll(target_), bodyOf(2048));
    }

    // Without a Content-Length (a compressed or a chunked reply, or one that
    // just closes) the body is what arrives until the transfer ends cleanly.
    void noContentLengthReadsToTheEnd() {
        writeOld();
        server_.answer(bodyOf(5000), "200 OK", false);
        Progress progress;
        QVERIFY(fetch(progress.fn()));
        QCOMPARE(readAll(target_), bodyOf(5000));
        QVERIFY(!progress.percent.empty());
        QCOMPARE(progress.percent.back(), 100);
        QCOMPARE(progress.more.back(), false);
        expectNoStrayFiles(true);
    }

    void aDeflatedReplyArrivesInflated() {
        // Qt asks for deflate itself, inflates the body and drops the
        // compressed length the server announced.
        const QByteArray body = bodyOf(30000);
        const QByteArray deflated = qCompress(body).mid(4);  // a zlib stream, without Qt's length prefix
        QVERIFY(deflated.size() < body.size() / 4);
        server_.respond = [deflated](QTcpSocket* s) {
            s->write("HTTP/1.1 200 OK\r\nContent-Encoding: deflate\r\nContent-Length: " +
                     QByteArray::number(deflated.size()) + "\r\nConnection: close\r\n\r\n" + deflated);
            s->disconnectFromHost();
        };
        QVERIFY(fetch());
        QVERIFY(server_.lastRequest.contains("deflate"));
        QCOMPARE(readAll(target_), body);
    }

    void aChunkedReplyArrivesWhole() {
        const QByteArray body = bodyOf(5000);
        server_.respond = [body](QTcpSocket* s) {
            QByteArray out = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
            for (int at = 0; at < body.size(); at += 1500) {
                const QByteArray part = body.mid(at, 1500);
                out += QByteArray::number(part.size(), 16) + "\r\n" + part + "\r\n";
            }
            s->write(out + "0\r\n\r\n");
            s->disconnectFromHost();
        };
        QVERIFY(fetch());
        QCOMPARE(readAll(target_), body);
    }

    void aTransferWithoutLengthThatNeverEndsLeavesTheOldFile() {
        writeOld();
        server_.respond = [](QTcpSocket* s) {
            s->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(3000, 'p'));  // and holds the line
        };
        std::atomic<bool> stop{false};
        QTimer::singleShot(300, [&stop] { stop = true; });
        QVERIFY(!fetch(nullptr, &stop));
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
        expectNoStrayFiles(true);
    }

    void anEmptyBodyLeavesTheOldFile() {
        writeOld();
        server_.answer(QByteArray(), "200 OK", false);
        QVERIFY(!fetch());
        server_.answer(QByteArray());
        QVERIFY(!fetch());
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
        expectNoStrayFiles(true);
    }

    void anErrorStatusLeavesTheOldFile() {
        writeOld();
        server_.answer("<html>Not Found</html>", "404 Not Found");
        QVERIFY(!fetch());
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
        server_.answer("<html>Server Error</html>", "500 Internal Server Error");
        QVERIFY(!fetch());
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
        expectNoStrayFiles(true);
    }

    void aServerThatStopsHalfWayLeavesTheOldFile() {
        writeOld();
        server_.answerPart(10000, 5000, true);
        Progress progress;
        QVERIFY(!fetch(progress.fn()));
        QCOMPARE(progress.percent, (std::vector<int>{20, 40}));  // two whole chunks arrived
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
        expectNoStrayFiles(true);
    }

    void theStopFlagEndsAStalledTransfer() {
        writeOld();
        server_.answerPart(10000, 2048, false);
        std::atomic<bool> stop{false};
        QTimer::singleShot(300, [&stop] { stop = true; });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!fetch(nullptr, &stop));
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
    }

    void noServerFails() {
        QVERIFY(!httpDownloadToFile("http://127.0.0.1:1/", "x.txt", target_.toStdString()));
        QVERIFY(!QFile::exists(target_));
    }

    void dialogEndsWithOkWhenTheFileArrived() {
        server_.answer(bodyOf(5000));
        CDownloadDlg dialog(nullptr, QString::fromStdString(server_.address()), "comets/Soft00Cmt.txt", target_);
        QCOMPARE(dialog.windowTitle(), QString("Downloading File..."));
        QCOMPARE(dialog.shownName(), QString("Soft00Cmt.txt"));
        QCOMPARE(dialog.statusText(), QString("Initiating download..."));
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.statusText(), QString("100% complete"));
        QCOMPARE(readAll(target_), bodyOf(5000));
    }

    void dialogCancelEndsAStalledTransferWithCancel() {
        writeOld();
        server_.answerPart(10000, 2048, false);
        CDownloadDlg dialog(nullptr, QString::fromStdString(server_.address()), "comets/Soft00Cmt.txt", target_);
        QTimer::singleShot(500, &dialog, &CDownloadDlg::reject);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(clock.elapsed() < CDownloadDlg::kWorkerWaitMs);
        QVERIFY(!dialog.succeeded());
        QCOMPARE(readAll(target_), QByteArray("old comet list\n"));
    }

    void dialogWithoutServerFails() {
        CDownloadDlg dialog(nullptr, QString(), "comets/Soft00Cmt.txt", target_);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(target_));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    // The system proxy settings are in force; the canned server is local.
    qputenv("no_proxy", "127.0.0.1,localhost");
    QApplication app(argc, argv);
    HttpDownloadTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "http_download_test.moc"
