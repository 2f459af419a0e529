#include "grid/Csv.h"

#include "grid/PhaseClock.h"
#include "grid/Sheet.h"
#include "grid/formula/ReferenceText.h"

#include <algorithm>
#include <iostream>

namespace grid
{
namespace
{
/// Walks CSV text field by field. `field(col, row, text)` takes every non-empty field, its
/// text pointing into the CSV text or, for a quoted field, into scratch space reused from
/// field to field; it is called only when `Decode` is set, so that a first pass can measure
/// and check the table without copying anything. `rows` and `cols` come out as the size of
/// the table (`rows` records, the longest of `cols` fields).
template <bool Decode, class Field>
bool parseCsv(std::string_view text, Field&& field, int& rows, int& cols, FileError& error)
{
    int row = 1, col = 1, line = 1;
    cols = 0;
    rows = 0;
    std::string scratch;
    std::string_view current;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto endField = [&]() -> bool
    {
        if (col > kMaxCols)
        {
            error = {line, "a record has more than " + std::to_string(kMaxCols) + " fields"};
            return false;
        }
        if constexpr (Decode)
            if (!current.empty())
                field(col, row, current);
        cols = std::max(cols, col);
        ++col;
        current = {};
        return true;
    };
    if (n == 0)
        return true;
    while (i < n)
    {
        // At the start of a field.
        if (text[i] == '"')
        {
            const int startLine = line;
            ++i;
            scratch.clear();
            while (true)
            {
                // Runs of plain characters are taken at once.
                std::size_t stop = i;
                while (stop < n && text[stop] != '"' && text[stop] != '\n')
                    ++stop;
                if constexpr (Decode)
                    scratch.append(text.substr(i, stop - i));
                i = stop;
                if (i >= n)
                {
                    error = {startLine, "a quoted field is not closed"};
                    return false;
                }
                const char c = text[i++];
                if (c == '"')
                {
                    if (i < n && text[i] == '"')
                    {
                        if constexpr (Decode)
                            scratch.push_back('"');
                        ++i;
                        continue;
                    }
                    break;
                }
                ++line; // a line break inside the quotes
                if constexpr (Decode)
                    scratch.push_back(c);
            }
            current = scratch;
            if (i < n && text[i] != ',' && text[i] != '\n' &&
                !(text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') && !(text[i] == '\r' && i + 1 == n))
            {
                error = {line, "a closing quote must be followed by a comma or the end of the record"};
                return false;
            }
        }
        else
        {
            // An unquoted field runs to the next comma or line break; quotes inside it are
            // taken as they are.
            std::size_t end = i;
            while (end < n && text[end] != ',' && text[end] != '\n')
                ++end;
            std::size_t stop = end;
            if (stop > i && text[stop - 1] == '\r' && (stop == n || text[stop] == '\n'))
                --stop;
            current = text.substr(i, stop - i);
            i = end;
        }
        if (!endField())
            return false;
        if (i >= n)
            break;
        if (text[i] == ',')
        {
            ++i;
            if (i == n && !endField())
                return false;
            continue;
        }
        if (text[i] == '\r')
            ++i;
        if (i < n && text[i] == '\n')
            ++i;
        ++line;
        if (i < n)
        {
            if (row == kMaxRows)
            {
                error = {line, "the file has more than " + std::to_string(kMaxRows) + " records"};
                return false;
            }
            ++row;
            col = 1;
        }
    }
    rows = row;
    return true;
}

/// Checks the text and measures its table without keeping anything.
bool measureCsv(std::string_view text, int& rows, int& cols, FileError& error)
{
    return parseCsv<false>(
        text, [](int, int, std::string_view) {}, rows, cols, error);
}
} // namespace

bool readCsvText(std::string_view text, Sheet& sheet, FileError& error)
{
    // A first pass checks the text and sizes the table, so that a fault leaves the sheet as
    // it was; the second sets every field straight from the text.
    int rows = 0, cols = 0;
    if (!measureCsv(text, rows, cols, error))
        return false;
    notePhase("check csv");
    if (rows == 0)
    {
        sheet.setChangesMade(false);
        return true;
    }
    sheet.setAutoCalc(false);
    sheet.setMaxCols(cols);
    sheet.setMaxRows(rows);
    parseCsv<true>(
        text,
        [&](int col, int row, std::string_view field)
        {
            if (field[0] == '=' && field.size() > 1)
            {
                if (sheet.setFormula(col, row, field))
                    return;
                // A formula that does not parse is never taken for text: the cell shows an
                // error and the reader learns which cell and why, with the text as it was
                // written.
                std::cerr << "cell " << columnLetters(col) << row << ": the formula \"" << field
                          << "\" does not parse (" << sheet.lastFormulaError()
                          << "); the cell holds #NAME?\n";
                sheet.setFormula(col, row, "=#NAME?");
                return;
            }
            sheet.setData(col, row, field);
        },
        rows, cols, error);
    notePhase("parse+store");
    sheet.setAutoCalc(true);
    sheet.setChangesMade(false);
    return true;
}

bool readCsvRecords(std::string_view text, std::vector<std::vector<std::string>>& records, FileError& error)
{
    int rows = 0, cols = 0;
    if (!measureCsv(text, rows, cols, error))
        return false;
    records.assign(static_cast<std::size_t>(rows), std::vector<std::string>(static_cast<std::size_t>(cols)));
    return parseCsv<true>(
        text,
        [&](int col, int row, std::string_view field)
        { records[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col - 1)] = field; },
        rows, cols, error);
}

std::string writeCsvText(const Sheet& sheet)
{
    std::string out;
    // Rows and columns beyond the last non-empty field would only add empty fields, and a
    // sheet may declare far more than it holds.
    int rows = 0;
    int cols = 0;
    sheet.forEachCell(
        [&](int col, int row)
        {
            if (col >= 1 && row >= 1 && col <= sheet.maxCols() && row <= sheet.maxRows() &&
                !sheet.cellDataText(col, row).empty())
            {
                rows = std::max(rows, row);
                cols = std::max(cols, col);
            }
        });
    for (int row = 1; row <= rows; ++row)
    {
        for (int col = 1; col <= cols; ++col)
        {
            if (col > 1)
                out.push_back(',');
            const std::string text = sheet.cellDataText(col, row);
            if (text.find_first_of(",\"\r\n") == std::string::npos)
            {
                out += text;
                continue;
            }
            out.push_back('"');
            for (char c : text)
            {
                if (c == '"')
                    out.push_back('"');
                out.push_back(c);
            }
            out.push_back('"');
        }
        out += "\r\n";
    }
    return out;
}
} // namespace grid
