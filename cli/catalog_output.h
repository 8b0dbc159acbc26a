// Output shared by the catalogue subcommands (star, object): the information
// text for a terminal and the JSON record in the table's stored units.
#pragma once

namespace celestra::cli {

// Prints catalogue object k (combined number 0..9328, valid) as text or JSON;
// returns the exit code.
int printCatalogueObject(int k, bool json);

}  // namespace celestra::cli
