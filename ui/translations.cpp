#include "ui/translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <iterator>

#include "core/data_paths.h"

namespace celestra {
namespace {

constexpr const char* kEngineContext = "celestra::EngineText";
constexpr const char* kFragmentContext = "celestra::EngineFragment";
constexpr const char* kBodyContext = "celestra::Body";

// Set once at start by installTranslations().
QLocale installedLocale = QLocale::c();

// The engine's fixed texts the desktop program shows. They are only listed
// here, so that the translation tools collect them: engineText() looks each
// text up by its English wording, so a text changed in the engine must be
// changed here too (the translation test reports the one left behind as
// unfinished only when it is listed, so keep the list whole).
[[maybe_unused]] constexpr const char* kEngineTexts[] = {
    // Details of a sight: measurements and units
    QT_TRANSLATE_NOOP("celestra::EngineText", "Body"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Sextant Alt."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Dip"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "  Height"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "  DipShort"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Disabled"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Index Corr."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Apparent Alt."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Refraction"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "  Temperature"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "  Pressure"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Parallax in Alt."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Semi-diameter"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Sum: R+S+PA"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Observed Alt."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Calc. Alt."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Azimuth"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Position Line"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "   in NM"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Dec"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "GHA Body"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "GHA Aries"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "GST"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "LST"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "SHA"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "LHA"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "DeltaT (sec)"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Obs Date, UTC"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Obs Time, UTC"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Obs Date, Loc."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Obs Time, Loc."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Obs Julian"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Obs Latitude"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Obs Longitude"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "AP Date, UTC"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "AP Time, UTC"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "AP Julian, UTC"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "AP Latitude"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "AP Longitude"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Speed"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Course"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "BrightStar #"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Body Index"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "M"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "nM"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "mB"),
    // The Enviro page's fields and units
    QT_TRANSLATE_NOOP("celestra::EngineText", "Height of eye:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Meters"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Temperature:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Pressure:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Index correction:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Minutes"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "DIP Short horizon:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "NMi"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Vessel speed:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Knots"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Course:"),
    // Reducing a sight
    QT_TRANSLATE_NOOP("celestra::EngineText", "No body or star is selected."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "The body's place is not available."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Date is outside Ephemeris range."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "You can download larger"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Ephemerides"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Ephemerides."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Ephemerides from"),
    QT_TRANSLATE_NOOP("celestra::EngineText",
                      "Assumed Position (AP) may not be set correctly on the Time Page.  Set it now to the current "
                      "location and time?"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Check AP Time and Location"),
    QT_TRANSLATE_NOOP("celestra::EngineText",
                      "Hint:  Click on the word \"Altitude\" to initialize; then press \"Calculate\".  "),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Click on the result to change format."),
    // The fix
    QT_TRANSLATE_NOOP("celestra::EngineText", "Fewer than two active sights: no fix."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "No standard error: the residuals sum to a negative value."),
    QT_TRANSLATE_NOOP("celestra::EngineText",
                      "No error ellipse: sin 2\u03b8 = 0 (B = 0), so its axes cannot be formed."),
    QT_TRANSLATE_NOOP("celestra::EngineText",
                      "No error ellipse: the lines of position do not bound it (n/2 - B/sin 2\u03b8 <= 0)."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "The lines of position are parallel: no fix can be formed."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "The estimate reached a pole: no fix can be formed."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "A sight could not be reduced again: no fix."),
    QT_TRANSLATE_NOOP("celestra::EngineText", "AP Correction:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "MPP at time of selected OBS:"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Click on graph"),
    // The calculators and the GPS page
    QT_TRANSLATE_NOOP("celestra::EngineText", "Nautical Miles"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Statute Miles"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "kilometers"),
    QT_TRANSLATE_NOOP("celestra::EngineText",
                      "Ellipsoidal distance undefined for coincident or antipodal places; spherical distance shown"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Use \"gpsd (Linux location service)\""),
    // The sight planner
    QT_TRANSLATE_NOOP("celestra::EngineText",
                      "The Sun does not rise to 6\u00b0 below the horizon that morning: no civil twilight."),
    QT_TRANSLATE_NOOP("celestra::EngineText",
                      "The Sun does not set to 6\u00b0 below the horizon that evening: no civil twilight."),
    // The chart's time steps
    QT_TRANSLATE_NOOP("celestra::EngineText", "1 Minute"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "10 Minutes"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Hour"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Day"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Week"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Month"),
    // Rise, set and the Moon's phases
    QT_TRANSLATE_NOOP("celestra::EngineText", "circ-polar"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "--no set--"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "--bright--"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "--no rise--"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "--no transit--"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Daylight Saving Time"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Standard Time"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "New Moon"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "First Quarter"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Full Moon"),
    QT_TRANSLATE_NOOP("celestra::EngineText", "Last Quarter"),
};

// Parts of engine texts that carry numbers or names; replaced where they
// stand. Each is long enough not to occur inside a name.
constexpr const char* kEngineFragments[] = {
    QT_TRANSLATE_NOOP("celestra::EngineFragment", "away from AP"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", "toward AP"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", "along Az:"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", "Initial Course:"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", "FOV:"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", "Intercept:"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", "Dist:"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", " NMi"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", " nMi"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", ", Upper Limb"),
    QT_TRANSLATE_NOOP("celestra::EngineFragment", ", Lower Limb"),
};

constexpr const char* kBodyNames[] = {
    QT_TRANSLATE_NOOP("celestra::Body", "Sun"),     QT_TRANSLATE_NOOP("celestra::Body", "Moon"),
    QT_TRANSLATE_NOOP("celestra::Body", "Mercury"), QT_TRANSLATE_NOOP("celestra::Body", "Venus"),
    QT_TRANSLATE_NOOP("celestra::Body", "Earth"),   QT_TRANSLATE_NOOP("celestra::Body", "Mars"),
    QT_TRANSLATE_NOOP("celestra::Body", "Jupiter"), QT_TRANSLATE_NOOP("celestra::Body", "Saturn"),
    QT_TRANSLATE_NOOP("celestra::Body", "Uranus"),  QT_TRANSLATE_NOOP("celestra::Body", "Neptune"),
    QT_TRANSLATE_NOOP("celestra::Body", "Pluto"),
};

// One line: translated whole, else its leading body name and its fragments.
QString engineLine(const QString& line) {
    const QByteArray whole = line.toUtf8();
    QString out = QCoreApplication::translate(kEngineContext, whole.constData());
    if (out != line) return out;
    if (const QString name = bodyText(whole.constData()); name != line) return name;
    out = line;
    for (const char* fragment : kEngineFragments) {
        const QString english = QString::fromUtf8(fragment);
        if (out.contains(english)) out.replace(english, QCoreApplication::translate(kFragmentContext, fragment));
    }
    // A body's name at the start ("Sun, Upper Limb").
    for (const char* name : kBodyNames) {
        const QString english = QString::fromUtf8(name);
        if (out.startsWith(english) && (out.size() == english.size() || out.at(english.size()) == QLatin1Char(',')))
            return bodyText(name) + out.mid(english.size());
    }
    return out;
}

}  // namespace

QStringList translationFolders() {
    QStringList folders;
    for (const std::string& folder : dataSearchFolders())
        folders << QString::fromStdString(folder) + QStringLiteral("/translations");
    return folders;
}

QString installTranslations(const QLocale& locale, const QStringList& folders) {
    for (const QString& language : locale.uiLanguages()) {
        // "de-DE" and "de" both take celestra_de.qm; English is the source.
        const QString code = language.section(QLatin1Char('-'), 0, 0).toLower();
        if (code == QStringLiteral("en") || code == QStringLiteral("c")) return {};
        for (const QString& folder : folders) {
            const QString file = folder + QStringLiteral("/celestra_") + code + QStringLiteral(".qm");
            if (!QFileInfo(file).isFile()) continue;
            auto* program = new QTranslator(QCoreApplication::instance());
            if (!program->load(file)) {
                delete program;
                continue;
            }
            QCoreApplication::installTranslator(program);
            // Qt's own texts (OK, Cancel, the file and print dialogs), when the system has them.
            auto* qt = new QTranslator(QCoreApplication::instance());
            if (qt->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                QCoreApplication::installTranslator(qt);
            else delete qt;
            installedLocale = QLocale(code);
            return code;
        }
    }
    return {};
}

QLocale translationLocale() { return installedLocale; }

QString engineText(const std::string& text) {
    const QString english = QString::fromStdString(text);
    const QString whole = QCoreApplication::translate(kEngineContext, text.c_str());
    if (whole != english || english.isEmpty()) return whole;
    // Line by line; "\r\n" ends a line as "\n" does.
    const bool crlf = english.contains(QStringLiteral("\r\n"));
    QStringList lines = QString(english).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        qsizetype start = 0;
        while (start < line.size() && line.at(start) == QLatin1Char(' ')) ++start;
        if (start < line.size()) line = line.left(start) + engineLine(line.mid(start));
    }
    return lines.join(crlf ? QStringLiteral("\r\n") : QStringLiteral("\n"));
}

QString engineText(const char* text) { return engineText(std::string(text ? text : "")); }

QString bodyText(const char* englishName) { return QCoreApplication::translate(kBodyContext, englishName); }

}  // namespace celestra
