#include "spread/ZxStandardsSpread.h"

#include "grid/FileText.h"
#include "grid/SheetFormats.h"
#include "host/FileFunctions.h"
#include "host/Kdr_FunctionTimer.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"
#include "spread/EvaluationTimers.h"
#include "spread/StandardsEntryPoints.h"
#include "spread/StandardsFiles.h"
#include "spread/StandardsFunctions.h"
#include "spread/ZxEvaluationRecorder.h"
#include "standards/ZxEvaluationReport.h"
#include "ui/UserAgent.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace
{
/// Functions the module evaluates itself, by index; only index 0 has a body.
const Kdr_StringArray& nativeFunctions()
{
    static const Kdr_StringArray names{"CallChild"};
    return names;
}

/// How many child sheets are being evaluated inside each other right now.
int gChildDepth = 0;

class ChildDepthScope
{
public:
    ChildDepthScope() { ++gChildDepth; }
    ~ChildDepthScope() { --gChildDepth; }
    ChildDepthScope(const ChildDepthScope&) = delete;
    ChildDepthScope& operator=(const ChildDepthScope&) = delete;
};

bool isFiniteNumber(const Kdr_String& text)
{
    return text.isNumber() && std::isfinite(text.toDouble());
}

bool isWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

/// Whether a file-system search for `name` finds anything (wildcards match as well).
bool fileMatchExists(const Kdr_String& name)
{
    if (name.empty())
        return false;
    if (name.find("*", true) < 0 && name.find("?", true) < 0)
        return host::fileExists(name);
    Kdr_StringArray found;
    return ObjectExportFindFiles(name, found) && !found.isEmpty();
}

Kdr_String standardsFolder()
{
    return gSettings.libDir() + "Connection Standards/";
}
} // namespace

// ---- Replacing words -------------------------------------------------------------------------

namespace
{
std::string foldedCopy(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = host::foldCase(c);
    return out;
}

/// Calls `visit` with every word (maximal run of letters, digits and '_') of `text`.
template <typename Visit> void forEachWord(std::string_view text, Visit visit)
{
    size_t i = 0;
    while (i < text.size())
    {
        if (!isWordChar(text[i]))
        {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && isWordChar(text[end]))
            ++end;
        visit(text.substr(i, end - i));
        i = end;
    }
}

bool isSingleWord(std::string_view name)
{
    for (char c : name)
        if (!isWordChar(c))
            return false;
    return !name.empty();
}

/// Replaces every whole-word occurrence of one name; true when any was replaced.
bool replaceOneName(Kdr_String& text, const Kdr_String& name, const Kdr_String& value)
{
    bool replaced = false;
    int from = 0;
    for (int searches = 0; searches < 99999999; ++searches)
    {
        const int match = text.findFirstFrom(name, from, false);
        if (match < 0)
            break;
        const size_t end = static_cast<size_t>(match) + name.size();
        const bool before = match > 0 && isWordChar(text[static_cast<size_t>(match) - 1]);
        const bool after = end < text.size() && isWordChar(text[end]);
        if (before || after)
        {
            from = static_cast<int>(end);
            continue;
        }
        text.std::string::replace(static_cast<size_t>(match), name.size(), value);
        from = match + static_cast<int>(value.size());
        replaced = true;
    }
    return replaced;
}
} // namespace

bool replaceWholeWords(Kdr_String& text, const Kdr_StringArray& names, const Kdr_StringArray& values,
                       bool quoteTexts)
{
    bool replaced = false;
    const int pairs = std::min(names.length(), values.length());
    for (int i = 0; i < pairs; ++i)
    {
        const Kdr_String& name = names[i];
        if (name.empty())
            continue;
        Kdr_String value = values[i];
        if (quoteTexts && !value.isNumber())
            value = "\"" + value + "\"";
        if (replaceOneName(text, name, value))
            replaced = true;
    }
    return replaced;
}

WordReplacer::WordReplacer(const Kdr_StringArray& names, const Kdr_StringArray& values)
    : names_(names), values_(values)
{
    const int pairs = std::min(names.length(), values.length());
    for (int i = 0; i < pairs; ++i)
    {
        if (names[i].empty())
            continue;
        if (isSingleWord(names[i]))
            byWord_[foldedCopy(names[i])].push_back(i);
        else
            always_.push_back(i);
    }
}

