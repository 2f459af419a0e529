#pragma once

// The grid engine's sheet: the cell store with types and formats, spans, column widths and
// row heights, the control's state, the formulas with their dependencies and immediate
// recalculation, and loading and saving files.

#include "grid/CellFormat.h"
#include "grid/CellStore.h"
#include "grid/CellType.h"
#include "grid/ControlState.h"
#include "grid/CustomFunction.h"
#include "grid/DependencyGraph.h"
#include "grid/Value.h"
#include "grid/formula/Formula.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace grid
{
/// As a row, the column-header row; as a column, the row-header column. 0 addresses the
/// headers as well; (0, 0) is the corner cell.
inline constexpr int kHeader = -32767;
/// The largest sheet: columns A to XFD, 1,048,576 rows.
inline constexpr int kMaxCols = kMaxFormulaCol;
inline constexpr int kMaxRows = kMaxFormulaRow;

/// Which text of a cell to read (the numbers are the ones callers pass).
enum class TextKind
{
    Data = 0,    ///< the shown text
    Formula = 1, ///< the formula in the sheet's reference style, without '='; "" without one
    Tag = 2,     ///< the cell's tag
    Value = 3,   ///< the value as text; for a formula cell, the calculated result
};

/// A cell spanning several columns and rows, named by its top-left (anchor) cell.
struct Span
{
    int col = 0;
    int row = 0;
    int width = 1;
    int height = 1;

    bool contains(int c, int r) const { return c >= col && c < col + width && r >= row && r < row + height; }
    bool operator==(const Span&) const = default;
};

/// What a range operation affects.
enum class CellContent
{
    All,     ///< entries (data, formulas), tags, notes, types and formats
    Data,    ///< entries only: data texts and formulas
    Formats, ///< types and formats only
};

/// A sheet. Cells are addressed (column, row) from 1; header cells by kHeader or 0. Every
/// operation on an address outside the sheet fails and changes nothing. No operation throws.
///
/// Entries: a cell holds either a data text (what was typed or set) or a formula, and a
/// value: for data, the text read by the cell's type (a number when a non-text cell's text
/// reads as a number); for a formula, its result. Every change of an entry recalculates the
/// formulas that depend on it at once, each once, in dependency order; cells of a reference
/// cycle get the circular error.
class Sheet final : public FormulaContext
{
public:
    Sheet();
    Sheet(const Sheet& other);
    Sheet& operator=(const Sheet& other);
    Sheet(Sheet&& other) noexcept;
    Sheet& operator=(Sheet&& other) noexcept;
    ~Sheet() override;

    // --- Size -------------------------------------------------------------------------

    int maxCols() const { return cols_; }
    int maxRows() const { return rows_; }
    /// The last column and the last row of the body that hold an entry (a text or formula),
    /// 0 when none does. Walks that look for contents stop here, not at the declared size: a
    /// sheet may declare a million rows and hold ten cells.
    int usedCols() const;
    int usedRows() const;
    /// New counts, 0 … kMaxCols / kMaxRows. Shrinking drops every cell, span, width and
    /// height beyond the new bounds and recalculates the formulas that read them.
    bool setMaxCols(int count);
    bool setMaxRows(int count);

    /// True for a body cell (1 … count) or a header cell (kHeader or 0) of the sheet.
    bool isValidCell(int col, int row) const;

    // --- Entries ----------------------------------------------------------------------

    /// Sets the cell's data text, shown as typed (a number cell shows it formatted). The cell
    /// loses its formula. Text and edit cells keep at most their maximum length; edit cells
    /// apply their letter case.
    bool setData(int col, int row, std::string_view text);
    /// Sets the cell's value from a text: a text cell takes the text as its text; any other
    /// cell a number when the text reads as one (shown in the cell's number format), else
    /// the text. A number cell given a text that is not a number keeps it as text, so
    /// nothing set is lost; cellNumber then fails.
    bool setValue(int col, int row, std::string_view text);
    /// Sets a number; exact (the text kept for it reads back as the same double).
    bool setNumber(int col, int row, double number);
    /// Parses the formula (A1 or R1C1 by the sheet's reference style, leading '=' optional)
    /// and calculates it at once. A text that does not parse returns false and leaves the
    /// cell as it was. Header cells take no formulas.
    bool setFormula(int col, int row, std::string_view text);
    /// Sets a formula parsed before (parseFormula for this very cell, in the sheet's reference
    /// style) and calculates it as setFormula does. Callers that set the same formula text
    /// again and again keep the parsed form instead of reading the text each time. False for
    /// a null formula or a cell that takes none.
    bool setParsedFormula(int col, int row, std::shared_ptr<const Formula> formula);
    /// Why the last setFormula failed (empty after a success).
    const std::string& lastFormulaError() const { return lastFormulaError_; }

    /// Clears what `what` names in the range (clipped to the sheet; headers included when the
    /// range starts at 0 or kHeader).
    bool clearRange(int col1, int row1, int col2, int row2, CellContent what = CellContent::Data);

    /// A text of a cell; false outside the sheet (the text is then empty). An empty cell
    /// inside the sheet reads "" and true.
    bool cellText(int col, int row, TextKind kind, std::string& text) const;
    std::string cellDataText(int col, int row) const;
    std::string cellValueText(int col, int row) const;
    std::string cellFormulaText(int col, int row) const;
    /// The entry as stored: the data text as set (after the type's length and case rules),
    /// or "" for a formula cell.
    std::string cellEntry(int col, int row) const;
    bool hasFormula(int col, int row) const;
    /// The formula of a cell, or null.
    std::shared_ptr<const Formula> cellFormula(int col, int row) const;
    /// The number a cell holds (a logical reads 1 or 0); false for any other value.
    bool cellNumber(int col, int row, double& number) const;

    // --- Types ------------------------------------------------------------------------

    bool setCellType(int col, int row, const CellType& type);
    /// Gives every cell of the range (clipped to the sheet) the type; the entries are read
    /// again by it.
    bool setCellType(int col1, int row1, int col2, int row2, const CellType& type);
    /// The cell's type (general outside the sheet).
    const CellType& cellType(int col, int row) const;
    /// The type code of the cell's type (see CellType); -1 outside the sheet.
    int cellTypeCode(int col, int row) const;

    // --- Formats ----------------------------------------------------------------------

    /// The font cells have until they are given one, and the sheet's header cells use.
    const Font& defaultFont() const { return defaultFont_; }
    void setDefaultFont(const Font& font);

    /// The format of a cell (the default format outside the sheet or for a cell without one).
    const CellFormat& cellFormat(int col, int row) const;
    /// The format of cells that were never given one: the default font, no colours, no
    /// borders, unlocked. Cells in it return this very object from cellFormat.
    const CellFormat& defaultFormat() const { return formats_[0]; }
    bool setCellFormat(int col1, int row1, int col2, int row2, const CellFormat& format);
    bool setFont(int col1, int row1, int col2, int row2, const Font& font);
    /// Colours of the range; kDefaultColor restores the control's colour.
    bool setColors(int col1, int row1, int col2, int row2, Color background, Color foreground);
    bool setBorder(int col1, int row1, int col2, int row2, const Border& border);
    bool setLock(int col1, int row1, int col2, int row2, bool locked);
    /// Whether Tab passes over the cells.
    bool setSkip(int col1, int row1, int col2, int row2, bool skip);

    // --- Tags and notes ---------------------------------------------------------------

    bool setCellTag(int col, int row, std::string_view tag);
    std::string cellTag(int col, int row) const;
    bool setCellNote(int col, int row, std::string_view note);
    std::string cellNote(int col, int row) const;

    // --- Spans ------------------------------------------------------------------------

    /// Spans a cell over `width` columns and `height` rows. The anchor must be a body cell;
    /// the span may reach beyond the last column or row. A span overlapping another is
    /// refused.
    bool addSpan(int col, int row, int width, int height);
    /// The span covering the cell, if any.
    bool getSpan(int col, int row, Span& span) const;
    /// Removes the span covering the cell; false when there is none.
    bool removeSpan(int col, int row);
    /// Removes every span that has a cell in the range; returns how many.
    int removeSpans(int col1, int row1, int col2, int row2);
    const std::vector<Span>& spans() const { return spans_; }
    /// Replaces every span; refused (nothing changes) when one is invalid as addSpan would
    /// refuse it or two overlap; `offending` then takes the index of a span at fault.
    /// Takes O(n log n) for n spans.
    bool setSpans(std::vector<Span> spans, std::size_t* offending = nullptr);

    // --- Sizes ------------------------------------------------------------------------

    /// Column width and row height in pixels; index 0 (or kHeader) is the header column or row.
    static constexpr double kDefaultColumnWidth = 64;
    static constexpr double kDefaultHeaderWidth = 40;
    static constexpr double kDefaultRowHeight = 20;
    static constexpr double kMaxPixels = 100000;
    bool setColumnWidth(int col, double pixels);
    /// -1 outside the sheet.
    double columnWidth(int col) const;
    bool setRowHeight(int row, double pixels);
    double rowHeight(int row) const;
    const std::map<int, double>& columnWidths() const { return columnWidths_; }
    const std::map<int, double>& rowHeights() const { return rowHeights_; }
    /// The size in pixels the cell's shown text needs in the cell's font. Deterministic: a
    /// character is 0.55 of the font height wide (0.6 when bold), a line 1.25 heights high,
    /// plus 6 pixels of width and 4 of height as margin; an empty text needs no width.
    bool textExtent(int col, int row, double& width, double& height) const;

    // --- Ranges and structure ----------------------------------------------------------

    /// Copies the range (entries, tags, notes, types and formats; or what `what` names) to
    /// the same-sized range at (destCol, destRow), clipped to the sheet. Formulas keep their
    /// relative offsets. Overlapping ranges copy as if from a snapshot.
    bool copyRange(int col1, int row1, int col2, int row2, int destCol, int destRow,
                   CellContent what = CellContent::All);
    /// Moves the range: the destination takes the cells, the source cells not overwritten
    /// are cleared. Moved formulas keep reading the cells they read before.
    bool moveRange(int col1, int row1, int col2, int row2, int destCol, int destRow);

    /// Inserts `count` empty rows before `row` (1 … maxRows()); the rows below move down.
    /// The row count stays: grow it first. Refused when cells with entries, tags or notes
    /// would be pushed past the last row. Cells, spans, formats, heights and header cells
    /// move; formula references follow.
    bool insertRows(int row, int count = 1);
    /// Deletes `count` rows from `row`; the rows below move up, the row count stays.
    /// References into deleted rows become #REF!.
    bool deleteRows(int row, int count = 1);
    bool insertColumns(int col, int count = 1);
    bool deleteColumns(int col, int count = 1);

    // --- Calculation ------------------------------------------------------------------

    /// Recalculates one formula cell and what depends on it; false outside the sheet.
    bool recalcCell(int col, int row);
    /// Recalculates every formula.
    void recalcAll();
    /// With automatic calculation off, entries change without recalculation; switching it
    /// on again recalculates every formula. On by default.
    void setAutoCalc(bool on);
    bool autoCalc() const { return autoCalc_; }

    /// Opens a batch of changes: until the last open batch closes, a change of an entry
    /// updates its own cell at once (a formula set is calculated at once) while the formulas
    /// that depend on it wait, and closing the batch calculates each of them once. A
    /// formula set during a batch that reads another formula cell, or that other formulas
    /// read, first brings the waiting formulas up to date, so it never reads a stale value;
    /// other formula cells read during a batch may show the values from before it. A sheet
    /// with volatile formulas (NOW, RAND, INDIRECT…) recalculates at every change all the same.
    void beginBatch() { ++batchDepth_; }
    /// Closes a batch; the last one calculates what waited.
    void endBatch();
    /// A batch for the lifetime of a scope.
    class Batch
    {
    public:
        explicit Batch(Sheet& sheet) : sheet_(sheet) { sheet_.beginBatch(); }
        ~Batch() { sheet_.endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Sheet& sheet_;
    };

    /// Registers a custom function (name case ignored; a second registration of a name
    /// replaces the first). Registrations survive loading files. Formulas that could not
    /// find the function are recalculated.
    bool addCustomFunction(std::string_view name, int minArgs, int maxArgs, CustomFunctionProc callback,
                           int flags);
    const std::vector<CustomFunction>& customFunctions() const { return customFunctions_; }

    /// The clock NOW and TODAY read (a serial date of the 1900 system); the system clock by
    /// default.
    void setClock(std::function<double()> clock);
    void setRandomSeed(std::uint64_t seed);

    // --- Control state -------------------------------------------------------------------

    /// A control property by number. 8 is redraw (on by default), 30 the changes-made flag
    /// (set by every change of the sheet); the others are kept as given (0 when never set).
    static constexpr int kPropertyRedraw = 8;
    static constexpr int kPropertyChangesMade = 30;
    int property(int number) const;
    void setProperty(int number, int value);
    bool changesMade() const { return state_.changesMade; }
    void setChangesMade(bool on) { state_.changesMade = on; }
    /// Redraw off only holds back drawing; every change is applied at once.
    bool redraw() const { return state_.redraw; }
    void setRedraw(bool on) { state_.redraw = on; }
    /// Counts changes of the sheet, so that a view can tell whether to draw again.
    std::uint64_t revision() const { return revision_; }

    ReferenceStyle referenceStyle() const { return state_.referenceStyle; }
    void setReferenceStyle(ReferenceStyle style) { state_.referenceStyle = style; }

    /// The active cell; false when there is none.
    bool activeCell(int& col, int& row) const;
    bool setActiveCell(int col, int row);
    const Selection& selection() const { return state_.selection; }
    bool setSelection(int col1, int row1, int col2, int row2);
    bool editMode() const { return state_.editMode; }
    void setEditMode(bool on) { state_.editMode = on; }
    /// The cell editor's selection, as byte positions in the active cell's text.
    void editSelection(int& start, int& end) const;
    void setEditSelection(int start, int end);

    /// The rest of the control's state (appearance, action keys, selection colours, text
    /// tips, note indicator, scroll bar sizes, named settings), read and changed directly.
    const ControlState& state() const { return state_; }
    ControlState& state() { return state_; }

    // --- Files ------------------------------------------------------------------------

    /// Loads a file: CSV when the name ends in ".csv" (case ignored), a format registered
    /// with registerSheetFormat (grid/SheetFormats.h) by its extension, else the sheet format.
    /// Replaces everything in the sheet except the custom functions. On failure prints one
    /// message naming the file, the line and the fault on the command line and leaves the
    /// sheet as it was.
    bool loadFile(const std::string& path);
    /// Saves the sheet: CSV (data texts) when the name ends in ".csv", a registered format by
    /// its extension (a failure is printed on the command line), else the sheet format,
    /// with formatting or, with `dataOnly`, entries only. Written atomically.
    bool saveFile(const std::string& path, bool dataOnly = false) const;
    /// Takes everything from `loaded` except the custom functions, clock and random state.
    void replaceContent(Sheet&& loaded);

    /// How many cells are stored (cells with an entry, type, format, tag or note).
    std::size_t cellCount() const { return cells_.size(); }
    /// Visits every stored cell (body and header) in row order, then column order.
    void forEachCell(const std::function<void(int col, int row)>& visit) const;
    /// Visits every stored cell of the sheet's range in the same order with the text
    /// cellValueText gives it, empty texts included. Much faster than asking cell by cell.
    void forEachValueText(const std::function<void(int col, int row, std::string_view text)>& visit) const;

    // --- FormulaContext ------------------------------------------------------------------

    Value cellValue(int col, int row) const override;
    /// Walks the stored cells of the range, never the empty parts of a long range.
    bool visitRange(const CellRange& range, RangeVisitor& visitor) const override;
    std::uint64_t calculationPass() const override { return pass_; }
    int currentCol() const override { return evalCol_; }
    int currentRow() const override { return evalRow_; }
    double now() const override;
    double random() override;
    const CustomFunction* findCustomFunction(std::string_view name) const override;
    /// The cell's formula in the sheet's reference style, with its leading '='.
    bool shownFormula(int col, int row, std::string& text) const override;

private:
    bool inRange(int col, int row) const;
    bool clipRange(int& col1, int& row1, int& col2, int& row2) const;
    /// The addresses of the stored cells inside a (clipped) range.
    std::vector<CellKey> storedIn(int col1, int row1, int col2, int row2) const;
    void touch();

    std::uint32_t internType(const CellType& type);
    std::uint32_t internFormat(const CellFormat& format);
    const CellType& typeOf(const Cell& cell) const { return types_[cell.type]; }
    std::string valueTextOf(const Cell& cell) const;
    bool changeFormats(int col1, int row1, int col2, int row2,
                       const std::function<void(CellFormat&)>& change);

    CellValue entryValue(const Cell& cell) const;
    std::string normalizedEntry(const CellType& type, std::string_view text) const;
    void changeEntry(int col, int row, std::string_view data, std::shared_ptr<const Formula> formula);
    /// The compiled form to store for a formula set in column `col`: the one the column's
    /// previous formula uses when it is the same, else `formula`.
    std::shared_ptr<const Formula> sharedForm(int col, std::shared_ptr<const Formula> formula);
    /// Puts what `what` names of `source` (nothing: clears it) into the cell; no recalculation.
    void placeCell(int col, int row, const Cell* source, CellContent what);
    void dropBeyond(int cols, int rows);

    void attachFormula(const Cell& cell);
    void attachFormula(const Cell& cell, std::uint32_t slot);
    void detachFormula(const Cell& cell);
    void rebuildDependencies();
    void recalculate(std::vector<CellKey> seeds);
    /// True while changes are held back for the batch to close.
    bool deferring() const { return batchDepth_ > 0 && autoCalc_ && volatile_.empty(); }
    /// A formula was set on (col, row) during a batch: calculates it at once when that is
    /// safe, else brings everything held back up to date together with it.
    void calculateInBatch(int col, int row, const Formula& formula);
    /// Calculates the changes that waited for the batch.
    void calculatePending();
    /// Calculates the formulas affected by a change of `seeds`, whatever batch is open.
    void calculateNow(std::vector<CellKey> seeds);
    /// Calculates the seeds and what depends on them, in dependency order.
    void calculatePlan(std::vector<CellKey> seeds);
    /// Calculates the plan's steps in one calculation pass.
    void calculateSteps(const std::vector<DependencyGraph::Step>& steps);
    void evaluate(int col, int row);
    void evaluate(Cell& cell);

    /// Inserts (count > 0) or deletes (count < 0) rows or columns at `at`.
    void shiftCells(bool rows, int at, int count);

    int cols_ = 0;
    int rows_ = 0;
    CellStore cells_;
    std::vector<CellType> types_;
    std::unordered_multimap<std::size_t, std::uint32_t> typeIndex_;
    std::uint32_t lastType_ = 0; ///< the type internType found or made last
    std::vector<CellFormat> formats_;
    std::unordered_multimap<std::size_t, std::uint32_t> formatIndex_;
    Font defaultFont_;
    CellFormat defaultFormat_;
    std::vector<Span> spans_;
    /// No span reaches this row: a bound kept by every change of the spans (removing one may
    /// leave it high), so that spans added below all others, row after row, need no search.
    int spansEndRow_ = 0;
    void boundSpanRows();
    std::map<int, double> columnWidths_;
    std::map<int, double> rowHeights_;
    ControlState state_;
    std::uint64_t revision_ = 0;

    DependencyGraph graph_;
    std::vector<CellRange> references_; ///< scratch of attachFormula
    /// True while automatic calculation is off: the graph is empty and built anew when it
    /// comes back on.
    bool graphStale_ = false;
    std::unordered_set<CellKey> volatile_;
    bool autoCalc_ = true;
    /// Set while loadFile reads: switching automatic calculation back on then waits until
    /// the file's text is freed, so that the text and the dependency graph never take memory
    /// at once.
    bool holdingLoad_ = false;
    int batchDepth_ = 0;
    /// The form of the formula set last in each column (by column number modulo the size).
    std::array<std::shared_ptr<const Formula>, 16> recentForms_;
    /// Compiled forms by the text of their formula written relative to its cell (see
    /// relativeKey), so that a filled-down formula is parsed once. Bounded: a sheet of
    /// formulas that are all different stops adding to it.
    static constexpr std::size_t kMaxKeyedForms = 4096;
    std::unordered_map<std::string, std::shared_ptr<const Formula>> formsByKey_;
    std::string formKey_;
    std::size_t keyMisses_ = 0; ///< keyed formulas since the last one found
    std::uint32_t keySkips_ = 0;
    /// The key of a formula text in A1 style for the cell (col, row), or false when the text
    /// holds anything but references, numbers, operators and blanks.
    static bool relativeKey(std::string_view text, int col, int row, std::string& key);
    /// The cells changed during the open batch whose readers still wait.
    std::vector<CellKey> pending_;
    std::vector<CustomFunction> customFunctions_;
    std::function<double()> clock_;
    std::mt19937_64 random_;
    int evalCol_ = 0;
    int evalRow_ = 0;
    std::string lastFormulaError_;
    /// The number of the calculation pass in progress, 0 outside one; renewed by every change
    /// made during a pass, so running totals kept by functions never outlive what they summed.
    std::uint64_t pass_ = 0;
};
} // namespace grid
