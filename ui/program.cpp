#include "ui/program.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>

#include "ui/date_texts.h"
#include "ui/image_library.h"
#include "ui/preferences.h"
#include <QSocketNotifier>
#include <QStandardPaths>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "core/log.h"

namespace celestra {

std::unique_ptr<Program> startProgram(const QString& exePath) {
    auto program = std::make_unique<Program>();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        setDisplayMetrics(program->metrics, static_cast<int32_t>(screen->logicalDotsPerInchX()),
                          static_cast<int32_t>(screen->logicalDotsPerInchY()), size.width(), size.height());
    }
    program->paths = makeAppPaths(exePath.toStdString(),
                                  QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
    const std::string seedMessage = seedDocument(program->paths);
    if (!seedMessage.empty()) QMessageBox::warning(nullptr, QStringLiteral("Celestra"), QString::fromStdString(seedMessage));
    std::string error;
    openStartupDocument(program->paths, program->document, error);
    if (!error.empty()) debugLog("%s\n", error.c_str());

    QSettings settings;
    settings.beginGroup(QStringLiteral("CLInstallInfo"));
    settings.setValue(QStringLiteral("DocFile"), QString::fromStdString(program->paths.docPath));
    settings.setValue(QStringLiteral("ExeFile"), QString::fromStdString(program->paths.exePath));
    settings.endGroup();
    // "Orbital Paths" is a preference (its first use builds the daily table); on by default.
    const bool paths = settings.value(QStringLiteral("Chart/OrbitalPaths"), true).toBool();
    // The overlay switches are not in the document: the General page keeps them here.
    loadOverlays(program->document.drawState);
    // The chart draws the paths by its overlay switch; the preference decides it.
    program->document.drawState.overlays[kOrbitalPathsOverlay] = paths ? 1 : 0;

    UniverseConfig config;
    config.cometFolder = program->paths.dataFolder;  // the comet element files live beside the document
    program->model = std::make_unique<SkyModel>(config);
    program->model->setOrbitalPaths(paths);
    program->ephemerisError = program->model->startupMessage();
    installLocaleDateFormatter();
    program->window = std::make_unique<MainWindow>(program->document, program->paths, program->metrics, *program->model);
    // The Info page's image library, when one was downloaded before. A file
    // that does not load is logged by load(); the page offers the download again.
    ImageLibrary& images = program->window->imageLibrary();
    if (QFileInfo::exists(images.filePath())) images.load();
    if (!program->ephemerisError.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Celestra"), program->ephemerisError);
    // Element files that exist but were skipped (a folder, a FIFO, too large) are named.
    QStringList cometProblems;
    if (const auto lock = lockComets(program->model->universe().Comets()); lock.owns_lock())
        for (const std::string& problem : program->model->universe().Comets().problems)
            cometProblems << QString::fromStdString(problem);
    if (!cometProblems.isEmpty())
        QMessageBox::warning(nullptr, QStringLiteral("Celestra"), cometProblems.join(QLatin1Char('\n')));
    return program;
}

namespace {
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char c = 1;
    // Nothing else is safe in a handler; a full pipe already holds a request.
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &c, 1);
}
}  // namespace

void closeOnTerminationSignals(QWidget* window) {
    if (signalPipe[0] < 0) {
        if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char buffer[16];
        while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        window->close();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace celestra
