#include "ui/Bitmap.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ui
{
namespace
{
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

// The bytes of a file with checked little-endian reads; callers test has() first.
class Bytes
{
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size(); }
    bool has(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint32_t u8(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
    std::uint32_t u16(std::size_t at) const { return u8(at) | (u8(at + 1) << 8); }
    std::uint32_t u32(std::size_t at) const { return u16(at) | (u16(at + 2) << 16); }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }

private:
    std::string_view bytes_;
};

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel
{
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (mask != 0)
        {
            shift = std::countr_zero(mask);
            bits = std::popcount(mask);
        }
    }
    int value(std::uint32_t pixel) const
    {
        if (bits == 0)
            return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return static_cast<int>((v >> (bits - 8)) & 0xFF);
        const std::uint64_t max = (1ULL << bits) - 1;
        return static_cast<int>((std::min(v, max) * 255 + max / 2) / max);
    }
};

void putU16(std::string& out, std::uint32_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void putU32(std::string& out, std::uint32_t v)
{
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}
} // namespace

Bitmap::Bitmap(int width, int height, COLORREF fill)
{
    width_ = std::clamp(width, 0, kMaxSide);
    height_ = std::clamp(height, 0, kMaxSide);
    if (static_cast<std::int64_t>(width_) * height_ > kMaxPixels)
        height_ = static_cast<int>(kMaxPixels / std::max(width_, 1));
    pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill & 0xFFFFFF);
}

