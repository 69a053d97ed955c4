// The sixteen colours every 4-bit picture of the program uses, in the order
// of the system's standard palette, so a colour's index is its pixel value.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace icons {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

struct NamedColour {
    std::string_view name;
    Rgb rgb;
};

inline constexpr std::array<NamedColour, 16> kStandardPalette{{
    {"black", {0, 0, 0}},
    {"dark red", {128, 0, 0}},
    {"dark green", {0, 128, 0}},
    {"dark yellow", {128, 128, 0}},
    {"dark blue", {0, 0, 128}},
    {"dark magenta", {128, 0, 128}},
    {"dark cyan", {0, 128, 128}},
    {"light grey", {192, 192, 192}},
    {"dark grey", {128, 128, 128}},
    {"red", {255, 0, 0}},
    {"green", {0, 255, 0}},
    {"yellow", {255, 255, 0}},
    {"blue", {0, 0, 255}},
    {"magenta", {255, 0, 255}},
    {"cyan", {0, 255, 255}},
    {"white", {255, 255, 255}},
}};

// Black and white, for the 1-bit digit pictures.
inline constexpr std::array<Rgb, 2> kMonochromePalette{{{0, 0, 0}, {255, 255, 255}}};

inline constexpr std::uint8_t kBlackIndex = 0;
inline constexpr std::uint8_t kWhiteIndex = 15;

inline std::optional<std::uint8_t> standardColourIndex(std::string_view name) {
    for (std::size_t i = 0; i < kStandardPalette.size(); ++i) {
        if (kStandardPalette[i].name == name) return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}

}  // namespace icons
