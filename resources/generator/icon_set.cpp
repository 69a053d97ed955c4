#include "icon_set.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "digit_font.h"

namespace icons {

namespace {

void requireSizes(const IconGroup& group, std::vector<int> sizes, const std::string& name) {
    std::vector<int> actual;
    for (const IconImage& image : group) actual.push_back(image.size);
    if (actual != sizes) throw std::invalid_argument(name + " has the wrong image sizes");
}

}  // namespace

std::vector<IconResource> buildIconSet(const DrawnPictures& pictures) {
    requireSizes(pictures.application, {32}, "the application icon");
    requireSizes(pictures.belowRange, {32, 16}, "the below-range picture");
    requireSizes(pictures.aboveRange, {32, 16}, "the above-range picture");
    // The application icon is also the window's icon: a see-through pixel
    // would show whatever lies behind the title bar.
    if (std::ranges::any_of(pictures.application.front().transparent,
                            [](bool see) { return see; })) {
        throw std::invalid_argument("the application icon must be opaque");
    }

    std::vector<IconResource> set;
    set.push_back({kApplicationIconId, true, pictures.application});
    for (int value = kLowestValue; value <= kHighestValue; ++value) {
        set.push_back({value, false, {renderTwoDigits(value, 1, kBlackIndex)}});
    }
    for (int value = kLowestValue; value <= kHighestValue; ++value) {
        set.push_back(
            {value + kWhiteDigitsOffset, false, {renderTwoDigits(value, 4, kWhiteIndex)}});
    }
    set.push_back({kBelowRangeIconId, false, pictures.belowRange});
    set.push_back({kAboveRangeIconId, false, pictures.aboveRange});
    return set;
}

}  // namespace icons