std::optional<Bitmap> Bitmap::load(const std::string& path, std::string& error)
{
    std::error_code code;
    const auto fileSize = std::filesystem::file_size(path, code);
    if (code)
    {
        error = path + ": cannot open the bitmap file";
        return std::nullopt;
    }
    // Headers, a full palette and the largest picture at 32 bits per pixel.
    constexpr std::uintmax_t kMaxFileSize = 4096 + static_cast<std::uintmax_t>(kMaxPixels) * 4;
    if (fileSize > kMaxFileSize)
    {
        error = path + ": the file is too large for a bitmap";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(fileSize), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    {
        error = path + ": cannot read the bitmap file";
        return std::nullopt;
    }
    return fromBytes(bytes, path, error);
}

std::optional<Bitmap> Bitmap::fromBytes(std::string_view data, const std::string& name, std::string& error)
{
    const auto refuse = [&](const std::string& reason) -> std::optional<Bitmap>
    {
        error = name + ": " + reason;
        return std::nullopt;
    };
    const Bytes file(data);
    if (!file.has(0, kFileHeaderSize + 4) || file.u8(0) != 'B' || file.u8(1) != 'M')
        return refuse("not a bitmap file");
    const std::uint32_t headerSize = file.u32(kFileHeaderSize);
    const std::uint32_t dataOffset = file.u32(10);

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t coloursUsed = 0;
    std::size_t paletteEntrySize = 4;
    if (headerSize == 12)
    {
        if (!file.has(kFileHeaderSize, 12))
            return refuse("the header is truncated");
        width = file.u16(18);
        height = file.u16(20);
        planes = file.u16(22);
        bits = file.u16(24);
        paletteEntrySize = 3;
    }
    else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
             headerSize == 124)
    {
        if (!file.has(kFileHeaderSize, headerSize))
            return refuse("the header is truncated");
        width = file.i32(18);
        height = file.i32(22);
        planes = file.u16(26);
        bits = file.u16(28);
        compression = file.u32(30);
        coloursUsed = file.u32(46);
    }
    else
        return refuse("unsupported header size " + std::to_string(headerSize));

    if (planes != 1)
        return refuse("not one colour plane");
    const bool topDown = height < 0;
    height = std::llabs(height);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return refuse("picture size " + std::to_string(width) + " x " + std::to_string(height) +
                      " out of range");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return refuse("unsupported bit depth " + std::to_string(bits));
    const bool validCompression = compression == kRgb || (compression == kRle8 && bits == 8) ||
                                  (compression == kBitFields && (bits == 16 || bits == 32));
    if (!validCompression)
        return refuse("unsupported compression " + std::to_string(compression) + " at " +
                      std::to_string(bits) + " bits per pixel");
    if (compression == kRle8 && topDown)
        return refuse("a run-length encoded bitmap cannot be stored top-down");

    // Bit-field masks sit right after a 40-byte header, or inside a longer one at the same place.
    std::size_t afterHeader = kFileHeaderSize + headerSize;
    std::array<std::uint32_t, 3> masks{};
    if (compression == kBitFields)
    {
        if (!file.has(kFileHeaderSize + kInfoHeaderSize, 12))
            return refuse("the colour masks are truncated");
        masks = {file.u32(54), file.u32(58), file.u32(62)};
        if (headerSize == kInfoHeaderSize)
            afterHeader += 12;
    }
    else if (bits == 16)
        masks = {0x7C00, 0x03E0, 0x001F};
    else if (bits == 32)
        masks = {0xFF0000, 0x00FF00, 0x0000FF};

    // Indices beyond the palette show black, as on the platform.
    std::array<COLORREF, 256> palette{};
    if (bits <= 8)
    {
        const std::uint32_t maxColours = 1u << bits;
        const std::uint32_t count = coloursUsed == 0 ? maxColours : std::min(coloursUsed, maxColours);
        if (!file.has(afterHeader, std::uint64_t{count} * paletteEntrySize))
            return refuse("the palette is truncated");
        for (std::uint32_t i = 0; i < count; ++i)
        {
            const std::size_t at = afterHeader + i * paletteEntrySize;
            palette[i] = RGB(static_cast<int>(file.u8(at + 2)), static_cast<int>(file.u8(at + 1)),
                             static_cast<int>(file.u8(at)));
        }
    }
    if (dataOffset < afterHeader || dataOffset >= file.size())
        return refuse("pixel data offset " + std::to_string(dataOffset) + " out of range");

    Bitmap out(static_cast<int>(width), static_cast<int>(height));
    out.sourceBits_ = static_cast<int>(bits);
    const int w = out.width_;
    const int h = out.height_;

    if (compression == kRle8)
    {
        std::size_t at = dataOffset;
        std::int64_t x = 0;
        std::int64_t row = 0; // counted from the bottom
        const auto put = [&](std::uint32_t index) {
            out.pixels_[static_cast<std::size_t>(h - 1 - row) * w + static_cast<std::size_t>(x++)] =
                palette[index];
        };
        for (;;)
        {
            if (!file.has(at, 2))
                return refuse("the run-length data ends before its end mark");
            const std::uint32_t count = file.u8(at);
            const std::uint32_t value = file.u8(at + 1);
            at += 2;
            if (count > 0)
            {
                if (row >= h || x + count > w)
                    return refuse("a run-length run goes outside the picture");
                for (std::uint32_t i = 0; i < count; ++i)
                    put(value);
            }
            else if (value == 0)
            {
                x = 0;
                ++row;
            }
            else if (value == 1)
                break;
            else if (value == 2)
            {
                if (!file.has(at, 2))
                    return refuse("the run-length data ends before its end mark");
                x += file.u8(at);
                row += file.u8(at + 1);
                at += 2;
                if (x > w || row > h)
                    return refuse("a run-length move goes outside the picture");
            }
            else
            {
                if (!file.has(at, value))
                    return refuse("the run-length data ends before its end mark");
                if (row >= h || x + value > w)
                    return refuse("a run-length run goes outside the picture");
                for (std::uint32_t i = 0; i < value; ++i)
                    put(file.u8(at + i));
                at += value + (value & 1); // literal runs are padded to whole words
            }
        }
        return out;
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(w) * bits + 31) / 32) * 4;
    if (!file.has(dataOffset, stride * static_cast<std::uint64_t>(h)))
        return refuse("the pixel data is truncated");
    const Channel red(masks[0]);
    const Channel green(masks[1]);
    const Channel blue(masks[2]);
    for (int fileRow = 0; fileRow < h; ++fileRow)
    {
        const int y = topDown ? fileRow : h - 1 - fileRow;
        const std::size_t rowStart =
            dataOffset + static_cast<std::size_t>(stride) * static_cast<std::size_t>(fileRow);
        COLORREF* target = &out.pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(w)];
        for (int x = 0; x < w; ++x)
        {
            const auto ux = static_cast<std::size_t>(x);
            switch (bits)
            {
            case 1:
                target[x] = palette[(file.u8(rowStart + ux / 8) >> (7 - ux % 8)) & 1];
                break;
            case 4:
                target[x] = palette[(file.u8(rowStart + ux / 2) >> (ux % 2 == 0 ? 4 : 0)) & 0xF];
                break;
            case 8:
                target[x] = palette[file.u8(rowStart + ux)];
                break;
            case 24:
            {
                const std::size_t at = rowStart + ux * 3;
                target[x] = RGB(static_cast<int>(file.u8(at + 2)), static_cast<int>(file.u8(at + 1)),
                                static_cast<int>(file.u8(at)));
                break;
            }
            default:
            {
                const std::uint32_t value =
                    bits == 16 ? file.u16(rowStart + ux * 2) : file.u32(rowStart + ux * 4);
                target[x] = RGB(red.value(value), green.value(value), blue.value(value));
                break;
            }
            }
        }
    }
    return out;
}

