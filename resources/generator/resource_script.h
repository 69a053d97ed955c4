// Writes the resource script that puts the icon files, the version record
// and the application manifest into the program's file.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

namespace icons {

struct IconFileEntry {
    int id = 0;
    bool languageNeutral = false;
    std::filesystem::path file;
};

void writeResourceScript(std::ostream& out, const std::vector<IconFileEntry>& icons,
                         const std::filesystem::path& manifest);

}  // namespace icons
