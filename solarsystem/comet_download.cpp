#include "solarsystem/comet_download.h"

#include <cstdio>

namespace celestra {

int downloadComets(CometList& list, const CometServers& servers, const std::string& dataFolder,
                   const CometFetchFn& fetch) {
    if (!fetch) return 0;
    const auto paths = cometFilePaths(dataFolder);
    if (!servers.projectWebsite.empty()) fetch(servers.projectWebsite, kProjectCometsPath, paths[1]);
    if (servers.elements.empty() || !fetch(servers.elements, kCometElementsPath, paths[0])) return 0;
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
