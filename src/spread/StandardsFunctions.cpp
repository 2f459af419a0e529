#include "spread/StandardsFunctions.h"

#include "grid/Sheet.h"
#include "host/GlobalStr.h"
#include "host/Kdr_StringArray.h"
#include "host/MacroAccess.h"
#include "host/NumberFunctions.h"
#include "host/SectionTables.h"
#include "host/StringFunctions.h"
#include "spread/Kdr_Spread.h"
#include "spread/SizeChoice.h"
#include "spread/StandardsFiles.h"
#include "spread/StandardsMessages.h"
#include "spread/ZxEvaluationRecorder.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

using grid::SpreadCalcValue;

namespace
{
// Keys of GETCELL and GETPROFCELL: at most six, after the file name.
constexpr int kMaxKeys = 6;

const SpreadCalcValue* validArg(const SpreadCalcValue* args, int count, int index)
{
    if (!args || index < 0 || index >= count || args[index].status != grid::kCalcStatusValid)
        return nullptr;
    return &args[index];
}

/// Every function starts from an empty result, so a false return leaves the cell empty.
void clearResult(SpreadCalcValue* result)
{
    std::memset(result, 0, sizeof *result);
    result->status = grid::kCalcStatusEmpty;
    result->type = grid::kCalcTypeLong;
}

/// A 1-based position as a 0-based index; false when the number is no position at all
/// (not a number, or beyond what an index can hold).
bool toIndex(double position, int& index)
{
    if (!(position > std::numeric_limits<int>::min() && position < std::numeric_limits<int>::max()))
        return false;
    index = static_cast<int>(position) - 1;
    return true;
}

double readNumber(const Kdr_String& text)
{
    return std::atof(text.c_str());
}

/// Tells a listening report what a function read; costs nothing when nobody listens.
void tellLookUp(const char* function, const Kdr_String& file, const Kdr_String& key, const Kdr_String& value,
                bool found)
{
    if (ZxEvaluationRecorder* recorder = evaluationRecorder())
        recorder->dataLookedUp({function, file, key, value, found});
}

/// The table file a section's properties come from ("prof/IPE.pr" for IPE-300), for a report.
Kdr_String sectionTableName(const Kdr_String& section)
{
    Kdr_String systemName;
    if (!gSectionTables.getSystemName(section, systemName))
        systemName = section;
    const size_t dash = std::string_view(systemName).find('-');
    const Kdr_String table = dash == std::string::npos ? systemName : Kdr_String(systemName.substr(0, dash));
    return "prof/" + table + ".pr";
}

/// A section and the name of one of its properties ("IPE-300, h"), for a report.
Kdr_String sectionPropertyName(const Kdr_String& section, int index)
{
    Kdr_String systemName;
    if (!gSectionTables.getSystemName(section, systemName))
        systemName = section;
    Kdr_StringArray names;
    Kdr_String property = "property " + std::to_string(index + 1);
    if (gSectionTables.getSectionColumnNames(systemName, names) && names.validIndex(index))
        property += " (" + names[index] + ")";
    return systemName + ", " + property;
}

/// The key of GETCELL and GETPROFCELL: the arguments after the file joined with ';'.
Kdr_String tableKey(SpreadCalcValue* args, int count);

/// The shared body of GETCELL and GETPROFCELL.
std::int32_t lookUpTableCell(SpreadCalcValue* result, SpreadCalcValue* args, int count, bool sectionKeys)
{
    const char* const function = sectionKeys ? "GETPROFCELL" : "GETCELL";
    Kdr_String file;
    if (count < 2 || !calcArgText(args, count, 0, file))
        return false;
    const Kdr_String named = file;
    if (!locateStandardsFile(file))
    {
        if (evaluationRecorder())
            tellLookUp(function, named, tableKey(args, count), "file not found", false);
        return false;
    }
    const auto table = sharedTableFile(file);
    if (!table || table->isEmpty())
    {
        if (evaluationRecorder())
            tellLookUp(function, file, tableKey(args, count), "no table in the file", false);
        return false;
    }
    const Kdr_String key = tableKey(args, count);

    for (const Kdr_StringArray& row : *table)
    {
        if (row.isEmpty())
            continue;
        Kdr_String rowKey = row[0];
        if (sectionKeys)
        {
            Kdr_String systemName;
            if (gSectionTables.getSystemName(rowKey, systemName))
                rowKey = systemName;
        }
        if (rowKey.equal(key, false))
        {
            // The first row with the key decides, even when it has no value.
            if (row.length() < 2)
            {
                tellLookUp(function, file, key, "", false);
                return false;
            }
            tellLookUp(function, file, key, row[1], true);
            return setCalcResultText(result, row[1]);
        }
    }
    tellLookUp(function, file, key, "", false);
    return false;
}

Kdr_String tableKey(SpreadCalcValue* args, int count)
{
    Kdr_StringArray keys;
    for (int i = 1; i < count && i <= kMaxKeys; ++i)
    {
        double number = 0.0;
        Kdr_String text;
        if (calcArgNumber(args, count, i, number))
            keys.append(Kdr_String(number, 6, false));
        else if (calcArgText(args, count, i, text))
            keys.append(text);
        else
            break;
    }
    return arrToStr(keys);
}

/// Which numbers of a sizes file the tolerance functions choose from.
enum class SizeKind
{
    Thickness, ///< the second numbers
    Size,      ///< the first numbers
    Width,     ///< the first numbers of the entries for one thickness
};

std::int32_t chooseStandardSize(SpreadCalcValue* result, SpreadCalcValue* args, int count, SizeKind kind)
{
    const int needed = kind == SizeKind::Width ? 6 : 5;
    if (count < needed)
        return false;
    Kdr_String file;
    if (!calcArgText(args, count, 0, file))
        return false;
    double numbers[5] = {};
    for (int i = 1; i < needed; ++i)
        if (!calcArgNumber(args, count, i, numbers[i - 1]))
            return false;
    const double step = numbers[0];
    const double thickness = kind == SizeKind::Width ? numbers[1] : 0.0;
    const double* rest = kind == SizeKind::Width ? numbers + 2 : numbers + 1;
    const double value = rest[0];
    const double down = rest[1];
    const double up = rest[2];

    if (down + up <= 0.0)
        showToleranceError(down, up);

    Kdr_Array<double> candidates;
    const Kdr_String named = file;
    const bool located = locateStandardsFile(file);
    if (located)
    {
        if (const auto sizes = sharedSizesFile(file))
        {
            switch (kind)
            {
            case SizeKind::Thickness:
                candidates = sizes->seconds;
                break;
            case SizeKind::Size:
                candidates = sizes->firsts;
                break;
            case SizeKind::Width:
                candidates = widthsForThickness(sizes->firsts, sizes->seconds, thickness);
                break;
            }
        }
    }

    double chosen = 0.0;
    const bool listed = pickNearest(candidates, down, up, value, chosen);
    if (!listed)
        chosen = roundWithinTolerance(value, step, up, down);
    if (evaluationRecorder())
    {
        static const char* const names[] = {"STDTHICKNESSWITHTOLERANCE", "STDSIZEWITHTOLERANCE",
                                            "STDWIDTHWITHTOLERANCE"};
        Kdr_String key = Kdr_String(value, 6, false) + " (-" + Kdr_String(down, 6, false) + "/+" +
                         Kdr_String(up, 6, false) + ")";
        if (kind == SizeKind::Width)
            key += " for thickness " + Kdr_String(thickness, 6, false);
        Kdr_String how = listed ? "listed size" : "rounded to step " + Kdr_String(step, 6, false);
        if (!located)
            how += ", file not found";
        tellLookUp(names[static_cast<int>(kind)], located ? file : named, key,
                   Kdr_String(chosen, 6, false) + " (" + how + ")", listed);
    }
    return setCalcResultNumber(result, chosen);
}
} // namespace

