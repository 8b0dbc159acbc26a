// Downloads over HTTP and HTTPS into a local file, as the engine sees them:
// the progress callback, the injected download function, and the helpers
// that name what is fetched. The transfer itself (httpDownloadToFile) is
// built on QtNetwork in http_download_qt.cpp; engine code never calls it
// directly but takes an HttpDownloadFn, so it stays free of Qt.
#pragma once

#include <atomic>
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

// Fetches server + remotePath into localPath with GET, user agent
// "Celestra", the system's proxy settings and redirects followed.
// The body goes into a temporary file beside localPath that replaces it
// only when the response had a 2xx status and a body that is not empty and
// arrived whole: every byte of the content length when the reply announces
// one, else (a chunked or compressed reply, whose inflated length nobody
// announces) everything up to the end of a transfer that ended without an
// error. Otherwise the old file stays as it was and the temporary file is
// removed. The body is read in chunks of up to 2048 bytes; after each,
// `progress` (when given) receives (int)(100 × received / total), or 0 and
// at the end 100 without a length, and whether more follows; a false return
// stops the transfer, except after the last chunk, which still succeeds.
// `stop` (when given) is polled while waiting for data, so a stalled server
// can be left at once. A transfer that receives nothing for 30 s fails.
// Returns true on success. Safe to call on any thread with an event-loop-
// free caller (it runs its own loop).
bool httpDownloadToFile(const std::string& server, const std::string& remotePath, const std::string& localPath,
                        const DownloadProgressFn& progress = nullptr, const std::atomic<bool>* stop = nullptr);

// Opens an address in the desktop's browser (browser_qt.cpp).
void launchBrowser(const std::string& address);

}  // namespace celestra
