// make_ephemeris: writes Celestra's default planetary ephemeris, JPL DE405
// for 1959-12-10 .. 2060-01-30, in the standard JPL binary layout, from the
// DE405 coefficient table that Debian ships in casacore-data-jpl-de405.
//
//   make_ephemeris TABLE_F0I OUTPUT [TESTPO]
//
// TABLE_F0I  /usr/share/casacore/data/ephemerides/DE405/table.f0i: a 12-byte
//            file header, then one row per 32-day record: a 16-byte row
//            header (its last int32 is the row's length in doubles, 1018),
//            the record's 1016 Chebyshev coefficients and two zero doubles.
//            Rows are little-endian and in date order; row k covers
//            JD(TDB) 2436912.5 + 32k .. 2436912.5 + 32(k+1).
// OUTPUT     the file to write. It is first written as OUTPUT.part
//            and renamed only once it reads back (and, with TESTPO, agrees
//            with every test point it covers to 1e-12 au and au/day), so a
//            failed run never leaves a damaged file in place.
// TESTPO     JPL's DE405 test-point file (optional).
// Beside OUTPUT it writes OUTPUT.sha256, the file's SHA-256 as sha256sum
// prints it; the program checks the default ephemeris against it.
//
// Exit status 0 on success, 1 on any failure (a message on stderr).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/sha256.h"
#include "solarsystem/ephemeris.h"
#include "solarsystem/ephemeris_check.h"