bool WordReplacer::replace(Kdr_String& text) const
{
    // A name made of word characters can only match a word of the text, so the words of the
    // text name the candidates; names with other characters are always tried. Names are tried
    // in list order, and an inserted value's words may bring in later names, exactly as the
    // name-by-name replacement does. A later name only ever joins behind the one being
    // replaced, so one pass over the marks in list order takes every candidate in turn.
    std::vector<unsigned char> pending(static_cast<std::size_t>(names_.length()), 0);
    for (int index : always_)
        pending[static_cast<std::size_t>(index)] = 1;
    std::string folded;
    auto addWords = [&](std::string_view part, int after)
    {
        forEachWord(part,
                    [&](std::string_view word)
                    {
                        folded.assign(word);
                        for (char& c : folded)
                            c = host::foldCase(c);
                        auto found = byWord_.find(folded);
                        if (found == byWord_.end())
                            return;
                        for (int index : found->second)
                            if (index > after)
                                pending[static_cast<std::size_t>(index)] = 1;
                    });
    };
    addWords(text, -1);
    bool replaced = false;
    for (std::size_t i = 0; i < pending.size(); ++i)
    {
        if (!pending[i])
            continue;
        const int index = static_cast<int>(i);
        if (replaceOneName(text, names_[index], values_[index]))
        {
            replaced = true;
            addWords(values_[index], index);
        }
    }
    return replaced;
}

const char* const kVariableTip =
    "If this equation contains variable names, then the translator does not know the value of the variable. "
    "Make "
    "sure the variable exists either in input, output, local declarations or among the gen_ variables.";

Kdr_String equationErrorText(const Kdr_String& sheetPath, int row, const Kdr_String& left,
                             const Kdr_String& right)
{
    return equationErrorText(sheetPath, row, left, right, kVariableTip);
}

Kdr_String equationErrorText(const Kdr_String& sheetPath, int row, const Kdr_String& left,
                             const Kdr_String& right, const Kdr_String& tip)
{
    Kdr_String text = "The following equation failed:\n";
    if (!left.empty())
        text += left + " = ";
    text += right + "\n";
    text += "Spreadsheet : " + sheetPath + " (line: " + std::to_string(row) + ")\n";
    text += "Here's a tip for finding the cause :\n";
    text += tip;
    return text;
}

void showEquationError(const Kdr_String& sheetPath, int row, const Kdr_String& left, const Kdr_String& right)
{
    showEquationError(sheetPath, row, left, right, kVariableTip);
}

void showEquationError(const Kdr_String& sheetPath, int row, const Kdr_String& left, const Kdr_String& right,
                       const Kdr_String& tip)
{
    if (!gSettings.showSpreadsheetErrors())
        return;
    ui::messageBox(nullptr, equationErrorText(sheetPath, row, left, right, tip), "",
                   MB_OK | MB_ICONEXCLAMATION);
}

// ---- Loading and collecting ----------------------------------------------------------------

namespace
{
/// Sheets as read from their files, kept so that evaluating a sheet again copies it rather
/// than reading its text afresh. A kept sheet stands in for its file only while the file holds
/// the very same bytes. Only sheets without formulas are kept: a formula's value may depend on
/// more than the file (the functions registered, data files, the time).
class LoadedSheets
{
public:
    bool load(Kdr_Spread& spread, const Kdr_String& path)
    {
        if (!spread.isCreated() || grid::findSheetReader(path))
            return spread.loadFile(path);
        std::string bytes;
        grid::FileError error;
        if (!grid::readFileText(path, bytes, error))
            return spread.loadFile(path); // which tells why it cannot be read
        std::shared_ptr<const grid::Sheet> kept;
        {
            std::lock_guard lock(mutex_);
            if (auto found = entries_.find(path); found != entries_.end())
            {
                if (found->second.bytes == bytes)
                {
                    found->second.lastUse = ++useCounter_;
                    kept = found->second.sheet;
                }
                else
                    entries_.erase(found);
            }
        }
        if (kept)
        {
            spread.sheet().replaceContent(grid::Sheet(*kept));
            return true;
        }
        if (!spread.loadFile(path))
            return false;
        // Kept only when the file did not change while it was read.
        std::string after;
        if (bytes.size() <= kMaxBytes && !hasFormulas(spread.sheet()) &&
            grid::readFileText(path, after, error) && after == bytes)
            store(path, std::move(bytes), std::make_shared<const grid::Sheet>(spread.sheet()));
        return true;
    }

private:
    static constexpr std::size_t kMaxSheets = 16;
    static constexpr std::size_t kMaxBytes = 16u << 20;

