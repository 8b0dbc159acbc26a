// celestra-cli star: one entry of the bright-star table by its HR number.
#include <string>

#include "catalogs/star_catalog.h"
#include "cli/catalog_output.h"
#include "cli/cli.h"

namespace celestra::cli {
namespace {

int runStar(const std::vector<std::string>& words) {
    const Args args(words, {}, {"json"});
    if (args.positional().size() != 1) usageError("give one Bright Star number (1..9110)");
    const std::string& text = args.positional().front();
    const auto n = parseNumber(text);
    if (!n || *n != static_cast<int>(*n) || !starByNumber(static_cast<int>(*n))) {
        usageError("no bright star \"" + text + "\": the catalogue numbers run from 1 to 9110");
    }
    return printCatalogueObject(static_cast<int>(*n) - 1, args.flag("json"));
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"star", "a bright star's catalogue entry by its Bright Star (HR) number",
                             "Usage: celestra-cli star N [--json]\n"
                             "\n"
                             "Prints the information text of Bright Star Catalogue number N (1..9110):\n"
                             "name, identity, J2000 right ascension (hours) and declination (degrees),\n"
                             "magnitude, proper motions (seconds of time and arcseconds per century),\n"
                             "parallax, distance and radial velocity. --json gives the stored values:\n"
                             "number, identity, name, ra_hours, dec_deg, magnitude (thousandths),\n"
                             "pm_ra, pm_dec, parallax, radial_velocity, spectral_class, figure_links,\n"
                             "info_text, and object (the combined number), catalogue, label.\n"
                             "An unknown number exits with 2.\n",
                             runStar});

}  // namespace celestra::cli
