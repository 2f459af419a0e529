#pragma once

#include "ui/Color.h"
#include "ui/Geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui
{
/// Which pixels of a bitmap let the background through: one flag per pixel, row by row from
/// the top, true where the picture is transparent.
struct BitmapMask
{
    int width = 0;
    int height = 0;
    std::vector<bool> transparent;

    bool isTransparent(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height &&
               transparent[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)];
    }
    friend bool operator==(const BitmapMask&, const BitmapMask&) = default;
};

/// A picture in memory: width × height colours (COLORREF, no alpha), row by row from the top.
///
/// Reads Windows and OS/2 ".bmp" files of 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed
/// or with bit-field masks, and 8-bit run-length encoded ones, stored bottom-up or top-down.
/// Writes 24-bit files. Every file is checked against its own length before a pixel is read,
/// and pictures beyond kMaxSide or kMaxPixels are refused, so a damaged or hostile file costs
/// at most a bounded amount of memory and is never read out of bounds.
class Bitmap
{
public:
    /// The longest side accepted.
    static constexpr int kMaxSide = 16384;
    /// The most pixels accepted (64 MB of colours).
    static constexpr std::int64_t kMaxPixels = 16LL * 1024 * 1024;

    Bitmap() = default;
    /// A picture filled with one colour; sides are clamped to 0..kMaxSide and the pixel count
    /// to kMaxPixels.
    Bitmap(int width, int height, COLORREF fill = RGB(0, 0, 0));

    /// Reads a ".bmp" file. On failure `error` holds "<path>: <reason>" and nothing is returned.
    static std::optional<Bitmap> load(const std::string& path, std::string& error);
    /// Reads the bytes of a ".bmp" file; `name` is used in the message.
    static std::optional<Bitmap> fromBytes(std::string_view bytes, const std::string& name,
                                           std::string& error);
    /// Writes the picture as a 24-bit bottom-up file; false with "<path>: <reason>" otherwise.
    bool save(const std::string& path, std::string& error) const;
    /// The bytes save() writes.
    std::string toBytes() const;

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    /// The bits per pixel of the file it was read from (24 for a picture made in memory).
    int sourceBitsPerPixel() const { return sourceBits_; }

    /// The colour at (x, y); black outside the picture.
    COLORREF pixel(int x, int y) const;
    /// Sets one pixel; points outside the picture are ignored.
    void setPixel(int x, int y, COLORREF colour);
    const std::vector<COLORREF>& pixels() const { return pixels_; }

    /// The mask in which every pixel of `colour` is transparent: white for dialog template
    /// images, magenta (RGB 255, 0, 255) for button pictures.
    BitmapMask maskFor(COLORREF colour) const;

    // Drawing, for pictures made in code; everything is clipped to the picture.
    void fillRect(const Rect& rect, COLORREF colour);
    void frameRect(const Rect& rect, COLORREF colour);
    /// A one-pixel line including both end points.
    void line(Point from, Point to, COLORREF colour);

    friend bool operator==(const Bitmap& a, const Bitmap& b)
    {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
    }

private:
    int width_ = 0;
    int height_ = 0;
    int sourceBits_ = 24;
    std::vector<COLORREF> pixels_;
};
} // namespace ui