    struct Entry
    {
        std::string bytes;
        std::shared_ptr<const grid::Sheet> sheet;
        std::uint64_t lastUse = 0;
    };

    static bool hasFormulas(const grid::Sheet& sheet)
    {
        bool found = false;
        sheet.forEachCell([&](int col, int row) { found = found || sheet.hasFormula(col, row); });
        return found;
    }

    void store(const std::string& path, std::string bytes, std::shared_ptr<const grid::Sheet> sheet)
    {
        std::lock_guard lock(mutex_);
        while (entries_.size() >= kMaxSheets)
        {
            auto oldest = entries_.begin();
            for (auto it = entries_.begin(); it != entries_.end(); ++it)
                if (it->second.lastUse < oldest->second.lastUse)
                    oldest = it;
            entries_.erase(oldest);
        }
        entries_[path] = Entry{std::move(bytes), std::move(sheet), ++useCounter_};
    }

    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
    std::uint64_t useCounter_ = 0;
};

LoadedSheets& loadedSheets()
{
    static LoadedSheets sheets;
    return sheets;
}
} // namespace

Acad::ErrorStatus ZxStandardsSpread::loadSheet(const Kdr_String& fileName)
{
    Kdr_String path = fileName;
    if (!fileMatchExists(grid::sheetFilePath(path.c_str())))
    {
        // A standard is named without its extension: the native sheet first, then the
        // workbook formats the program reads. A sheet named with its extension is taken as
        // it is. When nothing exists the native name is kept for the message.
        const Kdr_String base = standardsFolder() + fileName;
        path = base + ".zxs";
        if (!host::fileExists(path))
        {
            const Kdr_StringArray extensions = sheetFileExtensions();
            bool found = false;
            for (int i = 1; i < extensions.length() && !found; ++i)
                if (host::fileExists(base + extensions[i]))
                {
                    path = base + extensions[i];
                    found = true;
                }
            if (!found && host::fileExists(grid::sheetFilePath(base.c_str())))
                path = base;
        }
    }
    setProperty(13, 1);
    setProperty(kPropRedraw, 0);
    setProperty(12, 1);
    setProperty(7, 0);
    if (!loadedSheets().load(*this, path))
        return Acad::eInvalidInput;
    loadedPath_ = path;
    coordinatesValid_ = false;
    equationsChecked_ = false;
    return Acad::eOk;
}

std::vector<std::pair<int, int>> ZxStandardsSpread::storedCells(int firstRow, int lastRow) const
{
    std::vector<std::pair<int, int>> cells;
    const int cols = getMaxCols();
    sheet().forEachCell(
        [&](int col, int row)
        {
            if (row >= firstRow && row <= lastRow && col >= 1 && col <= cols)
                cells.emplace_back(col, row);
        });
    return cells;
}

Acad::ErrorStatus ZxStandardsSpread::collectVarCells()
{
    coordinatesValid_ = false;
    equationsChecked_ = false;
    return varCells_.collectFromSheet(*this);
}

void ZxStandardsSpread::replaceGenVars()
{
    Kdr_FunctionTimer timer(gSSSreplaceGenVars);
    if (genVarNames_.isEmpty())
        return;
    // Column by column, as the cells have always been visited; only stored cells can hold a
    // text, so a sheet's declared size costs nothing.
    std::vector<std::pair<int, int>> cells = storedCells(1, getMaxRows());
    std::sort(cells.begin(), cells.end());
    ZxEvaluationRecorder* recorder = evaluationRecorder();
    // The values go in quoted where they are no numbers; quoted once for all cells.
    Kdr_StringArray values;
    for (int i = 0; i < std::min(genVarNames_.length(), genVarValues_.length()); ++i)
        values.append(genVarValues_[i].isNumber() ? genVarValues_[i] : "\"" + genVarValues_[i] + "\"");
    Kdr_String text;
    for (const auto& [col, row] : cells)
    {
        if (!getCellText(col, row, text, ctkValue) || text.empty())
            continue;
        const Kdr_String original = recorder ? text : Kdr_String();
        if (replaceWholeWords(text, genVarNames_, values, false))
        {
            setCellText(col, row, text.c_str());
            if (recorder)
                recorder->cellTextReplaced(col, row, original);
        }
    }
}

