#include "grid/Csv.h"

#include "grid/Sheet.h"
#include "grid/formula/ReferenceText.h"

#include <algorithm>
#include <iostream>

namespace grid
{
namespace
{
struct Field
{
    int col;
    int row;
    std::string text;
};

/// Splits CSV text into its non-empty fields with their positions, and the size of the table
/// they make (`rows` records, the longest of `cols` fields).
bool parseCsv(std::string_view text, std::vector<Field>& fields, int& rows, int& cols, FileError& error)
{
    int row = 1, col = 1, line = 1;
    cols = 0;
    rows = 0;
    std::string field;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto endField = [&]() -> bool
    {
        if (col > kMaxCols)
        {
            error = {line, "a record has more than " + std::to_string(kMaxCols) + " fields"};
            return false;
        }
        if (!field.empty())
            fields.push_back({col, row, std::move(field)});
        field.clear();
        cols = std::max(cols, col);
        ++col;
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
            while (true)
            {
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
                        field.push_back('"');
                        ++i;
                        continue;
                    }
                    break;
                }
                if (c == '\n')
                    ++line;
                field.push_back(c);
            }
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
            field.assign(text.substr(i, stop - i));
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
} // namespace

bool readCsvText(std::string_view text, Sheet& sheet, FileError& error)
{
    std::vector<Field> fields;
    int rows = 0, cols = 0;
    if (!parseCsv(text, fields, rows, cols, error))
        return false;
    if (rows == 0)
    {
        sheet.setChangesMade(false);
        return true;
    }
    sheet.setAutoCalc(false);
    sheet.setMaxCols(cols);
    sheet.setMaxRows(rows);
    for (const Field& f : fields)
    {
        if (f.text[0] == '=' && f.text.size() > 1)
        {
            if (sheet.setFormula(f.col, f.row, f.text))
                continue;
            // A formula that does not parse is never taken for text: the cell shows an error
            // and the reader learns which cell and why, with the text as it was written.
            std::cerr << "cell " << columnLetters(f.col) << f.row << ": the formula \"" << f.text
                      << "\" does not parse (" << sheet.lastFormulaError() << "); the cell holds #NAME?\n";
            sheet.setFormula(f.col, f.row, "=#NAME?");
            continue;
        }
        sheet.setData(f.col, f.row, f.text);
    }
    sheet.setAutoCalc(true);
    sheet.setChangesMade(false);
    return true;
}

bool readCsvRecords(std::string_view text, std::vector<std::vector<std::string>>& records, FileError& error)
{
    std::vector<Field> fields;
    int rows = 0, cols = 0;
    if (!parseCsv(text, fields, rows, cols, error))
        return false;
    records.assign(static_cast<std::size_t>(rows), std::vector<std::string>(static_cast<std::size_t>(cols)));
    for (Field& f : fields)
        records[static_cast<std::size_t>(f.row - 1)][static_cast<std::size_t>(f.col - 1)] = std::move(f.text);
    return true;
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
