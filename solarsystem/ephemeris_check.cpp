#include "solarsystem/ephemeris_check.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "core/number_text.h"
#include "core/regular_file.h"

namespace celestra {

bool readEphemerisTestPoints(const std::string& path, std::vector<EphemerisTestPoint>& points, std::string* error) {
    points.clear();
    auto refuse = [&](const std::string& why) {
        if (error) *error = "test-point file " + path + ": " + why;
        points.clear();
        return false;
    };
    // JPL's test-point files are a few MiB at most.
    std::vector<uint8_t> bytes;
    InputFileError openError;
    if (readRegularFile(path, uint64_t{64} << 20, bytes, openError) != InputFileStatus::Ok)
        return refuse(openError.reason);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    bool body = false;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!body) {
            body = line.rfind("EOT", 0) == 0;
            continue;
        }
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());  // the file's decimal point, whatever the program's locale
        EphemerisTestPoint p;
        std::string date;
        if (!(fields >> p.deNumber >> date >> p.jd >> p.target >> p.centre >> p.component >> p.value))
            return refuse("line " + std::to_string(lineNumber) + " is not a test point");
        points.push_back(p);
    }
    if (!body) return refuse("has no \"EOT\" line");
    return true;
}

EphemerisCheckResult checkEphemerisTestPoints(EphemerisFile& file, const std::vector<EphemerisTestPoint>& points,
                                              double tolerance) {
    EphemerisCheckResult r;
    const EphemerisInfo info = file.info();
    double sumPosition = 0.0, sumVelocity = 0.0;
    int positions = 0, velocities = 0;
    for (const EphemerisTestPoint& p : points) {
        if (!file.isOpen() || p.jd < info.startJd || p.jd > info.endJd) {
            ++r.outsideRange;
            continue;
        }
        ++r.checked;
        double computed = 0.0;
        int code = 1;
        const bool angles = p.target == 14 || p.target == 15;
        if (angles) {
            const int k = p.target == 14 ? 11 : 12;
            const int components = p.target == 14 ? 2 : 3;
            int request[kEphemerisRequestCount] = {};
            request[k] = 2;
            double states[kEphemerisRequestCount][6];
            if (p.component >= 1 && p.component <= 2 * components) {
                code = file.interpolateBodies(p.jd, request, states, true);
                computed = states[k][p.component - 1];
            }
        } else if (p.component >= 1 && p.component <= 6) {
            double out[6];
            code = file.targetRelativeTo(p.jd, p.target, p.centre, out);
            computed = out[p.component - 1];
        }
        const double error = computed - p.value;
        if (angles) {
            r.maxAngleError = std::fmax(r.maxAngleError, std::fabs(error));
        } else if (p.component <= 3) {
            r.maxPositionError = std::fmax(r.maxPositionError, std::fabs(error));
            sumPosition += error * error;
            ++positions;
        } else {
            r.maxVelocityError = std::fmax(r.maxVelocityError, std::fabs(error));
            sumVelocity += error * error;
            ++velocities;
        }
        if (code != 0 || !(std::fabs(error) <= tolerance)) {
            if (r.failed++ == 0) {
                char text[200];
                snprintfC(text, sizeof text,
                          "JD %.1f target %d centre %d component %d: expected %.15g, got %.15g (code %d)", p.jd,
                          p.target, p.centre, p.component, p.value, computed, code);
                r.firstFailure = text;
            }
        }
    }
    if (positions) r.rmsPositionError = std::sqrt(sumPosition / positions);
    if (velocities) r.rmsVelocityError = std::sqrt(sumVelocity / velocities);
    return r;
}

}  // namespace celestra
