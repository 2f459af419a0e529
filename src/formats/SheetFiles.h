#pragma once

// Workbooks of spreadsheet programs as sheets: reading .xlsx (Office Open XML) and .ods
// (OpenDocument) into a grid::Sheet, and writing a grid::Sheet as .xlsx.
//
// Reading takes one worksheet, the first or the one named after '#' ("Loads.xlsx#Bolts"):
// numbers, texts (shared, inline and rich strings flattened), logicals and error values (as
// the formulas TRUE, FALSE, #N/A… since a sheet's entries are texts or numbers), formulas
// translated into the sheet's formula language (cached results are ignored: the sheet
// calculates), notes, column widths, row heights, merged cells as spans, number formats with
// fixed decimals and thousands separators as number cell types, the text format as a text
// cell type, and the font (face, size, bold), text and background colours and borders of
// cells. What the sheet cannot hold is counted and handed back as remarks
// ("3 conditional formats ignored"); nothing is dropped without a word.
//
// Files come from anywhere, so reading is bounded (ReadLimits): a part of the archive that
// unpacks larger than its cap is refused before it is unpacked whole, documents with a
// document type declaration are refused (no entity is ever expanded), and cell counts and
// text lengths are capped. A formula that does not translate refuses the file with the cell
// named.
//
// Writing produces a workbook with one worksheet that Excel and LibreOffice open and
// recalculate: entries, formulas (with their calculated results), number and text formats,
// column widths, row heights, spans, notes, fonts, colours and borders. Cell types without a
// counterpart (check boxes, combos, buttons, pictures, edit boxes) are written as their
// values; tags and header texts are not written.
//
// Usage:
//
//     grid::Sheet sheet;
//     std::string error;
//     std::vector<std::string> remarks;
//     if (!formats::readSheetFile("Loads.xlsx#Bolts", sheet, error, remarks))
//         report(error);              // "cell C4: formula … does not translate: …"
//     formats::writeXlsxFile("Bill.xlsx", sheet, error);
//
// A program calls registerSheetFormats() once at start; from then on grid::Sheet::loadFile
// and saveFile, and so every part of the module that takes a sheet, handle these files too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace grid
{
class Sheet;
}

namespace formats
{
/// The bounds a reader keeps to.
struct ReadLimits
{
    /// Largest uncompressed size of one part (one XML document) of the archive.
    std::uint64_t maxPartBytes = 128u * 1024u * 1024u;
    /// Largest uncompressed size of all parts read together.
    std::uint64_t maxTotalBytes = 256u * 1024u * 1024u;
    /// Most cells (with an entry or a format) a worksheet may give the sheet.
    std::size_t maxCells = 4'000'000;
    /// Longest text of a cell or note, in bytes (a spreadsheet program's own limit).
    std::size_t maxTextBytes = 32767;
    /// Longest formula, in bytes.
    std::size_t maxFormulaBytes = 8192;
};

/// The kinds of workbook this library reads.
enum class WorkbookKind
{
    Xlsx,
    Ods,
};

/// Reads a worksheet of an .xlsx or .ods file (chosen by the extension, case ignored) into
/// `sheet`, which should be fresh (a default-constructed sheet, perhaps with custom functions
/// registered). `path` may end in "#SheetName" to choose a worksheet other than the first.
/// On failure `error` says why (without the file name) and `sheet` is left half-filled: read
/// into a scratch sheet. `remarks` receives one text per kind of content that was ignored.
bool readSheetFile(const std::string& path, grid::Sheet& sheet, std::string& error,
                   std::vector<std::string>& remarks, const ReadLimits& limits = {});

/// Reads a workbook held in memory; `sheetName` chooses the worksheet (empty: the first).
bool readWorkbook(std::string_view bytes, WorkbookKind kind, std::string_view sheetName, grid::Sheet& sheet,
                  std::string& error, std::vector<std::string>& remarks, const ReadLimits& limits = {});

/// Writes the sheet as an .xlsx workbook with one worksheet called "Sheet1", atomically: the
/// old file is replaced only once the new one is complete. On failure `error` says why (a
/// text or formula too long for the format names its cell).
bool writeXlsxFile(const std::string& path, const grid::Sheet& sheet, std::string& error);

/// Registers the readers of ".xlsx" and ".ods" and the writer of ".xlsx" with the grid
/// engine (grid/SheetFormats.h). Idempotent.
void registerSheetFormats();
} // namespace formats
