// Writes the resource script that puts the icon files, the version record
// and the application manifest into the program's file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace icons {

struct IconFileEntry {
    int id = 0;
    bool languageNeutral = false;
    std::filesystem::path file;
};

// The program's version as the build names it: MAJOR.MINOR[.PATCH[.TWEAK]],
// each a decimal number that fits the record's 16-bit fields.
struct ProgramVersion {
    std::array<std::uint16_t, 4> parts{};  // major, minor, patch, tweak
};

// Throws std::invalid_argument for anything else, and for a minor number
// above 99, which the record's two-digit text form cannot show.
ProgramVersion parseProgramVersion(std::string_view text);

// The record's text form: major, a dot and the minor in two digits ("1.00").
std::string versionText(const ProgramVersion& version);

void writeResourceScript(std::ostream& out, const std::vector<IconFileEntry>& icons,
                         const std::filesystem::path& manifest, const ProgramVersion& version);

}  // namespace icons
