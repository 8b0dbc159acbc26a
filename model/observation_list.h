// The saved sights (lines of position) of a document, in the order they
// were saved, with the results of the last fix.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "model/measure.h"

namespace celestra {

class ArchiveReader;
class ArchiveWriter;

// Results of the last fix estimate; not stored in the document.
struct FixResults {
    int sightsUsed = 0;
    double standardError = 0.0;  // nautical miles (3 or more sights)
    // The major axis' direction counted anticlockwise from north (360 minus
    // its compass bearing), degrees [0, 360).
    double ellipseOrientation = 0.0;
    double semiMajorAxis = 0.0;  // nautical miles: 2.4 s / √(n/2 − B / sin 2θ)
    double semiMinorAxis = 0.0;  // nautical miles: 2.4 s / √(n/2 + B / sin 2θ)
    double theta = 0.0;          // ½ atan2(2B, A − C): bearing of the minor axis, degrees
    bool formed = false;         // a fix was computed
    double latitude = 0.0;       // the fix, degrees
    double longitude = 0.0;
    int iterations = 0;  // passes made
    bool hasStandardError = false;
    bool hasEllipse = false;
    std::string reason;         // why no fix was formed
    std::string ellipseReason;  // why no ellipse was formed (3 or more sights)
};

class ObservationList {
public:
    ObservationList() = default;
    ObservationList(const ObservationList& other);
    ObservationList& operator=(const ObservationList& other);
    ObservationList(ObservationList&&) noexcept = default;
    ObservationList& operator=(ObservationList&&) noexcept = default;

    void Append(const CMeasure& sight);
    void Append(std::unique_ptr<CMeasure> sight);
    // Removes and deletes the sight at `position`; false when there is none.
    bool RemoveAt(size_t position);
    void Clear() { sights_.clear(); }

    size_t Count() const { return sights_.size(); }
    bool Empty() const { return sights_.empty(); }
    CMeasure& At(size_t position) { return *sights_.at(position); }
    const CMeasure& At(size_t position) const { return *sights_.at(position); }

    size_t CountActive() const;
    // The active sights (references into this list, not copies); returns their number.
    size_t CopyActive(std::vector<CMeasure*>& out);
    // Position (0-based, over all sights) of the first active sight whose AP
    // latitude, longitude or time differs exactly from the first active
    // sight's; 0 when all agree (or fewer than two are active).
    size_t FindInconsistentSight() const;

    FixResults fix;

    // Count, then each sight as an object with its class ("CMeasure").
    void Serialize(ArchiveWriter& ar) const;
    // Replaces the contents with the sights read. Any other class name is an
    // ArchiveError.
    void Serialize(ArchiveReader& ar);

private:
    std::vector<std::unique_ptr<CMeasure>> sights_;
};

}  // namespace celestra
