// "Find...": what a typed text names on the sky. Stars by proper name, Bright
// Star number ("2491", "BS 2491", "HR 2491"), Bayer or Flamsteed identity ("alp CMa",
// "9 CMa"); the Sun, the Moon and the planets by name; a constellation by its
// name (it resolves to the star its label stands on); Messier and Caldwell
// objects by number ("M31", "Messier 31", "C 14", "Caldwell 14") or by a name
// in their record ("Andromeda Galaxy", "NGC 224").
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace celestra {

struct SkySearchHit {
    enum class Kind { Object, Body };
    Kind kind = Kind::Object;
    int id = 0;         // combined catalogue number 0..9328, or body number 1..11
    std::string label;  // what the page shows for it ("M31", "Sirius", "Mars", "Orion: Betelgeuse")
};

// Body names by number 1..11 ("Mercury" .. "Pluto", "Sun", "Moon"); "" outside.
const char* bodyName(int body);

// The object `text` names, ignoring case, accents and surrounding blanks;
// nullopt when nothing matches (an empty text matches nothing).
std::optional<SkySearchHit> findSkyObject(const std::string& text);

// Every text the completer offers, each of which findSkyObject resolves:
// the bodies, the constellations, the star names, "M1".."M110", "C1".."C109"
// and the deep-sky names. Built once; sorted, without duplicates.
const std::vector<std::string>& skySearchCandidates();

}  // namespace celestra
