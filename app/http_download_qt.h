// The HTTP transfer over QtNetwork, for the Qt side only (the download
// dialog, the Qt tests): the engine takes an HttpDownloadFn instead.
#pragma once

#include <atomic>
#include <string>

#include "app/http_download.h"

namespace celestra {

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

}  // namespace celestra
