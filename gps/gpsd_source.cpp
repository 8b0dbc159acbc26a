#include "gps/gpsd_source.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/constants.h"
#include "core/json_reader.h"
#include "core/number_text.h"

namespace celestra {

namespace {

constexpr double kKnotsPerMeterPerSecond = 3600.0 / kMetresPerNauticalMile;

int digitsAt(std::string_view s, size_t pos, size_t count) {
    if (pos + count > s.size()) return -1;
    int value = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = s[pos + i];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> wholeNumber(const JsonValue& v, std::string_view name) {
    const auto n = v.Number(name);
    if (!n || *n < 0 || *n > 1e6) return std::nullopt;
    return static_cast<int>(*n);
}

std::string line(const char* fmt, double value) {
    char buffer[80];
    snprintfC(buffer, sizeof buffer, fmt, value);
    return buffer;
}

std::string line(const char* fmt, int value) {
    char buffer[80];
    snprintfC(buffer, sizeof buffer, fmt, value);
    return buffer;
}

}  // namespace

std::optional<BrokenDownTime> parseGpsdTime(std::string_view text) {
    // 2026-12-08T01:30:05.000Z
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
        text.back() != 'Z')
        return std::nullopt;
    const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2), minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    int milliseconds = 0;
    size_t pos = 19;
    if (text[pos] == '.') {
        int scale = 100;
        for (++pos; pos < text.size() - 1; ++pos, scale /= 10) {
            if (text[pos] < '0' || text[pos] > '9') return std::nullopt;
            milliseconds += (text[pos] - '0') * scale;
        }
    } else if (pos != text.size() - 1) {
        return std::nullopt;
    }
    return makeBrokenDownTime(year, month, day, hour, minute, second, milliseconds);
}

CGpsdSource::CGpsdSource(std::function<double()> clock) : clock_(std::move(clock)) {}

CGpsdSource::~CGpsdSource() { Close(); }

int CGpsdSource::Fail(int code, std::string text) {
    errorText_ = std::move(text);
    return code;
}

void CGpsdSource::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    pending_.clear();
    skipping_ = false;
}

int CGpsdSource::Open(const std::string& host, int port, int timeoutMs) {
    Close();
    errorText_.clear();
    const std::string where = host + ":" + std::to_string(port);
    if (port <= 0 || port > 65535) return Fail(EINVAL, "Invalid gpsd port in " + where);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int lookup = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (lookup != 0) return Fail(EHOSTUNREACH, "Cannot find gpsd host " + host + ": " + gai_strerror(lookup));

    int code = ECONNREFUSED;
    for (addrinfo* a = found; a && fd_ < 0; a = a->ai_next) {
        const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            code = errno;
            continue;
        }
        if (connect(fd, a->ai_addr, a->ai_addrlen) != 0 && errno != EINPROGRESS) {
            code = errno;
            close(fd);
            continue;
        }
        pollfd p{fd, POLLOUT, 0};
        int ready;
        do { ready = poll(&p, 1, timeoutMs); } while (ready < 0 && errno == EINTR);
        int soError = 0;
        socklen_t length = sizeof soError;
        if (ready <= 0) {
            code = ready == 0 ? ETIMEDOUT : errno;
        } else if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) != 0 || soError != 0) {
            code = soError ? soError : errno;
        } else {
            fd_ = fd;
            break;
        }
        close(fd);
    }
    freeaddrinfo(found);
    if (fd_ < 0) return Fail(code, "No gpsd answers on " + where + ": " + std::strerror(code));

    static const char kWatch[] = "?WATCH={\"enable\":true,\"json\":true}\n";
    if (send(fd_, kWatch, sizeof kWatch - 1, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof kWatch - 1)) {
        code = errno ? errno : EIO;
        Close();
        return Fail(code, "gpsd on " + where + " closed the connection");
    }
    return 0;
}

int CGpsdSource::Poll(int timeoutMs) {
    if (fd_ < 0) return Fail(ENOTCONN, "Not connected to gpsd");
    pollfd p{fd_, POLLIN, 0};
    int ready;
    do { ready = poll(&p, 1, timeoutMs); } while (ready < 0 && errno == EINTR);
    if (ready < 0) return Fail(errno, std::strerror(errno));
    if (ready == 0) return 0;

    // At most kMaxPollBytes per call: a gpsd (or anything on its port) that
    // never pauses must not keep the caller here; the rest waits in the
    // socket, and the kernel's flow control slows the sender meanwhile.
    char buffer[4096];
    size_t taken = 0;
    while (taken < kMaxPollBytes) {
        const ssize_t n = recv(fd_, buffer, std::min(sizeof buffer, kMaxPollBytes - taken), 0);
        if (n == 0) {
            Close();
            return Fail(ECONNRESET, "gpsd closed the connection");
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) break;
            const int code = errno;
            Close();
            return Fail(code, std::string("Lost the connection to gpsd: ") + std::strerror(code));
        }
        taken += static_cast<size_t>(n);
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!skipping_) ApplyReport(pending_);
                pending_.clear();
                skipping_ = false;
            } else if (!skipping_) {
                pending_ += c;
                if (pending_.size() > kMaxLine) {
                    pending_.clear();
                    skipping_ = true;
                }
            }
        }
    }
    return 0;
}

