// The 57 selected stars of the nautical almanac and Polaris: the stars a
// navigator shoots, by the names the almanac prints.
#pragma once

#include <vector>

namespace celestra {

// A navigational star: its almanac name and Bright Star number.
struct NavigationalStar {
    const char* name;
    int number;
};

// The 57 stars and Polaris, sorted by name ignoring case. Each is found in
// the catalogue by its proper name, or by its Bayer identity where the
// catalogue's name differs (or is missing).
const std::vector<NavigationalStar>& navigationalStars();

// The almanac's name of Bright Star number n, or nullptr when it is not one
// of these stars.
const char* navigationalStarName(int number);

}  // namespace celestra
