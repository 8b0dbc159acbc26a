#include "app/http_download.h"

namespace celestra {

std::string downloadUrl(const std::string& server, const std::string& remotePath) {
    std::string url = server.find("://") == std::string::npos ? "http://" + server : server;
    while (!url.empty() && url.back() == '/') url.pop_back();
    std::size_t start = 0;
    while (start < remotePath.size() && remotePath[start] == '/') ++start;
    return url + "/" + remotePath.substr(start);
}

std::string downloadShownName(const std::string& remotePath) {
    const std::size_t slash = remotePath.rfind('/');
    if (slash == std::string::npos || slash == 0) return remotePath;
    return remotePath.substr(slash + 1);
}

}  // namespace celestra
