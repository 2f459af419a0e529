#pragma once

#include "host/ErrorStatus.h"
#include "host/Kdr_StringArray.h"
#include "spread/Kdr_Spread.h"
#include "standards/ZxDlgStandardsData.h"
#include "standards/ZxVarCells.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

/// Whole-word replacement of many names at once, with the result of replaceWholeWords
/// (without quoting) but at the cost of the words of the text rather than of every name.
class WordReplacer
{
public:
    WordReplacer() = default;
    WordReplacer(const Kdr_StringArray& names, const Kdr_StringArray& values);
    bool replace(Kdr_String& text) const;

private:
    Kdr_StringArray names_;
    Kdr_StringArray values_;
    std::unordered_map<std::string, std::vector<int>> byWord_;
    std::vector<int> always_;
};

/// What evaluating one equation cell learns from its text alone: the split at '=', the
/// variable assigned, the native function called and the parsed formula.
struct EquationPlan
{
    Kdr_String left;
    Kdr_String right;
    bool assignment = false; ///< "left = right" with a variable named left
    int varIndex = -1;       ///< that variable
    int nativeIndex = -1;    ///< the native function the right side calls, or -1
    /// The right side with variable names replaced by cell names, parsed for the cell; null
    /// until it parsed once.
    std::shared_ptr<const grid::Formula> formula;
};

/// The equations of the sheets a spread evaluated, so that evaluating the same sheet again
/// neither splits, looks up, replaces nor parses any equation text. A plan depends only on
/// the cell, its text and the variable cells (names and cells, in collection order): one
/// cache holds the plans of one set of variable cells.
class EquationCache
{
public:
    /// The plan of `text` in (col, row), or null when it is not known.
    EquationPlan* find(int col, int row, std::string_view text);
    /// Keeps the plan; null (and nothing kept) when the cache is full.
    EquationPlan* add(int col, int row, std::string_view text, EquationPlan plan);
    /// Makes the cache hold the plans of these variable cells, forgetting those of others.
    void useVariables(const ZxVarCells& cells, grid::ReferenceStyle style);

    /// A cache holds at most this many equations; a sheet with more keeps the first ones.
    static constexpr std::size_t kMaxEquations = 1 << 16;

private:
    const std::string& key(int col, int row, std::string_view text);

    struct Variable
    {
        Kdr_String name;
        int col = 0;
        int row = 0;
        bool operator==(const Variable&) const = default;
    };
    std::vector<Variable> variables_;
    grid::ReferenceStyle style_ = grid::ReferenceStyle::A1;
    std::unordered_map<std::string, EquationPlan> plans_;
    std::string scratch_;
};

/// A standards sheet being evaluated: the grid with the loaded file, its variable cells and
/// the general variables of the request.
class ZxStandardsSpread : public Kdr_Spread
{
public:
    /// Deepest chain of child sheets (a sheet calling a child calling a child …); a call
    /// beyond it fails its equation, so sheets that call each other in a circle stop.
    static constexpr int kMaxChildDepth = 16;

    ZxStandardsSpread() = default;

    /// Loads the sheet: `fileName` as given when such a file exists, else the library folder
    /// + "Connection Standards/" + `fileName` + ".zxs".
    Acad::ErrorStatus loadSheet(const Kdr_String& fileName);
    /// Collects the variable cells of the Input, Output and Local blocks.
    Acad::ErrorStatus collectVarCells();
    /// Replaces every whole-word general variable name in every cell by its value (texts in
    /// double quotes). Never fails.
    void replaceGenVars();
    /// Registers the steel functions, drops duplicate variables and evaluates every equation
    /// of the Calc block, top to bottom, left to right.
    Acad::ErrorStatus calculate();
    /// Evaluates the equation in one cell of the Calc block.
    Acad::ErrorStatus calcCell(int col, int row);
    /// Replaces every whole-word variable name of `formula` by its cell's A1 name.
    Acad::ErrorStatus replaceVariables(Kdr_String& formula);
    /// Evaluates a native function call (CallChild) written in `text`.
    Acad::ErrorStatus calcNativeFunction(const Kdr_String& text, const Kdr_String& functionName);
    /// The file a child name refers to (the first of six places that exists), else the name.
    /// A relative name is never read against the process's current folder (the folder of this
    /// sheet takes its place), and a file the sheet may not read counts as none.
    Kdr_String resolveChildPath(const Kdr_String& name) const;
    /// The same; `refusal` says why a file that exists may not be read ("" when none was refused).
    Kdr_String resolveChildPath(const Kdr_String& name, Kdr_String& refusal) const;

    Acad::ErrorStatus runMain(ZxDlgStandardsData& request);
    Acad::ErrorStatus calculateMain(ZxDlgStandardsData& request);
    Acad::ErrorStatus runChild(ZxDlgStandardsData& request);
    Acad::ErrorStatus calculateChild(ZxDlgStandardsData& request);

    const Kdr_String& loadedPath() const { return loadedPath_; }
    ZxVarCells& varCells() { return varCells_; }
    const ZxVarCells& varCells() const { return varCells_; }
    Kdr_StringArray& genVarNames() { return genVarNames_; }
    Kdr_StringArray& genVarValues() { return genVarValues_; }

    /// The names of all variable cells, in collection order.
    void getVarNames(Kdr_StringArray& names) const;
    /// The A1 name of a variable's cell (column letters, then the row).
    bool getVarCoordName(const Kdr_String& name, Kdr_String& coordinate) const;

private:
    /// The stored cells of rows `firstRow` … `lastRow` within the sheet's columns, by row and
    /// then column.
    std::vector<std::pair<int, int>> storedCells(int firstRow, int lastRow) const;
    /// Builds the name and coordinate lists once per calculation.
    void refreshVariableCoordinates();

    /// Why the last CallChild failed, for the report and the message.
    struct ChildFailure
    {
        Kdr_String reason;
        Kdr_String tip;
    };

    ChildFailure childFailure_;
    Kdr_String loadedPath_;
    ZxVarCells varCells_;
    Kdr_StringArray genVarNames_;
    Kdr_StringArray genVarValues_;
    Kdr_StringArray coordNames_;
    Kdr_StringArray coordValues_;
    WordReplacer replacer_;
    bool coordinatesValid_ = false;
    EquationCache equations_;
    /// equations_ was checked against the variable cells of this calculation.
    bool equationsChecked_ = false;
};

/// Replaces whole-word occurrences of each name (case ignored) by its value, name by name in
/// list order; a match counts when no letter, digit or '_' touches it on either side. With
/// `quoteTexts`, a value that is not a number goes in between double quotes. True when
/// anything was replaced.
bool replaceWholeWords(Kdr_String& text, const Kdr_StringArray& names, const Kdr_StringArray& values,
                       bool quoteTexts);

/// The text of the message about a failed equation.
Kdr_String equationErrorText(const Kdr_String& sheetPath, int row, const Kdr_String& left,
                             const Kdr_String& right);
/// The same with another tip than the one about unknown variables.
Kdr_String equationErrorText(const Kdr_String& sheetPath, int row, const Kdr_String& left,
                             const Kdr_String& right, const Kdr_String& tip);
/// Warns about a failed equation when the host's setting for spreadsheet messages is on.
void showEquationError(const Kdr_String& sheetPath, int row, const Kdr_String& left, const Kdr_String& right);
void showEquationError(const Kdr_String& sheetPath, int row, const Kdr_String& left, const Kdr_String& right,
                       const Kdr_String& tip);
