#include "ui/program.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "solarsystem/ephemeris.h"
#include "ui/date_texts.h"
#include "ui/document_questions.h"
#include "ui/first_start_page.h"
#include "ui/image_library.h"
#include "ui/preferences.h"
#include "ui/translations.h"

namespace celestra {

std::unique_ptr<Program> startProgram(const QString& exePath, const QString& documentFile) {
    auto program = std::make_unique<Program>();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        setDisplayMetrics(program->metrics, static_cast<int32_t>(screen->logicalDotsPerInchX()),
                          static_cast<int32_t>(screen->logicalDotsPerInchY()), size.width(), size.height());
    }
    program->paths = makeAppPaths(exePath.toStdString(),
                                  QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
    std::string note;
    if (documentFile.isEmpty()) {
        program->seedMessage = engineText(seedDocument(program->paths, note));
    } else {
        // The data folder still holds the comets and the image library; the
        // named document is left as it is until it is saved.
        prepareDataFolder(program->paths, note);
        program->paths.docPath = documentFile.toStdString();
        program->paths.colorsPath = colorFilePathFor(program->paths.docPath);
    }
    program->dataFolderNote = engineText(note);
    // One program at a time writes a document. Only the lock's holder clears
    // what an interrupted save left: another's save may be in flight.
    DocumentLock documentLock;
    if (documentLock.acquire(program->paths.docPath) == DocumentLock::Result::HeldElsewhere) {
        program->access.readOnly = true;
        program->lockHolder = documentLock.holderPid();
        std::fprintf(stderr, "celestra: %s is open in another Celestra; this one does not save it\n",
                     program->paths.docPath.c_str());
    } else {
        removeStaleTemporaries(program->paths.docPath);
        removeStaleTemporaries(program->paths.colorsPath);
    }
    std::string error;
    const LoadResult loaded = openStartupDocument(program->paths, program->document, error);
    program->firstStart =
        (loaded.document == FileStatus::Missing || loaded.document == FileStatus::Empty) && !program->access.readOnly;
    if (!error.empty()) debugLog("%s\n", error.c_str());
    // A file that is there but cannot be read is never written over; said
    // on stderr too, as the one trace when nobody answers the question.
    if (isKeptAsItIs(loaded.document)) {
        program->access.keepDocument = true;
        program->documentProblem = QString::fromStdString(error);
    }
    if (isKeptAsItIs(loaded.colors)) {
        program->access.keepColors = true;
        program->colorsProblem = QString::fromStdString(loaded.colorError);
    }
    for (const QString& problem : {program->documentProblem, program->colorsProblem})
        if (!problem.isEmpty()) std::fprintf(stderr, "celestra: %s; it is kept as it is\n", qPrintable(problem));

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
    program->window =
        std::make_unique<MainWindow>(program->document, program->paths, program->metrics, *program->model);
    program->window->setWriteAccess(program->access, std::move(documentLock));
    // The Info page's image library, when one was downloaded before. A file
    // that does not load is logged by load(); the page offers the download again.
    ImageLibrary& images = program->window->imageLibrary();
    if (QFileInfo::exists(images.filePath())) images.load();
    // Element files that exist but were skipped (a folder, a FIFO, too large) are named.
    QStringList cometProblems;
    if (const auto lock = lockComets(program->model->universe().Comets()); lock.owns_lock())
        for (const std::string& problem : program->model->universe().Comets().problems)
            cometProblems << engineText(problem);
    program->cometProblems = cometProblems.join(QLatin1Char('\n'));
    return program;
}

namespace {

// Set once a termination signal was handled, so that a signal read before
// the event loop starts still ends the program instead of running it.
bool terminationHandled = false;

void showMessage(QWidget* over, const QString& text) {
    // Not exec(): nothing at start-up may hold the program in a loop of its own.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Celestra"), text, QMessageBox::Ok, over);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// The icon from the build tree's or the installation's share/icons (the
// PNG sizes rendered from the SVG drawing), else the desktop's theme.
QIcon programIcon() {
    const QString id = QStringLiteral(CELESTRA_APP_ID);
    const QString hicolor = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/icons/hicolor");
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolor).arg(size).arg(id);
        if (QFileInfo::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon.isNull() ? QIcon::fromTheme(id) : icon;
}

}  // namespace

void showProgram(Program& program) {
    MainWindow& window = *program.window;
    window.show();
    if (!program.dataFolderNote.isEmpty()) window.showNote(program.dataFolderNote);
    if (!program.ephemerisError.isEmpty()) showMessage(&window, program.ephemerisError);
    if (!program.seedMessage.isEmpty()) showMessage(&window, program.seedMessage);
    if (!program.cometProblems.isEmpty()) showMessage(&window, program.cometProblems);
    // Read-only already keeps every file; the kept files are asked about
    // only when this session could write them.
    if (program.access.readOnly) program.question = askOpenElsewhere(window, program.lockHolder);
    else if (program.access.keepDocument || program.access.keepColors)
        program.question = askAboutKeptFiles(window, program.documentProblem, program.colorsProblem);
    if (program.firstStart) window.openFirstStartPage();
}

int runProgram(Program& program) {
    showProgram(program);
    debugLog("Running: document %s, ephemeris %s\n", program.paths.docPath.c_str(),
             processEphemeris().info().path.c_str());
    MainWindow& window = *program.window;
    const int code = terminationHandled ? 0 : QApplication::exec();
    window.saveAtExit();
    return code;
}

ProgramOptions parseProgramArguments(const QStringList& arguments) {
    ProgramOptions options;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            options.error = QStringLiteral("unknown option %1").arg(argument);
        } else if (!options.documentFile.isEmpty()) {
            options.error = QStringLiteral("only one document can be opened (%1)").arg(argument);
        } else {
            options.documentFile = QFileInfo(argument).absoluteFilePath();
        }
    }
    return options;
}

