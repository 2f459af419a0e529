#pragma once

// What a calculation report shows of one evaluation, collected while it runs: the sheet with
// its inputs and where they came from, every equation as written, with the values it used
// and its result (or the message it failed with), child sheets inside the equations that
// called them, the outputs before and after, and the data the steel functions read.

#include "spread/ZxEvaluationRecorder.h"
#include "standards/ZxVarTypes.h"

#include <memory>
#include <vector>

struct ZxRecordedSheet;

/// A variable cell of a recorded sheet.
struct ZxRecordedVariable
{
    Kdr_String name;
    ZxCellType cellType = cellInput;
    ZxValueType valueType = valString;
    /// The declaration's cell.
    int col = 0;
    int row = 0;
    /// The value the calculation started with (for an output, the macro's old value).
    Kdr_String before;
    /// The value it ended with.
    Kdr_String after;
    /// Where the value came from: the bound macro variable and its kind, the module group,
    /// the parent's argument, or "sheet value".
    Kdr_String source;
    /// In a child sheet, the calling sheet's variable passed in its place ("" when none).
    Kdr_String argument;
    /// Whether the final value differs from the first (numbers compared as numbers).
    bool changed() const;
};

/// One equation cell of the Calc block.
struct ZxRecordedEquation
{
    int col = 0;
    int row = 0;
    /// The cell's text as the sheet holds it (before the general variables were put in).
    Kdr_String written;
    /// The variable assigned; empty for a CallChild cell.
    Kdr_String variable;
    /// The expression with every variable replaced by the value it had (texts in quotes).
    Kdr_String substituted;
    /// The result: the variable's new value, or for a CallChild cell the variables received.
    Kdr_String result;
    bool failed = false;
    Kdr_String reason;
    /// The message the module showed (or would have shown) for the failure.
    Kdr_String message;
    std::vector<ZxDataLookUp> lookUps;
    /// The child sheets this equation evaluated (CallChild).
    std::vector<std::unique_ptr<ZxRecordedSheet>> children;
};

/// One evaluated sheet, the main one or a child.
struct ZxRecordedSheet
{
    /// The sheet as the request named it, and the file loaded ("" when none was).
    Kdr_String requested;
    Kdr_String path;
    bool child = false;
    bool loaded = false;
    bool finished = false;
    bool ok = false;
    /// The variable cells in collection order (Input, Output, Local).
    std::vector<ZxRecordedVariable> variables;
    std::vector<ZxRecordedEquation> equations;

    /// Failed equations of this sheet and of every child sheet below it.
    int failedEquations() const;
    /// Every data look-up of this sheet's equations (not of its children), in order.
    int lookUpCount() const;
};

/// Builds the record of one outermost evaluation (and every child it calls) from what the
/// evaluation tells it.
class ZxCalculationRecorder : public ZxEvaluationRecorder
{
public:
    ZxCalculationRecorder() = default;
    ZxCalculationRecorder(const ZxCalculationRecorder&) = delete;
    ZxCalculationRecorder& operator=(const ZxCalculationRecorder&) = delete;

    /// The outermost sheet recorded so far; null before any evaluation started.
    const ZxRecordedSheet* root() const { return root_.get(); }
    /// Hands the record over; the recorder is empty afterwards.
    std::unique_ptr<ZxRecordedSheet> take();

    void sheetStarted(const ZxDlgStandardsData& request) override;
    void sheetLoaded(const Kdr_String& path) override;
    void cellTextReplaced(int col, int row, const Kdr_String& original) override;
    void inputsSet(const ZxStandardsSpread& sheet, const ZxDlgStandardsData& request) override;
    void equationStarted(const ZxStandardsSpread& sheet, int col, int row, const Kdr_String& text,
                         const Kdr_String& variable, const Kdr_String& expression) override;
    void equationCalculated() override;
    void equationSucceeded(const Kdr_String& result) override;
    void equationFailed(const Kdr_String& reason, const Kdr_String& message) override;
    void dataLookedUp(const ZxDataLookUp& lookUp) override;
    void outputsWritten(const ZxStandardsSpread& sheet) override;
    void sheetFinished(bool ok) override;

private:
    struct Frame
    {
        ZxRecordedSheet* sheet = nullptr;
        /// Texts of cells before the general variables changed them, by (col, row).
        std::vector<std::pair<std::pair<int, int>, Kdr_String>> originals;
        /// The equation being calculated (an index into sheet->equations), or -1.
        int equation = -1;
        /// Whether look-ups now belong to that equation.
        bool collecting = false;
    };

    Frame* top() { return stack_.empty() ? nullptr : &stack_.back(); }
    ZxRecordedEquation* currentEquation();

    std::unique_ptr<ZxRecordedSheet> root_;
    std::vector<Frame> stack_;
};

/// The text a value is shown with in a substituted equation: numbers as they are, any other
/// text in double quotes, an empty value as "".
Kdr_String substitutedValue(const Kdr_String& value);
