#include "solarsystem/ephemeris.h"