bool calcArgNumber(const SpreadCalcValue* args, int count, int index, double& value)
{
    const SpreadCalcValue* arg = validArg(args, count, index);
    if (!arg)
        return false;
    if (arg->type == grid::kCalcTypeLong)
    {
        value = static_cast<double>(arg->value.longValue);
        return true;
    }
    if (arg->type == grid::kCalcTypeDouble)
    {
        value = arg->value.doubleValue;
        return true;
    }
    return false;
}

bool calcArgText(const SpreadCalcValue* args, int count, int index, Kdr_String& text)
{
    const SpreadCalcValue* arg = validArg(args, count, index);
    if (!arg || arg->type != grid::kCalcTypeString)
        return false;
    Kdr_String taken;
    if (!getGlobalStr(arg->value.textHandle, taken))
        return false;
    if (!taken.empty() && taken.front() == '"')
        taken.erase(0, 1);
    if (!taken.empty() && taken.back() == '"')
        taken.pop_back();
    text = std::move(taken);
    return true;
}

bool calcArgCell(const SpreadCalcValue* args, int count, int index, SpreadCalcValue::CellFields& cell)
{
    const SpreadCalcValue* arg = validArg(args, count, index);
    if (!arg || arg->type != grid::kCalcTypeCell)
        return false;
    std::memcpy(&cell, &arg->value.cell, sizeof cell);
    return true;
}

