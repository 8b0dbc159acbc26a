// The active colour scheme applied to the whole program: windows, dialogs,
// menus, the tool bar and the status line take their colours from the
// scheme's dialog and menu keys, so the Red scheme leaves no white light.
#pragma once

#include "model/color_scheme.h"

namespace celestra {

void applyProgramColors(const CColorScheme& scheme);

}  // namespace celestra
