// The program's own pictures as pixels, decoded without any window system.

#include "shell/raster/BmpDecoder.h"

#include <map>
#include <memory>
#include <utility>

#include "resources/embedded.h"

namespace {

std::uint32_t u32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::int32_t i32(const unsigned char* p) {
    return static_cast<std::int32_t>(u32(p));
}

std::uint32_t rgbOf(const unsigned char* bgr) {
    return (std::uint32_t(bgr[2]) << 16) | (std::uint32_t(bgr[1]) << 8) | bgr[0];
}

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;

}  // namespace

bool decodeBmp(const unsigned char* bytes, std::size_t size, RasterImage& out) {
    out = RasterImage{};
    if (!bytes || size < fileHeaderSize + infoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    // The file header: its size (no more than the bytes there are), two reserved zeros, and
    // where the pixels start.
    const std::size_t fileSize = u32(bytes + 2);
    const std::size_t pixelOffset = u32(bytes + 10);
    if (fileSize > size || u16(bytes + 6) != 0 || u16(bytes + 8) != 0) {
        return false;
    }
    // The info header: a plain 40-byte one, rows bottom-up, one plane, no compression.
    const unsigned char* info = bytes + fileHeaderSize;
    const std::int32_t width = i32(info + 4), height = i32(info + 8);
    const int bits = u16(info + 14);
    const std::uint32_t imageSize = u32(info + 20);
    const std::uint32_t coloursUsed = u32(info + 32), coloursImportant = u32(info + 36);
    if (u32(info) != infoHeaderSize || width < 1 || width > maxBmpSide || height < 1 ||
        height > maxBmpSide || u16(info + 12) != 1 || (bits != 8 && bits != 24) ||
        u32(info + 16) != 0) {
        return false;
    }
    // The palette right after the headers: 256 entries when an 8-bit file leaves the count
    // out; the pixels after it, each row padded to four bytes.
    const std::size_t colours = coloursUsed == 0 && bits == 8 ? 256 : coloursUsed;
    const std::size_t paletteStart = fileHeaderSize + infoHeaderSize;
    const std::size_t stride = (std::size_t(width) * (bits / 8) + 3) / 4 * 4;
    const std::size_t pixelBytes = stride * std::size_t(height);
    if (colours > 256 || coloursImportant > colours || (bits == 8 && colours == 0) ||
        pixelOffset < paletteStart + 4 * colours || pixelOffset > fileSize ||
        fileSize - pixelOffset < pixelBytes || (imageSize != 0 && imageSize != pixelBytes)) {
        return false;
    }

    RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const unsigned char* from = bytes + pixelOffset + std::size_t(height - 1 - y) * stride;
        std::uint32_t* to = image.pixels.data() + std::size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            if (bits == 24) {
                to[x] = rgbOf(from + 3 * x);
                continue;
            }
            if (from[x] >= colours) {
                return false;
            }
            to[x] = rgbOf(bytes + paletteStart + 4 * from[x]);
        }
    }
    out = std::move(image);
    return true;
}

namespace {

// Kept for the whole run, freed when the program ends.
std::map<int, std::unique_ptr<RasterImage>>& decodedPictures() {
    static std::map<int, std::unique_ptr<RasterImage>> decoded;
    return decoded;
}

}  // namespace

void provideProgramPicture(int bitmapId, RasterImage picture) {
    decodedPictures()[bitmapId] = std::make_unique<RasterImage>(std::move(picture));
}

const RasterImage* programPicture(int bitmapId) {
    auto& decoded = decodedPictures();
    const auto found = decoded.find(bitmapId);
    if (found != decoded.end()) {
        return found->second.get();
    }
    std::unique_ptr<RasterImage> picture;
    const EmbeddedResource bytes = findEmbeddedBitmap(bitmapId);
    RasterImage image;
    if (decodeBmp(bytes.data, bytes.size, image)) {
        picture = std::make_unique<RasterImage>(std::move(image));
    }
    return (decoded[bitmapId] = std::move(picture)).get();
}