// ---- Parsed equations --------------------------------------------------------------------------

const std::string& EquationCache::key(int col, int row, std::string_view text)
{
    scratch_.assign(reinterpret_cast<const char*>(&col), sizeof col);
    scratch_.append(reinterpret_cast<const char*>(&row), sizeof row);
    scratch_.append(text);
    return scratch_;
}

EquationPlan* EquationCache::find(int col, int row, std::string_view text)
{
    if (plans_.empty())
        return nullptr;
    auto found = plans_.find(key(col, row, text));
    return found == plans_.end() ? nullptr : &found->second;
}

EquationPlan* EquationCache::add(int col, int row, std::string_view text, EquationPlan plan)
{
    if (plans_.size() >= kMaxEquations)
        return nullptr;
    return &plans_.insert_or_assign(key(col, row, text), std::move(plan)).first->second;
}

void EquationCache::useVariables(const ZxVarCells& cells, grid::ReferenceStyle style)
{
    bool same = style == style_ && static_cast<std::size_t>(cells.length()) == variables_.size();
    for (int i = 0; same && i < cells.length(); ++i)
        same = variables_[static_cast<std::size_t>(i)] == Variable{cells[i].name, cells[i].col, cells[i].row};
    if (same)
        return;
    plans_.clear();
    variables_.clear();
    for (int i = 0; i < cells.length(); ++i)
        variables_.push_back({cells[i].name, cells[i].col, cells[i].row});
    style_ = style;
}

// ---- Calculation -----------------------------------------------------------------------------

void ZxStandardsSpread::getVarNames(Kdr_StringArray& names) const
{
    names.clear();
    for (int i = 0; i < varCells_.length(); ++i)
        names.append(varCells_[i].name);
}

bool ZxStandardsSpread::getVarCoordName(const Kdr_String& name, Kdr_String& coordinate) const
{
    int index = -1;
    if (varCells_.findVarCell(name, index) != Acad::eOk)
        return false;
    const ZxVarCell& cell = varCells_[index];
    coordinate = getAlfabet(cell.col) + std::to_string(cell.row);
    return true;
}

void ZxStandardsSpread::refreshVariableCoordinates()
{
    // Every equation reads the same lists: names in collection order, each with the cell of
    // the first variable of that name; names that cannot be found are left out.
    coordNames_.clear();
    coordValues_.clear();
    Kdr_StringArray names;
    {
        Kdr_FunctionTimer timer(gCalcCellGetVarNames);
        getVarNames(names);
    }
    Kdr_FunctionTimer timer(gCalcCellGetVarCoords);
    for (const Kdr_String& name : names)
    {
        Kdr_FunctionTimer nameTimer(gCalcCellGetVarCoordName);
        Kdr_String coordinate;
        if (!getVarCoordName(name, coordinate))
            continue;
        coordNames_.append(name);
        coordValues_.append(coordinate);
    }
    replacer_ = WordReplacer(coordNames_, coordValues_);
    coordinatesValid_ = true;
}

Acad::ErrorStatus ZxStandardsSpread::replaceVariables(Kdr_String& formula)
{
    if (!coordinatesValid_)
        refreshVariableCoordinates();
    Kdr_FunctionTimer timer(gCalcCellReplaceVariables);
    replacer_.replace(formula);
    return Acad::eOk;
}

