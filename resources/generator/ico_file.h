// Encodes an icon group as the bytes of an .ico file: a directory, then each
// image as a bottom-up device-independent bitmap followed by its 1-bit mask.
#pragma once

#include <cstdint>
#include <vector>

#include "icon_image.h"

namespace icons {

std::vector<std::uint8_t> encodeIcoFile(const IconGroup& group);

}  // namespace icons
