#include "model/measure.h"

#include "core/archive.h"

namespace celestra {

void CMeasure::Serialize(ArchiveWriter& ar) const {
    observer.Serialize(ar);
    for (int32_t v : {active, isStar, bodyIndex, reserved5, upperLimb, correctionsDisabled}) ar.writeInt32(v);
    for (double v : {rightAscension, declination, distance, zenithDistance, azimuth, dipShortDistance, dipShortEnabled,
                     reserved15[0], reserved15[1], course, speed, apTimeOverride, observationTime})
        ar.writeDouble(v);
    ar.writeInt32(timeEnteredAsUtc);
    for (double v : {hs, ha, dip, indexCorrection, refractionCorrection, parallax, semiDiameter, ho, hc, intercept,
                     runTime, drLatitude, drLongitude, fixLongitude, fixLatitude, fixShift})
        ar.writeDouble(v);
}

void CMeasure::Serialize(ArchiveReader& ar) {
    observer.Serialize(ar);
    for (int32_t* v : {&active, &isStar, &bodyIndex, &reserved5, &upperLimb, &correctionsDisabled}) *v = ar.readInt32();
    for (double* v :
         {&rightAscension, &declination, &distance, &zenithDistance, &azimuth, &dipShortDistance, &dipShortEnabled})
        *v = ar.readDouble();
    if (dipShortEnabled != 1.0 && dipShortEnabled != 0.0) {
        dipShortEnabled = 0.0;
        dipShortDistance = 0.001;
    }
    for (double* v : {&reserved15[0], &reserved15[1], &course, &speed, &apTimeOverride, &observationTime})
        *v = ar.readDouble();
    timeEnteredAsUtc = ar.readInt32();
    for (double* v : {&hs, &ha, &dip, &indexCorrection, &refractionCorrection, &parallax, &semiDiameter, &ho, &hc,
                      &intercept, &runTime, &drLatitude, &drLongitude, &fixLongitude, &fixLatitude, &fixShift})
        *v = ar.readDouble();
}

}  // namespace celestra
