#include "ui/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The help pages live in the ui library's resources, which a static library
// must register itself.
static void registerHelpResources() { Q_INIT_RESOURCE(help); }

namespace celestra {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    registerHelpResources();
    setWindowTitle(tr("Celestra Help"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

void HelpWindow::showTopic(const QString& topic) {
    QString name = topic.isEmpty() ? QStringLiteral("index") : topic;
    if (!QFile::exists(QStringLiteral(":/help/%1.html").arg(name))) name = QStringLiteral("index");
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/%1.html").arg(name)));
}

QString aboutText() {
    return HelpWindow::tr(
               "<h3>Celestra %1</h3>"
               "<p>A star chart, planetarium and celestial navigation program.</p>"
               "<p>Licensed under the GNU General Public License, version 3 or (at your option) any later version "
               "(GPL-3.0-or-later). There is no warranty.</p>"
               "<p><b>Data</b></p><ul>"
               "<li>Stars: the Bright Star Catalogue, 5th Revised Edition, by D. Hoffleit and W. H. Warren Jr. "
               "(1991), distributed by the Astronomical Data Center (NSSDC/ADC) and the CDS (catalogue V/50).</li>"
               "<li>Sun, Moon and planets: the JPL planetary ephemeris DE405, Jet Propulsion Laboratory, "
               "California Institute of Technology (see NOTICE.ephemeris).</li>"
               "<li>Star names after the IAU Catalog of Star Names (WGSN); constellation figures, Messier and "
               "Caldwell objects from the Stellarium data files (GPL-2.0-or-later).</li>"
               "<li>World places: the world.cities data of the R package maps (GPL-2), accents from "
               "GeoNames (CC BY 4.0).</li>"
               "<li>Object look-ups: the SIMBAD database, operated at CDS, Strasbourg, France.</li>"
               "</ul><p>Full sources and licences: SOURCES.md in the catalogue data folder.</p>")
        .arg(QStringLiteral(CELESTRA_VERSION));
}

}  // namespace celestra