Acad::ErrorStatus ZxStandardsSpread::calculate()
{
    {
        Kdr_FunctionTimer timer(gRegisterFuntions);
        registerStandardsFunctions(sheet());
    }
    {
        Kdr_FunctionTimer timer(gFindDuplicates);
        Kdr_StringArray names;
        getVarNames(names);
        Kdr_StringArray duplicates;
        if (hasDuplicates(names, duplicates, false))
        {
            Kdr_String text = "There were duplicate variable names found in the standards file " +
                              loadedPath_ + ".\nThe duplicates will be ignored. Please correct this file.\n" +
                              "Duplicate variable names:\n\n" + arrToStr(duplicates, "\n");
            ui::messageBox(this, text, "Variable names must be unique", MB_OK | MB_ICONEXCLAMATION);
            Kdr_Array<int> indices;
            getDuplicates(names, indices, false);
            indices.sort();
            for (int i = indices.length() - 1; i >= 0; --i)
                varCells_.removeAt(indices[i]);
        }
        coordinatesValid_ = false;
        equationsChecked_ = false;
    }
    Kdr_FunctionTimer timer(gCalcCells);
    const StandardsFileSnapshot files;
    // Row by row, left to right, over the cells stored when the calculation starts: an empty
    // cell is skipped anyway, and the declared size of a sheet may be enormous. Each equation
    // reads the variables as the equations before it left them; the formulas of earlier
    // equations that read a variable written later are brought up to date once, at the end.
    const std::vector<std::pair<int, int>> stored = storedCellsByRow();
    int row = 1, col = 1;
    if (!findFirst(stored, "Calc", row, col))
        return Acad::eInvalidInput;
    const int lastRow = getMaxRows();
    const int cols = getMaxCols();
    grid::Sheet::Batch batch(sheet());
    for (const auto& [c, r] : stored)
        if (r > row && r <= lastRow && c >= 1 && c <= cols)
            calcCell(c, r);
    return Acad::eOk;
}

