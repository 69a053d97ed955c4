#include "ico_file.h"

#include <stdexcept>

namespace icons {

namespace {

class ByteWriter {
  public:
    explicit ByteWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    void u8(std::uint32_t value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
    void u16(std::uint32_t value) {
        u8(value & 0xFF);
        u8(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }

  private:
    std::vector<std::uint8_t>& bytes_;
};

// Bitmap rows are padded to whole 32-bit words.
std::uint32_t rowBytes(int width, int bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

std::uint32_t pixelBytes(const IconImage& image) {
    return rowBytes(image.size, image.bitsPerPixel) * static_cast<std::uint32_t>(image.size);
}

std::uint32_t maskBytes(const IconImage& image) {
    return rowBytes(image.size, 1) * static_cast<std::uint32_t>(image.size);
}

constexpr std::uint32_t kInfoHeaderBytes = 40;

std::uint32_t imageBytes(const IconImage& image) {
    return kInfoHeaderBytes + static_cast<std::uint32_t>(image.palette().size()) * 4 +
           pixelBytes(image) + maskBytes(image);
}

// Packs one row of small values, most significant bits first, padded to a word.
template <typename ValueOf>
void packRow(ByteWriter& out, int width, int bitsPerValue, ValueOf valueOf) {
    std::uint32_t accumulator = 0;
    int filled = 0;
    for (int column = 0; column < width; ++column) {
        accumulator = (accumulator << bitsPerValue) | valueOf(column);
        filled += bitsPerValue;
        if (filled == 8) {
            out.u8(accumulator);
            accumulator = 0;
            filled = 0;
        }
    }
    if (filled != 0) out.u8(accumulator << (8 - filled));
    const std::uint32_t written = static_cast<std::uint32_t>((width * bitsPerValue + 7) / 8);
    for (std::uint32_t i = written; i < rowBytes(width, bitsPerValue); ++i) out.u8(0);
}

void writeImage(ByteWriter& out, const IconImage& image) {
    out.u32(kInfoHeaderBytes);
    out.u32(static_cast<std::uint32_t>(image.size));
    out.u32(static_cast<std::uint32_t>(image.size * 2));  // colour rows and mask rows
    out.u16(1);                                           // planes
    out.u16(static_cast<std::uint32_t>(image.bitsPerPixel));
    out.u32(0);  // uncompressed
    out.u32(pixelBytes(image) + maskBytes(image));
    out.u32(0);
    out.u32(0);
    out.u32(0);  // every palette entry is used
    out.u32(0);
    for (const Rgb& rgb : image.palette()) {
        out.u8(rgb.blue);
        out.u8(rgb.green);
        out.u8(rgb.red);
        out.u8(0);
    }
    for (int row = image.size - 1; row >= 0; --row) {
        packRow(out, image.size, image.bitsPerPixel,
                [&](int column) { return image.colour[image.at(row, column)]; });
    }
    for (int row = image.size - 1; row >= 0; --row) {
        packRow(out, image.size, 1, [&](int column) -> std::uint32_t {
            return image.transparent[image.at(row, column)] ? 1 : 0;
        });
    }
}

void checkEncodable(const IconImage& image) {
    if (image.bitsPerPixel != 1 && image.bitsPerPixel != 4) {
        throw std::invalid_argument("only 1-bit and 4-bit images are written");
    }
    if (image.size <= 0 || image.size > 256) throw std::invalid_argument("bad image size");
    const std::size_t colours = image.palette().size();
    for (std::size_t i = 0; i < image.colour.size(); ++i) {
        if (image.colour[i] >= colours) throw std::invalid_argument("colour beyond palette");
        if (image.transparent[i] && image.colour[i] != kBlackIndex) {
            throw std::invalid_argument("a transparent pixel must be black");
        }
    }
}

}  // namespace

std::vector<std::uint8_t> encodeIcoFile(const IconGroup& group) {
    if (group.empty()) throw std::invalid_argument("an icon group needs an image");
    for (const IconImage& image : group) checkEncodable(image);

    std::vector<std::uint8_t> bytes;
    ByteWriter out(bytes);
    out.u16(0);  // reserved
    out.u16(1);  // icon, not cursor
    out.u16(static_cast<std::uint32_t>(group.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(group.size());
    for (const IconImage& image : group) {
        out.u8(static_cast<std::uint32_t>(image.size % 256));  // 0 stands for 256
        out.u8(static_cast<std::uint32_t>(image.size % 256));
        out.u8(static_cast<std::uint32_t>(image.palette().size()));
        out.u8(0);
        out.u16(1);  // planes
        out.u16(static_cast<std::uint32_t>(image.bitsPerPixel));
        out.u32(imageBytes(image));
        out.u32(offset);
        offset += imageBytes(image);
    }
    for (const IconImage& image : group) writeImage(out, image);
    return bytes;
}

}  // namespace icons
