// The program's own pictures as pixels: the BMP files resources/art writes (uncompressed, a
// 40-byte info header, 24-bit or 8-bit with a palette, rows bottom-up), decoded without any
// window system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels of 32 bits, 0x00RRGGBB, row after row from the top.
struct RasterImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    const std::uint32_t* row(int y) const { return pixels.data() + std::size_t(y) * width; }
    std::uint32_t at(int x, int y) const { return row(y)[x]; }
};

// The largest picture taken, each way: far more than any of the program's.
constexpr int maxBmpSide = 4096;

// Decodes the BMP file in `bytes`. Every header field and size is checked against the bytes
// given: anything else than the files described above, or one cut short, decodes to nothing
// (false, `out` left empty).
bool decodeBmp(const unsigned char* bytes, std::size_t size, RasterImage& out);

// Picture `bitmapId` of the program, decoded once and kept for the rest of the run; null for an
// id the program does not have (or bytes that do not decode).
const RasterImage* programPicture(int bitmapId);
// Picture `bitmapId` from elsewhere than the built-in BMP files (the page has some decoded from
// files of their own by the browser): programPicture gives it from now on.
void provideProgramPicture(int bitmapId, RasterImage picture);
