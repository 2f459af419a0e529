#pragma once

// Runs the built kaldor-ss program as a user would and collects what it printed.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace clitest
{
struct ProgramResult
{
    /// The exit status; 128 + the signal number when the program was killed.
    int status = -1;
    std::string out;
    std::string err;

    /// Standard output split into lines (without their line feeds).
    std::vector<std::string> lines() const;
};

/// Options of one run. The environment is the test's own without KALDOR_LIB, plus `env`.
struct RunOptions
{
    std::map<std::string, std::string> env;
    std::string program = KALDOR_SS_PROGRAM;
    std::filesystem::path workingFolder;
};

ProgramResult runProgram(const std::vector<std::string>& args, const RunOptions& options = {});

/// The samples folder of the source tree ("…/samples/").
std::filesystem::path samplesFolder();
/// A sample macro by file name.
std::string sampleMacro(const std::string& name);

/// A fresh empty folder for one test, removed when the object goes.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    /// Writes a file (folders are made as needed) and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    /// A copy of the sample library inside this folder; returns its path.
    std::string copyOfSampleLibrary() const;

private:
    std::filesystem::path path_;
};

std::string readFile(const std::string& path);
/// The lines of the program's output that show an output variable ("Output\t...").
std::vector<std::string> outputLines(const ProgramResult& result);
/// Every file under `folder` with its contents, by path relative to it.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);
} // namespace clitest
