#include "model/observation_list.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/archive.h"

namespace celestra {
namespace {

CMeasure sight(double lat, double lon, double jd, int active = 1) {
    CMeasure m(CObserverState(jd, 0.0));
    m.observer.latitude = lat;
    m.observer.longitude = lon;
    m.active = active;
    return m;
}

TEST(Measure, DefaultsOfANewSight) {
    const CMeasure m(CObserverState(2451545.0, 0.0));
    EXPECT_EQ(m.active, 0);
    EXPECT_EQ(m.isStar, 1);
    EXPECT_EQ(m.bodyIndex, -1);
    EXPECT_EQ(m.reserved5, 1);
    EXPECT_EQ(m.dipShortDistance, 0.001);
    EXPECT_EQ(m.dipShortEnabled, 0.0);
    EXPECT_EQ(m.apTimeOverride, -1.0);
    EXPECT_EQ(m.ApTime(), 2451545.0);
    CMeasure o = m;
    o.apTimeOverride = 2451546.0;
    EXPECT_EQ(o.ApTime(), 2451546.0);
}

TEST(Measure, LoadingRepairsADipShortFlagThatIsNeitherZeroNorOne) {
    for (double flag : {0.5, -1.0, 2.0, std::nan("")}) {
        CMeasure m(CObserverState(2451545.0, 0.0));
        m.dipShortEnabled = flag;
        m.dipShortDistance = 3.5;
        m.course = 270.0;
        ArchiveWriter w;
        m.Serialize(w);
        EXPECT_EQ(w.bytes().size(), 348u);
        CMeasure back(CObserverState(0.0, 0.0));
        ArchiveReader r(w.bytes());
        back.Serialize(r);
        EXPECT_EQ(back.dipShortEnabled, 0.0);
        EXPECT_EQ(back.dipShortDistance, 0.001);
        EXPECT_EQ(back.course, 270.0);  // the doubles after it are still read in place
    }
    CMeasure on(CObserverState(2451545.0, 0.0));
    on.dipShortEnabled = 1.0;
    on.dipShortDistance = 3.5;
    ArchiveWriter w;
    on.Serialize(w);
    ArchiveReader r(w.bytes());
    CMeasure back(CObserverState(0.0, 0.0));
    back.Serialize(r);
    EXPECT_EQ(back.dipShortEnabled, 1.0);
    EXPECT_EQ(back.dipShortDistance, 3.5);
}

TEST(ObservationList, ArchiveOf0To40000Sights) {
    for (size_t n : {size_t{0}, size_t{1}, size_t{3}, size_t{40000}}) {
        SCOPED_TRACE(n);
        ObservationList list;
        for (size_t i = 0; i < n; ++i) list.Append(sight(10.0, 20.0, 2451545.0 + static_cast<double>(i)));
        ArchiveWriter w;
        list.Serialize(w);
        const auto& b = w.bytes();
        // count, then the first object with the new-class record, later ones as 0x8001.
        const size_t expected = 2 + (n ? 14 + 348 + (n - 1) * (2 + 348) : 0);
        ASSERT_EQ(b.size(), expected);
        EXPECT_EQ(b[0] | (b[1] << 8), static_cast<int>(n));
        if (n >= 3) {
            EXPECT_EQ(b[2 + 14 + 348], 0x01);
            EXPECT_EQ(b[2 + 14 + 348 + 1], 0x80);
            EXPECT_EQ(b[b.size() - 350], 0x01);
            EXPECT_EQ(b[b.size() - 349], 0x80);
        }
        ObservationList back;
        back.Append(sight(0, 0, 0));  // loading replaces what was there
        ArchiveReader r(b);
        back.Serialize(r);
        EXPECT_TRUE(r.atEnd());
        ASSERT_EQ(back.Count(), n);
        if (n) { EXPECT_EQ(back.At(n - 1).observer.instant, 2451545.0 + static_cast<double>(n - 1)); }
    }
}

TEST(ObservationList, ActiveSightsAndTheConsistencyCheck) {
    ObservationList list;
    EXPECT_EQ(list.FindInconsistentSight(), 0u);
    list.Append(sight(10.0, 20.0, 2451545.0, 0));  // inactive, different AP: ignored
    list.Append(sight(40.0, -70.0, 2451546.0));
    list.Append(sight(40.0, -70.0, 2451546.0));
    EXPECT_EQ(list.CountActive(), 2u);
    EXPECT_EQ(list.FindInconsistentSight(), 0u);

    CMeasure otherTime = sight(40.0, -70.0, 2451546.0);
    otherTime.apTimeOverride = 2451546.5;  // the override is the AP time
    list.Append(otherTime);
    EXPECT_EQ(list.FindInconsistentSight(), 3u);
    list.At(3).apTimeOverride = 2451546.0;  // the same instant, given as override
    EXPECT_EQ(list.FindInconsistentSight(), 0u);
    list.Append(sight(40.0, -70.000001, 2451546.0));
    EXPECT_EQ(list.FindInconsistentSight(), 4u);

    std::vector<CMeasure*> active;
    EXPECT_EQ(list.CopyActive(active), 4u);
    EXPECT_EQ(active.front(), &list.At(1));  // references, not copies

    EXPECT_TRUE(list.RemoveAt(4));
    EXPECT_FALSE(list.RemoveAt(4));
    EXPECT_EQ(list.Count(), 4u);
    const ObservationList copy = list;  // deep copy
    EXPECT_NE(&copy.At(0), &list.At(0));
    EXPECT_EQ(copy.At(1).observer.latitude, 40.0);
}

}  // namespace
}  // namespace celestra
