#include "app/web_links.h"

#include <cctype>

#include "catalogs/deep_sky.h"
#include "sky/sky_search.h"

namespace celestra {
namespace {

std::string websiteBase(std::string website) {
    while (!website.empty() && (website.back() == '/' || std::isspace(static_cast<unsigned char>(website.back()))))
        website.pop_back();
    size_t b = 0;
    while (b < website.size() && std::isspace(static_cast<unsigned char>(website[b]))) ++b;
    return website.substr(b);
}

}  // namespace

std::string percentEncode(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string simbadIdentifier(int k) {
    const auto kind = catalogueKind(k);
    if (!kind) return "";
    const StarEntry* e = catalogueObject(k);
    if (!e) return "";
    switch (*kind) {
        case CatalogueKind::BrightStar: return "HR " + std::to_string(e->number);
        case CatalogueKind::Messier: return "M " + std::to_string(e->number);
        case CatalogueKind::Caldwell: {
            // "NGC 869 & NGC 884 Double Cluster" -> "NGC 869"; "IC 2602 ..." -> "IC 2602".
            const std::string identity = e->identity ? e->identity : "";
            const size_t first = identity.find(' ');
            if (first == std::string::npos || first == 0) return "";
            size_t end = identity.find(' ', first + 1);
            if (end == std::string::npos) end = identity.size();
            const std::string number = identity.substr(first + 1, end - first - 1);
            if (number.empty() || !std::isdigit(static_cast<unsigned char>(number[0]))) return "";
            return identity.substr(0, end);
        }
    }
    return "";
}

std::string simbadUrl(int k) {
    const std::string id = simbadIdentifier(k);
    if (id.empty()) return "";
    return "https://simbad.cds.unistra.fr/simbad/sim-id?Ident=" + percentEncode(id);
}

std::string redirectUrl(const std::string& website, const std::string& query) {
    const std::string base = websiteBase(website);
    if (base.empty()) return "";
    return base + "/PocketPC/Celestra/Redirect/Redirect.htm?client=pda&" + query;
}

std::string objectRedirectUrl(const std::string& website, int k) { return redirectUrl(website, pictureQueryText(k)); }

std::string bodyRedirectQuery(int body) {
    return "catalog=planet&index=" + std::to_string(body) + "&name=" + percentEncode(bodyName(body));
}

std::string newsUrl(const std::string& website) {
    const std::string base = websiteBase(website);
    if (base.empty()) return "";
    return base + "/news/default.aspx?lang=ENU&client=pda";
}

}  // namespace celestra
