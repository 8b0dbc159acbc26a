#include "solarsystem/comet_download.h"

#include <cstdio>
#include <vector>

#include "core/log.h"

namespace celestra {

bool cometListAcceptable(const CometFileCounts& counts) {
    return counts.accepted > 0 && counts.accepted >= counts.rejected;
}

std::string cometDownloadStagingPath(const std::string& localPath) { return localPath + ".download"; }

namespace {

// Fetches into the staging file and replaces `localPath` with it only when
// it reads as a comet list; the staging file never outlives the call.
bool fetchCometList(const CometFetchFn& fetch, const std::string& server, const std::string& remotePath,
                    const std::string& localPath) {
    const std::string staging = cometDownloadStagingPath(localPath);
    std::remove(staging.c_str());
    bool ok = fetch(server, remotePath, staging);
    if (ok) {
        std::vector<CometRecord> records;
        InputFileError error;
        const CometFileCounts counts = readCometFile(staging, records, error);
        ok = error.status == InputFileStatus::Ok && cometListAcceptable(counts);
        if (!ok)
            debugLog("comet download %s: %d lines accepted, %d rejected%s%s; the old file stays\n", remotePath.c_str(),
                     counts.accepted, counts.rejected, error.reason.empty() ? "" : "; the file ", error.reason.c_str());
    }
    ok = ok && std::rename(staging.c_str(), localPath.c_str()) == 0;
    if (!ok) std::remove(staging.c_str());
    return ok;
}

}  // namespace

int downloadComets(CometList& list, const CometServers& servers, const std::string& dataFolder,
                   const CometFetchFn& fetch) {
    if (!fetch) return 0;
    const auto paths = cometFilePaths(dataFolder);
    if (!servers.projectWebsite.empty()) fetchCometList(fetch, servers.projectWebsite, kProjectCometsPath, paths[1]);
    if (servers.elements.empty() || !fetchCometList(fetch, servers.elements, kCometElementsPath, paths[0])) return 0;
    return loadComets(list, paths);
}

std::string cometDownloadMessage(bool succeeded, int cometCount) {
    if (!succeeded) return "Download failed.  No comets downloaded.  Verify internet connection.";
    char text[80];
    std::snprintf(text, sizeof text, "Download succeeded.  %d comets downloaded.", cometCount);
    return text;
}

std::string projectWebsiteDisabledReason(const std::string& projectWebsite) {
    return projectWebsite.empty() ? "No project website is set (Preferences, General..., Servers)." : "";
}

}  // namespace celestra