Acad::ErrorStatus ZxStandardsSpread::calcCell(int col, int row)
{
    Kdr_String text;
    if (!getCellText(col, row, text, ctkValue) || text.empty())
        return Acad::eInvalidInput;

    // An equation met before (same cell, same text, same variable cells) has its plan made:
    // the steps that read the text are taken once and count as taken again.
    if (!equationsChecked_)
    {
        equations_.useVariables(varCells_, sheet().referenceStyle());
        equationsChecked_ = true;
    }
    EquationPlan fresh;
    EquationPlan* plan = equations_.find(col, row, text);
    if (plan)
    {
        for (Kdr_Timer* step : {&gCalcCellSplitSymbol, &gCalcCellFindVarCell, &gCalcCellFindFunctions})
            Kdr_FunctionTimer taken(*step);
    }
    else
    {
        fresh.assignment = true;
        {
            Kdr_FunctionTimer timer(gCalcCellSplitSymbol);
            if (!splitStringAtSymbol(text, '=', fresh.left, fresh.right, true))
            {
                fresh.right = text;
                fresh.assignment = false;
            }
        }
        {
            Kdr_FunctionTimer timer(gCalcCellFindVarCell);
            if (fresh.assignment && varCells_.findVarCell(fresh.left, fresh.varIndex) != Acad::eOk)
                fresh.assignment = false;
        }
        {
            Kdr_FunctionTimer timer(gCalcCellFindFunctions);
            fresh.right.hasASubstr(nativeFunctions(), false, &fresh.nativeIndex);
        }
        plan = equations_.add(col, row, text, fresh);
        if (!plan)
            plan = &fresh;
    }
    const Kdr_String& left = plan->left;
    const Kdr_String& right = plan->right;
    const bool assignment = plan->assignment;
    const int varIndex = plan->varIndex;
    const int nativeIndex = plan->nativeIndex;
    gEvaluationReport.setCurrentEquation(loadedPath_, row, assignment ? left : Kdr_String(), right);
    ZxEvaluationRecorder* const recorder = evaluationRecorder();
    if (recorder)
        recorder->equationStarted(*this, col, row, text, assignment ? left : Kdr_String(), right);
    auto fail = [&](const Kdr_String& reason, const Kdr_String& tip)
    {
        gEvaluationReport.addEquationFailure(reason);
        if (recorder)
            recorder->equationFailed(reason, equationErrorText(loadedPath_, row, left, right, tip));
        showEquationError(loadedPath_, row, left, right, tip);
        return Acad::eInvalidInput;
    };
    if (nativeIndex >= 0)
    {
        Kdr_FunctionTimer timer(gCalcCellCalcNativeFunctions);
        childFailure_ = ChildFailure();
        if (calcNativeFunction(right, nativeFunctions()[nativeIndex]) == Acad::eOk)
        {
            if (recorder)
                recorder->equationSucceeded(Kdr_String());
            return Acad::eOk;
        }
        if (childFailure_.reason.empty())
            childFailure_.reason = "the CallChild call failed";
        return fail(childFailure_.reason,
                    childFailure_.tip.empty() ? Kdr_String(kVariableTip) : childFailure_.tip);
    }
    if (!assignment)
        return fail(text.find("=", true) < 0 ? Kdr_String("no '=' and no CallChild in the cell")
                                             : "no variable named \"" + left + "\"",
                    kVariableTip);

    ZxVarCell& variable = varCells_[varIndex];
    {
        Kdr_FunctionTimer timer(gCalcCellCalcFunctionsPrepare);
        if (variable.valueType == valString)
            setTextType(col, row, col, row, kTextStyle, kTextMaxLength);
        else
            setNumberType(col, row, 7, false);
        // A formula parsed before is set again without replacing and parsing its text.
        std::shared_ptr<const grid::Formula> parsed = plan->formula;
        Kdr_String formula;
        {
            if (!coordinatesValid_)
                refreshVariableCoordinates();
            Kdr_FunctionTimer replaceTimer(gCalcCellReplaceVariables);
            if (!parsed)
            {
                formula = right;
                replacer_.replace(formula);
            }
        }
        if (parsed)
        {
            if (!setCellParsedFormula(col, row, std::move(parsed)))
                return fail("the formula cannot be read", kVariableTip);
        }
        else
        {
            if (!setCellFormula(col, row, formula.c_str()))
                return fail("the formula cannot be read", kVariableTip);
            plan->formula = sheet().cellFormula(col, row);
        }
    }
    Kdr_FunctionTimer timer(gCalcCellCalcFunctions);
    Kdr_String result;
    // An error value is a failed equation: the variable keeps its value rather than taking
    // "#DIV/0!" or the like into the connection.
    const bool readable = getCellText(col, row, result, ctkValue);
    if (recorder)
        recorder->equationCalculated();
    if (!readable)
        return fail("the result cannot be read", kVariableTip);
    if (sheet().cellValue(col, row).isError())
        return fail("the result is the error " + result, kVariableTip);
    // Neither may a number variable take a text: the macro would keep its old value while the
    // sheet went on with the text.
    if (variable.valueType != valString && !isFiniteNumber(result))
        return fail(
            "the result \"" + result + "\" is not a number, as the " +
                (variable.valueType == valInt ? "Int" : "Double") + " variable " + variable.name + " needs",
            "A text result (from GETCELL, a quoted value or text functions) must read as a number to go into "
            "an Int or Double variable; check the data the equation reads.");
    if (variable.setNewValue(*this, result) != Acad::eOk)
        return fail("the result cannot be written into the variable's cell", kVariableTip);
    if (recorder)
        recorder->equationSucceeded(variable.value);
    return Acad::eOk;
}

Kdr_String ZxStandardsSpread::resolveChildPath(const Kdr_String& name) const
{
    Kdr_String refusal;
    const Kdr_String path = resolveChildPath(name, refusal);
    return refusal.empty() ? path : name;
}

Kdr_String ZxStandardsSpread::resolveChildPath(const Kdr_String& name, Kdr_String& refusal) const
{
    refusal.clear();
    Kdr_String relative = name;
    ensureNoStartBSlash(relative);
    const Kdr_String folder = standardsFolder();
    // A relative name as given would be read against the process's current folder, which
    // has nothing to do with the sheet; it is tried beside the sheet instead.
    const bool absolute = host::toPath(name).is_absolute();
    const Kdr_String candidates[] = {
        absolute ? name : Kdr_String(), getPath(loadedPath_) + relative, folder + name,
        folder + "Childs/" + name,      folder + "Data/" + name,         folder + "Parents/" + name,
    };
    // A child named without extension is found as a native sheet or a workbook as well.
    for (const Kdr_String& candidate : candidates)
        if (Kdr_String found = findSheetFile(candidate); !found.empty())
        {
            if (!sheetMayRead(Kdr_String(grid::sheetFilePath(found.c_str())), refusal))
                return name;
            return found;
        }
    return name;
}

