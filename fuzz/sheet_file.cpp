// The sheet file reader. Whatever it accepts must write back to a text that reads again
// to the same sheet, also after rows and columns go in and out; whatever it refuses must
// be refused with a reason.

#include "FuzzSupport.h"
#include "grid/Sheet.h"
#include "grid/SheetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    const std::string_view text = fuzz::asText(data, size);

    grid::Sheet sheet;
    grid::FileError error;
    if (!grid::readSheetText(text, sheet, error))
    {
        if (error.message.empty())
            fuzz::fail("a refused sheet gives no reason");
        if (error.line < 0)
            fuzz::fail("a refused sheet names a negative line", "", std::to_string(error.line));
        return 0;
    }

    const std::string written = grid::writeSheetText(sheet);
    grid::Sheet again;
    if (!grid::readSheetText(written, again, error))
        fuzz::fail("a written sheet does not read back", written,
                   "line " + std::to_string(error.line) + ": " + error.message);
    const std::string rewritten = grid::writeSheetText(again);
    if (rewritten != written)
        fuzz::fail("a sheet changes on its way through the file", written, rewritten);

    // The entries alone must make a readable file too, and copies must be faithful.
    const std::string entries = grid::writeSheetText(sheet, true);
    grid::Sheet entriesOnly;
    if (!grid::readSheetText(entries, entriesOnly, error))
        fuzz::fail("a sheet written without formats does not read back", entries, error.message);
    grid::Sheet copy(sheet);
    if (grid::writeSheetText(copy) != written)
        fuzz::fail("a copied sheet differs from its original", written, grid::writeSheetText(copy));

    // Structural changes on whatever was loaded keep the sheet writable and readable.
    grid::Sheet changed(sheet);
    changed.recalcAll();
    if (changed.maxRows() > 1)
    {
        changed.insertRows(1, 1);
        changed.deleteRows(changed.maxRows() / 2 + 1, 1);
    }
    if (changed.maxCols() > 1)
    {
        changed.deleteColumns(1, 1);
        changed.insertColumns(changed.maxCols() / 2 + 1, 1);
        changed.copyRange(1, 1, 2, 2, changed.maxCols(), changed.maxRows());
    }
    const std::string changedText = grid::writeSheetText(changed);
    grid::Sheet reloaded;
    if (!grid::readSheetText(changedText, reloaded, error))
        fuzz::fail("a changed sheet does not read back", changedText,
                   "line " + std::to_string(error.line) + ": " + error.message);
    return 0;
}
