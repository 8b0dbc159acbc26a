// launchBrowser through the desktop's default browser.
#include <QDesktopServices>
#include <QUrl>

#include "app/http_download.h"

namespace celestra {

void launchBrowser(const std::string& address) {
    // Only spaces are encoded, as the address is otherwise passed as given.
    QString text = QString::fromStdString(address);
    text.replace(QLatin1Char(' '), QLatin1String("%20"));
    QDesktopServices::openUrl(QUrl(text, QUrl::TolerantMode));
}

}  // namespace celestra
