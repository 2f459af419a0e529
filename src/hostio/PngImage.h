#pragma once

// Pictures for pages that must carry them inside: a picture encoded as PNG (with libpng) and
// a data URI that embeds any bytes in a link or an image source.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hostio
{
/// Whether this build encodes PNG (it does when libpng was found).
bool canEncodePng();

/// A picture of `width` × `height` colours (COLORREF values, 0x00BBGGRR, row by row from the
/// top) as the bytes of an 8-bit RGB PNG file. Empty, with `error` set, when the sizes do not
/// match the colours or the encoder fails.
std::string encodePng(int width, int height, const std::vector<std::uint32_t>& colours, std::string& error);

/// "data:<mime>;base64,<bytes in base64>".
std::string dataUri(std::string_view mime, std::string_view bytes);
} // namespace hostio
