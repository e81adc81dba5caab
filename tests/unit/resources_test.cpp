#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "resources/embedded.h"

namespace {

struct Picture {
    int id;
    int width;
    int height;
    int bits;
};

// Every bitmap the program loads, as the screens and the board expect it.
const Picture kCatalogue[] = {
    {101, 477, 426, 24}, {602, 110, 30, 24}, {607, 393, 426, 24}, {614, 20, 20, 8},
    {615, 20, 20, 8},    {616, 475, 20, 24}, {617, 20, 20, 8},    {618, 20, 20, 8},
    {619, 81, 31, 24},   {620, 81, 31, 24},  {632, 20, 20, 8},    {633, 20, 20, 8},
    {700, 78, 78, 24},   {701, 78, 78, 24},  {715, 78, 78, 8},    {716, 78, 78, 8},
    {717, 78, 78, 8},    {731, 78, 78, 8},   {732, 100, 30, 24},  {733, 100, 30, 24},
    {734, 100, 30, 8},   {735, 100, 30, 8},  {736, 100, 30, 8},   {737, 78, 78, 24},
    {738, 78, 78, 24},   {739, 78, 78, 8},   {740, 20, 20, 8},
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

const std::filesystem::path kResources = std::filesystem::path(VOK_SOURCE_DIR) / "resources";

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
    }
}

TEST(EmbeddedBitmaps, SelectionMarkIsSeeThroughOnlyAroundItsBox) {
    // Pure white is the see-through colour when the mark is drawn on a list row.
    const EmbeddedResource r = findEmbeddedBitmap(740);
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

TEST(EmbeddedBitmaps, EmptyCellsArePlainWhite) {
    for (int id : {715, 731, 739}) {
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
    const std::string rc = readFile(kResources / "app.rc");
    ASSERT_FALSE(rc.empty());
    std::map<int, std::string> bitmaps;
    const std::regex line(R"((^|\n)\s*(\d+)\s+BITMAP\s+"([^"]+)\")");
    for (std::sregex_iterator it(rc.begin(), rc.end(), line), end; it != end; ++it) {
        bitmaps[std::stoi((*it)[2])] = (*it)[3];
    }
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
