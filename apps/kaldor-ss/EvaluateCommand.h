#pragma once

#include <string>
#include <vector>

namespace cli
{
class Console;

/// What `kaldor-ss evaluate` was asked to do.
struct EvaluateRequest
{
    /// The standards sheet: a name in the library's "Connection Standards" folder, or a path.
    std::string sheet;
    /// The macro files, each evaluated on its own.
    std::vector<std::string> macros;
    /// The mapping target; empty: the macro's own target for the sheet.
    std::string target;
    /// Where the changed macro goes (one macro only).
    std::string out;
    /// Write each changed macro back into its own file.
    bool inPlace = false;
    /// One JSON object per macro instead of text lines.
    bool json = false;
    /// Report the pipeline timers of each evaluation on standard error.
    bool timers = false;
    /// Write the macro and succeed even when equations or variables failed (they are then
    /// reported as warnings).
    bool keepGoing = false;
    /// Write a calculation report (HTML) of every evaluation into this file ("-": standard
    /// output, which then holds nothing else); empty: no report.
    std::string report;
};

/// Runs the standards evaluation of `request.sheet` on every macro and prints the variable
/// cells of each result. Returns the worst exit status met.
int runEvaluate(const EvaluateRequest& request, Console& console);
} // namespace cli
