#pragma once

// What the program prints and how it ends: results on standard output, everything else
// (errors, the host's command-line diagnostics, message boxes, progress) on standard error.

#include "ui/HeadlessAgent.h"

#include <memory>
#include <string>
#include <string_view>

namespace cli
{
/// The program's exit statuses.
enum ExitStatus : int
{
    kSuccess = 0,
    /// An evaluation failed, or a command could not do its work (a file could not be written).
    kFailed = 1,
    /// The command line was wrong, or something it must name is missing (a --target).
    kUsage = 2,
    /// An input file could not be read or parsed.
    kBadInput = 3,
};

/// The worse of two statuses: bad input before usage errors before failures.
int worseStatus(int a, int b);

/// The program's terminal. While it lives it owns the host's command-line sink and the
/// user agent, so that message boxes and diagnostics follow --quiet.
class Console
{
public:
    explicit Console(bool quiet);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    bool quiet() const { return quiet_; }

    /// Writes one line (a line feed is added) on standard output.
    void result(std::string_view line);
    /// An error, always shown, after "kaldor-ss: ". In quiet mode the diagnostics collected
    /// since the last clearDiagnostics are shown first, since they explain the error.
    void error(std::string_view text);
    /// A remark that --quiet silences, after "kaldor-ss: ".
    void note(std::string_view text);
    /// Text for standard error as it is (the timers); shown even in quiet mode.
    void report(std::string_view text);

    /// Shows a progress line on a terminal (standard error is a terminal and not quiet); the
    /// next output of any kind replaces it.
    void progress(std::string_view text);

    /// What the host printed on its command line since the last clear.
    const std::string& diagnostics() const { return diagnostics_; }
    void clearDiagnostics() { diagnostics_.clear(); }

private:
    void clearProgress();
    void toStderr(std::string_view text);

    bool quiet_;
    bool terminal_;
    bool progressShown_ = false;
    std::string diagnostics_;
    ui::HeadlessAgent agent_;
    std::unique_ptr<ui::UserAgentScope> agentScope_;
};

/// A text as one field of a tab-separated output line: backslash, TAB, line feed and
/// carriage return are written as \\, \t, \n and \r, every other control byte as \xNN.
std::string field(std::string_view text);
} // namespace cli