Acad::ErrorStatus ZxStandardsSpread::calcNativeFunction(const Kdr_String& text,
                                                        const Kdr_String& functionName)
{
    const int at = text.find(functionName, false);
    if (at < 0)
        return Acad::eInvalidInput;
    const int open = text.findFirstFrom("(", at + functionName.length(), true);
    const int close = open < 0 ? -1 : text.findFirstFrom(")", open + 1, true);
    if (close < 0)
    {
        childFailure_ = {"CallChild is written CallChild(sheet, variable, ...)", {}};
        return Acad::eInvalidInput;
    }
    auto fail = [&](const Kdr_String& reason, const Kdr_String& tip = Kdr_String())
    {
        childFailure_ = {reason, tip};
        return Acad::eInvalidInput;
    };
    Kdr_StringArray items;
    splitStringAtSymbol(text.mid(open + 1, close - open - 1), ',', items, true);
    if (items.length() < 2)
        return fail("CallChild needs a sheet and at least one variable");

    Kdr_String childName = items[0];
    if (childName.startsWith("\"", true))
        childName.erase(0, 1);
    if (childName.endsWith("\"", true))
        childName.pop_back();
    Kdr_String refusal;
    const Kdr_String childPath = resolveChildPath(childName, refusal);
    if (!refusal.empty())
        return fail(refusal,
                    "A sheet reads child sheets from the library folder and from the folder of the sheet "
                    "being calculated only; run with --trust-sheets to allow others.");
    if (!host::fileExists(grid::sheetFilePath(childPath.c_str())))
        return fail(
            "child sheet \"" + childName + "\" not found",
            "The child sheet is looked for in the folder of this sheet and in the library's \"Connection "
            "Standards\" folder and its Childs, Data and Parents folders; check the name.");

    ZxVarCells arguments;
    for (int i = 1; i < items.length(); ++i)
    {
        int index = -1;
        if (varCells_.findVarCell(items[i], index) != Acad::eOk)
            return fail("no variable named \"" + items[i] + "\" to pass to the child", kVariableTip);
        ZxVarCell argument = varCells_[index];
        argument.col = 0;
        argument.row = 0;
        arguments.append(argument);
    }
    if (nativeFunctions().find(functionName, false) != 0)
        return Acad::eInvalidInput;
    const char* const cycleTip =
        "A sheet may not call itself, directly or through other child sheets; break the "
        "circle of CallChild calls.";
    // A sheet already being calculated (compared by resolved path) would call itself again,
    // directly or around a circle, without end.
    Kdr_String cycle;
    const Kdr_String resolvedChild = resolvedSheetPath(childPath);
    if (childPath.equal(loadedPath_, false))
        return fail("the sheet calls itself: " + host::getFileName(loadedPath_) + " -> " +
                        host::getFileName(loadedPath_),
                    cycleTip);
    if (!gEvaluationReport.enterChild(resolvedChild, cycle))
        return fail("the child calls form a circle: " + cycle, cycleTip);
    struct LeaveChild
    {
        ~LeaveChild() { gEvaluationReport.leaveChild(); }
    } leave;
    if (gChildDepth >= kMaxChildDepth)
        return fail("child sheets nested deeper than " + std::to_string(kMaxChildDepth) + " levels",
                    "Child sheets call child sheets too deeply; flatten the chain of CallChild calls.");
    if (!gEvaluationReport.spendChildEvaluation())
        return fail(
            "more than " + std::to_string(ZxEvaluationReport::kChildBudget) +
                " child evaluations in one evaluation",
            "The sheets call child sheets too often (CallChild inside child sheets multiplies); reduce the "
            "calls.");

    ZxDlgStandardsData request;
    request.mode = ZxDlgStandardsData::kChildRun;
    request.fileName = childPath;
    request.varCells = arguments;
    request.genVarNames = genVarNames_;
    request.genVarValues = genVarValues_;
    {
        ChildDepthScope depth;
        if (!StartDlgStandardsSS(request))
            return fail("the child sheet \"" + childName +
                        "\" failed (it needs as many arguments as it has Input "
                        "and Output variables)");
    }
    for (int i = 0; i < request.varCells.length(); ++i)
    {
        const ZxVarCell& returned = request.varCells[i];
        if (!returned.isOutput())
            continue;
        int index = -1;
        if (varCells_.findVarCell(returned.name, index) != Acad::eOk)
            continue;
        if (varCells_[index].isInput())
            return fail("the child's output would go into the Input variable " + returned.name);
        varCells_[index].setValueFromOther(*this, returned);
    }
    return Acad::eOk;
}

