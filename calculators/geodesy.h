// Navigation geodesy: great-circle and ellipsoidal distance, initial course,
// and the place reached along a great circle or a rhumb line.
//
// Latitudes are degrees north-positive, longitudes degrees east-positive.
// Distances are nautical miles (one minute of great-circle arc is one
// nautical mile). The functions are pure and may be used from anywhere.
#pragma once

namespace celestra {

// Haversine distance on the sphere, nautical miles. Exact for coincident
// places (0) and well-conditioned for small separations.
double greatCircleDistanceSpherical(double lat1, double lon1, double lat2, double lon2);

// Distance on the GRS 80 ellipsoid. The formula has no answer when the two
// places coincide or are antipodal (its sin B divisor vanishes); `defined` is
// then false and `nauticalMiles` holds the spherical distance instead, so a
// caller can show that value beside a message.
struct EllipsoidalDistance {
    double nauticalMiles = 0.0;
    bool defined = true;
};
EllipsoidalDistance greatCircleDistanceEllipsoidal(double lat1, double lon1, double lat2, double lon2);

// Initial great-circle course from place 1 toward place 2, degrees true in
// [0, 360). Coincident places give 0.
double initialCourse(double lat1, double lon1, double lat2, double lon2);

struct GeoPoint {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive, in (-180, 180]
};

// The place reached from (lat, lon) on `courseDeg` true after `arcDegrees` of
// arc (nautical miles / 60), along a great circle or else a rhumb line. A rhumb
// line is only meaningful while it stays off the poles (|latitude| < 90),
// except that from a pole it may leave along the meridian of `lon`.
GeoPoint destinationPoint(double lat, double lon, double courseDeg, double arcDegrees, bool greatCircle);

// True when a rhumb line from `lat` on `courseDeg` for `arcDegrees` would
// reach or pass a pole (a loxodrome spirals into the pole, never across it).
bool rhumbLineReachesPole(double lat, double courseDeg, double arcDegrees);

// True when a rhumb line starts at a pole on a course that is not along a
// meridian (0° or 180°): it winds round the pole without end, so the place
// reached has no longitude. Along a meridian it keeps the given longitude.
bool rhumbLineUndefinedAtPole(double lat, double courseDeg);

}  // namespace celestra
