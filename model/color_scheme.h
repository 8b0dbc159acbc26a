// Colour schemes: the 34 colours every drawing takes its pens and brushes
// from, in three kinds (Red night vision, Black sky, White sky).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace celestra {

class ArchiveReader;
class ArchiveWriter;

// A colour as 0x00BBGGRR (red in the low byte).
using ColorRef = uint32_t;
constexpr ColorRef rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

constexpr int kColorKeyCount = 34;

// Colour keys in index order; the names are the dialog's texts.
enum ColorKey : int {
    BackgroundNotSky,
    BackgroundSky,
    HorizonCircle,
    Constellations,
    ConstellationNames,
    Stars,
    StarNames,
    MessierNames,
    CaldwellNames,
    SelectionBox,
    ZenithCrosshatch,
    GridPolar,
    GridZenith,
    GridPolarText,
    GridZenithText,
    InfoTime,
    InfoTimeStopped,
    NSEW,
    InfoStarData,
    NorthArrow,
    OrreryOrbits,
    OrreryOrbitsBehind,
    ZoomControlPen,
    ZoomControlBrush,
    DialogText,
    DialogBackground,
    MenuText,
    MenuBackground,
    Ecliptic,
    Planets,
    PlanetNames,
    PlanetOrbits,
    CometNames,
    Telrad,
};

// The 34 key names, in index order ("BackgroundNotSky" ... "Telrad").
const std::array<const char*, kColorKeyCount>& colorKeyNames();

// Preset numbers as the drawing state stores them.
enum ColorPreset : int32_t { kPresetRed = 0, kPresetBlack = 1, kPresetWhite = 2 };
constexpr int32_t kDefaultColorPreset = kPresetBlack;

// Red -> Black -> White -> Red. A number that is no preset is taken as the
// default preset (Black), so the next is White.
int32_t nextColorPreset(int32_t preset);

// Source of the system's menu-text colour, used when a Black or White scheme
// is reset. The GUI installs one; until then it is black. An empty function
// restores the default. Not thread-safe: set it at start-up.
void setMenuTextColorSource(std::function<ColorRef()> source);
ColorRef menuTextColor();

class CColorScheme {
public:
    enum class Kind { Base, Black, White, Red };

    // Constructed with the defaults of its kind (a Base scheme: all black, both flags 1).
    explicit CColorScheme(Kind kind = Kind::Base);

    Kind kind() const { return kind_; }

    std::array<ColorRef, kColorKeyCount> colors{};
    int32_t firstFlag = 1;   // 1 after construction, reset and any edit
    int32_t secondFlag = 1;  // 1 after construction and reset; 0 after a colour is picked from the chooser

    // Loads the kind's default table and sets both flags to 1; Black and White
    // then take MenuText from menuTextColor() and MenuBackground 0xC8D0D4.
    // A Base scheme only sets the flags.
    void ResetToDefaults();

    // Copies colours and flags from another scheme, keeping this one's kind
    // (the chart's embedded scheme takes the active scheme this way).
    void CopyColorsFrom(const CColorScheme& other);

    // int32 second flag, 34 int32 colours, int32 first flag: 144 bytes.
    void Serialize(ArchiveWriter& ar) const;
    void Serialize(ArchiveReader& ar);

private:
    Kind kind_;
};

// The default table of a kind, as in the scheme's constructor (before the
// menu colours of a reset are applied).
const std::array<ColorRef, kColorKeyCount>& defaultColors(CColorScheme::Kind kind);

// The three schemes the colour file holds, in file order.
struct ColorSchemes {
    CColorScheme black{CColorScheme::Kind::Black};
    CColorScheme white{CColorScheme::Kind::White};
    CColorScheme red{CColorScheme::Kind::Red};

    // Preset 0 Red, 1 Black, 2 White; any other number gives Black.
    const CColorScheme& forPreset(int32_t preset) const;
    CColorScheme& forPreset(int32_t preset);
    void ResetAll();
};

}  // namespace celestra
