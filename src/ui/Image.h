#pragma once

#include <string>

namespace ui
{
/// A bitmap or icon: the file it comes from and its size in pixels. Nothing is drawn, so
/// only what dialogs ask of a picture (its size, its origin) is read from the file.
struct Image
{
    enum class Kind
    {
        Bitmap,
        Icon,
    };

    Kind kind = Kind::Bitmap;
    std::string file;
    int width = 0;
    int height = 0;
    /// The resource number it was loaded from, or 0 when it came from a file.
    int resourceId = 0;

    friend bool operator==(const Image&, const Image&) = default;

    /// Reads the size of a ".bmp" file (Windows or OS/2 header). False with a message naming
    /// the file when it is missing, unreadable or not a bitmap; `out` is then unchanged.
    static bool loadBitmapFile(const std::string& path, Image& out, std::string& error);
    /// Reads the size of the first image of a ".ico" file; false with a message otherwise.
    static bool loadIconFile(const std::string& path, Image& out, std::string& error);
};
} // namespace ui
