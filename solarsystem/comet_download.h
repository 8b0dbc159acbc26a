// Refreshing the downloadable comet element files, and the texts the View
// options' "Download" button shows.
#pragma once

#include <functional>
#include <string>

#include "solarsystem/comets.h"

namespace celestra {

// Server addresses are preferences; these are their defaults.
// The comet-elements service of the IAU Minor Planet Center.
constexpr const char* kDefaultCometElementsServer = "https://www.minorplanetcenter.net/";
constexpr const char* kCometElementsPath = "iau/Ephemerides/Comets/Soft00Cmt.txt";
// The project website's comet list; no address by default, so that list is
// not fetched until one is set.
constexpr const char* kProjectCometsPath = "anonymous/comets/CometsTarnwell.txt";

struct CometServers {
    std::string elements = kDefaultCometElementsServer;  // file 1
    std::string projectWebsite;                          // file 2; empty: skipped
};

// Fetches one file: server, remote path, local path; true when the file
// arrived whole (the GUI runs the download dialog, which returns OK).
using CometFetchFn =
    std::function<bool(const std::string& server, const std::string& remotePath, const std::string& localPath)>;

// Whether a downloaded file is a comet list: at least one accepted line,
// and no more rejected lines than accepted ones. A captive portal's HTML
// page or random bytes accept none; the servers' own lists are written by
// machine in the format, so a file where most lines fail is not such a list
// even when a few lines happen to parse, while the share leaves room for the
// odd entry a real list carries that this parser refuses.
bool cometListAcceptable(const CometFileCounts& counts);

// Where a download goes before it may replace `localPath`: beside it, so
// the final rename stays on one file system.
std::string cometDownloadStagingPath(const std::string& localPath);

// Fetches the project website's list for file 2 (skipped without an
// address; its result is not used), then the elements server's list for
// file 1. Each is fetched into its staging file, read back (readCometFile)
// and renamed over its file only when cometListAcceptable holds; otherwise
// that file stays as it was. When file 1 was replaced, reloads the list
// (loadComets). Returns non-zero on success: loadComets' value, which is 0
// only when the comet lock could not be had. Returns 0 when the elements
// file failed or was refused; the old files and the old list then stay.
int downloadComets(CometList& list, const CometServers& servers, const std::string& dataFolder,
                   const CometFetchFn& fetch);

// The message box after "Download": its title, and its text for the
// outcome with the number of comets in the list.
constexpr const char* kCometDownloadTitle = "Comet Download";
std::string cometDownloadMessage(bool succeeded, int cometCount);

// Why a command that needs the project website is disabled (its tooltip),
// or "" when an address is set.
std::string projectWebsiteDisabledReason(const std::string& projectWebsite);

}  // namespace celestra