bool calcArgIsEmpty(const SpreadCalcValue* args, int count, int index)
{
    return args && index >= 0 && index < count && args[index].status == grid::kCalcStatusEmpty;
}

bool setCalcResultNumber(SpreadCalcValue* result, double value)
{
    result->status = grid::kCalcStatusValid;
    result->type = grid::kCalcTypeDouble;
    result->value.doubleValue = value;
    return true;
}

bool setCalcResultText(SpreadCalcValue* result, const Kdr_String& text)
{
    if (text.empty())
    {
        result->status = grid::kCalcStatusEmpty;
        result->type = grid::kCalcTypeLong;
        return true;
    }
    const host::GlobalHandle handle = setGlobalStr(text);
    if (handle == 0)
        return false;
    result->status = grid::kCalcStatusValid;
    result->type = grid::kCalcTypeString;
    result->value.textHandle = handle;
    return true;
}

std::int32_t ssRoundTo(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    double value = 0.0;
    double step = 0.0;
    if (!calcArgNumber(args, count, 0, value) || !calcArgNumber(args, count, 1, step))
        return false;
    return setCalcResultNumber(result, ObjectExportRoundTo(value, step));
}

std::int32_t ssGetCell(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    return lookUpTableCell(result, args, count, false);
}

std::int32_t ssGetProfCell(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    return lookUpTableCell(result, args, count, true);
}

std::int32_t ssSectionSize(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    Kdr_String section;
    double position = 0.0;
    int index = 0;
    if (!calcArgText(args, count, 0, section) || !calcArgNumber(args, count, 1, position) ||
        !toIndex(position, index))
        return false;
    Kdr_String value;
    const bool found = getSectionValue(section, index, value) == Acad::eOk;
    if (evaluationRecorder())
        tellLookUp("SECTIONSIZE", sectionTableName(section), sectionPropertyName(section, index), value,
                   found);
    if (!found)
        return false;
    return setCalcResultNumber(result, readNumber(value));
}

std::int32_t ssGetSysName(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    Kdr_String name;
    if (!calcArgText(args, count, 0, name))
        return false;
    Kdr_String systemName;
    const bool found = gSectionTables.getSystemName(name, systemName);
    if (!found)
        systemName = name;
    if (evaluationRecorder())
        tellLookUp("GETSYSNAME", "section tables", name, systemName, found);
    return setCalcResultText(result, systemName);
}

std::int32_t ssStdWidthWithTolerance(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    return chooseStandardSize(result, args, count, SizeKind::Width);
}

std::int32_t ssStdThicknessWithTolerance(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    return chooseStandardSize(result, args, count, SizeKind::Thickness);
}

std::int32_t ssStdSizeWithTolerance(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    return chooseStandardSize(result, args, count, SizeKind::Size);
}

