// The Info page's deep-sky image library: the download button and its
// greyed state, the download from a canned server on 127.0.0.1 (the project
// website points there, so nothing reaches the network), the message of a
// failed, cancelled or damaged download, the picture fitted into the page,
// and the library loaded at start. The library served is the one the build
// packs with tools/make_image_library.sh from tests/ui/data (M31 and C14).
// With CELESTRA_PAGE_SHOTS set to a folder, M31's page with the download
// button and with the picture is also grabbed to PNGs there.
#include "ui/image_library.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "catalogs/deep_sky.h"
#include "core/log.h"
#include "solarsystem/comet_download.h"
#include "tests/support/canned_http_server.h"
#include "tests/ui/qt_test_support.h"
#include "ui/download_dialog.h"
#include "ui/object_pages.h"
#include "ui/program.h"

using namespace celestra;

namespace {

constexpr int kM31 = kFirstMessierObject + 30;
constexpr int kM40 = kFirstMessierObject + 39;  // not in the test library
constexpr int kC14 = kFirstCaldwellObject + 13;
constexpr int kSirius = 2490;  // HR 2491

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
QByteArray library() { return readAll(QStringLiteral(CELESTRA_TEST_IMAGE_LIBRARY)); }
QImage fixture(const char* name) { return QImage(QStringLiteral(CELESTRA_TEST_PICTURES "/") + QLatin1String(name)); }

uint32_t be32At(const QByteArray& b, int at) {
    return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
           (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}
void setBe32(QByteArray& b, int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (24 - 8 * i));
}
bool whole(const QByteArray& b) {
    return resourceLibraryIsWhole(reinterpret_cast<const uint8_t*>(b.constData()), size_t(b.size()));
}
// The test library with its tree damaged: the root's first child moved far
// past the last node (Qt's own header check passes this).
QByteArray forgedTree() {
    QByteArray b = library();
    setBe32(b, int(be32At(b, 8)) + 10, 0x00FFFFFF);
    return b;
}

// A whole resource file whose one folder is "/deepskx", not "/deepsky".
QByteArray otherFolder() {
    QByteArray b = library();
    const QByteArray deepsky("\0d\0e\0e\0p\0s\0k\0y", 14);
    const int at = b.indexOf(deepsky);
    if (at >= 0) b[at + 13] = 'x';
    return b;
}

}  // namespace

class ImageLibraryTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Program> program_;
    test::CannedServer server_;
    MainWindow* window() { return program_->window.get(); }
    QString file_;  // Celestra.mes in the data folder

    void start() {
        program_ = startProgram(QCoreApplication::applicationFilePath());
        window()->setPagesModeless(true);
        window()->preferences().website = QString::fromStdString(server_.address());
        file_ = QString::fromStdString(program_->paths.dataFolder) + QStringLiteral("/Celestra.mes");
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }
    InfoDialog* openInfoOn(int object) {
        window()->chart()->setSelection({ChartSelection::Kind::Object, object});
        window()->openInfo();
        auto* info = qobject_cast<InfoDialog*>(window()->lastPage());
        if (info && !QTest::qWaitForWindowExposed(info)) return nullptr;
        return info;
    }
    // Clicks the download button; answers the message box that may end it
    // and, with `cancel`, cancels the download dialog once it shows.
    // Returns "title|text" of the box (empty without one) and its icon.
    QString download(InfoDialog* info, bool cancel = false, QMessageBox::Icon* icon = nullptr) {
        QString seen;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    seen = box->windowTitle() + QLatin1Char('|') + box->text();
                    if (icon) *icon = box->icon();
                    box->accept();
                }
                auto* transfer = qobject_cast<CDownloadDlg*>(w);
                if (cancel && transfer && transfer->isVisible()) transfer->reject();
            }
        });
        poll.start();
        info->libraryButton()->click();  // returns once the transfer and its box are over
        poll.stop();
        return seen;
    }
    void checkRefused(InfoDialog* info) {
        QVERIFY(!window()->imageLibrary().isLoaded());
        QVERIFY(info->picture().isNull());
        QVERIFY(info->libraryButton()->isVisible());
        QVERIFY(info->libraryButton()->isEnabled());
    }

