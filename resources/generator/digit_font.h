// The tray's two-digit font: every digit is a union of eight fixed strokes,
// drawn in one of two cells of a 32 x 32 picture.
#pragma once

#include <array>
#include <cstdint>

#include "icon_image.h"

namespace icons {

// A filled rectangle of a cell, bounds inclusive.
struct Stroke {
    int firstRow, lastRow, firstColumn, lastColumn;
};

enum StrokeBit : std::uint8_t {
    kTopBar = 1 << 0,
    kMiddleBar = 1 << 1,
    kBottomBar = 1 << 2,
    kUpperLeft = 1 << 3,
    kLowerLeft = 1 << 4,
    kUpperRight = 1 << 5,
    kLowerRight = 1 << 6,
    kCentre = 1 << 7,
};

// Same order as the bits above. Each stroke is 3 pixels thick; the upper and
// lower sides overlap on rows 12 to 14, so a full side runs unbroken.
inline constexpr std::array<Stroke, 8> kStrokes{{
    {0, 2, 0, 13},     // top bar
    {12, 14, 0, 13},   // middle bar
    {25, 27, 0, 13},   // bottom bar
    {0, 14, 0, 2},     // upper left
    {12, 27, 0, 2},    // lower left
    {0, 14, 11, 13},   // upper right
    {12, 27, 11, 13},  // lower right
    {0, 27, 5, 7},     // centre
}};

inline constexpr std::array<std::uint8_t, 10> kDigitStrokes{{
    kTopBar | kBottomBar | kUpperLeft | kLowerLeft | kUpperRight | kLowerRight,  // 0
    kCentre,                                                                     // 1
    kTopBar | kMiddleBar | kBottomBar | kUpperRight | kLowerLeft,                // 2
    kTopBar | kMiddleBar | kBottomBar | kUpperRight | kLowerRight,               // 3
    kUpperLeft | kMiddleBar | kUpperRight | kLowerRight,                         // 4
    kTopBar | kMiddleBar | kBottomBar | kUpperLeft | kLowerRight,                // 5
    kTopBar | kMiddleBar | kBottomBar | kUpperLeft | kLowerLeft | kLowerRight,   // 6
    kTopBar | kUpperRight | kLowerRight,                                         // 7
    static_cast<std::uint8_t>(~kCentre),                                         // 8
    kTopBar | kMiddleBar | kUpperLeft | kUpperRight | kLowerRight,               // 9
}};

inline constexpr int kPictureSize = 32;
inline constexpr int kCellTop = 2;         // picture row of cell row 0
inline constexpr int kTensCellLeft = 0;    // picture column of the tens cell
inline constexpr int kUnitsCellLeft = 18;  // picture column of the units cell

// The picture of a value from 0 to 99, its strokes painted with one palette
// index and everything else transparent.
IconImage renderTwoDigits(int value, int bitsPerPixel, std::uint8_t strokeColour);

}  // namespace icons
