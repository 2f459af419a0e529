// Runs every case of the formula case table (tests/data/grid/formula_cases.tsv) through the
// real formula engine and compares the value and its type.

#include "grid/Sheet.h"
#include "grid/Value.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace
{
// Every case formula sits in H10, as in the table's generator.
constexpr int kCaseCol = 8;
constexpr int kCaseRow = 10;

struct Case
{
    int line = 0;
    std::string formula;
    std::string expected;
    std::string type;
    std::string comment;
};

struct Table
{
    std::vector<std::pair<std::string, std::string>> inputs; // cell name, content
    std::vector<Case> cases;
};

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t'))
        fields.push_back(field);
    if (!line.empty() && line.back() == '\t')
        fields.emplace_back();
    return fields;
}

Table readTable()
{
    Table table;
    std::ifstream in(KALDOR_TEST_DATA "grid/formula_cases.tsv");
    std::string line;
    int number = 0;
    while (std::getline(in, line))
    {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> f = split(line);
        if (line[0] == '@')
            table.inputs.emplace_back(f.at(0).substr(1), f.at(1));
        else
        {
            f.resize(4);
            table.cases.push_back({number, f[0], f[1], f[2], f[3]});
        }
    }
    return table;
}

// Column and row of a cell name such as "B12".
std::pair<int, int> cellOf(const std::string& name)
{
    int col = 0;
    size_t i = 0;
    while (i < name.size() && name[i] >= 'A' && name[i] <= 'Z')
        col = col * 26 + (name[i++] - 'A' + 1);
    return {col, std::stoi(name.substr(i))};
}

const char* typeName(const grid::Value& v)
{
    switch (v.type())
    {
    case grid::Value::Type::Empty:
        return "empty";
    case grid::Value::Type::Number:
        return "number";
    case grid::Value::Type::Text:
        return "text";
    case grid::Value::Type::Logical:
        return "logical";
    case grid::Value::Type::Error:
        return "error";
    }
    return "?";
}

std::string shortened(const std::string& text)
{
    return text.size() <= 60 ? text : text.substr(0, 60) + "...";
}

bool sameNumber(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return true;
    char* end = nullptr;
    const double e = std::strtod(expected.c_str(), &end);
    if (*end)
        return false;
    const double a = std::strtod(actual.c_str(), &end);
    if (*end)
        return false;
    return std::fabs(e - a) <= 1e-12 * std::fmax(1.0, std::fabs(e));
}

TEST(FormulaCases, TableAgreesWithEngine)
{
    const Table table = readTable();
    ASSERT_GE(table.cases.size(), 600u) << "the case table is missing or short";
    grid::Sheet sheet;
    ASSERT_TRUE(sheet.setMaxCols(10));
    ASSERT_TRUE(sheet.setMaxRows(12));
    sheet.setClock([] { return 45000.5; });
    for (const auto& [name, content] : table.inputs)
    {
        const auto [col, row] = cellOf(name);
        const bool set = content[0] == '=' ? sheet.setFormula(col, row, content)
                                           : sheet.setNumber(col, row, std::stod(content));
        ASSERT_TRUE(set) << name << " " << content;
    }
    // bench/peer/libreoffice-oracle.py sets this to compare the engine with a second peer.
    const char* valuesPath = std::getenv("KALDOR_FORMULA_CASE_VALUES");
    std::ofstream values;
    if (valuesPath)
        values.open(valuesPath);
    int failures = 0;
    for (const Case& c : table.cases)
    {
        if (!sheet.setFormula(kCaseCol, kCaseRow, c.formula))
        {
            ADD_FAILURE() << "line " << c.line << ": " << c.formula
                          << " does not parse: " << sheet.lastFormulaError();
            ++failures;
            continue;
        }
        const grid::Value v = sheet.cellValue(kCaseCol, kCaseRow);
        const std::string text = sheet.cellValueText(kCaseCol, kCaseRow);
        if (values.is_open())
            values << c.line << '\t' << c.formula << '\t' << text << '\t' << typeName(v) << '\n';
        const bool ok =
            c.type == typeName(v) && (c.type == "number" ? sameNumber(c.expected, text) : c.expected == text);
        if (!ok)
        {
            ++failures;
            ADD_FAILURE() << "line " << c.line << ": " << c.formula << " gives " << typeName(v) << " '"
                          << shortened(text) << "', expected " << c.type << " '" << shortened(c.expected)
                          << "'" << (c.comment.empty() ? "" : " (" + c.comment + ")");
        }
    }
    EXPECT_EQ(failures, 0);
}
} // namespace
