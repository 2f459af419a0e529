#include "hostio/PngImage.h"

#if KALDOR_HAVE_PNG
#include <png.h>
#endif

namespace hostio
{
bool canEncodePng()
{
    return KALDOR_HAVE_PNG != 0;
}

std::string encodePng(int width, int height, const std::vector<std::uint32_t>& colours, std::string& error)
{
    error.clear();
    if (width <= 0 || height <= 0 ||
        colours.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    {
        error = "the picture's size does not match its pixels";
        return {};
    }
#if KALDOR_HAVE_PNG
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb;
    rgb.reserve(colours.size() * 3);
    for (std::uint32_t colour : colours)
    {
        rgb.push_back(static_cast<png_byte>(colour & 0xFF));
        rgb.push_back(static_cast<png_byte>((colour >> 8) & 0xFF));
        rgb.push_back(static_cast<png_byte>((colour >> 16) & 0xFF));
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
    {
        error = image.message;
        png_image_free(&image);
        return {};
    }
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr))
    {
        error = image.message;
        png_image_free(&image);
        return {};
    }
    bytes.resize(size);
    png_image_free(&image);
    return bytes;
#else
    error = "this build encodes no PNG (libpng was not found)";
    return {};
#endif
}

std::string dataUri(std::string_view mime, std::string_view bytes)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out = "data:" + std::string(mime) + ";base64,";
    out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3)
    {
        const std::uint32_t triple = (static_cast<unsigned char>(bytes[i]) << 16) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                                     static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(triple >> 18) & 63];
        out += kDigits[(triple >> 12) & 63];
        out += kDigits[(triple >> 6) & 63];
        out += kDigits[triple & 63];
    }
    if (i < bytes.size())
    {
        const bool two = i + 1 < bytes.size();
        const std::uint32_t triple = (static_cast<unsigned char>(bytes[i]) << 16) |
                                     (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0);
        out += kDigits[(triple >> 18) & 63];
        out += kDigits[(triple >> 12) & 63];
        out += two ? kDigits[(triple >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}
} // namespace hostio
