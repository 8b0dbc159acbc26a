// httpDownloadToFile over QtNetwork. The request runs on the calling
// thread with a local event loop; a 50 ms timer keeps the loop waking so
// the stop flag is seen and no finished signal can be missed between waits.
#include "app/http_download_qt.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <mutex>

namespace celestra {

namespace {

bool stopRequested(const std::atomic<bool>* stop) { return stop != nullptr && stop->load(); }

}  // namespace

bool httpDownloadToFile(const std::string& server, const std::string& remotePath, const std::string& localPath,
                        const DownloadProgressFn& progress, const std::atomic<bool>* stop) {
    static std::once_flag proxyOnce;
    std::call_once(proxyOnce, [] { QNetworkProxyFactory::setUseSystemConfiguration(true); });

    const QUrl url(QString::fromStdString(downloadUrl(server, remotePath)));
    if (!url.isValid()) return false;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(kDownloadUserAgent));
    request.setRawHeader("Accept", "*/*");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kDownloadStallTimeoutMs);
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));

    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    tick.start(50);
    // Waits until `ready` holds or the reply has finished; false when stopped.
    const auto waitFor = [&](const auto& ready) {
        while (!ready() && !reply->isFinished()) {
            if (stopRequested(stop)) return false;
            loop.exec();
        }
        return !stopRequested(stop);
    };

    // The headers of the final response (redirects are followed) are known
    // once its first bytes are, or when it has ended.
    if (!waitFor([&] { return reply->bytesAvailable() > 0; })) return false;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299) return false;
    // The announced length, when the reply has one. A chunked reply has none,
    // nor has a compressed one (Qt asks for gzip, deflate and br and hands
    // over the inflated bytes, dropping the compressed length); its body ends
    // where the transfer ends without an error.
    const QVariant lengthHeader = reply->header(QNetworkRequest::ContentLengthHeader);
    bool lengthOk = false;
    const qint64 announced = lengthHeader.isValid() ? lengthHeader.toLongLong(&lengthOk) : -1;
    const bool inflated = !reply->rawHeader("Content-Encoding").isEmpty() &&
                          reply->rawHeader("Content-Encoding").compare("identity", Qt::CaseInsensitive) != 0;
    const qint64 total = lengthOk && !inflated ? announced : -1;
    if (total == 0) return false;  // an empty body replaces nothing

    // A temporary file beside the target, renamed over it only on commit.
    QSaveFile file(QString::fromStdString(localPath));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;

    char buffer[kDownloadChunkBytes];
    qint64 received = 0;
    bool more = true;
    while (more) {
        // Known length: whole chunks until it has all come (ending short
        // fails). Unknown: what is there, up to a chunk, until the end.
        const qint64 want = total > 0 ? std::min<qint64>(total - received, kDownloadChunkBytes) : kDownloadChunkBytes;
        if (!waitFor([&] { return reply->bytesAvailable() >= want; })) return false;
        const qint64 chunk = std::min(reply->bytesAvailable(), want);
        if (total > 0 && chunk < want) return false;  // ended short: closed, reset or timed out
        if (chunk > 0 && (reply->read(buffer, chunk) != chunk || file.write(buffer, chunk) != chunk)) return false;
        received += chunk;
        more = total > 0 ? received < total : !(reply->isFinished() && reply->bytesAvailable() == 0);
        if (chunk == 0 && more) continue;  // woken without data
        // Without a length only a clean end of the transfer says the body is
        // whole. (Qt 6.4 does not always call a chunked reply that the server
        // cut short by closing an error; what the file must hold is for the
        // caller to check.)
        if (!more && total < 0 && (reply->error() != QNetworkReply::NoError || received == 0)) return false;
        if (progress) {
            const int percent = total > 0 ? static_cast<int>(100.0 * static_cast<double>(received) / total)
                                : more    ? 0
                                          : 100;
            // A stop asked for with the last chunk comes too late to matter.
            if (!progress(percent, more) && more) return false;
        }
    }
    if (!reply->isFinished()) reply->abort();
    return file.commit();
}

}  // namespace celestra
