// A canned HTTP server on 127.0.0.1 for the download tests: it answers every
// request with what the test tells it, on the test's own event loop, so no
// test ever reaches the network.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <string>

namespace celestra::test {

// Answers every request with what `respond` writes; keeps the last request's
// text and every request's first line.
class CannedServer : public QObject {
public:
    std::function<void(QTcpSocket*)> respond;
    QByteArray lastRequest;
    QList<QByteArray> requestLines;  // the first line of every request, in order

    CannedServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                auto* buffer = new QByteArray;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
                    buffer->append(socket->readAll());
                    if (!buffer->contains("\r\n\r\n")) return;
                    lastRequest = *buffer;
                    requestLines.append(buffer->left(buffer->indexOf("\r\n")));
                    buffer->clear();
                    respond(socket);
                });
                connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
                    delete buffer;
                    socket->deleteLater();
                });
            }
        });
    }
    std::string address() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/"; }

    // A whole response: status line, Content-Length unless left out, body, close.
    void answer(const QByteArray& body, const QByteArray& status = "200 OK", bool withLength = true) {
        respond = [=](QTcpSocket* s) {
            QByteArray head = "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nConnection: close\r\n";
            if (withLength) head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
            s->write(head + "\r\n" + body);
            s->disconnectFromHost();
        };
    }
    // Promises `promised` bytes, sends `sent` of them, then closes (or holds the line).
    void answerPart(int promised, int sent, bool close) {
        respond = [=](QTcpSocket* s) {
            s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(promised) + "\r\n\r\n" +
                     QByteArray(sent, 'p'));
            if (close) s->disconnectFromHost();
        };
    }

private:
    QTcpServer server_;
};

}  // namespace celestra::test
