// celestra-cli render as a user runs it: a PNG of the asked size whose
// pixels show the scheme, the exit codes of bad arguments and of an instant
// outside the ephemeris, and no display needed.
#include <QCoreApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/qt_test_support.h"

class RenderCliTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;

    int run(const QStringList& args, QString* errors = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // the command chooses the offscreen platform itself
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(CELESTRA_CLI_PATH), QStringList{QStringLiteral("render")} + args);
        if (!p.waitForFinished(60000)) return -1;
        if (errors) *errors = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QStringList base(const QString& out) const {
        return {QStringLiteral("--utc"), QStringLiteral("2024-02-15T20:00:00"), QStringLiteral("--lat"), QStringLiteral("55"),
                QStringLiteral("--lon"), QStringLiteral("12.5"), QStringLiteral("--ephemeris"), celestra::test::builtEphemeris(),
                QStringLiteral("--out"), dir_.filePath(out)};
    }

private slots:
    void writesTheChartWithoutADisplay() {
        QCOMPARE(run(base(QStringLiteral("red.png")) + QStringList{QStringLiteral("--scheme"), QStringLiteral("red"),
                                                                   QStringLiteral("--width"), QStringLiteral("640"),
                                                                   QStringLiteral("--height"), QStringLiteral("400")}),
                 0);
        const QImage image(dir_.filePath(QStringLiteral("red.png")));
        QCOMPARE(image.size(), QSize(640, 400));
        // Facing south by default: the bottom corners are below the horizon, in the Red scheme's non-sky colour.
        QCOMPARE(QColor(image.pixel(2, 397)), QColor(60, 0, 0));
        QCOMPARE(run(base(QStringLiteral("zenith.png")) + QStringList{QStringLiteral("--facing"), QStringLiteral("zenith"),
                                                                      QStringLiteral("--zoom"), QStringLiteral("1"),
                                                                      QStringLiteral("--flip"), QStringLiteral("--mag"),
                                                                      QStringLiteral("6.5")}),
                 0);
        const QImage zenith(dir_.filePath(QStringLiteral("zenith.png")));
        QCOMPARE(zenith.size(), QSize(1280, 800));
        QCOMPARE(QColor(zenith.pixel(2, 2)), QColor(40, 40, 40));  // Black: outside the whole-sky circle
    }

    void refusesBadArguments() {
        QString errors;
        QCOMPARE(run(base(QStringLiteral("x.png")) + QStringList{QStringLiteral("--facing"), QStringLiteral("up")}, &errors), 2);
        QVERIFY(errors.contains(QStringLiteral("--facing")));
        QCOMPARE(run(base(QStringLiteral("x.png")) + QStringList{QStringLiteral("--mag"), QStringLiteral("9")}), 2);
        QCOMPARE(run(base(QStringLiteral("x.png")) + QStringList{QStringLiteral("--scheme"), QStringLiteral("blue")}), 2);
        QCOMPARE(run({QStringLiteral("--utc"), QStringLiteral("2024-02-15T20:00:00"), QStringLiteral("--out"),
                      dir_.filePath(QStringLiteral("x.png"))}),
                 2);  // no place
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("x.png"))));
    }

    void anInstantOutsideTheEphemerisIsExitThree() {
        QStringList args = base(QStringLiteral("old.png"));
        args[1] = QStringLiteral("1900-01-01T00:00:00");
        QCOMPARE(run(args), 3);
        QCOMPARE(run(base(QStringLiteral("/no/such/folder/x.png"))), 4);
    }
};

int main(int argc, char** argv) {
    celestra::test::prepareQtTestEnvironment();
    QCoreApplication app(argc, argv);
    RenderCliTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "render_cli_test.moc"
