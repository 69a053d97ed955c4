// The program's whole icon set: which groups exist, under which id and
// language, and what each one holds.
#pragma once

#include <vector>

#include "icon_image.h"

namespace icons {

struct IconResource {
    int id = 0;
    bool languageNeutral = false;  // otherwise US English
    IconGroup images;
};

struct DrawnPictures {
    IconGroup application;  // one 32 x 32 image, every pixel opaque
    IconGroup belowRange;   // 32 x 32 and 16 x 16
    IconGroup aboveRange;   // 32 x 32 and 16 x 16
};

inline constexpr int kApplicationIconId = 1;
inline constexpr int kLowestValue = 20;
inline constexpr int kHighestValue = 70;
inline constexpr int kWhiteDigitsOffset = 100;
inline constexpr int kBelowRangeIconId = 200;
inline constexpr int kAboveRangeIconId = 300;

// Throws std::invalid_argument when a drawn picture has the wrong sizes or,
// for the application icon, a transparent pixel.
std::vector<IconResource> buildIconSet(const DrawnPictures& pictures);

}  // namespace icons
