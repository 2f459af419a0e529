#include "grid/functions/Coercion.h"
#include "grid/functions/Families.h"
#include "grid/functions/Function.h"

#include <algorithm>
#include <vector>

namespace grid
{
namespace
{
// Every family's functions in one list sorted by name, built on first use.
const std::vector<const FunctionInfo*>& sortedFunctions()
{
    static const std::vector<const FunctionInfo*> sorted = []
    {
        std::vector<const FunctionInfo*> list;
        for (auto family :
             {fn::mathFunctions(), fn::statisticsFunctions(), fn::logicalFunctions(),
              fn::informationFunctions(), fn::textFunctions(), fn::lookupFunctions(), fn::dateTimeFunctions(),
              fn::conditionalFunctions(), fn::descriptiveFunctions(), fn::calendarFunctions(),
              fn::conversionFunctions(), fn::selectionFunctions(), fn::probabilityFunctions()})
            for (const FunctionInfo& f : family)
                list.push_back(&f);
        std::sort(list.begin(), list.end(),
                  [](const FunctionInfo* a, const FunctionInfo* b)
                  { return std::string_view(a->name) < std::string_view(b->name); });
        return list;
    }();
    return sorted;
}
} // namespace

bool EvalContext::visitRange(const CellRange& range, RangeVisitor& visitor) const
{
    for (int col = range.col1; col <= range.col2; ++col)
        for (int row = range.row1; row <= range.row2; ++row)
        {
            const Value value = cellValue(col, row);
            if (!value.isEmpty() && !visitor.visit(col, row, value))
                return false;
        }
    return true;
}

const FunctionInfo* findBuiltin(std::string_view name)
{
    const auto& list = sortedFunctions();
    // Names are stored in upper case; compare case-insensitively by folding the query.
    char folded[32];
    if (name.empty() || name.size() > sizeof folded)
        return nullptr;
    for (size_t i = 0; i < name.size(); ++i)
    {
        const char c = name[i];
        folded[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const std::string_view key(folded, name.size());
    const auto it = std::lower_bound(list.begin(), list.end(), key,
                                     [](const FunctionInfo* f, std::string_view k)
                                     { return std::string_view(f->name) < k; });
    if (it == list.end() || std::string_view((*it)->name) != key)
        return nullptr;
    return *it;
}

bool worksElementWise(std::string_view name)
{
    // Sorted, upper case: functions whose every parameter takes one value.
    static constexpr std::string_view kNames[] = {
        "ABS",     "ACOS",      "ASIN",  "ATAN",       "ATAN2",     "CEILING", "CHAR",      "CLEAN",
        "CODE",    "COS",       "DATE",  "DATEVALUE",  "DAY",       "DEGREES", "EVEN",      "EXACT",
        "EXP",     "FIND",      "FLOOR", "HOUR",       "INT",       "ISBLANK", "ISERR",     "ISERROR",
        "ISEVEN",  "ISLOGICAL", "ISNA",  "ISNONTEXT",  "ISNUMBER",  "ISODD",   "ISTEXT",    "LEFT",
        "LEN",     "LN",        "LOG",   "LOG10",      "LOWER",     "MID",     "MINUTE",    "MOD",
        "MONTH",   "MROUND",    "NOT",   "ODD",        "POWER",     "PROPER",  "QUOTIENT",  "RADIANS",
        "REPLACE", "REPT",      "RIGHT", "ROUND",      "ROUNDDOWN", "ROUNDUP", "SEARCH",    "SECOND",
        "SIGN",    "SIN",       "SQRT",  "SUBSTITUTE", "TAN",       "TIME",    "TIMEVALUE", "TRIM",
        "TRUNC",   "UNICODE",   "UPPER", "VALUE",      "WEEKDAY",   "YEAR",
    };
    static_assert(std::is_sorted(std::begin(kNames), std::end(kNames)));
    const FunctionInfo* info = findBuiltin(name);
    return info && std::binary_search(std::begin(kNames), std::end(kNames), std::string_view(info->name));
}

ReferenceBody findReferenceBody(const FunctionInfo* function)
{
    if (!function)
        return nullptr;
    for (const fn::ReferenceFunction& candidate : fn::referenceFunctions())
        if (std::string_view(candidate.name) == function->name)
            return candidate.body;
    return nullptr;
}

std::span<const FunctionInfo* const> builtinFunctions()
{
    return sortedFunctions();
}
} // namespace grid
