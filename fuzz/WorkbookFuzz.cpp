#include "WorkbookFuzz.h"

#include "FuzzSupport.h"
#include "formats/SheetFiles.h"
#include "grid/Sheet.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{
/// Small caps keep each run fast; the caps themselves are what is under test.
formats::ReadLimits fuzzLimits()
{
    formats::ReadLimits limits;
    limits.maxPartBytes = 4u << 20;
    limits.maxTotalBytes = 8u << 20;
    limits.maxCells = 20000;
    return limits;
}

std::string entries(const grid::Sheet& sheet)
{
    std::string out;
    sheet.forEachCell(
        [&](int col, int row)
        {
            // Cells without an entry may come back with a look only (the cells a merge
            // covers take its format), which is no change of what the sheet holds.
            if (col >= 1 && row >= 1 &&
                (sheet.hasFormula(col, row) || !sheet.cellValueText(col, row).empty()))
                out += std::to_string(col) + "," + std::to_string(row) + "=" +
                       (sheet.hasFormula(col, row) ? "=" + sheet.cellFormulaText(col, row)
                                                   : sheet.cellValueText(col, row)) +
                       "\n";
        });
    return out;
}
} // namespace

namespace fuzz
{
int fuzzWorkbook(const std::uint8_t* data, std::size_t size, formats::WorkbookKind kind, const char* name)
{
    fuzz::silenceCommandLine();
    const std::string_view bytes = fuzz::asText(data, size);
    grid::Sheet sheet;
    std::string error;
    std::vector<std::string> remarks;
    if (!formats::readWorkbook(bytes, kind, "", sheet, error, remarks, fuzzLimits()))
    {
        if (error.empty())
            fuzz::fail("a refused workbook gives no reason");
        return 0;
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              (std::string("fuzz-") + name + "-" + std::to_string(::getpid()) + ".xlsx"))
                                 .string();
    if (!formats::writeXlsxFile(path, sheet, error))
    {
        // Only the format's own limits may stop a sheet the reader accepted.
        if (error.find("exceeds") == std::string::npos && error.find("length") == std::string::npos)
            fuzz::fail("an accepted workbook cannot be written", error);
        return 0;
    }
    grid::Sheet again;
    std::vector<std::string> againRemarks;
    if (!formats::readSheetFile(path, again, error, againRemarks))
        fuzz::fail("a written workbook does not read back", error);
    std::filesystem::remove(path);
    if (entries(again) != entries(sheet))
        fuzz::fail("a workbook changes on its way through .xlsx", entries(sheet), entries(again));
    return 0;
}
} // namespace fuzz
