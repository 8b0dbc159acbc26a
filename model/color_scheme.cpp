#include "model/color_scheme.h"

#include <utility>

#include "core/archive.h"

namespace celestra {

namespace {

constexpr ColorRef kMenuBackgroundSystem = 0xC8D0D4;  // 212,208,200

// Default tables, R,G,B per key in index order.
constexpr std::array<ColorRef, kColorKeyCount> kBlack = {
    rgb(40, 40, 40),    rgb(0, 0, 0),       rgb(128, 128, 128), rgb(125, 30, 162),  rgb(250, 205, 27),
    rgb(200, 200, 200), rgb(147, 145, 185), rgb(200, 50, 50),   rgb(200, 0, 0),     rgb(0, 255, 0),
    rgb(255, 255, 0),   rgb(85, 85, 85),    rgb(128, 128, 200), rgb(255, 222, 112), rgb(135, 129, 189),
    rgb(255, 255, 255), rgb(255, 255, 0),   rgb(172, 211, 115), rgb(255, 255, 255), rgb(255, 255, 0),
    rgb(0, 200, 255),   rgb(0, 100, 170),   rgb(89, 45, 0),     rgb(148, 74, 0),    rgb(0, 0, 0),
    rgb(192, 192, 192), rgb(0, 0, 0),       rgb(212, 208, 200), rgb(0, 190, 0),     rgb(255, 0, 0),
    rgb(255, 255, 0),   rgb(128, 255, 128), rgb(0, 160, 128),   rgb(150, 0, 0),
};
constexpr std::array<ColorRef, kColorKeyCount> kWhite = {
    rgb(200, 200, 200), rgb(255, 255, 255), rgb(128, 128, 128), rgb(131, 225, 95),  rgb(200, 10, 192),
    rgb(128, 128, 128), rgb(30, 20, 20),    rgb(232, 83, 83),   rgb(140, 0, 0),     rgb(0, 100, 0),
    rgb(255, 0, 0),     rgb(160, 160, 160), rgb(160, 160, 160), rgb(50, 50, 255),   rgb(0, 36, 144),
    rgb(20, 20, 20),    rgb(255, 0, 0),     rgb(0, 0, 0),       rgb(20, 20, 20),    rgb(30, 128, 30),
    rgb(0, 0, 0),       rgb(100, 100, 100), rgb(89, 45, 0),     rgb(148, 74, 0),    rgb(0, 0, 0),
    rgb(192, 192, 192), rgb(0, 0, 0),       rgb(212, 208, 200), rgb(255, 67, 255),  rgb(255, 0, 0),
    rgb(30, 30, 30),    rgb(40, 128, 40),   rgb(31, 196, 244),  rgb(255, 100, 100),
};
// The Red scheme keeps night vision: no key has green or blue above its red.
constexpr std::array<ColorRef, kColorKeyCount> kRed = {
    rgb(60, 0, 0),      rgb(0, 0, 0),       rgb(150, 20, 20),   rgb(204, 65, 89), rgb(212, 18, 33),  rgb(255, 128, 128),
    rgb(209, 132, 137), rgb(200, 0, 55),    rgb(128, 0, 0),     rgb(255, 60, 60), rgb(170, 0, 0),    rgb(100, 40, 40),
    rgb(90, 30, 30),    rgb(200, 20, 20),   rgb(160, 60, 60),   rgb(255, 0, 0),   rgb(255, 128, 0),  rgb(255, 128, 0),
    rgb(255, 0, 0),     rgb(255, 90, 40),   rgb(224, 40, 60),   rgb(140, 20, 40), rgb(89, 45, 0),    rgb(148, 74, 0),
    rgb(255, 128, 0),   rgb(40, 0, 0),      rgb(0, 0, 0),       rgb(200, 0, 0),   rgb(207, 118, 37), rgb(252, 116, 50),
    rgb(240, 80, 60),   rgb(223, 159, 159), rgb(255, 170, 150), rgb(150, 0, 0),
};
constexpr std::array<ColorRef, kColorKeyCount> kBase{};

std::function<ColorRef()>& menuTextSource() {
    static std::function<ColorRef()> source;
    return source;
}

}  // namespace

const std::array<const char*, kColorKeyCount>& colorKeyNames() {
    static const std::array<const char*, kColorKeyCount> names = {
        "BackgroundNotSky",   "BackgroundSky",
        "HorizonCircle",      "Constellations",
        "ConstellationNames", "Stars",
        "StarNames",          "MessierNames",
        "CaldwellNames",      "SelectionBox",
        "ZenithCrosshatch",   "GridPolar",
        "GridZenith",         "GridPolarText",
        "GridZenithText",     "InfoTime",
        "InfoTimeStopped",    "NSEW",
        "InfoStarData",       "NorthArrow",
        "OrreryOrbits",       "OrreryOrbitsBehind",
        "ZoomControlPen",     "ZoomControlBrush",
        "DialogText",         "DialogBackground",
        "MenuText",           "MenuBackground",
        "Ecliptic",           "Planets",
        "PlanetNames",        "PlanetOrbits",
        "CometNames",         "Telrad",
    };
    return names;
}

int32_t nextColorPreset(int32_t preset) {
    switch (preset) {
        case kPresetRed: return kPresetBlack;
        case kPresetBlack: return kPresetWhite;
        case kPresetWhite: return kPresetRed;
        default: return kPresetWhite;
    }
}

void setMenuTextColorSource(std::function<ColorRef()> source) { menuTextSource() = std::move(source); }

ColorRef menuTextColor() {
    const auto& source = menuTextSource();
    return source ? source() : rgb(0, 0, 0);
}

const std::array<ColorRef, kColorKeyCount>& defaultColors(CColorScheme::Kind kind) {
    switch (kind) {
        case CColorScheme::Kind::Black: return kBlack;
        case CColorScheme::Kind::White: return kWhite;
        case CColorScheme::Kind::Red: return kRed;
        case CColorScheme::Kind::Base: break;
    }
    return kBase;
}

CColorScheme::CColorScheme(Kind kind) : colors(defaultColors(kind)), kind_(kind) {}

void CColorScheme::ResetToDefaults() {
    firstFlag = 1;
    secondFlag = 1;
    if (kind_ == Kind::Base) return;
    colors = defaultColors(kind_);
    if (kind_ == Kind::Black || kind_ == Kind::White) {
        colors[MenuText] = menuTextColor();
        colors[MenuBackground] = kMenuBackgroundSystem;
    }
}

void CColorScheme::CopyColorsFrom(const CColorScheme& other) {
    colors = other.colors;
    firstFlag = other.firstFlag;
    secondFlag = other.secondFlag;
}

void CColorScheme::Serialize(ArchiveWriter& ar) const {
    ar.writeInt32(secondFlag);
    for (ColorRef c : colors) ar.writeUInt32(c);
    ar.writeInt32(firstFlag);
}

void CColorScheme::Serialize(ArchiveReader& ar) {
    secondFlag = ar.readInt32();
    for (ColorRef& c : colors) c = ar.readUInt32();
    firstFlag = ar.readInt32();
}

const CColorScheme& ColorSchemes::forPreset(int32_t preset) const {
    switch (preset) {
        case kPresetRed: return red;
        case kPresetWhite: return white;
        default: return black;
    }
}

CColorScheme& ColorSchemes::forPreset(int32_t preset) {
    return const_cast<CColorScheme&>(std::as_const(*this).forPreset(preset));
}

void ColorSchemes::ResetAll() {
    black.ResetToDefaults();
    white.ResetToDefaults();
    red.ResetToDefaults();
}

}  // namespace celestra
