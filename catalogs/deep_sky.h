// Messier (110) and Caldwell (109) objects in the star record layout, and the
// combined numbering of all catalogue objects used by the sky model's
// per-object arrays and the chart: 0..9109 bright stars (HR - 1), 9110..9219
// M1..M110, 9220..9328 C1..C109.
#pragma once

#include <optional>
#include <string>

#include "catalogs/star_catalog.h"

namespace celestra {

constexpr int kMessierCount = 110;
constexpr int kCaldwellCount = 109;
constexpr int kFirstMessierObject = kBrightStarCount;                         // 9110
constexpr int kFirstCaldwellObject = kFirstMessierObject + kMessierCount;     // 9220
constexpr int kCatalogueObjectCount = kFirstCaldwellObject + kCaldwellCount;  // 9329
// Stored for a deep-sky object the source gives no magnitude (the Coalsack,
// NGC 6729): fainter than every chart limit.
constexpr std::int32_t kUnknownDeepSkyMagnitude = 20000;

enum class CatalogueKind { BrightStar, Messier, Caldwell };

// Entries by catalogue number (index n - 1); nullptr outside 1..110 / 1..109.
const StarEntry* messierByNumber(int n);
const StarEntry* caldwellByNumber(int n);

// Entry for combined object number k (0..9328), nullptr outside.
const StarEntry* catalogueObject(int k);
// Which table combined number k falls in; nullopt outside 0..9328.
std::optional<CatalogueKind> catalogueKind(int k);

// Chart label of any catalogue object: the deep-sky name field ("M31"), or
// the star's chart label.
std::string catalogueObjectLabel(int k);

// Information text of any catalogue object: starInfoText for a star; for a
// deep-sky object the same layout headed by its Messier or Caldwell number.
// Empty outside 0..9328.
std::string catalogueObjectInfoText(int k);

// Query text of the picture library: "catalog=messier&index=%d&name=%s",
// "catalog=caldwell&...", "catalog=brightstar&index=0&name=%s", and
// "catalog=unknown&index=0" outside the catalogues. The name is
// percent-encoded so a blank or '&' cannot break the query.
std::string pictureQueryText(int k);

// Combined number for a designation a user types: "M31", "C14", "BS2491" or
// "HR 2491", a combined number ("9140"), a star's proper name or
// Flamsteed/Bayer identity, or a deep-sky designation at the start of an
// identity ("NGC 224"). Case and blanks are ignored; nullopt when unknown.
std::optional<int> findCatalogueObject(const std::string& text);

}  // namespace celestra