// ---- Run sequences -----------------------------------------------------------------------------

Acad::ErrorStatus ZxStandardsSpread::runMain(ZxDlgStandardsData& request)
{
    if (!request.dbMacro || !request.transaction)
        return Acad::eInvalidInput;
    {
        Kdr_FunctionTimer timer(gInitSSForInput);
        genVarNames_ = request.genVarNames;
        genVarValues_ = request.genVarValues;
        if (collectVarCells() != Acad::eOk)
            return Acad::eInvalidInput;
    }
    {
        Kdr_FunctionTimer timer(gSSSGetFromMacro);
        if (varCells_.getFromMacro(request) != Acad::eOk)
            return Acad::eInvalidInput;
    }
    {
        Kdr_FunctionTimer timer(gSetMacroValuelsToSS);
        if (varCells_.setValuesToSS(*this) != Acad::eOk)
            return Acad::eInvalidInput;
    }
    if (ZxEvaluationRecorder* recorder = evaluationRecorder())
        recorder->inputsSet(*this, request);
    replaceGenVars();
    return Acad::eOk;
}

Acad::ErrorStatus ZxStandardsSpread::calculateMain(ZxDlgStandardsData& request)
{
    {
        Kdr_FunctionTimer timer(gCalcMain);
        if (calculate() != Acad::eOk || varCells_.getValuesFromSS(*this) != Acad::eOk)
            return Acad::eInvalidInput;
    }
    Kdr_FunctionTimer timer(gSetToMacro);
    if (varCells_.setToMacro(request) != Acad::eOk)
        return Acad::eInvalidInput;
    if (ZxEvaluationRecorder* recorder = evaluationRecorder())
        recorder->outputsWritten(*this);
    return Acad::eOk;
}

Acad::ErrorStatus ZxStandardsSpread::runChild(ZxDlgStandardsData& request)
{
    Kdr_FunctionTimer timer(gGetFromVars);
    genVarNames_ = request.genVarNames;
    genVarValues_ = request.genVarValues;
    collectVarCells();
    if (varCells_.length() == 0)
    {
        replaceGenVars();
        return Acad::eOk;
    }
    const ZxVarCells& arguments = request.varCells;
    int skipped = 0;
    for (int i = 0; i < varCells_.length(); ++i)
    {
        ZxVarCell& cell = varCells_[i];
        if (cell.isLocal())
        {
            if (cell.setNewValue(*this, "") != Acad::eOk)
                return Acad::eInvalidInput;
            ++skipped;
            continue;
        }
        const int k = i - skipped;
        if (k >= arguments.length())
            return Acad::eInvalidInput;
        if (cell.isOutput() && arguments[k].isInput())
            return Acad::eInvalidInput;
        if (cell.setNewValue(*this, arguments[k].value) != Acad::eOk)
            return Acad::eInvalidInput;
    }
    if (ZxEvaluationRecorder* recorder = evaluationRecorder())
        recorder->inputsSet(*this, request);
    replaceGenVars();
    return Acad::eOk;
}

Acad::ErrorStatus ZxStandardsSpread::calculateChild(ZxDlgStandardsData& request)
{
    {
        Kdr_FunctionTimer timer(gCalcChild);
        if (calculate() != Acad::eOk)
            return Acad::eInvalidInput;
    }
    Kdr_FunctionTimer timer(gSetToVars);
    ZxVarCells& arguments = request.varCells;
    int skipped = 0;
    for (int i = 0; i < varCells_.length(); ++i)
    {
        const ZxVarCell& cell = varCells_[i];
        if (cell.isLocal())
        {
            ++skipped;
            continue;
        }
        if (!cell.isOutput())
            continue;
        const int k = i - skipped;
        if (k >= arguments.length())
            return Acad::eInvalidInput;
        arguments[k].value = cell.value;
    }
    if (ZxEvaluationRecorder* recorder = evaluationRecorder())
        recorder->outputsWritten(*this);
    return Acad::eOk;
}