bool CGpsdSource::ApplyReport(std::string_view text) {
    const auto json = parseJson(text);
    if (!json || json->kind != JsonValue::Kind::Object) return false;
    const auto cls = json->String("class");
    if (!cls) return false;

    if (*cls == "VERSION") {
        state_.release = json->String("release").value_or("");
    } else if (*cls == "TPV") {
        GpsdState& s = state_;
        s.mode = wholeNumber(*json, "mode").value_or(0);
        const bool fix = s.mode >= 2;
        s.utc.reset();
        if (const auto t = json->String("time")) s.utc = parseGpsdTime(*t);
        const auto lat = json->Number("lat"), lon = json->Number("lon");
        s.latitudeDegrees = (lat && std::fabs(*lat) <= 90.0) ? lat : std::nullopt;
        s.longitudeDegrees = (lon && std::fabs(*lon) <= 180.0) ? lon : std::nullopt;
        s.speedMetersPerSecond = json->Number("speed");
        s.trackDegreesTrue = json->Number("track");
        s.magneticVariationDegrees = json->Number("magvar");
        // Older releases report "alt" only (above sea level).
        s.altitudeSeaLevelMeters = json->Number("altMSL");
        if (!s.altitudeSeaLevelMeters) s.altitudeSeaLevelMeters = json->Number("alt");
        s.altitudeEllipsoidMeters = json->Number("altHAE");

        GpsReceived& r = received_;
        if (fix && s.latitudeDegrees && s.longitudeDegrees) {
            r.latitudeValid = r.longitudeValid = true;
            r.latitudeDegrees = *s.latitudeDegrees;
            r.longitudeDegrees = *s.longitudeDegrees;
        }
        if (fix && s.utc) {
            r.timeReceived = true;
            r.utc = *s.utc;
            r.timeSource = GpsTimeSource::Gpsd;
            r.receivedAtSeconds = clock_();
        }
        if (fix) {
            if (s.speedMetersPerSecond) r.speedKnots = *s.speedMetersPerSecond * kKnotsPerMeterPerSecond;
            if (s.trackDegreesTrue) r.courseDegreesTrue = s.trackDegreesTrue;
            if (s.altitudeSeaLevelMeters && s.mode >= 3) r.altitudeMeters = s.altitudeSeaLevelMeters;
        }
    } else if (*cls == "SKY") {
        GpsdState& s = state_;
        // gpsd sends SKY reports that carry only some of these: keep the others.
        if (const auto v = json->Number("pdop")) s.positionDilution = v;
        if (const auto v = json->Number("hdop")) s.horizontalDilution = v;
        if (const auto v = json->Number("vdop")) s.verticalDilution = v;
        std::optional<int> used = wholeNumber(*json, "uSat"), visible = wholeNumber(*json, "nSat");
        if (const JsonValue* sats = json->Find("satellites"); sats && sats->kind == JsonValue::Kind::Array) {
            int count = 0;
            for (const JsonValue& sat : sats->items)
                if (sat.Bool("used").value_or(false)) ++count;
            if (!used) used = count;
            if (!visible) visible = static_cast<int>(sats->items.size());
        }
        if (used) s.satellitesUsed = used;
        if (visible) s.satellitesVisible = visible;
        if (used) received_.satellitesUsed = used;
    } else {
        return false;
    }
    ++state_.reports;
    return true;
}

std::string CGpsdSource::StatusText(int secondsSinceStart) const {
    const GpsdState& s = state_;
    std::string text = line("%d Seconds\r\n", secondsSinceStart);
    if (s.utc) {
        GpsReceived shown;
        shown.timeReceived = true;
        shown.utc = *s.utc;
        text += "UTC: " + gpsTimeFieldText(shown) + "\r\n";
    }
    const bool fix = s.mode >= 2;
    if (fix && s.latitudeDegrees) text += line("Lat: %lf\r", *s.latitudeDegrees);
    if (fix && s.longitudeDegrees) text += line("Lon: %lf\r", *s.longitudeDegrees);
    if (s.speedMetersPerSecond) text += line("Speed: %f\r", *s.speedMetersPerSecond * kKnotsPerMeterPerSecond);
    if (s.trackDegreesTrue) text += line("Heading: %f\r", *s.trackDegreesTrue);
    if (s.magneticVariationDegrees) text += line("MagVar: %lf\r", *s.magneticVariationDegrees);
    if (s.altitudeSeaLevelMeters) text += line("Alt Sea Level: %f\r", *s.altitudeSeaLevelMeters);
    if (s.altitudeEllipsoidMeters) text += line("Alt Ellipsoid: %f\r", *s.altitudeEllipsoidMeters);
    if (s.positionDilution) text += line("Dil of Prec: %f\r", *s.positionDilution);
    if (s.horizontalDilution) text += line("Horiz Dil of Prec: %f\r", *s.horizontalDilution);
    if (s.verticalDilution) text += line("Vert Dil of Prec: %f\r", *s.verticalDilution);
    if (s.satellitesUsed) text += line("Satellite Count: %d\r", *s.satellitesUsed);
    if (s.satellitesVisible) text += line("Satellites in view: %d\r", *s.satellitesVisible);
    return text;
}

bool CGpsdSource::Probe(const std::string& host, int port, int timeoutMs) {
    CGpsdSource source;
    if (source.Open(host, port, timeoutMs) != 0) return false;
    const double deadline = gpsMonotonicSeconds() + timeoutMs / 1000.0;
    while (source.State().release.empty()) {
        const double left = deadline - gpsMonotonicSeconds();
        if (left <= 0 || source.Poll(static_cast<int>(left * 1000.0) + 1) != 0) return false;
    }
    return true;
}

}  // namespace celestra