namespace {

using celestra::kEphemerisRecordBytes;
using celestra::kEphemerisRecordDoubles;

constexpr double kStartJd = 2436912.5;  // first day of the table's first row (TDB)
constexpr double kSpanDays = 32.0;
constexpr int kCoefficientsPerRecord = 1016;
constexpr int kTableFileHeaderBytes = 12;
constexpr int kRowHeaderBytes = 16;
constexpr int kRowBytes = kRowHeaderBytes + kEphemerisRecordDoubles * 8;
constexpr double kTestTolerance = 1e-12;

// DE405 constants: astronomical unit (km), Earth/Moon mass ratio, and the
// coefficient layout of a record (first index, coefficients, sub-intervals)
// for Mercury, Venus, the Earth-Moon barycentre, Mars, Jupiter, Saturn,
// Uranus, Neptune, Pluto, the geocentric Moon, the Sun, nutations, then librations.
constexpr double kAuKm = 149597870.691;
constexpr double kEarthMoonMassRatio = 81.30056;
constexpr int32_t kPointers[13][3] = {{3, 14, 4},   {171, 10, 2}, {231, 13, 2}, {309, 11, 1}, {342, 8, 1},
                                      {366, 7, 1},  {387, 6, 1},  {405, 6, 1},  {423, 6, 1},  {441, 13, 8},
                                      {753, 11, 2}, {819, 10, 4}, {899, 10, 4}};

struct Constant {
    const char* name;
    double value;
};
// The 156 named constants of the DE405 header, in file order.
const Constant kConstants[] = {
    {"DENUM", 405.0},
    {"LENUM", 405.0},
    {"TDATEF", 0.0},
    {"TDATEB", 1.19970525194723e+16},
    {"CENTER", 0.0},
    {"CLIGHT", 299792.458},
    {"AU", 149597870.691},
    {"EMRAT", 81.30056},
    {"GM1", 4.912547451450812e-11},
    {"GM2", 7.243452486162703e-10},
    {"GMB", 8.997011346712499e-10},
    {"GM4", 9.549535105779258e-11},
    {"GM5", 2.8253459095242264e-07},
    {"GM6", 8.459715185680659e-08},
    {"GM7", 1.2920249167819694e-08},
    {"GM8", 1.5243589007842763e-08},
    {"GM9", 2.1886997654259697e-12},
    {"GMS", 0.0002959122082855911},
    {"RAD1", 2439.76},
    {"RAD2", 6052.3},
    {"RAD4", 3397.515},
    {"JDEPOC", 2440400.5},
    {"X1", 0.3617627146035093},
    {"Y1", -0.09078196772958605},
    {"Z1", -0.08571498318176335},
    {"XD1", 0.00336749391398414},
    {"YD1", 0.024894520467648874},
    {"ZD1", 0.012946300688650358},
    {"X2", 0.612751941341838},
    {"Y2", -0.3483653684949682},
    {"Z2", -0.19527828898022992},
    {"XD2", 0.010952068361699194},
    {"YD2", 0.015617684365262055},
    {"ZD2", 0.006331105553601057},
    {"XB", 0.12051741729540039},
    {"YB", -0.9258384789394528},
    {"ZB", -0.401540220801811},
    {"XDB", 0.016811268303992644},
    {"YDB", 0.0017483093133816164},
    {"ZDB", 0.0007582028689905378},
    {"X4", -0.11018607428285881},
    {"Y4", -1.3275994561325557},
    {"Z4", -0.6058891326142037},
    {"XD4", 0.014481653059735103},
    {"YD4", 0.0002424631177602962},
    {"ZD4", -0.00028152073424800533},
    {"X5", -5.379706898835912},
    {"Y5", -0.8304805814601515},
    {"Z5", -0.22482870022837284},
    {"XD5", 0.0010920115430088524},
    {"YD5", -0.006518116565792683},
    {"ZD5", -0.0028207831653650475},
    {"X6", 7.894392441979052},
    {"Y6", 4.596477801626945},
    {"Z6", 1.5586975735302668},
    {"XD6", -0.003217555239303309},
    {"YD6", 0.004335809858955276},
    {"ZD6", 0.0019286465656538445},
    {"X7", -18.265398306822032},
    {"Y7", -1.1619445055181146},
    {"Z7", -0.25010348393737786},
    {"XD7", 0.00022118841741776543},
    {"YD7", -0.003762475932846577},
    {"ZD7", -0.001651014703068002},
    {"X8", -16.05504258376823},
    {"Y8", -23.942181216178568},
    {"Z8", -9.40015672354883},
    {"XD8", 0.0026427710433669163},
    {"YD8", -0.0014983144553592097},
    {"ZD8", -0.0006790419030179561},
    {"X9", -30.483319603999316},
    {"Y9", -0.8724783554957969},
    {"Z9", 8.911563040989932},
    {"XD9", 0.00032221044772358804},
    {"YD9", -0.0031435703021520205},
    {"ZD9", -0.0010779488297393042},
    {"XM", -0.0008081773279114842},
    {"YM", -0.0019946300016203994},
    {"ZM", -0.0010872626608381018},
    {"XDM", 0.0006010848166591299},
    {"YDM", -0.00016744546061515147},
    {"ZDM", -8.556214497398616e-05},
    {"XS", 0.0045025081562338936},
    {"YS", 0.0007670747009323788},
    {"ZS", 0.00026605680517702713},
    {"XDS", -3.5174820964518867e-07},
    {"YDS", 5.17762539958483e-06},
    {"ZDS", 2.229101854391665e-06},
    {"BETA", 1.0},
    {"GAMMA", 1.0},
    {"J2SUN", 2e-07},
    {"GDOT", 0.0},
    {"MA0001", 1.390787378942278e-13},
    {"MA0002", 2.959122082855911e-14},
    {"MA0004", 3.846858707712684e-14},
    {"MAD1", 1.8},
    {"MAD2", 2.4},
    {"MAD3", 5.0},
    {"RE", 6378.137},
    {"ASUN", 696000.0},
    {"PHI", 0.0051299597051581245},
    {"THT", 0.3823906558768601},
    {"PSI", 1.2941422241102787},
    {"OMEGAX", 4.5247044990228e-05},
    {"OMEGAY", -2.23092763198743e-06},
    {"OMEGAZ", 0.229944858701367},
    {"AM", 1738.0},
    {"J2M", 0.00020431200665465293},
    {"J3M", 8.78546950779311e-06},
    {"J4M", -1.45383007072e-07},
    {"C22M", 2.251782439166225e-05},
    {"C31M", 3.0803809783429375e-05},
    {"C32M", 4.87980736275513e-06},
    {"C33M", 1.7701764624348135e-06},
    {"S31M", 4.259328630030294e-06},
    {"S32M", 1.6955162680003687e-06},
    {"S33M", -2.7097009665669175e-07},
    {"C41M", -7.17780149806e-06},
    {"C42M", -1.43951838385e-06},
    {"C43M", -8.54788154819e-08},
    {"C44M", -1.5490389313e-07},
    {"S41M", 2.94743374914e-06},
    {"S42M", -2.8843721272e-06},
    {"S43M", -7.88967312839e-07},
    {"S44M", 5.6404155572e-08},
    {"LBET", 0.0006316121342194731},
    {"LGAM", 0.00022785831399775596},
    {"K2M", 0.029922116659705348},
    {"TAUM", 0.16671655584928446},
    {"AE", 6378.137},
    {"J2E", 0.001082626},
    {"J3E", -2.533e-06},
    {"J4E", -1.616e-06},
    {"K2E0", 0.34},
    {"K2E1", 0.3},
    {"K2E2", 0.3},
    {"TAUE0", 0.0},
    {"TAUE1", 0.01290895939156023},
    {"TAUE2", 0.006941785584052303},
    {"DROTEX", 0.000244},
    {"DROTEY", -0.001193},
    {"GMAST1", 6.466825433842555e-14},
    {"GMAST2", 1.277481189104146e-14},
    {"GMAST3", 3.334058772960295e-15},
    {"KVC", 0.0},
    {"IFAC", 0.0003},
    {"PHIC", -0.0042595183},
    {"THTC", 0.4088443},
    {"PSIC", -1.714509},
    {"OMGCX", 0.0},
    {"OMGCY", -1.5816707e-06},
    {"OMGCZ", 0.229888},
    {"PSIDOT", 0.0},
    {"MGMIS", 1.0},
    {"ROTEX", 0.0},
    {"ROTEY", 0.0},
};

bool fail(const std::string& message) {
    std::fprintf(stderr, "make_ephemeris: %s\n", message.c_str());
    return false;
}

template <class T>
void put(std::vector<unsigned char>& record, size_t offset, T value) {
    std::memcpy(record.data() + offset, &value, sizeof value);
}

// "2436912.5 1959 DEC 10" style calendar text of a Julian day at 0h (Gregorian).
std::string calendarText(double jd) {
    const long z = static_cast<long>(std::floor(jd + 0.5));
    const long a = z + 32044, b = (4 * a + 3) / 146097, c = a - 146097 * b / 4;
    const long d = (4 * c + 3) / 1461, e = c - 1461 * d / 4, m = (5 * e + 2) / 153;
    const long day = e - (153 * m + 2) / 5 + 1, month = m + 3 - 12 * (m / 10), year = 100 * b + d - 4800 + m / 10;
    static const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    char text[64];
    std::snprintf(text, sizeof text, "%.1f %ld %s %02ld", jd, year, kMonths[month - 1], day);
    return text;
}

void putTitle(std::vector<unsigned char>& record, int line, const std::string& text) {
    std::string padded = text;
    padded.resize(84, ' ');
    std::memcpy(record.data() + 84 * line, padded.data(), 84);
}

std::vector<unsigned char> headerRecord(double endJd) {
    std::vector<unsigned char> record(kEphemerisRecordBytes, 0);
    putTitle(record, 0, "JPL Planetary Ephemeris DE405/DE405");
    putTitle(record, 1, "Start Epoch: JED=  " + calendarText(kStartJd) + " 00:00:00");
    putTitle(record, 2, "Final Epoch: JED=  " + calendarText(endJd) + " 00:00:00");
    const size_t count = sizeof kConstants / sizeof kConstants[0];
    for (size_t i = 0; i < count; ++i) {
        std::string name = kConstants[i].name;
        name.resize(6, ' ');
        std::memcpy(record.data() + 252 + 6 * i, name.data(), 6);
    }
    for (size_t i = count; i < 400; ++i) std::memset(record.data() + 252 + 6 * i, ' ', 6);
    put(record, 2652, kStartJd);
    put(record, 2660, endJd);
    put(record, 2668, kSpanDays);
    put(record, 2676, static_cast<int32_t>(count));
    put(record, 2680, kAuKm);
    put(record, 2688, kEarthMoonMassRatio);
    for (int k = 0; k < 12; ++k)
        for (int j = 0; j < 3; ++j) put(record, 2696 + 12 * k + 4 * j, kPointers[k][j]);
    put(record, 2840, static_cast<int32_t>(405));
    for (int j = 0; j < 3; ++j) put(record, 2844 + 4 * j, kPointers[12][j]);
    return record;
}

std::vector<unsigned char> constantsRecord() {
    std::vector<unsigned char> record(kEphemerisRecordBytes, 0);
    const size_t count = sizeof kConstants / sizeof kConstants[0];
    for (size_t i = 0; i < count; ++i) put(record, 8 * i, kConstants[i].value);
    return record;
}

bool readFile(const std::string& path, std::vector<unsigned char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool convert(const std::string& tablePath, const std::string& outputPath, const std::string& testPath) {
    std::vector<unsigned char> table;
    if (!readFile(tablePath, table)) return fail("cannot read " + tablePath);
    if (table.size() <= static_cast<size_t>(kTableFileHeaderBytes) ||
        (table.size() - kTableFileHeaderBytes) % kRowBytes != 0)
        return fail(tablePath + " is not a table of " + std::to_string(kRowBytes) + "-byte rows (" +
                    std::to_string(table.size()) + " bytes)");
    const size_t rows = (table.size() - kTableFileHeaderBytes) / kRowBytes;
    const double endJd = kStartJd + kSpanDays * static_cast<double>(rows);

    const std::string temporary = outputPath + ".part";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) return fail("cannot create " + temporary);
    bool ok = std::fwrite(headerRecord(endJd).data(), 1, kEphemerisRecordBytes, out) == kEphemerisRecordBytes &&
              std::fwrite(constantsRecord().data(), 1, kEphemerisRecordBytes, out) == kEphemerisRecordBytes;
    std::vector<unsigned char> record(kEphemerisRecordBytes);
    for (size_t k = 0; ok && k < rows; ++k) {
        const unsigned char* row = table.data() + kTableFileHeaderBytes + k * kRowBytes;
        int32_t length = 0;
        std::memcpy(&length, row + 12, sizeof length);
        if (length != kEphemerisRecordDoubles) {
            std::fclose(out);
            std::remove(temporary.c_str());
            return fail(tablePath + ": row " + std::to_string(k) + " holds " + std::to_string(length) +
                        " doubles, not " + std::to_string(kEphemerisRecordDoubles));
        }
        put(record, 0, kStartJd + kSpanDays * static_cast<double>(k));
        put(record, 8, kStartJd + kSpanDays * static_cast<double>(k + 1));
        std::memcpy(record.data() + 16, row + kRowHeaderBytes, kCoefficientsPerRecord * 8);
        ok = std::fwrite(record.data(), 1, kEphemerisRecordBytes, out) == kEphemerisRecordBytes;
    }
    ok = (std::fclose(out) == 0) && ok;
    if (!ok) {
        std::remove(temporary.c_str());
        return fail("cannot write " + temporary);
    }

    // Read the result back with the program's own reader before it replaces anything.
    celestra::EphemerisFile file;
    std::string error;
    if (!file.open(temporary, &error)) {
        std::remove(temporary.c_str());
        return fail("the written file does not read back: " + error);
    }
    if (!testPath.empty()) {
        std::vector<celestra::EphemerisTestPoint> points;
        if (!celestra::readEphemerisTestPoints(testPath, points, &error)) {
            std::remove(temporary.c_str());
            return fail(error);
        }
        const celestra::EphemerisCheckResult r = celestra::checkEphemerisTestPoints(file, points, kTestTolerance);
        std::printf("make_ephemeris: %d test points checked: max error %.2e au, %.2e au/day, %.2e rad\n", r.checked,
                    r.maxPositionError, r.maxVelocityError, r.maxAngleError);
        if (r.failed != 0 || r.checked == 0) {
            std::remove(temporary.c_str());
            return fail(std::to_string(r.failed) + " of " + std::to_string(r.checked) +
                        " test points disagree; first: " + r.firstFailure);
        }
    }
    file.close();
    // The digest the program checks the default file against, in the form
    // sha256sum writes (and checks with -c in the output's folder).
    std::vector<unsigned char> written;
    if (!readFile(temporary, written)) {
        std::remove(temporary.c_str());
        return fail("cannot read back " + temporary);
    }
    const size_t slash = outputPath.find_last_of('/');
    const std::string name = slash == std::string::npos ? outputPath : outputPath.substr(slash + 1);
    const std::string digestLine = celestra::sha256Hex(written.data(), written.size()) + "  " + name + "\n";
    const std::string digestPath = celestra::ephemerisDigestPath(outputPath);
    const std::string digestTemporary = digestPath + ".part";
    std::FILE* digest = std::fopen(digestTemporary.c_str(), "wb");
    const bool digestOk = digest && std::fwrite(digestLine.data(), 1, digestLine.size(), digest) == digestLine.size();
    const bool closed = digest && std::fclose(digest) == 0;
    if (!digestOk || !closed || std::rename(digestTemporary.c_str(), digestPath.c_str()) != 0) {
        std::remove(digestTemporary.c_str());
        std::remove(temporary.c_str());
        return fail("cannot write " + digestPath);
    }
    if (std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
        std::remove(temporary.c_str());
        return fail("cannot rename " + temporary + " to " + outputPath);
    }
    std::printf("make_ephemeris: wrote %s (%zu records, JD %.1f to %.1f)\n", outputPath.c_str(), rows, kStartJd, endJd);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: make_ephemeris TABLE_F0I OUTPUT [TESTPO]\n");
        return 1;
    }
    return convert(argv[1], argv[2], argc == 4 ? argv[3] : "") ? 0 : 1;
}
