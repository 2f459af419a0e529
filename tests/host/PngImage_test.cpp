#include "hostio/PngImage.h"

#include <gtest/gtest.h>

TEST(PngImage, DataUrisCarryBase64WithPadding)
{
    EXPECT_EQ(hostio::dataUri("text/plain", "Man"), "data:text/plain;base64,TWFu");
    EXPECT_EQ(hostio::dataUri("text/plain", "Ma"), "data:text/plain;base64,TWE=");
    EXPECT_EQ(hostio::dataUri("text/plain", "M"), "data:text/plain;base64,TQ==");
    EXPECT_EQ(hostio::dataUri("image/png", std::string("\xFF\x00\xFE", 3)), "data:image/png;base64,/wD+");
}

TEST(PngImage, PicturesBecomePngFilesOfTheirSize)
{
    if (!hostio::canEncodePng())
        GTEST_SKIP() << "built without libpng";
    std::string error;
    // 3 × 2 pixels: red, green, blue / white, black, grey (COLORREF is 0x00BBGGRR).
    const std::vector<std::uint32_t> colours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0x808080};
    const std::string png = hostio::encodePng(3, 2, colours, error);
    ASSERT_EQ(error, "");
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    // The header chunk: width 3, height 2, 8 bits, colour type 2 (RGB).
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(png.substr(16, 10), std::string("\0\0\0\x03\0\0\0\x02\x08\x02", 10));

    EXPECT_EQ(hostio::encodePng(3, 3, colours, error), "");
    EXPECT_NE(error, "");
}
