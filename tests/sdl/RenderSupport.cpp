// What the SDL tests share: their text, PNG writing and the screenshot folder.

#include "tests/sdl/RenderSupport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// Starts the font renderer before the first test and stops it after the last one.
class FontEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        text = std::make_unique<SdlText>();
    }
    void TearDown() override {
        text.reset();
        TTF_Quit();
    }
    std::unique_ptr<SdlText> text;
};

FontEnvironment* environment =
    static_cast<FontEnvironment*>(::testing::AddGlobalTestEnvironment(new FontEnvironment));

void putBig(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void putChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    putBig(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    putBig(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

SdlText& testText() {
    return *environment->text;
}

bool writePng(const std::string& path, const RasterSurface& frame) {
    // Each row: filter type 0, then the pixels' red, green and blue.
    const int width = frame.width(), height = frame.height();
    const std::uint32_t* pixels = frame.data();
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[std::size_t(y) * width + x];
            raw.insert(raw.end(),
                       {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                        static_cast<unsigned char>(p)});
        }
    }

    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    putBig(header, static_cast<std::uint32_t>(width));
    putBig(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

std::string screenshotFolder() {
    const char* configured = std::getenv("VOK_SCREENSHOT_DIR");
    const std::string folder = configured && *configured ? configured : "screenshots";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}
