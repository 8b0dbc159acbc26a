// httpDownloadToFile over QtNetwork. The request runs on the calling
// thread with a local event loop; a 50 ms timer keeps the loop waking so
// the stop flag is seen and no finished signal can be missed between waits.
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

#include "app/http_download.h"

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
    const QVariant lengthHeader = reply->header(QNetworkRequest::ContentLengthHeader);
    bool lengthOk = false;
    const qint64 total = lengthHeader.isValid() ? lengthHeader.toLongLong(&lengthOk) : 0;
    if (status < 200 || status > 299 || !lengthOk || total <= 0) return false;

    // A temporary file beside the target, renamed over it only on commit.
    QSaveFile file(QString::fromStdString(localPath));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;

    char buffer[kDownloadChunkBytes];
    qint64 remaining = total;
    while (remaining > 0) {
        const qint64 chunk = std::min<qint64>(remaining, kDownloadChunkBytes);
        if (!waitFor([&] { return reply->bytesAvailable() >= chunk; })) return false;
        if (reply->bytesAvailable() < chunk) return false;  // ended short: closed, reset or timed out
        if (reply->read(buffer, chunk) != chunk || file.write(buffer, chunk) != chunk) return false;
        remaining -= chunk;
        if (progress) {
            const int percent = static_cast<int>(100.0 * static_cast<double>(total - remaining) / total);
            // A stop asked for with the last chunk comes too late to matter.
            if (!progress(percent, remaining > 0) && remaining > 0) return false;
        }
    }
    if (!reply->isFinished()) reply->abort();
    return file.commit();
}

}  // namespace celestra