std::string Bitmap::toBytes() const
{
    const std::uint32_t stride = (static_cast<std::uint32_t>(width_) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height_);
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::string out;
    out.reserve(offset + imageSize);
    out += "BM";
    putU32(out, offset + imageSize);
    putU32(out, 0);
    putU32(out, offset);
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<std::uint32_t>(width_));
    putU32(out, static_cast<std::uint32_t>(height_));
    putU16(out, 1);
    putU16(out, 24);
    putU32(out, kRgb);
    putU32(out, imageSize);
    putU32(out, 2835); // 72 dots per inch
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    for (int y = height_ - 1; y >= 0; --y)
    {
        for (int x = 0; x < width_; ++x)
        {
            const COLORREF c = pixel(x, y);
            out.push_back(static_cast<char>(GetBValue(c)));
            out.push_back(static_cast<char>(GetGValue(c)));
            out.push_back(static_cast<char>(GetRValue(c)));
        }
        out.append(stride - static_cast<std::uint32_t>(width_) * 3, '\0');
    }
    return out;
}

bool Bitmap::save(const std::string& path, std::string& error) const
{
    if (empty())
    {
        error = path + ": an empty picture cannot be saved";
        return false;
    }
    const std::string bytes = toBytes();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
    {
        error = path + ": cannot write the bitmap file";
        return false;
    }
    return true;
}

COLORREF Bitmap::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return RGB(0, 0, 0);
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void Bitmap::setPixel(int x, int y, COLORREF colour)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
        colour & 0xFFFFFF;
}

BitmapMask Bitmap::maskFor(COLORREF colour) const
{
    BitmapMask mask{width_, height_, std::vector<bool>(pixels_.size())};
    for (std::size_t i = 0; i < pixels_.size(); ++i)
        mask.transparent[i] = pixels_[i] == (colour & 0xFFFFFF);
    return mask;
}

void Bitmap::fillRect(const Rect& rect, COLORREF colour)
{
    const Rect r = Rect::intersection(rect, Rect(0, 0, width_, height_));
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            setPixel(x, y, colour);
}

void Bitmap::frameRect(const Rect& rect, COLORREF colour)
{
    if (rect.IsRectEmpty())
        return;
    line({rect.left, rect.top}, {rect.right - 1, rect.top}, colour);
    line({rect.left, rect.bottom - 1}, {rect.right - 1, rect.bottom - 1}, colour);
    line({rect.left, rect.top}, {rect.left, rect.bottom - 1}, colour);
    line({rect.right - 1, rect.top}, {rect.right - 1, rect.bottom - 1}, colour);
}

void Bitmap::line(Point from, Point to, COLORREF colour)
{
    // Bresenham's line: every step moves one pixel along the longer axis.
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    int err = dx + dy;
    Point p = from;
    for (;;)
    {
        setPixel(p.x, p.y, colour);
        if (p == to)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy)
        {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx)
        {
            err += dx;
            p.y += sy;
        }
    }
}
} // namespace ui
