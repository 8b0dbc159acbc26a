// What every Qt test of the program needs before its QApplication: the
// offscreen platform unless the caller chose one, and a temporary home with
// its own settings, documents, data and cache folders, where the default
// ephemeris is linked in so the program finds it as an installed one.
#pragma once

#include <QString>

namespace celestra::test {

// Call first in main(). Returns the temporary home.
QString prepareQtTestEnvironment();

// The default ephemeris the build made ("" when there is none).
QString builtEphemeris();

}  // namespace celestra::test