private slots:
    void init() {
        QSettings().clear();
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        start();
        server_.requestLines.clear();
    }
    void cleanup() {
        program_.reset();  // unregisters the library before its file goes
        QFile::remove(file_);
    }

    void wholenessCheckRefusesDamage() {
        const QByteArray b = library();
        QVERIFY(b.startsWith("qres"));
        QVERIFY(whole(b));
        // The tree is written last: every cut loses part of it.
        for (int n = 0; n < b.size(); ++n) QVERIFY2(!whole(b.left(n)), qPrintable(QString::number(n)));
        QVERIFY(!whole(forgedTree()));
        const int tree = int(be32At(b, 8));
        QByteArray loop = b;  // the root's children start at the root itself
        setBe32(loop, tree + 10, 0);
        QVERIFY(!whole(loop));
        QByteArray many = b;  // more children than there are nodes
        setBe32(many, tree + 6, 0x7FFFFFFF);
        QVERIFY(!whole(many));
        QByteArray version = b;
        setBe32(version, 4, 9);
        QVERIFY(!whole(version));
        // A picture's data said to run past the end: the last node is a file.
        QByteArray data = b;
        const int lastNode = b.size() - 22;
        const int at = int(be32At(b, 12) + be32At(b, lastNode + 10));
        setBe32(data, at, 0x01000000);
        QVERIFY(!whole(data));
    }

    void withoutWebsiteTheButtonIsGreyedWithTheReason() {
        window()->preferences().website = QStringLiteral("  ");
        InfoDialog* info = openInfoOn(kM31);
        QVERIFY(info && info->libraryButton());
        QVERIFY(info->libraryButton()->isVisible());
        QCOMPARE(info->libraryButton()->text(),
                 QStringLiteral("Click HERE to download the free Messier image file if connected to the internet."));
        QVERIFY(!info->libraryButton()->isEnabled());
        QCOMPARE(info->libraryButton()->toolTip(), QString::fromStdString(projectWebsiteDisabledReason("")));
        const QString shots = qEnvironmentVariable("CELESTRA_PAGE_SHOTS");
        if (!shots.isEmpty()) info->grab().save(shots + QStringLiteral("/info-m31-download.png"));
        info->close();
        // Only the deep-sky catalogues have pictures: no button for a star or a planet.
        info = openInfoOn(kSirius);
        QVERIFY(info && !info->libraryButton());
        info->close();
        window()->chart()->setSelection({ChartSelection::Kind::Body, 5});
        window()->openInfo();
        QVERIFY(!qobject_cast<InfoDialog*>(window()->lastPage())->libraryButton());
    }

    void downloadShowsThePicture() {
        server_.answer(library());
        InfoDialog* info = openInfoOn(kM31);
        QVERIFY(info && info->libraryButton()->isEnabled());
        QVERIFY(info->picture().isNull());
        QCOMPARE(download(info), QString());
        QCOMPARE(server_.requestLines,
                 QList<QByteArray>{"GET /PocketPC/Celestra/MessierAndCaldwell/Celestra.mes HTTP/1.1"});
        QCOMPARE(readAll(file_), library());
        QVERIFY(window()->imageLibrary().isLoaded());
        QVERIFY(!info->libraryButton()->isVisible());
        const QImage m31 = fixture("M31.png");
        QCOMPARE(info->picture().convertToFormat(QImage::Format_RGB32), m31.convertToFormat(QImage::Format_RGB32));

        // Drawn whole, fitted to its space with its 2:1 aspect kept.
        QCoreApplication::processEvents();
        auto* view = info->findChild<QWidget*>(QStringLiteral("picture"));
        QVERIFY(view && view->isVisible());
        const QImage shot = view->grab().toImage();
        const auto isSky = [](QColor c) {  // the picture's background
            return std::abs(c.red() - 10) + std::abs(c.green() - 20) + std::abs(c.blue() - 90) < 12;
        };
        QRect drawn;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (isSky(shot.pixelColor(x, y))) drawn |= QRect(x, y, 1, 1);
        QVERIFY2(drawn.width() > 2 * m31.width(),
                 qPrintable(QStringLiteral("%1 x %2").arg(drawn.width()).arg(drawn.height())));
        QVERIFY(std::abs(double(drawn.width()) / drawn.height() - 2.0) < 0.1);
        QVERIFY(drawn.width() >= shot.width() - 2 || drawn.height() >= shot.height() - 2);
        const QString shots = qEnvironmentVariable("CELESTRA_PAGE_SHOTS");
        if (!shots.isEmpty()) info->grab().save(shots + QStringLiteral("/info-m31-picture.png"));
        info->close();

        // Another page now shows its picture at once, and one without a picture shows none.
        info = openInfoOn(kC14);
        QVERIFY(!info->libraryButton()->isVisible());
        QCOMPARE(info->picture().size(), fixture("C14.png").size());
        info->close();
        info = openInfoOn(kM40);
        QVERIFY(!info->libraryButton()->isVisible());
        QVERIFY(info->picture().isNull());
        QCOMPARE(server_.requestLines.size(), 1);
    }

    void failedTransferShowsTheMessage_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("error status") << 0;
        QTest::newRow("cancelled") << 1;
        QTest::newRow("garbage with 200") << 2;
        QTest::newRow("truncated library") << 3;
        QTest::newRow("damaged tree") << 4;
        QTest::newRow("resource file without /deepsky") << 5;
    }
    void failedTransferShowsTheMessage() {
        QFETCH(int, kind);
        switch (kind) {
            case 0: server_.answer("<html>Not Found</html>", "404 Not Found"); break;
            case 1: server_.answerPart(100000, 100, false); break;  // then holds the line
            case 2: server_.answer("<html>This is not the library you are looking for</html>"); break;
            case 3: server_.answer(library().chopped(10)); break;
            case 4: server_.answer(forgedTree()); break;
            case 5: server_.answer(otherFolder()); break;
        }
        // A file already there (a library that did not load) stays as it was.
        QVERIFY(writeAll(file_, "an older file"));
        InfoDialog* info = openInfoOn(kM31);
        QVERIFY(info);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QCOMPARE(download(info, kind == 1, &icon),
                 QStringLiteral("Transfer failed|Download failed.  Verify internet connection and check available "
                                "memory, then try again."));
        QCOMPARE(icon, QMessageBox::Critical);
        checkRefused(info);
        // Nothing that does not load reaches the data folder: checked before it replaces the file.
        QCOMPARE(readAll(file_), QByteArray("an older file"));
        QVERIFY(!QFile::exists(file_ + QStringLiteral(".download")));
        // The same page can try again.
        server_.answer(library());
        QCOMPARE(download(info), QString());
        QVERIFY(window()->imageLibrary().isLoaded());
        QVERIFY(!info->picture().isNull());
    }

    void loadedAtStartWhenPresent() {
        // A library from an earlier run: loaded at start, M31 shown without a download.
        QVERIFY(writeAll(file_, library()));
        program_.reset();
        start();
        QVERIFY(window()->imageLibrary().isLoaded());
        InfoDialog* info = openInfoOn(kM31);
        QVERIFY(!info->libraryButton()->isVisible());
        QVERIFY(!info->picture().isNull());
        info->close();
        // A damaged one: one diagnostic line, nothing loaded, and the download offered.
        program_.reset();
        QVERIFY(writeAll(file_, forgedTree()));
        QStringList lines;
        const LogSink old = setLogSink([&lines](const std::string& line) {
            if (line.find("Celestra.mes") != std::string::npos) lines << QString::fromStdString(line);
        });
        start();
        setLogSink(old);
        QCOMPARE(lines.size(), 1);
        info = openInfoOn(kM31);
        checkRefused(info);
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    ImageLibraryTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "image_library_test.moc"
