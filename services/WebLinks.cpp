// The web links: the two addresses on the publisher's site, tagged with the version.

#include "services/WebLinks.h"

#include "services/AppInfo.h"

#ifndef VOK_SITE
#define VOK_SITE "http://www.vok.example"
#endif

namespace {

// Scheme and host only, no path and no trailing slash.
constexpr const char* site = VOK_SITE;

}  // namespace

std::string webLinkAddress(int n) {
    switch (n) {
        case 1:
            return std::string(site) + "/tictactoe/index.php?v=" + versionTag;
        case 2:
            // The query follows the host directly.
            return std::string(site) + "?v=" + versionTag;
        default:
            return {};
    }
}

void openWebLink(WindowServices& system, int n) {
    const std::string address = webLinkAddress(n);
    if (!address.empty()) {
        system.openUrl(address);
    }
}

std::string publisherAddress() {
    return site;
}
