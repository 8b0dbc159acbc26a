#include "model/observation_list.h"

#include <string>

#include "core/archive.h"

namespace celestra {

ObservationList::ObservationList(const ObservationList& other) : fix(other.fix) {
    sights_.reserve(other.sights_.size());
    for (const auto& s : other.sights_) sights_.push_back(std::make_unique<CMeasure>(*s));
}

ObservationList& ObservationList::operator=(const ObservationList& other) {
    if (this != &other) {
        ObservationList copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void ObservationList::Append(const CMeasure& sight) { sights_.push_back(std::make_unique<CMeasure>(sight)); }

void ObservationList::Append(std::unique_ptr<CMeasure> sight) {
    if (sight) sights_.push_back(std::move(sight));
}

bool ObservationList::RemoveAt(size_t position) {
    if (position >= sights_.size()) return false;
    sights_.erase(sights_.begin() + static_cast<std::ptrdiff_t>(position));
    return true;
}

size_t ObservationList::CountActive() const {
    size_t n = 0;
    for (const auto& s : sights_)
        if (s->active) ++n;
    return n;
}

size_t ObservationList::CopyActive(std::vector<CMeasure*>& out) {
    size_t n = 0;
    for (auto& s : sights_)
        if (s->active) {
            out.push_back(s.get());
            ++n;
        }
    return n;
}

size_t ObservationList::FindInconsistentSight() const {
    const CMeasure* first = nullptr;
    for (size_t i = 0; i < sights_.size(); ++i) {
        const CMeasure& s = *sights_[i];
        if (!s.active) continue;
        if (!first) {
            first = &s;
            continue;
        }
        // Exact comparison: sights taken from one AP carry identical values.
        if (s.observer.latitude != first->observer.latitude || s.observer.longitude != first->observer.longitude ||
            s.ApTime() != first->ApTime())
            return i;
    }
    return 0;
}

void ObservationList::Serialize(ArchiveWriter& ar) const {
    ar.writeCount(sights_.size());
    for (const auto& s : sights_) {
        ar.writeObjectClass(CMeasure::kClassName);
        s->Serialize(ar);
    }
}

void ObservationList::Serialize(ArchiveReader& ar) {
    sights_.clear();
    const size_t start = ar.offset();
    const uint64_t count = ar.readCount();
    // Each sight takes at least 350 bytes (class tag and record): a count beyond what the rest of
    // the file can hold is damage, and must not reserve memory.
    if (count > ar.remaining() / 350) ar.fail("sight count larger than the file can hold", start);
    sights_.reserve(static_cast<size_t>(count));
    for (uint64_t i = 0; i < count; ++i) {
        const size_t at = ar.offset();
        const std::string name = ar.readObjectClass();
        if (name != CMeasure::kClassName) ar.fail("unexpected class \"" + name + "\" in the sight list", at);
        auto sight = std::make_unique<CMeasure>(CObserverState(0.0, 0.0));
        sight->Serialize(ar);
        sights_.push_back(std::move(sight));
    }
}

}  // namespace celestra
