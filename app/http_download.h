// Downloads over HTTP and HTTPS into a local file, as the engine sees them:
// the progress callback, the injected download function, and the helpers
// that name what is fetched. The transfer itself (httpDownloadToFile in
// http_download_qt.h) is built on QtNetwork; engine code never calls it
// directly but takes an HttpDownloadFn, so it stays free of Qt.
#pragma once

#include <functional>
#include <string>

namespace celestra {

// Called after every chunk with the percentage done (0-100, truncated) and
// whether more data follows; returning false stops the transfer.
using DownloadProgressFn = std::function<bool(int percent, bool moreFollows)>;

// server: a server address such as "https://www.example.org/" (a missing
// scheme means http://); remotePath: the path on it, without a leading "/".
using HttpDownloadFn = std::function<bool(const std::string& server, const std::string& remotePath,
                                          const std::string& localPath, const DownloadProgressFn& progress)>;

// Chunk size of the transfer, bytes.
constexpr int kDownloadChunkBytes = 2048;
// A transfer that receives nothing for this long fails, ms.
constexpr int kDownloadStallTimeoutMs = 30000;
// The user agent every request names.
constexpr const char* kDownloadUserAgent = "Celestra";

// The address fetched: the server with exactly one "/" before the path, and
// "http://" in front when the server names no scheme.
std::string downloadUrl(const std::string& server, const std::string& remotePath);

// The name the download dialog shows: the part of the remote path after its
// last "/", or the whole path when it has no "/" after its first character.
std::string downloadShownName(const std::string& remotePath);

}  // namespace celestra
