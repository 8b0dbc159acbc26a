// celestra-cli object: any catalogue object by designation, name or number.
#include <string>

#include "catalogs/deep_sky.h"
#include "cli/catalog_output.h"
#include "cli/cli.h"

namespace celestra::cli {
namespace {

int runObject(const std::vector<std::string>& words) {
    const Args args(words, {}, {"json"});
    if (args.positional().empty()) usageError("give an object: M31, C14, BS2491, a name or a number 0..9328");
    // Several words form one designation: "object Alp CMa", "object NGC 224".
    std::string text;
    for (const std::string& w : args.positional()) text += (text.empty() ? "" : " ") + w;
    const auto k = findCatalogueObject(text);
    if (!k) {
        usageError("no catalogue object \"" + text +
                   "\": give M1..M110, C1..C109, BS1..BS9110, a combined number 0..9328, "
                   "a star's name or Bayer/Flamsteed identity, or an NGC/IC designation");
    }
    return printCatalogueObject(*k, args.flag("json"));
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"object", "a catalogue object (star, Messier, Caldwell) by designation, name or number",
                             "Usage: celestra-cli object M31|C14|BS2491|NUMBER|NAME [--json]\n"
                             "\n"
                             "Prints the information text of a catalogue object. Designations: M1..M110,\n"
                             "C1..C109, BS1..BS9110 (or HR...), a combined object number 0..9328\n"
                             "(0..9109 the bright stars, 9110..9219 Messier, 9220..9328 Caldwell), a\n"
                             "star's proper name (\"Sirius\"), its Bayer or Flamsteed identity (\"Alp CMa\",\n"
                             "\"9 CMa\") or an NGC/IC designation (\"NGC 224\"); case and blanks do not\n"
                             "matter. --json keys as for the star subcommand. An unknown object exits\n"
                             "with 2.\n",
                             runObject});

}  // namespace celestra::cli
