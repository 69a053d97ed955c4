// Reads a drawn picture kept as text: a legend that names a standard colour
// (or transparency) for each character, then one grid per image size.
//
//   legend:
//     .  transparent
//     K  black
//   image 16x16:
//   ....KK....
//
// Lines starting with '#' outside a grid are comments.
#pragma once

#include <istream>
#include <string>

#include "icon_image.h"

namespace icons {

// Throws std::runtime_error naming the source and line of the first fault.
IconGroup readTextPicture(std::istream& text, const std::string& sourceName);

}  // namespace icons
