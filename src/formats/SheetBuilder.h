#pragma once

// What the workbook readers have in common: putting cells into a sheet within the limits,
// sizing it to what was read, and counting what had to be left out.

#include "formats/SheetFiles.h"
#include "grid/CellFormat.h"
#include "grid/CellType.h"
#include "grid/Sheet.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace formats
{
/// The look a workbook gives a cell, as far as a sheet can hold it.
struct CellLook
{
    bool hasType = false;
    grid::CellType type;
    bool hasFormat = false;
    grid::CellFormat format;

    bool empty() const { return !hasType && !hasFormat; }
};

/// "B7" for column 2, row 7.
std::string cellName(int col, int row);

/// Fills a fresh sheet. Cells may come in any order; calculation waits until finish(), so a
/// formula is calculated once, after every cell it reads is in.
class SheetBuilder
{
public:
    SheetBuilder(grid::Sheet& sheet, const ReadLimits& limits);

    /// Each of these refuses (false, with the cell named in error()) a cell outside the
    /// sheet's address space, a cell beyond maxCells, and a text beyond maxTextBytes.
    bool look(int col, int row, const CellLook& look);
    bool number(int col, int row, double value);
    /// A text stays a text: when it would read as a number, a general cell becomes a text
    /// cell.
    bool text(int col, int row, std::string_view text);
    /// A formula already in the sheet's language (leading '=' optional); `original` is the
    /// workbook's text, for the message when it does not parse.
    bool formula(int col, int row, std::string_view formula, std::string_view original);
    bool note(int col, int row, std::string_view text);

    /// Merged cells, placed by finish(); one that overlaps another is left out and counted.
    void span(int col, int row, int width, int height);
    void columnWidth(int col, double pixels);
    void rowHeight(int row, double pixels);

    /// Counts content that the sheet cannot hold; reported as "<count> <noun> ignored" with
    /// the singular or plural noun.
    void ignore(const std::string& singular, const std::string& plural, int count = 1);

    /// Sizes the sheet to the cells and spans read, applies widths and heights inside it, and
    /// calculates. The remarks are appended in the order their kinds were first met.
    bool finish(std::vector<std::string>& remarks);

    /// Sets the error of a refused cell.
    bool fail(int col, int row, const std::string& why);
    const std::string& error() const { return error_; }

private:
    bool admit(int col, int row);
    bool checkText(int col, int row, std::string_view text);
    void extend(int col, int row);
    void placeSpans();

    grid::Sheet& sheet_;
    ReadLimits limits_;
    std::size_t cells_ = 0;
    int lastCol_ = 0;
    int lastRow_ = 0;
    int admittedCol_ = -1;
    int admittedRow_ = -1;
    std::vector<grid::Span> spans_;
    std::map<int, double> widths_;
    std::map<int, double> heights_;
    std::vector<std::pair<std::string, std::string>> ignoredNouns_;
    std::vector<int> ignoredCounts_;
    std::string error_;
};
} // namespace formats
