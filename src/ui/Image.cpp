#include "ui/Image.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace ui
{
namespace
{
std::uint32_t readU16(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
}
std::uint32_t readU32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Reads up to `size` bytes from the start of a file; the number read, or -1 when it cannot be opened.
long readHead(const std::string& path, unsigned char* buffer, std::size_t size)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return -1;
    in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
    return static_cast<long>(in.gcount());
}

// Pictures beyond this size are refused as damaged rather than trusted.
constexpr std::int64_t kMaxSide = 65535;
} // namespace

bool Image::loadBitmapFile(const std::string& path, Image& out, std::string& error)
{
    std::array<unsigned char, 30> head{};
    const long got = readHead(path, head.data(), head.size());
    if (got < 0)
    {
        error = path + ": cannot open the bitmap file";
        return false;
    }
    if (got < 26 || head[0] != 'B' || head[1] != 'M')
    {
        error = path + ": not a bitmap file";
        return false;
    }
    const std::uint32_t headerSize = readU32(&head[14]);
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (headerSize == 12)
    {
        width = readU16(&head[18]);
        height = readU16(&head[20]);
    }
    else if (headerSize >= 40 && got >= 26)
    {
        width = static_cast<std::int32_t>(readU32(&head[18]));
        height = static_cast<std::int32_t>(readU32(&head[22]));
        height = std::llabs(height); // a negative height marks a top-down bitmap
    }
    else
    {
        error = path + ": unknown bitmap header";
        return false;
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
    {
        error = path + ": bitmap size out of range";
        return false;
    }
    out = Image{Kind::Bitmap, path, static_cast<int>(width), static_cast<int>(height), 0};
    return true;
}

bool Image::loadIconFile(const std::string& path, Image& out, std::string& error)
{
    std::array<unsigned char, 22> head{};
    const long got = readHead(path, head.data(), head.size());
    if (got < 0)
    {
        error = path + ": cannot open the icon file";
        return false;
    }
    if (got < 22 || readU16(&head[0]) != 0 || readU16(&head[2]) != 1 || readU16(&head[4]) == 0)
    {
        error = path + ": not an icon file";
        return false;
    }
    // A size byte of 0 stands for 256 pixels.
    const int width = head[6] == 0 ? 256 : head[6];
    const int height = head[7] == 0 ? 256 : head[7];
    out = Image{Kind::Icon, path, width, height, 0};
    return true;
}
} // namespace ui