QString programUsage() {
    return QStringLiteral(
        "Usage: celestra [FILE.clj]\n"
        "       celestra --help | --version\n"
        "\n"
        "Celestra draws the star chart for the present instant at the saved place and\n"
        "reduces sextant sights. Without FILE it opens the working document of the\n"
        "data folder (~/Documents/Celestra/Celestra.clj); the first start asks where\n"
        "you are. The document is saved on exit and on SIGTERM, SIGINT or SIGHUP.\n"
        "\n"
        "  FILE.clj    open this document instead (created when first saved)\n"
        "  --help      print this text\n"
        "  --version   print the version\n"
        "\n"
        "Qt's own options (-platform NAME, -style NAME, ...) are accepted too.\n"
        "celestra-cli gives the same results without a display; see celestra(1).\n");
}

int programMain(int argc, char** argv) {
    // Answered before Qt starts: they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(programUsage().toLocal8Bit().constData(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("celestra %s\n", CELESTRA_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    // Qt has set the C library's locale from the environment. Numbers the
    // program writes or reads keep the point whatever it says (the engine
    // formats in the "C" locale anyway; this covers any library below it),
    // while dates and the fields' decimal comma follow the desktop through
    // QLocale, which reads the environment itself.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    QApplication::setApplicationVersion(QStringLiteral(CELESTRA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(CELESTRA_APP_ID));
    QApplication::setWindowIcon(programIcon());
    // The desktop's language when there is a translation for it, else English.
    installTranslations(QLocale::system(), translationFolders());

    std::unique_ptr<Program> program;
    onTerminationSignals(&app, [&program] {
        terminationHandled = true;
        if (program && program->window) program->window->saveAtExit();
        // Every event loop ends, a page's or a message's as well as the main one.
        QCoreApplication::exit(0);
    });

    const ProgramOptions options = parseProgramArguments(QApplication::arguments().mid(1));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "celestra: %s\n\n%s", qPrintable(options.error), qPrintable(programUsage()));
        return 2;
    }
    program = startProgram(QApplication::applicationFilePath(), options.documentFile);
    const int code = runProgram(*program);
    program.reset();
    return code;
}

namespace {
int signalPipe[2] = {-1, -1};
QPointer<QSocketNotifier> signalNotifier;

void onTerminationSignal(int) {
    const char c = 1;
    // Nothing else is safe in a handler; a full pipe already holds a request.
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &c, 1);
}
}  // namespace

void onTerminationSignals(QObject* context, std::function<void()> onSignal) {
    if (signalPipe[0] < 0) {
        if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    }
    delete signalNotifier;
    signalNotifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(signalNotifier, &QSocketNotifier::activated, context, [onSignal = std::move(onSignal)] {
        char buffer[16];
        while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {}
        onSignal();
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);  // a closed terminal or a logout ends the program as SIGTERM does
}

}  // namespace celestra
