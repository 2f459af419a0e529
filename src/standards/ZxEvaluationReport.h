#pragma once

// What went wrong during one main evaluation, and the bookkeeping that keeps child sheets in
// check: the chain of sheets being calculated inside each other and the number of child
// evaluations so far. The message boxes of the evaluation tell a person at once; this report
// lets a caller (the command line) decide afterwards whether the evaluation may count as a
// success.

#include "host/Kdr_String.h"
#include "host/Kdr_StringArray.h"

#include <vector>

/// One failed equation or variable transfer.
struct ZxEvaluationFailure
{
    Kdr_String sheet;    ///< path of the sheet the failure happened in
    int row = 0;         ///< row of the equation; 0 when no equation is to blame
    Kdr_String variable; ///< the variable concerned ("" for a CallChild cell)
    Kdr_String equation; ///< the expression, or "" when no equation is to blame
    Kdr_String reason;   ///< what went wrong, in a few words

    bool operator==(const ZxEvaluationFailure& other) const = default;
};

class ZxEvaluationReport
{
public:
    /// Most child evaluations one main evaluation may start, nested or one after another.
    static constexpr int kChildBudget = 10000;

    virtual ~ZxEvaluationReport() = default;

    /// Starts the report of an outermost evaluation of `sheetPath` (a main run, or a child run
    /// that no other evaluation started): no failures, no children yet. Until endOutermost
    /// every evaluation belongs to it.
    void beginOutermost(const Kdr_String& sheetPath);
    void endOutermost() { active_ = false; }
    /// Whether an evaluation is under way.
    bool active() const { return active_; }
    void addFailure(const ZxEvaluationFailure& failure);
    /// A failure of the equation being calculated (see setCurrentEquation).
    void addEquationFailure(const Kdr_String& reason);
    const std::vector<ZxEvaluationFailure>& failures() const { return failures_; }

    /// The equation being calculated, for failures found below it (a refused data file).
    void setCurrentEquation(const Kdr_String& sheet, int row, const Kdr_String& variable,
                            const Kdr_String& equation);

    /// The sheets being calculated, outermost first, by resolved path.
    const Kdr_StringArray& callStack() const { return callStack_; }
    /// Enters a child sheet. False (nothing entered) when the sheet is already on the stack;
    /// `cycle` then names the sheets of the circle ("A -> B -> A").
    bool enterChild(const Kdr_String& resolvedPath, Kdr_String& cycle);
    void leaveChild();
    /// Counts one child evaluation; false when the budget is spent.
    bool spendChildEvaluation();
    int childEvaluations() const { return childEvaluations_; }

    /// The folders of the sheets on the call stack (each ending with '/').
    Kdr_StringArray sheetFolders() const;
    /// The last of sheetFolders() ("" when there is none), kept until the call stack changes:
    /// data files are looked for there by every steel function call.
    const Kdr_String& lastSheetFolder() const;

private:
    std::vector<ZxEvaluationFailure> failures_;
    Kdr_StringArray callStack_;
    mutable Kdr_String lastFolder_;
    mutable bool lastFolderKnown_ = false;
    int childEvaluations_ = 0;
    ZxEvaluationFailure current_;
    bool active_ = false;
};

/// The report of the current (or the last) main evaluation.
extern ZxEvaluationReport gEvaluationReport;

/// A path made absolute and free of "." and ".." and of symbolic links where they exist, so
/// that two names of one file compare equal (letter case counts, as on the file system).
Kdr_String resolvedSheetPath(const Kdr_String& path);

/// Whether a sheet may read the data file or child sheet `path`: any file when the host's
/// setting trusts sheets, else only files in the library folder or in the folder of a sheet
/// being evaluated (links resolved, so that no link leads out). False with `refusal` naming
/// the file and the reason otherwise.
bool sheetMayRead(const Kdr_String& path, Kdr_String& refusal);
