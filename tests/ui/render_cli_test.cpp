// celestra-cli render as a user runs it: a PNG of the asked size whose
// pixels show the scheme and the comets of a folder, the exit codes of bad arguments and of an instant
// outside the ephemeris, and no display needed.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

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
        return {QStringLiteral("--utc"),       QStringLiteral("2024-02-15T20:00:00"),
                QStringLiteral("--lat"),       QStringLiteral("55"),
                QStringLiteral("--lon"),       QStringLiteral("12.5"),
                QStringLiteral("--ephemeris"), celestra::test::builtEphemeris(),
                QStringLiteral("--out"),       dir_.filePath(out)};
    }

private slots:
    void writesTheChartWithoutADisplay() {
        QCOMPARE(run(base(QStringLiteral("red.png")) + QStringList{QStringLiteral("--scheme"), QStringLiteral("red"),
                                                                   QStringLiteral("--width"), QStringLiteral("640"),
                                                                   QStringLiteral("--height"), QStringLiteral("400")}),
                 0);
        const QImage image(dir_.filePath(QStringLiteral("red.png")));
        QCOMPARE(image.size(), QSize(640, 400));
        // Facing south by default: the bottom corners are below the horizon, on the Red scheme's ground.
        QCOMPARE(QColor(image.pixel(2, 397)), QColor(60, 12, 0));
        QCOMPARE(run(base(QStringLiteral("zenith.png")) +
                     QStringList{QStringLiteral("--facing"), QStringLiteral("zenith"), QStringLiteral("--zoom"),
                                 QStringLiteral("1"), QStringLiteral("--flip"), QStringLiteral("--mag"),
                                 QStringLiteral("6.5")}),
                 0);
        const QImage zenith(dir_.filePath(QStringLiteral("zenith.png")));
        QCOMPARE(zenith.size(), QSize(1280, 800));
        QCOMPARE(QColor(zenith.pixel(2, 2)), QColor(38, 34, 24));  // Black: the ground outside the whole-sky circle
    }

    void refusesBadArguments() {
        QString errors;
        QCOMPARE(
            run(base(QStringLiteral("x.png")) + QStringList{QStringLiteral("--facing"), QStringLiteral("up")}, &errors),
            2);
        QVERIFY(errors.contains(QStringLiteral("--facing")));
        QCOMPARE(run(base(QStringLiteral("x.png")) + QStringList{QStringLiteral("--mag"), QStringLiteral("9")}), 2);
        QCOMPARE(run(base(QStringLiteral("x.png")) + QStringList{QStringLiteral("--scheme"), QStringLiteral("blue")}),
                 2);
        QCOMPARE(run({QStringLiteral("--utc"), QStringLiteral("2024-02-15T20:00:00"), QStringLiteral("--out"),
                      dir_.filePath(QStringLiteral("x.png"))}),
                 2);  // no place
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("x.png"))));
    }

    void drawsTheCometsOfAFolder() {
        // Hale-Bopp's elements as the user's own comet file; 1 April 1997 after sunset in England.
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("comets")));
        QFile file(dir_.filePath(QStringLiteral("comets/Celestra.CometsUser.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "    C1995O1   1997 04  1.1375  0.914142  0.995068  130.5887  282.4707   89.4300  19970313  -2.0  4.0  "
            "C/1995 O1 (Hale-Bopp)\n");
        file.close();
        const auto cometInk = [this](const QStringList& extra) {
            const QStringList args = {QStringLiteral("--utc"),       QStringLiteral("1997-04-01T19:30:00"),
                                      QStringLiteral("--lat"),       QStringLiteral("52"),
                                      QStringLiteral("--lon"),       QStringLiteral("0"),
                                      QStringLiteral("--facing"),    QStringLiteral("west"),
                                      QStringLiteral("--ephemeris"), celestra::test::builtEphemeris(),
                                      QStringLiteral("--out"),       dir_.filePath(QStringLiteral("comet.png"))};
            if (run(args + extra) != 0) return -1;
            const QImage image(dir_.filePath(QStringLiteral("comet.png")));
            int n = 0;
            // Black's CometNames, 0,160,128, give or take the anti-aliasing.
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    n += qRed(p) < 16 && std::abs(qGreen(p) - 160) < 24 && std::abs(qBlue(p) - 128) < 24;
                }
            }
            return n;
        };
        const QStringList folder = {QStringLiteral("--comet-folder"), dir_.filePath(QStringLiteral("comets"))};
        QVERIFY(cometInk(folder) > 30);
        QCOMPARE(cometInk({}), 0);
        // H -2.0 does not pass a limit of -5.
        QCOMPARE(cometInk(folder + QStringList{QStringLiteral("--comet-mag"), QStringLiteral("-5")}), 0);
        QCOMPARE(run(base(QStringLiteral("x.png")) + QStringList{QStringLiteral("--comet-mag"), QStringLiteral("8")}),
                 2);
    }

    // The same chart as a PNG, an SVG and a PDF: the viewers show the SVG
    // and the PDF at the chart's size, with the ground in the corner, the
    // night sky at the top and the stars on it, close to the PNG throughout.
    void svgAndPdfOpenInViewersAndShowTheChart() {
        const QStringList size = {QStringLiteral("--width"), QStringLiteral("640"), QStringLiteral("--height"),
                                  QStringLiteral("400")};
        QCOMPARE(run(base(QStringLiteral("chart.png")) + size), 0);
        QCOMPARE(run(base(QStringLiteral("chart.svg")) + size), 0);  // the format from the extension
        QCOMPARE(run(base(QStringLiteral("drawing")) + size +
                     QStringList{QStringLiteral("--format"), QStringLiteral("pdf")}),
                 0);
        const QImage png(dir_.filePath(QStringLiteral("chart.png")));
        QVERIFY(!png.isNull());
        QFile svg(dir_.filePath(QStringLiteral("chart.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.read(256).contains("<svg"));
        QFile pdf(dir_.filePath(QStringLiteral("drawing")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        QVERIFY(QFile::rename(dir_.filePath(QStringLiteral("drawing")), dir_.filePath(QStringLiteral("drawing.pdf"))));
        for (const QString& name : {QStringLiteral("chart.svg"), QStringLiteral("drawing.pdf")}) {
            QString error;
            const QImage view =
                celestra::test::viewedFile(dir_.filePath(name), error).convertToFormat(QImage::Format_RGB32);
            QVERIFY2(!view.isNull(), qPrintable(error));
            QCOMPARE(view.size(), png.size());
            // Black's ground bottom left, its night sky top centre.
            QVERIFY2(qAbs(qRed(view.pixel(3, 396)) - 38) < 6 && qAbs(qBlue(view.pixel(3, 396)) - 24) < 6,
                     qPrintable(name));
            long stars = 0, difference = 0, darkTop = 0;
            for (int y = 0; y < view.height(); ++y) {
                for (int x = 0; x < view.width(); ++x) {
                    const QRgb a = view.pixel(x, y), b = png.pixel(x, y);
                    stars += qGray(a) > 150;
                    darkTop += y < 200 && qGray(a) < 20;
                    difference += std::abs(qGray(a) - qGray(b));
                }
            }
            QVERIFY2(darkTop > 640 * 200 / 2,
                     qPrintable(QStringLiteral("%1: %2 dark pixels above").arg(name).arg(darkTop)));
            QVERIFY2(stars > 300, qPrintable(QStringLiteral("%1: %2 bright pixels").arg(name).arg(stars)));
            const double meanDifference = double(difference) / (view.width() * view.height());
            QVERIFY2(meanDifference < 8.0,
                     qPrintable(QStringLiteral("%1: mean grey difference %2").arg(name).arg(meanDifference)));
        }
        QCOMPARE(run(base(QStringLiteral("x.svg")) + QStringList{QStringLiteral("--format"), QStringLiteral("gif")}),
                 2);
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
