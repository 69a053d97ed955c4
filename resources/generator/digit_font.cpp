#include "digit_font.h"

#include <stdexcept>

namespace icons {

namespace {

void paintDigit(IconImage& picture, int digit, int cellLeft, std::uint8_t colour) {
    for (std::size_t s = 0; s < kStrokes.size(); ++s) {
        if ((kDigitStrokes[static_cast<std::size_t>(digit)] & (1u << s)) == 0) continue;
        const Stroke& stroke = kStrokes[s];
        for (int row = stroke.firstRow; row <= stroke.lastRow; ++row) {
            for (int column = stroke.firstColumn; column <= stroke.lastColumn; ++column) {
                picture.paint(kCellTop + row, cellLeft + column, colour);
            }
        }
    }
}

}  // namespace

IconImage renderTwoDigits(int value, int bitsPerPixel, std::uint8_t strokeColour) {
    if (value < 0 || value > 99) throw std::out_of_range("two-digit value out of range");
    IconImage picture(kPictureSize, bitsPerPixel);
    paintDigit(picture, value / 10, kTensCellLeft, strokeColour);
    paintDigit(picture, value % 10, kUnitsCellLeft, strokeColour);
    return picture;
}

}  // namespace icons
