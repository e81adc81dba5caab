// The built-in pictures: the catalogue's ids, sizes and depths, the files and resource lines, and
// the pieces' lightness.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "resources/embedded.h"
#include "scob/bitmapIds.h"
#include "shell/raster/BmpDecoder.h"

namespace {

struct Picture {
    int id;
    int width;
    int height;
    int bits;
};

// Every bitmap the program loads, as the screens and the board expect it.
const Picture kCatalogue[] = {
    {bitmap::parchmentPage, 477, 426, 24},
    {bitmap::captionPlaque, 110, 30, 24},
    {bitmap::parchmentNarrow, 393, 426, 24},
    {bitmap::pinFlat, 20, 20, 8},
    {bitmap::pinUpright, 20, 20, 8},
    {bitmap::titleStrip, 475, 20, 24},
    {bitmap::question, 20, 20, 8},
    {bitmap::questionPressed, 20, 20, 8},
    {bitmap::woodButton, 81, 31, 24},
    {bitmap::woodButtonPressed, 81, 31, 24},
    {bitmap::letterT, 20, 20, 8},
    {bitmap::letterTTicked, 20, 20, 8},
    {bitmap::ring, 78, 78, 24},
    {bitmap::cross, 78, 78, 24},
    {bitmap::blankTraditional, 78, 78, 8},
    {bitmap::greenSquare, 78, 78, 8},
    {bitmap::orangeSquare, 78, 78, 8},
    {bitmap::blankColors, 78, 78, 8},
    {bitmap::plaquePink, 100, 30, 24},
    {bitmap::plaqueWood, 100, 30, 24},
    {bitmap::plaqueRed, 100, 30, 8},
    {bitmap::plaqueOrange, 100, 30, 8},
    {bitmap::plaqueBlue, 100, 30, 8},
    {bitmap::stripedFish, 78, 78, 24},
    {bitmap::spottedFish, 78, 78, 24},
    {bitmap::blankFish, 78, 78, 8},
    {bitmap::selectionMark, 20, 20, 8},
};

std::uint32_t u32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// What the headers of a BMP file say, read the way a loader reads them.
struct BmpHeader {
    std::uint32_t fileSize, pixelOffset, headerSize, compression, coloursUsed;
    std::int32_t width, height;
    std::uint16_t planes, bits;
};

BmpHeader readHeader(const EmbeddedResource& r) {
    const unsigned char* p = r.data;
    BmpHeader h{};
    h.fileSize = u32(p + 2);
    h.pixelOffset = u32(p + 10);
    h.headerSize = u32(p + 14);
    h.width = static_cast<std::int32_t>(u32(p + 18));
    h.height = static_cast<std::int32_t>(u32(p + 22));
    h.planes = u16(p + 26);
    h.bits = u16(p + 28);
    h.compression = u32(p + 30);
    h.coloursUsed = u32(p + 46);
    return h;
}

// The colour of pixel (x, y), counted from the top, of an 8-bit or 24-bit BI_RGB bitmap.
std::uint32_t pixelAt(const EmbeddedResource& r, int x, int y) {
    const BmpHeader h = readHeader(r);
    const int bytesPerPixel = h.bits / 8;
    const int stride = (h.width * bytesPerPixel + 3) / 4 * 4;
    const unsigned char* px = r.data + h.pixelOffset + (h.height - 1 - y) * stride;
    const unsigned char* bgr = px + x * bytesPerPixel;
    if (h.bits == 8) {
        bgr = r.data + 14 + h.headerSize + 4 * px[x];
    }
    return (bgr[2] << 16) | (bgr[1] << 8) | bgr[0];
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using Matrix3 = std::array<std::array<double, 3>, 3>;
using Rgb = std::array<double, 3>;

// The mean colour (sRGB, 0..255) of what a piece picture has drawn on its paper, and how many
// pixels that is. Pieces sit on white and their antialiased rims fade into it: a pixel with
// every channel at 240 or more is mostly paper, and counting it would pull both pieces of a
// set toward white and shrink the difference in lightness between them.
struct Ink {
    Rgb mean;
    int pixels;
};

Ink inkOf(const EmbeddedResource& r) {
    const BmpHeader h = readHeader(r);
    Rgb sum{};
    int pixels = 0;
    for (int y = 0; y < h.height; ++y) {
        for (int x = 0; x < h.width; ++x) {
            const std::uint32_t c = pixelAt(r, x, y);
            const Rgb rgb{double(c >> 16 & 0xFF), double(c >> 8 & 0xFF), double(c & 0xFF)};
            if (rgb[0] >= 240 && rgb[1] >= 240 && rgb[2] >= 240) {
                continue;
            }
            for (int i = 0; i < 3; ++i) {
                sum[i] += rgb[i];
            }
            ++pixels;
        }
    }
    for (double& v : sum) {
        v /= pixels > 0 ? pixels : 1;
    }
    return {sum, pixels};
}

double sRgbToLinear(double v) {
    v /= 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// CIE L* (D65 white) of a colour seen through `vision`, a matrix on linear-light sRGB.
double lightness(const Rgb& srgb, const Matrix3& vision) {
    Rgb linear;
    for (int i = 0; i < 3; ++i) {
        linear[i] = sRgbToLinear(srgb[i]);
    }
    Rgb seen{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            seen[i] += vision[i][j] * linear[j];
        }
        seen[i] = std::min(1.0, std::max(0.0, seen[i]));
    }
    const double y = 0.2126 * seen[0] + 0.7152 * seen[1] + 0.0722 * seen[2];
    const double f = y > 216.0 / 24389.0 ? std::cbrt(y) : (24389.0 / 27.0 * y + 16.0) / 116.0;
    return 116.0 * f - 16.0;
}

const std::filesystem::path kResources = std::filesystem::path(VOK_SOURCE_DIR) / "resources";

std::vector<unsigned char> bytesOf(int id) {
    const EmbeddedResource r = findEmbeddedBitmap(id);
    return r.data ? std::vector<unsigned char>(r.data, r.data + r.size)
                  : std::vector<unsigned char>();
}

void put(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

}  // namespace

TEST(EmbeddedBitmaps, EachHasItsSizeAndDepth) {
    for (const Picture& pic : kCatalogue) {
        SCOPED_TRACE(pic.id);
        const EmbeddedResource r = findEmbeddedBitmap(pic.id);
        ASSERT_NE(r.data, nullptr);
        ASSERT_GE(r.size, 54u);
        ASSERT_EQ(r.data[0], 'B');
        ASSERT_EQ(r.data[1], 'M');
        const BmpHeader h = readHeader(r);
        EXPECT_EQ(h.width, pic.width);
        EXPECT_EQ(h.height, pic.height);  // positive: rows stored bottom-up
        EXPECT_EQ(h.bits, pic.bits);
    }
}

TEST(EmbeddedBitmaps, AreUncompressedWithWholePalettesAndPaddedRows) {
    for (const Picture& pic : kCatalogue) {
        SCOPED_TRACE(pic.id);
        const EmbeddedResource r = findEmbeddedBitmap(pic.id);
        ASSERT_NE(r.data, nullptr);
        const BmpHeader h = readHeader(r);
        EXPECT_EQ(h.headerSize, 40u);
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.compression, 0u);  // BI_RGB
        EXPECT_EQ(h.fileSize, r.size);
        const std::uint32_t palette = pic.bits == 8 ? 256 * 4 : 0;
        if (pic.bits == 8) {
            EXPECT_TRUE(h.coloursUsed == 0 || h.coloursUsed == 256) << h.coloursUsed;
        }
        EXPECT_EQ(h.pixelOffset, 14 + 40 + palette);
        const std::size_t stride = (pic.width * pic.bits / 8 + 3) / 4 * 4;
        EXPECT_EQ(r.size, h.pixelOffset + stride * pic.height);
    }
}

TEST(EmbeddedBitmaps, UnknownIdsHaveNothing) {
    // 100 is the icon, not a bitmap; the others are ids the program never had.
    for (int id : {603, 612, 630, 631, 0, 999, -1, 100, 741}) {
        SCOPED_TRACE(id);
        const EmbeddedResource r = findEmbeddedBitmap(id);
        EXPECT_EQ(r.data, nullptr);
        EXPECT_EQ(r.size, 0u);
        EXPECT_EQ(programPicture(id), nullptr);
    }
}

TEST(EmbeddedBitmaps, DecodeToTheirOwnPixels) {
    for (const Picture& pic : kCatalogue) {
        SCOPED_TRACE(pic.id);
        const RasterImage* decoded = programPicture(pic.id);
        ASSERT_NE(decoded, nullptr);
        ASSERT_EQ(decoded->width, pic.width);
        ASSERT_EQ(decoded->height, pic.height);
        const EmbeddedResource r = findEmbeddedBitmap(pic.id);
        for (int y = 0; y < pic.height; ++y) {
            for (int x = 0; x < pic.width; ++x) {
                ASSERT_EQ(decoded->at(x, y), pixelAt(r, x, y)) << x << "," << y;
            }
        }
    }
}

TEST(BmpDecoder, DamagedFilesDecodeToNothing) {
    // One field of a good file changed (offset, value, size in bytes), or the file cut short.
    struct Damage {
        const char* what;
        int id;  // 740: 8-bit, 20 x 20; 602: 24-bit, 110 x 30
        std::size_t at;
        std::uint32_t value;
        int size;
        bool decodes;
    };
    const Damage table[] = {
        {"as written", 740, 0, 'B', 1, true},
        {"8-bit without a colour count: all 256", 740, 46, 0, 4, true},
        {"no image size given", 602, 34, 0, 4, true},
        {"not BM", 740, 1, 'N', 1, false},
        {"file size beyond the bytes", 740, 2, 1559, 4, false},
        {"reserved bytes", 602, 6, 1, 2, false},
        {"a larger info header", 740, 14, 108, 4, false},
        {"no width", 740, 18, 0, 4, false},
        {"negative width", 740, 18, 0xFFFFFFEC, 4, false},
        {"too wide", 602, 18, maxBmpSide + 1, 4, false},
        {"wider than the pixels", 602, 18, 111, 4, false},
        {"rows top-down", 740, 22, 0xFFFFFFEC, 4, false},
        {"taller than the pixels", 740, 22, 21, 4, false},
        {"two planes", 740, 26, 2, 2, false},
        {"32 bits", 602, 28, 32, 2, false},
        {"4 bits", 740, 28, 4, 2, false},
        {"run-length compressed", 740, 30, 1, 4, false},
        {"wrong image size", 602, 34, 100, 4, false},
        {"257 colours", 740, 46, 257, 4, false},
        {"fewer colours than the pixels use", 740, 46, 2, 4, false},
        {"more important colours than colours", 740, 50, 257, 4, false},
        {"pixels inside the palette", 740, 10, 54 + 1000, 4, false},
        {"pixels past the end", 602, 10, 54 + 4, 4, false},
    };
    for (const Damage& d : table) {
        SCOPED_TRACE(d.what);
        std::vector<unsigned char> bytes = bytesOf(d.id);
        ASSERT_FALSE(bytes.empty());
        put(bytes, d.at, d.value, d.size);
        RasterImage image;
        EXPECT_EQ(decodeBmp(bytes.data(), bytes.size(), image), d.decodes);
        if (d.decodes) {
            EXPECT_EQ(image.pixels, programPicture(d.id)->pixels);
        } else {
            EXPECT_TRUE(image.pixels.empty() && image.width == 0 && image.height == 0);
        }
    }

    // Cut short anywhere, or any header byte set to 0 or 255: never a read out of bounds (the
    // sanitizer build watches), and whatever still decodes has all its pixels.
    const std::vector<unsigned char> mark = bytesOf(740);
    RasterImage image;
    for (std::size_t size = 0; size < mark.size(); ++size) {
        const std::vector<unsigned char> cut(mark.begin(), mark.begin() + size);
        EXPECT_FALSE(decodeBmp(cut.data(), cut.size(), image)) << size;
    }
    EXPECT_FALSE(decodeBmp(nullptr, 0, image));
    for (std::size_t at = 0; at < 54; ++at) {
        for (unsigned char value : {0x00, 0xFF}) {
            std::vector<unsigned char> bytes = mark;
            bytes[at] = value;
            if (decodeBmp(bytes.data(), bytes.size(), image)) {
                EXPECT_EQ(image.pixels.size(), std::size_t(image.width) * image.height) << at;
            }
        }
    }
}

TEST(EmbeddedBitmaps, SelectionMarkIsSeeThroughOnlyAroundItsBox) {
    // Pure white is the see-through colour when the mark is drawn on a list row.
    const EmbeddedResource r = findEmbeddedBitmap(bitmap::selectionMark);
    ASSERT_NE(r.data, nullptr);
    const std::uint32_t white = 0xFFFFFF;
    EXPECT_EQ(pixelAt(r, 0, 0), white);
    EXPECT_EQ(pixelAt(r, 19, 19), white);
    int inked = 0;
    for (int y = 4; y <= 15; ++y) {
        for (int x = 4; x <= 15; ++x) {
            EXPECT_NE(pixelAt(r, x, y), white) << x << "," << y;
            inked += pixelAt(r, x, y) != 0;
        }
    }
    EXPECT_GT(inked, 10);  // the cross is there, in a colour that is not the key
}

TEST(EmbeddedBitmaps, PlayerAndComputerPiecesDifferInLightnessForEveryEye) {
    // Hue alone does not tell the pieces apart for everyone: each set's two pieces must also
    // be clearly lighter and darker, for normal vision and for the red-green dichromacies.
    // Those are simulated at full severity with the matrices of Machado, Oliveira and
    // Fernandes (2009), which apply to linear-light sRGB.
    struct Vision {
        const char* name;
        Matrix3 matrix;
    };
    const Vision visions[] = {
        {"normal", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
        {"protanopia",
         {{{0.152286, 1.052583, -0.204868},
           {0.114503, 0.786281, 0.099216},
           {-0.003882, -0.048116, 1.051998}}}},
        {"deuteranopia",
         {{{0.367322, 0.860646, -0.227968},
           {0.280085, 0.672501, 0.047413},
           {-0.011820, 0.042940, 0.968881}}}},
    };
    struct Set {
        const char* name;
        int player, computer;
    };
    const Set sets[] = {{"Traditional", bitmap::ring, bitmap::cross},
                        {"Colors", bitmap::greenSquare, bitmap::orangeSquare},
                        {"Fish", bitmap::stripedFish, bitmap::spottedFish}};
    for (const Set& set : sets) {
        SCOPED_TRACE(set.name);
        const EmbeddedResource player = findEmbeddedBitmap(set.player);
        const EmbeddedResource computer = findEmbeddedBitmap(set.computer);
        ASSERT_NE(player.data, nullptr);
        ASSERT_NE(computer.data, nullptr);
        const Ink a = inkOf(player), b = inkOf(computer);
        // a piece covers a good part of its cell, so the mean is not a few stray pixels
        EXPECT_GT(a.pixels, 600);
        EXPECT_GT(b.pixels, 600);
        for (const Vision& vision : visions) {
            const double la = lightness(a.mean, vision.matrix);
            const double lb = lightness(b.mean, vision.matrix);
            EXPECT_GE(std::abs(la - lb), 20.0) << vision.name << ": L* " << la << " against " << lb;
        }
    }
}

TEST(EmbeddedBitmaps, EmptyCellsArePlainWhite) {
    for (int id : {bitmap::blankTraditional, bitmap::blankColors, bitmap::blankFish}) {
        SCOPED_TRACE(id);
        const EmbeddedResource r = findEmbeddedBitmap(id);
        ASSERT_NE(r.data, nullptr);
        for (int y = 0; y < 78; y += 7) {
            for (int x = 0; x < 78; x += 7) {
                ASSERT_EQ(pixelAt(r, x, y), 0xFFFFFFu) << x << "," << y;
            }
        }
    }
}

TEST(EmbeddedIcon, IsA32PixelBitmapWithTransparentCorners) {
    const EmbeddedResource r = embeddedIcon();
    ASSERT_NE(r.data, nullptr);
    ASSERT_GT(r.size, 54u);
    const BmpHeader h = readHeader(r);
    EXPECT_EQ(h.width, 32);
    EXPECT_EQ(h.height, 32);
    ASSERT_EQ(h.bits, 32);
    EXPECT_TRUE(h.compression == 0 || h.compression == 3) << h.compression;
    ASSERT_GE(r.size, h.pixelOffset + 32u * 32u * 4u);
    const unsigned char* pixels = r.data + h.pixelOffset;
    auto alpha = [&](int x, int row) { return pixels[(row * 32 + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(31, 31), 0);
    EXPECT_EQ(alpha(16, 16), 255);
}

TEST(ResourceFolder, HoldsTheCatalogueAndNothingElse) {
    std::set<std::string> expected;
    for (const Picture& pic : kCatalogue) {
        expected.insert(std::to_string(pic.id) + ".bmp");
    }
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(kResources / "bitmaps")) {
        found.insert(entry.path().filename().string());
    }
    EXPECT_EQ(found, expected);
}

TEST(ResourceFolder, EmbeddedBytesAreTheCommittedFiles) {
    for (const Picture& pic : kCatalogue) {
        SCOPED_TRACE(pic.id);
        const std::string onDisk =
            readFile(kResources / "bitmaps" / (std::to_string(pic.id) + ".bmp"));
        const EmbeddedResource r = findEmbeddedBitmap(pic.id);
        ASSERT_NE(r.data, nullptr);
        EXPECT_TRUE(onDisk == std::string(reinterpret_cast<const char*>(r.data), r.size));
    }
    const std::string icon = readFile(kResources / "icon" / "app-32.bmp");
    const EmbeddedResource r = embeddedIcon();
    EXPECT_TRUE(icon == std::string(reinterpret_cast<const char*>(r.data), r.size));
}

TEST(ResourceScript, NamesEveryBitmapTheIconTheVersionAndTheManifest) {
    // The script as the build configures it with the version.
    const std::string rc = readFile(kResources / "app.rc.in");
    ASSERT_FALSE(rc.empty());
    // The pictures' lines are generated into bitmaps.rc, which app.rc includes.
    EXPECT_TRUE(std::regex_search(rc, std::regex(R"((^|\n)#include\s+"bitmaps\.rc")")));
    const std::string script = rc + "\n" + readFile(kResources / "bitmaps.rc");
    std::map<int, std::string> bitmaps;
    int lines = 0;
    const std::regex line(R"((^|\n)\s*(\d+)\s+BITMAP\s+"([^"]+)\")");
    for (std::sregex_iterator it(script.begin(), script.end(), line), end; it != end; ++it) {
        bitmaps[std::stoi((*it)[2])] = (*it)[3];
        ++lines;
    }
    EXPECT_EQ(lines, static_cast<int>(std::size(kCatalogue)));  // each picture once
    std::map<int, std::string> expected;
    for (const Picture& pic : kCatalogue) {
        expected[pic.id] = "bitmaps/" + std::to_string(pic.id) + ".bmp";
    }
    EXPECT_EQ(bitmaps, expected);
    EXPECT_TRUE(std::regex_search(rc, std::regex(R"((^|\n)100\s+ICON\s+"icon/app\.ico")")));
    EXPECT_TRUE(std::regex_search(rc, std::regex(R"((^|\n)1\s+VERSIONINFO)")));
    EXPECT_TRUE(std::regex_search(rc, std::regex(R"((^|\n)1\s+24\s+"app\.manifest")")));
    EXPECT_NE(rc.find("\"ProductName\", \"Vok TicTacToe\""), std::string::npos);
    EXPECT_NE(rc.find("\"OriginalFilename\", \"TicTacToe.exe\""), std::string::npos);
}