std::int32_t ssGetArrayItem(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    Kdr_String list;
    double position = 0.0;
    if (!calcArgText(args, count, 0, list) || !calcArgNumber(args, count, 1, position))
        return false;
    Kdr_StringArray items;
    strToArr(list, items);
    int index = -1;
    if (toIndex(position, index) && items.validIndex(index))
        return setCalcResultText(result, items[index]);
    // Outside the list the item is empty, which is still an answer.
    return setCalcResultText(result, Kdr_String());
}

std::int32_t ssToNumber(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    Kdr_String text;
    if (!calcArgText(args, count, 0, text))
        return false;
    return setCalcResultNumber(result, readNumber(text));
}

std::int32_t ssIsNull(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    if (calcArgIsEmpty(args, count, 0))
        return setCalcResultNumber(result, 1);
    double number = 0.0;
    if (calcArgNumber(args, count, 0, number))
        return setCalcResultNumber(result, number == 0.0 ? 1 : 0);
    Kdr_String text;
    if (calcArgText(args, count, 0, text))
        return setCalcResultNumber(result, text.empty() ? 1 : 0);
    return false;
}

std::int32_t ssIsPositive(SpreadCalcValue* result, SpreadCalcValue* args, std::int16_t count)
{
    clearResult(result);
    if (calcArgIsEmpty(args, count, 0))
        return setCalcResultNumber(result, 0);
    double number = 0.0;
    if (calcArgNumber(args, count, 0, number))
        return setCalcResultNumber(result, number > 0.0 ? 1 : 0);
    Kdr_String text;
    if (calcArgText(args, count, 0, text))
        return setCalcResultNumber(result, !text.empty() && readNumber(text) > 0.0 ? 1 : 0);
    return false;
}

namespace
{
/// Whether the sheet has the function registered exactly so (a sheet evaluated again keeps
/// its functions): registering it again would change nothing but costs a walk over all cells.
bool registeredAlready(const grid::Sheet& sheet, std::string_view name, int minArgs, int maxArgs,
                       grid::CustomFunctionProc callback)
{
    for (const grid::CustomFunction& function : sheet.customFunctions())
        if (function.name == name)
            return function.minArgs == minArgs && function.maxArgs == maxArgs &&
                   function.callback == callback && function.flags == 0;
    return false;
}

/// Other targets register every time.
template <typename Target>
bool registeredAlready(const Target&, std::string_view, int, int, grid::CustomFunctionProc)
{
    return false;
}

/// Registers the functions through any target with the engine's registration call.
template <typename Target> bool registerAll(Target& target)
{
    struct Registration
    {
        const char* name;
        int minArgs;
        int maxArgs;
        grid::CustomFunctionProc callback;
    };
    static constexpr Registration kFunctions[] = {
        {"ROUNDTO", 2, 2, ssRoundTo},
        {"GETCELL", 2, 7, ssGetCell},
        {"GETPROFCELL", 2, 7, ssGetProfCell},
        {"SECTIONSIZE", 2, 2, ssSectionSize},
        {"GETSYSNAME", 1, 1, ssGetSysName},
        {"STDWIDTHWITHTOLERANCE", 6, 6, ssStdWidthWithTolerance},
        {"STDTHICKNESSWITHTOLERANCE", 5, 5, ssStdThicknessWithTolerance},
        {"STDSIZEWITHTOLERANCE", 5, 5, ssStdSizeWithTolerance},
        {"GETARRAYITEM", 2, 2, ssGetArrayItem},
        {"TONUMBER", 1, 1, ssToNumber},
        {"ISNULL", 1, 1, ssIsNull},
        {"ISPOSITIVE", 1, 1, ssIsPositive},
    };
    bool all = true;
    for (const Registration& function : kFunctions)
        if (!registeredAlready(target, function.name, function.minArgs, function.maxArgs,
                               function.callback) &&
            !target.addCustomFunction(function.name, function.minArgs, function.maxArgs, function.callback,
                                      0))
            all = false;
    return all;
}
} // namespace

bool registerStandardsFunctions(grid::Sheet& sheet)
{
    return registerAll(sheet);
}

bool registerStandardsFunctions(Kdr_Spread& spread)
{
    return registerAll(spread);
}
