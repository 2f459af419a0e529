// The CSV reader. Whatever it reads must write as CSV that reads again to a sheet of the
// same size with the same data texts.

#include "grid/Csv.h"

#include "FuzzSupport.h"
#include "grid/Sheet.h"

#include <algorithm>

namespace
{
// Writing a sheet writes every cell of it; keep the written text of the check small.
constexpr long long kMaxCheckedCells = 1 << 20;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    const std::string_view text = fuzz::asText(data, size);

    grid::Sheet sheet;
    grid::FileError error;
    if (!grid::readCsvText(text, sheet, error))
    {
        if (error.message.empty())
            fuzz::fail("a refused CSV text gives no reason");
        return 0;
    }
    if (static_cast<long long>(sheet.maxCols()) * sheet.maxRows() > kMaxCheckedCells)
        return 0;

    const std::string written = grid::writeCsvText(sheet);
    grid::Sheet again;
    if (!grid::readCsvText(written, again, error))
        fuzz::fail("written CSV does not read back", written, error.message);
    // The written text ends with the last row and column holding a non-empty field, so that
    // part of the sheet is what must come back at the same size.
    int cols = 0;
    int rows = 0;
    sheet.forEachCell(
        [&](int col, int row)
        {
            if (col >= 1 && row >= 1 && !sheet.cellDataText(col, row).empty())
            {
                cols = std::max(cols, col);
                rows = std::max(rows, row);
            }
        });
    if (again.usedCols() != cols || again.usedRows() != rows)
        fuzz::fail("written CSV reads back at another size",
                   std::to_string(cols) + "x" + std::to_string(rows),
                   std::to_string(again.usedCols()) + "x" + std::to_string(again.usedRows()));

    // Without formulas (and texts that would read as formulas) the trip changes nothing.
    bool formulaLike = false;
    sheet.forEachCell(
        [&](int col, int row)
        {
            formulaLike =
                formulaLike || sheet.hasFormula(col, row) || sheet.cellDataText(col, row).starts_with('=');
        });
    if (!formulaLike && grid::writeCsvText(again) != written)
        fuzz::fail("CSV without formulas changes on its way through a sheet", written,
                   grid::writeCsvText(again));
    return 0;
}
