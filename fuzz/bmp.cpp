// Bitmap files (".bmp"): every depth the reader knows, uncompressed, with bit fields and
// run-length encoded. A refusal must say why; an accepted picture must have a size within the
// limits, and writing it and reading that back must give the same pixels.

#include "FuzzSupport.h"
#include "ui/Bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string error;
    const auto picture = ui::Bitmap::fromBytes(fuzz::asText(data, size), "fuzz.bmp", error);
    if (!picture)
    {
        if (error.rfind("fuzz.bmp: ", 0) != 0 || error.size() <= 10)
            fuzz::fail("a refused bitmap has no reason", "fuzz.bmp: <reason>", error);
        return 0;
    }
    if (picture->width() <= 0 || picture->height() <= 0 || picture->width() > ui::Bitmap::kMaxSide ||
        picture->height() > ui::Bitmap::kMaxSide ||
        static_cast<std::int64_t>(picture->width()) * picture->height() > ui::Bitmap::kMaxPixels)
        fuzz::fail("an accepted bitmap is out of the size limits");
    if (picture->pixels().size() !=
        static_cast<std::size_t>(picture->width()) * static_cast<std::size_t>(picture->height()))
        fuzz::fail("the pixel count does not match the size");
    std::string again;
    const auto reread = ui::Bitmap::fromBytes(picture->toBytes(), "saved.bmp", again);
    if (!reread)
        fuzz::fail("a saved bitmap cannot be read back", "", again);
    if (!(*reread == *picture))
        fuzz::fail("a saved bitmap reads back with other pixels");
    return 0;
}
