#include "ui/Bitmap.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
using ui::Bitmap;

// The picture every test file shows (see fuzz/scripts/make_bmp_seeds.py).
constexpr int kWidth = 7;
constexpr int kHeight = 5;
const COLORREF kColours[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 255), RGB(0, 255, 0)};

std::string dataPath(const std::string& name)
{
    return std::string(KALDOR_TEST_DATA) + "ui/bmp/" + name;
}

std::string readBytes(const std::string& name)
{
    std::ifstream in(dataPath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string scratchPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("kaldor-bitmap-" + name)).string();
}

void putU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    const char little[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                            static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
    bytes.replace(at, 4, little, 4);
}

struct Depth
{
    const char* file;
    int bits;
    int colours;
};

const Depth kDepths[] = {
    {"bits1.bmp", 1, 2},           {"bits4.bmp", 4, 4},         {"bits8.bmp", 8, 4},
    {"bits16.bmp", 16, 4},         {"bits24.bmp", 24, 4},       {"bits32.bmp", 32, 4},
    {"bits24-topdown.bmp", 24, 4}, {"bits8-topdown.bmp", 8, 4}, {"bits32-v4.bmp", 32, 4},
    {"bits16-v5.bmp", 16, 4},      {"os2-bits8.bmp", 8, 4},     {"rle8.bmp", 8, 4},
};

TEST(BitmapTest, EveryDepthAndLayoutReadsTheSamePicture)
{
    for (const Depth& d : kDepths)
    {
        SCOPED_TRACE(d.file);
        std::string error;
        const auto picture = Bitmap::load(dataPath(d.file), error);
        ASSERT_TRUE(picture) << error;
        EXPECT_EQ(picture->size(), (ui::Size{kWidth, kHeight}));
        EXPECT_EQ(picture->sourceBitsPerPixel(), d.bits);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                ASSERT_EQ(picture->pixel(x, y), kColours[(x + y) % d.colours]) << x << "," << y;
    }
}

TEST(BitmapTest, SavingAndReadingBackKeepsEveryPixelOfEveryDepth)
{
    for (const Depth& d : kDepths)
    {
        SCOPED_TRACE(d.file);
        std::string error;
        const auto first = Bitmap::load(dataPath(d.file), error);
        ASSERT_TRUE(first) << error;
        const std::string path = scratchPath(d.file);
        ASSERT_TRUE(first->save(path, error)) << error;
        const auto second = Bitmap::load(path, error);
        ASSERT_TRUE(second) << error;
        EXPECT_EQ(*second, *first);
        EXPECT_EQ(second->sourceBitsPerPixel(), 24);
        std::filesystem::remove(path);
    }
}

TEST(BitmapTest, MalformedFilesAreRefusedWithTheFileAndTheReason)
{
    const std::string good24 = readBytes("bits24.bmp");
    const std::string good8 = readBytes("bits8.bmp");
    const std::string rle = readBytes("rle8.bmp");
    ASSERT_FALSE(good24.empty());
    const std::size_t rleData = 1078;
    struct Case
    {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    const auto patched = [](std::string bytes, std::size_t at, std::uint32_t value)
    {
        putU32(bytes, at, value);
        return bytes;
    };
    const auto withRle = [&](std::vector<unsigned char> stream)
    {
        std::string bytes = rle.substr(0, rleData);
        bytes.append(stream.begin(), stream.end());
        return bytes;
    };
    const std::vector<Case> cases = {
        {"empty", "", "not a bitmap file"},
        {"other format", "GIF89a" + std::string(40, '\0'), "not a bitmap file"},
        {"header cut", good24.substr(0, 30), "the header is truncated"},
        {"unknown header", patched(good24, 14, 20), "unsupported header size 20"},
        {"zero width", patched(good24, 18, 0), "picture size 0 x 5 out of range"},
        {"huge width", patched(good24, 18, 100000), "picture size 100000 x 5 out of range"},
        {"too many pixels", patched(patched(good24, 18, 16384), 22, 16384), "out of range"},
        {"most negative height", patched(good24, 22, 0x80000000u), "out of range"},
        {"two planes", patched(good24, 26, 2 | (24u << 16)), "not one colour plane"},
        {"depth 7", patched(good24, 26, 1 | (7u << 16)), "unsupported bit depth 7"},
        {"run-length 4", patched(good8, 30, 2), "unsupported compression 2 at 8 bits per pixel"},
        {"run-length 24-bit", patched(good24, 30, 1), "unsupported compression 1 at 24 bits per pixel"},
        {"top-down run-length", patched(rle, 22, static_cast<std::uint32_t>(-5)),
         "cannot be stored top-down"},
        {"offset past the end", patched(good24, 10, 100000), "pixel data offset 100000 out of range"},
        {"offset inside the header", patched(good24, 10, 20), "pixel data offset 20 out of range"},
        {"pixels cut", good24.substr(0, good24.size() - 1), "the pixel data is truncated"},
        {"palette cut", good8.substr(0, 200), "the palette is truncated"},
        {"palette larger than the depth allows, pixels cut", patched(good8, 46, 100000).substr(0, 1100),
         "the pixel data is truncated"},
        {"run past the row", withRle({8, 1, 0, 1}), "a run-length run goes outside the picture"},
        {"literal past the row", withRle({0, 9, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1}),
         "a run-length run goes outside the picture"},
        {"run above the picture", withRle({0, 2, 0, 5, 1, 1, 0, 1}),
         "a run-length run goes outside the picture"},
        {"move outside", withRle({0, 2, 8, 0, 0, 1}), "a run-length move goes outside the picture"},
        {"no end mark", withRle({7, 1, 0, 0}), "the run-length data ends before its end mark"},
        {"literal cut", withRle({0, 5, 1, 1}), "the run-length data ends before its end mark"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(Bitmap::fromBytes(c.bytes, "bad.bmp", error));
        EXPECT_EQ(error.rfind("bad.bmp: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }

    std::string error;
    EXPECT_FALSE(Bitmap::load(scratchPath("missing.bmp"), error));
    EXPECT_EQ(error, scratchPath("missing.bmp") + ": cannot open the bitmap file");
}

TEST(BitmapTest, MaskMarksTheTransparentColourAndDrawingIsClipped)
{
    Bitmap b(4, 3, RGB(255, 255, 255));
    b.fillRect(ui::Rect(-5, 1, 2, 9), RGB(255, 0, 255));
    b.line({0, 0}, {10, 0}, RGB(0, 0, 0));
    const ui::BitmapMask white = b.maskFor(RGB(255, 255, 255));
    const ui::BitmapMask magenta = b.maskFor(RGB(255, 0, 255));
    EXPECT_FALSE(white.isTransparent(0, 0));
    EXPECT_TRUE(white.isTransparent(3, 2));
    EXPECT_TRUE(magenta.isTransparent(1, 2));
    EXPECT_FALSE(magenta.isTransparent(2, 2));
    EXPECT_FALSE(magenta.isTransparent(7, 7));
    EXPECT_EQ(b.pixel(-1, 0), RGB(0, 0, 0));
    b.setPixel(9, 9, RGB(1, 2, 3)); // ignored
    std::string error;
    EXPECT_FALSE(Bitmap().save(scratchPath("empty.bmp"), error));
}
} // namespace
