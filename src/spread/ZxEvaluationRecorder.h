#pragma once

// An observer of the standards evaluation. The evaluation tells it what happens, step by step
// (sheets, inputs, equations, data look-ups, outputs), so that a calculation report can show
// the chain from macro to equation to result. Nobody listens unless a report is asked for:
// the evaluation then only tests one pointer per step.

#include "host/Kdr_String.h"

class ZxStandardsSpread;
class ZxDlgStandardsData;

/// One value a steel function read from a data file or a section table.
struct ZxDataLookUp
{
    /// The function that read it ("GETCELL", "SECTIONSIZE", …).
    Kdr_String function;
    /// The file (or table) read; the name as the sheet wrote it when no file was found.
    Kdr_String file;
    /// What was looked for.
    Kdr_String key;
    /// What was found; empty when nothing was.
    Kdr_String value;
    /// Whether a value was found.
    bool found = false;
};

class ZxEvaluationRecorder
{
public:
    virtual ~ZxEvaluationRecorder() = default;

    /// A main or child evaluation of `request` begins (before its sheet is loaded).
    virtual void sheetStarted(const ZxDlgStandardsData& request) = 0;
    /// The sheet of the evaluation begun last was loaded from `path`.
    virtual void sheetLoaded(const Kdr_String& path) = 0;
    /// The general variables changed the text of a cell; `original` is the text before.
    virtual void cellTextReplaced(int col, int row, const Kdr_String& original) = 0;
    /// The variable cells hold their starting values: the inputs, and the outputs' old values.
    virtual void inputsSet(const ZxStandardsSpread& sheet, const ZxDlgStandardsData& request) = 0;
    /// An equation cell is about to be calculated: `text` as the cell holds it, `variable`
    /// the variable it assigns ("" for a CallChild cell or a cell that assigns nothing) and
    /// `expression` the part after '='. The variables still hold the values the equation uses.
    virtual void equationStarted(const ZxStandardsSpread& sheet, int col, int row, const Kdr_String& text,
                                 const Kdr_String& variable, const Kdr_String& expression) = 0;
    /// The engine has calculated the equation; look-ups after this are not the equation's.
    virtual void equationCalculated() = 0;
    /// The equation gave `result` (for a CallChild cell the variables it received).
    virtual void equationSucceeded(const Kdr_String& result) = 0;
    /// The equation failed: `reason` in a few words, `message` the text the module shows.
    virtual void equationFailed(const Kdr_String& reason, const Kdr_String& message) = 0;
    /// A steel function read a value (or found none).
    virtual void dataLookedUp(const ZxDataLookUp& lookUp) = 0;
    /// The variable cells hold their final values (written into the macro or to the parent).
    virtual void outputsWritten(const ZxStandardsSpread& sheet) = 0;
    /// The evaluation begun last has ended.
    virtual void sheetFinished(bool ok) = 0;
};

/// The recorder the evaluation tells, or null (the default) when nobody listens.
ZxEvaluationRecorder* evaluationRecorder();
/// Makes `recorder` the one the evaluation tells (null: nobody) and returns the previous one.
/// The caller keeps ownership.
ZxEvaluationRecorder* setEvaluationRecorder(ZxEvaluationRecorder* recorder);

/// Makes a recorder current for the lifetime of the scope.
class ZxEvaluationRecorderScope
{
public:
    explicit ZxEvaluationRecorderScope(ZxEvaluationRecorder& recorder)
        : previous_(setEvaluationRecorder(&recorder))
    {
    }
    ~ZxEvaluationRecorderScope() { setEvaluationRecorder(previous_); }
    ZxEvaluationRecorderScope(const ZxEvaluationRecorderScope&) = delete;
    ZxEvaluationRecorderScope& operator=(const ZxEvaluationRecorderScope&) = delete;

private:
    ZxEvaluationRecorder* previous_;
};
