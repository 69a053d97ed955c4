// icon_generator PICTURES_DIR MANIFEST OUTPUT_DIR VERSION
//
// Builds every icon group of the program from the drawn pictures and the
// digit font, writes each as OUTPUT_DIR/icons/icon_<id>.ico, and writes
// OUTPUT_DIR/Tervane_Lite.rc, which puts them, the version record for VERSION
// (MAJOR.MINOR[.PATCH[.TWEAK]], the build's project version) and the manifest
// into the program.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "ico_file.h"
#include "icon_set.h"
#include "resource_script.h"
#include "text_picture.h"

namespace fs = std::filesystem;

namespace {

icons::IconGroup readPictureFile(const fs::path& file) {
    std::ifstream text(file);
    if (!text) throw std::runtime_error("cannot read " + file.string());
    return icons::readTextPicture(text, file.string());
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

void generate(const fs::path& picturesDir, const fs::path& manifest, const fs::path& outputDir,
              const icons::ProgramVersion& version) {
    const icons::DrawnPictures pictures{
        readPictureFile(picturesDir / "application.txt"),
        readPictureFile(picturesDir / "snowflake.txt"),
        readPictureFile(picturesDir / "burning_match.txt"),
    };
    const fs::path iconDir = outputDir / "icons";
    fs::create_directories(iconDir);

    std::vector<icons::IconFileEntry> entries;
    for (const icons::IconResource& icon : icons::buildIconSet(pictures)) {
        const auto bytes = icons::encodeIcoFile(icon.images);
        const fs::path file = iconDir / ("icon_" + std::to_string(icon.id) + ".ico");
        writeFile(file, std::string(bytes.begin(), bytes.end()));
        entries.push_back({icon.id, icon.languageNeutral, fs::absolute(file)});
    }
    std::ostringstream script;
    icons::writeResourceScript(script, entries, fs::absolute(manifest), version);
    writeFile(outputDir / "Tervane_Lite.rc", script.str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: icon_generator PICTURES_DIR MANIFEST OUTPUT_DIR VERSION\n";
        return 2;
    }
    try {
        // The version is read first, so a bad one leaves no files behind.
        const icons::ProgramVersion version = icons::parseProgramVersion(argv[4]);
        generate(argv[1], argv[2], argv[3], version);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "icon_generator: " << error.what() << "\n";
        return 1;
    }
}
