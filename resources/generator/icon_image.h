// One square image of an icon group: palette indices plus a transparency mask.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "palette.h"

namespace icons {

struct IconImage {
    int size = 0;                      // width and height in pixels
    int bitsPerPixel = 4;              // 1 or 4
    std::vector<std::uint8_t> colour;  // palette index per pixel, rows from the top
    std::vector<bool> transparent;     // one flag per pixel, rows from the top

    IconImage(int size_, int bitsPerPixel_)
        : size(size_),
          bitsPerPixel(bitsPerPixel_),
          colour(static_cast<std::size_t>(size_ * size_), kBlackIndex),
          transparent(static_cast<std::size_t>(size_ * size_), true) {}

    std::size_t at(int row, int column) const {
        return static_cast<std::size_t>(row * size + column);
    }
    // A transparent pixel is always black under its mask, so that it shows
    // nothing of its own on any background.
    void paint(int row, int column, std::uint8_t index) {
        colour[at(row, column)] = index;
        transparent[at(row, column)] = false;
    }
    std::span<const Rgb> palette() const {
        if (bitsPerPixel == 1) return kMonochromePalette;
        static constexpr auto standard = [] {
            std::array<Rgb, 16> rgb{};
            for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = kStandardPalette[i].rgb;
            return rgb;
        }();
        return standard;
    }
};

using IconGroup = std::vector<IconImage>;

}  // namespace icons
