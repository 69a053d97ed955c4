#include "text_picture.h"

#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace icons {

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

class PictureReader {
  public:
    PictureReader(std::istream& text, std::string sourceName)
        : text_(text), sourceName_(std::move(sourceName)) {}

    IconGroup read() {
        IconGroup group;
        std::string line;
        bool inLegend = false;
        while (nextLine(line)) {
            const std::string_view content = trimmed(line);
            if (content.empty() || content.front() == '#') continue;
            if (content == "legend:") {
                inLegend = true;
            } else if (content.starts_with("image ")) {
                inLegend = false;
                group.push_back(readGrid(content));
            } else if (inLegend) {
                addLegendEntry(content);
            } else {
                fail("expected 'legend:' or 'image WxH:'");
            }
        }
        if (group.empty()) fail("no image");
        return group;
    }

  private:
    bool nextLine(std::string& line) {
        if (!std::getline(text_, line)) return false;
        ++lineNumber_;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(sourceName_ + ":" + std::to_string(lineNumber_) + ": " + what);
    }

    void addLegendEntry(std::string_view entry) {
        const char symbol = entry.front();
        const std::string_view name = trimmed(entry.substr(1));
        if (symbol == '#') fail("'#' cannot stand for a colour");
        if (legend_.contains(symbol)) fail(std::string("'") + symbol + "' named twice");
        if (name == "transparent") {
            legend_[symbol] = std::nullopt;
            return;
        }
        const auto index = standardColourIndex(name);
        if (!index) fail("unknown colour '" + std::string(name) + "'");
        legend_[symbol] = *index;
    }

    IconImage readGrid(std::string_view header) {
        int width = 0;
        int height = 0;
        char colon = 0;
        if (std::sscanf(std::string(header).c_str(), "image %dx%d%c", &width, &height, &colon) !=
                3 ||
            colon != ':' || width != height || width <= 0 || width > 256) {
            fail("expected 'image NxN:' with a square size");
        }
        IconImage image(width, 4);
        std::string row;
        for (int r = 0; r < height; ++r) {
            if (!nextLine(row)) fail("grid ends after " + std::to_string(r) + " rows");
            if (std::ssize(row) != width) {
                fail("row has " + std::to_string(row.size()) + " pixels, not " +
                     std::to_string(width));
            }
            for (int c = 0; c < width; ++c) {
                const auto entry = legend_.find(row[static_cast<std::size_t>(c)]);
                if (entry == legend_.end()) {
                    fail(std::string("'") + row[static_cast<std::size_t>(c)] +
                         "' is not in the legend");
                }
                if (entry->second) image.paint(r, c, *entry->second);
            }
        }
        return image;
    }

    std::istream& text_;
    std::string sourceName_;
    int lineNumber_ = 0;
    std::map<char, std::optional<std::uint8_t>> legend_;
};

}  // namespace

IconGroup readTextPicture(std::istream& text, const std::string& sourceName) {
    return PictureReader(text, sourceName).read();
}

}  // namespace icons
