#pragma once

// An in-memory sheet for the formula tests: a map of cell values, a current cell and a
// list of custom functions. Formulas set here are evaluated once, in the order they are set.

#include "grid/CustomFunction.h"
#include "grid/formula/Formula.h"

#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace grid::test
{
class FormulaTestContext : public FormulaContext
{
public:
    Value cellValue(int col, int row) const override
    {
        ++reads;
        auto it = cells.find({col, row});
        return it == cells.end() ? Value() : it->second;
    }
    int currentCol() const override { return col; }
    int currentRow() const override { return row; }
    double now() const override { return 45000.5; }
    double random() override { return 0.25; }
    const CustomFunction* findCustomFunction(std::string_view name) const override
    {
        for (const CustomFunction& f : functions)
        {
            if (f.name.size() != name.size())
                continue;
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i)
                same = std::toupper(static_cast<unsigned char>(f.name[i])) ==
                       std::toupper(static_cast<unsigned char>(name[i]));
            if (same)
                return &f;
        }
        return nullptr;
    }

    void set(int c, int r, Value v) { cells[{c, r}] = std::move(v); }

    /// Evaluates `text` as if it sat in (c, r); a parse failure fails the test and gives #N/A.
    Value eval(std::string_view text, int c = 1, int r = 1)
    {
        col = c;
        row = r;
        ParseResult parsed = parseFormula(text, c, r);
        EXPECT_TRUE(parsed.formula) << text << ": " << parsed.error;
        if (!parsed.formula)
            return Value::error(ErrorCode::NA);
        return evaluateFormula(*parsed.formula, *this);
    }

    /// The value text of eval(text), errors and logicals included.
    std::string text(std::string_view formula, int c = 1, int r = 1)
    {
        return valueText(eval(formula, c, r));
    }

    std::map<std::pair<int, int>, Value> cells;
    std::vector<CustomFunction> functions;
    int col = 1;
    int row = 1;
    mutable int reads = 0;
};
} // namespace grid::test
