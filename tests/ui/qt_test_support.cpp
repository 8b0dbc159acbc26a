#include "tests/ui/qt_test_support.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/time_scales.h"
#include "ui/program.h"
#include "ui/sky_model.h"

namespace celestra::test {

QString builtEphemeris() {
    const QString path = QStringLiteral(CELESTRA_BUILT_EPHEMERIS);
    return QFileInfo::exists(path) ? path : QString();
}

void waitForSkyModel(SkyModel& model) {
    model.waitIdle();
    // The worker's queued notifications, then what they trigger.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

std::unique_ptr<Program> startProgramForTest() {
    QSettings().clear();
    QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
    auto program = startProgram(QCoreApplication::applicationFilePath());
    program->window->setPagesModeless(true);
    program->window->show();
    if (!QTest::qWaitForWindowExposed(program->window.get())) return nullptr;
    waitForSkyModel(*program->model);
    return program;
}

QStringList visibleTexts(QWidget* root) {
    QStringList out{root->windowTitle()};
    for (QWidget* w : root->findChildren<QWidget*>()) {
        out << w->toolTip();
        if (auto* l = qobject_cast<QLabel*>(w)) out << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) out << b->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) out << e->text();
        if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) out << s->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) out << g->title();
        if (auto* p = qobject_cast<QPlainTextEdit*>(w)) out << p->toPlainText();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        if (auto* t = qobject_cast<QTableWidget*>(w))
            for (int r = 0; r < t->rowCount(); ++r)
                for (int c = 0; c < t->columnCount(); ++c)
                    if (t->item(r, c)) out << t->item(r, c)->text();
    }
    return out;
}

QImage viewedFile(const QString& path, QString& error) {
    const bool pdf = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
    const QString tool = pdf ? QStringLiteral("pdftoppm") : QStringLiteral("rsvg-convert");
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        error = tool + QStringLiteral(" is not installed (") +
                (pdf ? QStringLiteral("poppler-utils") : QStringLiteral("librsvg2-bin")) + QStringLiteral(")");
        return {};
    }
    const QString png = path + QStringLiteral(".view");
    const QStringList args = pdf ? QStringList{QStringLiteral("-png"),
                                               QStringLiteral("-r"),
                                               QStringLiteral("72"),
                                               QStringLiteral("-singlefile"),
                                               path,
                                               png}
                                 : QStringList{path, QStringLiteral("-o"), png + QStringLiteral(".png")};
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error = tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return {};
    }
    const QImage image(png + QStringLiteral(".png"));
    if (image.isNull()) error = tool + QStringLiteral(" wrote no image");
    return image;
}

QString prepareQtTestEnvironment(TestLocale locale) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setClockForTesting(kTestClockJd);
    setenv("TZ", "UTC", 1);
    tzset();
    if (locale == TestLocale::Fixed) setenv("LC_ALL", "C.UTF-8", 1);
    std::string pattern = (QDir::tempPath() + QStringLiteral("/celestra-uitest-XXXXXX")).toStdString();
    const char* home = mkdtemp(pattern.data());
    if (!home) std::abort();
    const QString h = QString::fromLocal8Bit(home);
    const auto set = [&](const char* name, const QString& sub) {
        const QString dir = h + sub;
        QDir().mkpath(dir);
        setenv(name, dir.toLocal8Bit().constData(), 1);
        return dir;
    };
    set("HOME", QString());
    set("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    const QString data = set("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    set("XDG_CACHE_HOME", QStringLiteral("/.cache"));
    const QString runtime = set("XDG_RUNTIME_DIR", QStringLiteral("/runtime"));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(h + QStringLiteral("/Documents"));
    const QString ephemeris = builtEphemeris();
    if (!ephemeris.isEmpty()) {
        QDir().mkpath(data + QStringLiteral("/celestra"));
        QFile::link(ephemeris, data + QStringLiteral("/celestra/celestra.405"));
    }
    return h;
}

}  // namespace celestra::test
