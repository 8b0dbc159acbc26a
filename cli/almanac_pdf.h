// The almanac's PDF output: written by the desktop program's page layout,
// which registers itself here when the command line is built with it.
#pragma once

#include <string>

#include "navigation/nautical_almanac.h"

namespace celestra::cli {

enum class PaperSize { A4, Letter };

// Writes the daily pages, then the increments and corrections, to `path`;
// false with `error` when the file cannot be written.
using AlmanacPdfWriter = bool (*)(const NauticalAlmanac& almanac, const std::string& path, PaperSize paper,
                                  std::string& error);

// Registers the writer (at static initialisation); returns true.
bool registerAlmanacPdfWriter(AlmanacPdfWriter writer);

}  // namespace celestra::cli
